#include "document/stereo_document.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <system_error>
#include <thread>
#include <utility>

#include "base/trace.h"
#include "engine/convert.h"
#include "engine/decode.h"
#include "engine/jpeg_writer.h"
#include "engine/render.h"

namespace bistrope {

namespace {

ConversionParams ParamsFor(const ConversionSettings& settings, Eye eye) {
    ConversionParams params;
    params.mode = settings.mode;
    params.eye = eye;
    params.custom = settings.custom;
    return params;
}

std::optional<ImageSize> SizeOf(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) return std::nullopt;
    return ImageSize{width, height};
}

// The full-size decode of a file's bytes on another thread (on this one when no thread can
// be started); a failure names the file.
std::future<DecodeResult> DecodeInBackground(std::vector<std::uint8_t> bytes, const std::filesystem::path& path) {
    // Shared, so that the bytes are still here if the thread cannot be started.
    const auto file = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
    auto decode = [file, path] {
        DecodeResult full = DecodeImageBytes(file->data(), file->size());
        if (!full.ok())
            full.status = Status::Error(full.status.code,
                                        "Cannot read \"" + path.u8string() + "\": " + full.status.message);
        return full;
    };
    try {
        return std::async(std::launch::async, decode);
    } catch (const std::system_error&) {
        std::promise<DecodeResult> now;
        now.set_value(decode());
        return now.get_future();
    }
}

Status PreviewFailure(const std::filesystem::path& path, const Status& reason) {
    return Status::Error(reason.code, "Cannot make the preview of \"" + path.u8string() + "\": " + reason.message);
}

}  // namespace

const char* EyeName(Eye eye) { return eye == Eye::Left ? "left" : "right"; }

StereoDocument::StereoDocument(SettingsSource settings, Previews previews)
    : settings(std::move(settings)), previews(previews) {}

void StereoDocument::AddListener(DocumentListener* listener) {
    if (listener && std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back(listener);
}

void StereoDocument::RemoveListener(DocumentListener* listener) {
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

ConversionSettings StereoDocument::Settings() const { return settings ? settings() : ConversionSettings{}; }

std::optional<ImageSize> StereoDocument::Size(Eye eye) const {
    const EyeImages& slot = Slot(eye);
    if (!slot.source.empty()) return SizeOf(slot.source.width(), slot.source.height());
    if (!slot.reduced.empty()) return slot.fullSize;
    return SizeOf(slot.output.width(), slot.output.height());
}

Status StereoDocument::FinishSource(Eye eye) const {
    const EyeImages& slot = Slot(eye);
    if (!slot.pending.valid()) return slot.sourceStatus;
    DecodeResult full = slot.pending.get();
    if (full.ok()) {
        slot.source = std::move(full.image);
        slot.reduced.reset();
    } else {
        slot.sourceStatus = full.status;
    }
    return slot.sourceStatus;
}

const SourceImage* StereoDocument::Source(Eye eye) const {
    (void)FinishSource(eye);
    return Get(Slot(eye).source);
}

const SourceImage* StereoDocument::Picture(Eye eye) const {
    const EyeImages& slot = Slot(eye);
    if (slot.pending.valid() && slot.pending.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return &slot.reduced;
    if (const SourceImage* full = Source(eye)) return full;
    return Get(slot.reduced);
}

std::optional<ImageSize> StereoDocument::PreviewedSize(Eye eye) const {
    return HasPreview(eye) ? Size(eye) : std::nullopt;
}

// --- Loading -------------------------------------------------------------------------------

Status StereoDocument::BuildPreview(Eye eye, const SourceImage& source, const std::filesystem::path& path,
                                    ConvertedImage& preview, const ProgressFn& progress) const {
    if (previews == Previews::None) {
        Report(progress, 100);
        return Status::Ok();
    }
    const ConversionSettings current = Settings();
    const Status status = MakePreviewImage(source, ParamsFor(current, eye), current.previewLimit, preview, progress);
    return status.ok() ? status : PreviewFailure(path, status);
}

Status StereoDocument::LoadEye(Eye eye, const std::filesystem::path& path, const ProgressFn& progress) {
    Report(progress, 0);
    const ConversionSettings current = Settings();
    if (previews == Previews::None || !CanConvert(current.mode)) {
        DecodeResult decoded = DecodeImageFile(path);
        trace::Mark("decoded");
        if (!decoded.ok()) return decoded.status;
        return SetEyeImage(eye, std::move(decoded.image), path, progress);
    }
    // The preview is made on the second core while the file is decoded, from a reduced
    // decode when that is enough for it.
    PreviewedDecodeResult loaded = DecodeImageFileWithPreview(
        path, SelectBlendMatrix(current.mode, eye, current.custom), current.previewLimit, {}, true);
    trace::Mark("decoded, preview converted");
    if (!loaded.decoded.ok()) return loaded.decoded.status;
    if (!loaded.previewStatus.ok()) return PreviewFailure(path, loaded.previewStatus);
    Report(progress, 50);
    EyeImages fresh;
    fresh.path = path;
    fresh.preview = std::move(loaded.preview);
    if (loaded.reduction == 1) {
        fresh.source = std::move(loaded.decoded.image);
    } else {
        fresh.reduced = std::move(loaded.decoded.image);
        fresh.fullSize = loaded.fullSize;
        fresh.pending = DecodeInBackground(std::move(loaded.bytes), path);
    }
    TakeEye(eye, std::move(fresh), Subrange(progress, 50, 100));
    return Status::Ok();
}

Status StereoDocument::SetEyeImage(Eye eye, SourceImage source, const std::filesystem::path& path,
                                   const ProgressFn& progress) {
    if (source.empty())
        return Status::Error(ErrorCode::NoImage, "No image to load for the " + std::string(EyeName(eye)) + " eye");
    ConvertedImage preview;
    const Status made = BuildPreview(eye, source, path, preview, Subrange(progress, 0, 50));
    trace::Mark("preview converted");
    if (!made.ok()) return made;
    EyeImages fresh;
    fresh.path = path;
    fresh.source = std::move(source);
    fresh.preview = std::move(preview);
    TakeEye(eye, std::move(fresh), Subrange(progress, 50, 100));
    return Status::Ok();
}

void StereoDocument::TakeEye(Eye eye, EyeImages loaded, const ProgressFn& progress) {
    // Everything is in hand: the eye takes the new images together; its old output image
    // goes (made again by the next save).
    Slot(eye) = std::move(loaded);
    AlignmentReset();
    for (DocumentListener* listener : listeners) listener->OnEyeLoaded(eye, progress);
}

Status StereoDocument::LoadPairForOutput(const std::filesystem::path& left, const std::filesystem::path& right,
                                         bool forAlignment) {
    const ConversionSettings current = Settings();
    const auto leftMatrix = SelectBlendMatrix(current.mode, Eye::Left, current.custom);
    const auto rightMatrix = SelectBlendMatrix(current.mode, Eye::Right, current.custom);
    if (!CanConvert(current.mode)) return Status::Error(ErrorCode::ModeZero, "Blending mode 0 makes no image");
    // Decoding is the longest step: both files at once, each row converted as it arrives.
    ConvertedDecodeResult decodedLeft, decodedRight;
    std::thread leftReader;
    try {
        leftReader = std::thread([&] { decodedLeft = DecodeConvertedImageFile(left, leftMatrix, {}, forAlignment); });
    } catch (...) {
        decodedLeft = DecodeConvertedImageFile(left, leftMatrix, {}, forAlignment);
    }
    decodedRight = DecodeConvertedImageFile(right, rightMatrix, {}, forAlignment);
    if (leftReader.joinable()) leftReader.join();
    if (!decodedLeft.ok()) return decodedLeft.status;
    if (!decodedRight.ok()) return decodedRight.status;

    const std::pair<Eye, ConvertedDecodeResult*> taken[] = {{Eye::Left, &decodedLeft}, {Eye::Right, &decodedRight}};
    for (const auto& [eye, decoded] : taken) {
        EyeImages& slot = Slot(eye);
        slot = EyeImages{};
        slot.path = eye == Eye::Left ? left : right;
        slot.output = std::move(decoded->image);
        slot.luma = std::move(decoded->luma);
    }
    AlignmentReset();
    return Status::Ok();
}

Status StereoDocument::OpenFile(Eye eye, const std::filesystem::path& path, const ProgressFn& progress) {
    if (!IsStereoFileName(path)) return LoadEye(eye, path, progress);
    const Status stereo = LoadStereoFile(path, StereoLayout::Auto, progress);
    return stereo.code == ErrorCode::Unsupported ? LoadEye(eye, path, progress) : stereo;
}

Status StereoDocument::LoadStereoFile(const std::filesystem::path& path, StereoLayout layout,
                                      const ProgressFn& progress) {
    Report(progress, 0);
    StereoDecodeResult pair = DecodeStereoFile(path, layout);
    trace::Mark("decoded");
    if (pair.single)
        return Status::Error(ErrorCode::Unsupported, "\"" + path.u8string() + "\" holds one picture, not a stereo pair");
    if (!pair.ok()) return pair.status;
    ConvertedImage leftPreview, rightPreview;
    Status made = BuildPreview(Eye::Left, pair.left, path, leftPreview, Subrange(progress, 0, 25));
    if (made.ok()) made = BuildPreview(Eye::Right, pair.right, path, rightPreview, Subrange(progress, 25, 50));
    trace::Mark("previews converted");
    if (!made.ok()) return made;
    TakePair(std::move(pair.left), std::move(leftPreview), std::move(pair.right), std::move(rightPreview), path, path,
             Subrange(progress, 50, 100));
    return Status::Ok();
}

void StereoDocument::TakePair(SourceImage left, ConvertedImage leftPreview, SourceImage right,
                              ConvertedImage rightPreview, const std::filesystem::path& leftPath,
                              const std::filesystem::path& rightPath, const ProgressFn& progress) {
    EyeImages& l = Slot(Eye::Left);
    EyeImages& r = Slot(Eye::Right);
    l = EyeImages{};
    r = EyeImages{};
    l.path = leftPath;
    r.path = rightPath;
    l.source = std::move(left);
    r.source = std::move(right);
    l.preview = std::move(leftPreview);
    r.preview = std::move(rightPreview);
    AlignmentReset();
    for (DocumentListener* listener : listeners) listener->OnPairReplaced(progress);
}

Status StereoDocument::SwapEyes(const ProgressFn& progress) {
    EyeImages& left = Slot(Eye::Left);
    EyeImages& right = Slot(Eye::Right);
    for (const Eye eye : {Eye::Left, Eye::Right})
        if (Status full = FinishSource(eye); !full.ok()) return full;
    if (left.source.empty() || right.source.empty())
        return Status::Error(ErrorCode::NoImage, "Both images must be loaded to swap them");
    ConvertedImage newLeft, newRight;
    Status made = BuildPreview(Eye::Left, right.source, right.path, newLeft, Subrange(progress, 0, 40));
    if (made.ok()) made = BuildPreview(Eye::Right, left.source, left.path, newRight, Subrange(progress, 40, 80));
    if (!made.ok()) return made;
    // Moved out first: TakePair replaces both eyes.
    SourceImage oldLeft = std::move(left.source), oldRight = std::move(right.source);
    const std::filesystem::path leftPath = left.path, rightPath = right.path;
    TakePair(std::move(oldRight), std::move(newLeft), std::move(oldLeft), std::move(newRight), rightPath, leftPath,
             Subrange(progress, 80, 100));
    return Status::Ok();
}

// --- Previews ------------------------------------------------------------------------------

Status StereoDocument::RebuildPreview(Eye eye, const ProgressFn& progress) {
    EyeImages& slot = Slot(eye);
    if (Status full = FinishSource(eye); !full.ok()) {
        Report(progress, 0);
        return full;
    }
    if (slot.source.empty()) {
        Report(progress, 0);
        return Status::Error(ErrorCode::NoImage, "No " + std::string(EyeName(eye)) + " image is loaded");
    }
    ConvertedImage fresh;
    const Status status = BuildPreview(eye, slot.source, slot.path, fresh, progress);
    if (status.ok()) slot.preview = std::move(fresh);
    return status;
}

std::array<Status, 2> StereoDocument::RebuildPreviews(const ProgressFn& progress) {
    std::array<Status, 2> result{RebuildPreview(Eye::Left, Subrange(progress, 0, 40)),
                                 RebuildPreview(Eye::Right, Subrange(progress, 40, 80))};
    const ProgressFn rest = Subrange(progress, 80, 100);
    for (DocumentListener* listener : listeners) listener->OnPreviewsRebuilt(rest);
    return result;
}

// --- Alignment -----------------------------------------------------------------------------

void StereoDocument::UpdateOutputRect() {
    outputRect = ComputeOutputRect(Size(Eye::Left), Size(Eye::Right), alignment);
}

void StereoDocument::AlignmentReset() {
    alignment = Alignment{};
    UpdateOutputRect();
}

void StereoDocument::SetAlignment(const Alignment& value) {
    alignment = value;
    UpdateOutputRect();
    for (DocumentListener* listener : listeners) listener->OnAlignmentChanged();
}

AutoAlignResult StereoDocument::AutoAlign(const ProgressFn& progress) {
    for (const Eye eye : {Eye::Left, Eye::Right})
        if (Status full = FinishSource(eye); !full.ok()) return {full, {}, 0};
    for (const EyeImages& slot : eyes)
        if (slot.source.empty() && slot.luma.empty())
            return {Status::Error(ErrorCode::NoImage, "Both images must be loaded to align them"), {}, 0};
    Report(progress, 0);
    // The aligner compares brightness, so it reads the sources' luma, never the output
    // images (each eye's holds other colour channels).
    GreyImage made[2];
    const GreyImage* grey[2] = {};
    for (int i = 0; i < 2; ++i) {
        const EyeImages& slot = eyes[std::size_t(i)];
        if (slot.source.empty()) {
            grey[i] = &slot.luma;
            continue;
        }
        made[i] = MakeGreyImage(slot.source);
        if (made[i].empty())
            return {Status::Error(ErrorCode::OutOfMemory, "not enough memory to align the images"), {}, 0};
        grey[i] = &made[i];
    }
    Report(progress, 20);
    AutoAlignResult found = bistrope::AutoAlign(*grey[0], *grey[1], Subrange(progress, 20, 100));
    if (found.ok()) SetAlignment(found.alignment);
    return found;
}

// --- Output --------------------------------------------------------------------------------

bool StereoDocument::CanSave() const { return IsLoaded(Eye::Left) && IsLoaded(Eye::Right) && !outputRect.IsEmpty(); }

Status StereoDocument::MakeOutputImage(Eye eye) {
    EyeImages& slot = Slot(eye);
    if (Status full = FinishSource(eye); !full.ok()) return full;
    if (slot.source.empty()) {
        if (!slot.output.empty()) return Status::Ok();
        return Status::Error(ErrorCode::NoImage, "No " + std::string(EyeName(eye)) + " image is loaded");
    }
    slot.output.reset();
    return bistrope::MakeOutputImage(slot.source, ParamsFor(Settings(), eye), slot.output);
}

Status StereoDocument::RenderAnaglyph(ConvertedImage& result, const ProgressFn& progress) {
    if (!IsLoaded(Eye::Left) || !IsLoaded(Eye::Right))
        return Status::Error(ErrorCode::NoImage, "Both images must be loaded");
    EyeImages& right = Slot(Eye::Right);
    if (right.source.empty() && right.reduced.empty() && MakeOutputImage(Eye::Left).ok()) {
        // Loaded for output only: the right output image becomes the anaglyph.
        const Status status =
            bistrope::RenderAnaglyphInPlace(*Output(Eye::Left), right.output, outputRect, alignment, progress);
        if (status.ok()) {
            result = std::move(right.output);
            right = EyeImages{};
        }
        return status;
    }
    const char* failedEye = nullptr;
    Status conversion;
    const auto supplier = [this, &failedEye, &conversion](Eye eye) -> ConvertedImageSupplier {
        return [this, eye, &failedEye, &conversion]() -> const ConvertedImage* {
            conversion = MakeOutputImage(eye);
            if (conversion.ok() && Output(eye)) return Output(eye);
            failedEye = EyeName(eye);
            return nullptr;
        };
    };
    Status status = bistrope::RenderAnaglyph(supplier(Eye::Right), supplier(Eye::Left), outputRect, alignment,
                                             result, progress);
    if (!status.ok() && failedEye) {
        const bool memory = conversion.ok() || conversion.code == ErrorCode::OutOfMemory;
        status.message = std::string(failedEye) + " image could not be converted at full size (" +
                         (memory ? std::string("not enough memory") : conversion.message) + ")";
    }
    return status;
}

Status StereoDocument::SaveAnaglyph(const std::filesystem::path& path, int quality, const ProgressFn& progress) {
    ConvertedImage anaglyph;
    const Status rendered = RenderAnaglyph(anaglyph, progress);
    if (!rendered.ok()) return rendered;
    Report(progress, 100);
    return WriteJpegFile(path, anaglyph, quality);
}

}  // namespace bistrope
