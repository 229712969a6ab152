// File handling shared by every build: open, read, recognise, check the declared size,
// then hand the bytes to the platform's decoder.
#include <cctype>
#include <cstdio>
#include <fstream>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/decode.h"
#include "engine/mpo.h"
#include "engine/stereo_file.h"
#include "engine/color_rows.h"
#include "engine/convert.h"
#include "engine/decode_internal.h"
#include "engine/exif.h"

namespace bistrope {
namespace detail {

Status TooLarge(std::int64_t width, std::int64_t height, const DecodeLimits& limits) {
    return Status::Error(ErrorCode::TooLarge, "the image is too large (" + std::to_string(width) + " x " +
                                                  std::to_string(height) + " pixels; the limit is " +
                                                  std::to_string(limits.maxPixels) + " pixels and " +
                                                  std::to_string(limits.maxSide) + " per side)");
}

Status AllocateSource(std::int64_t width, std::int64_t height, const DecodeLimits& limits, SourceImage& out) {
    if (width <= 0 || height <= 0) return Status::Error(ErrorCode::Corrupt, "the image declares no pixels");
    if (!limits.Allows(width, height)) return TooLarge(width, height, limits);
    out = SourceImage::Create(std::int32_t(width), std::int32_t(height));
    if (out.empty()) return OutOfMemory(width, height);
    return Status::Ok();
}

}  // namespace detail

namespace {

std::string Quoted(const std::filesystem::path& path) {
    const auto u8 = path.u8string();
    return "\"" + std::string(u8.begin(), u8.end()) + "\"";
}

Status NameFile(const std::filesystem::path& path, const Status& reason) {
    if (reason.ok()) return reason;
    return Status::Error(reason.code, "Cannot read " + Quoted(path) + ": " + reason.message);
}

// Reads at most maxBytes of the file (all of it when maxBytes is 0).
Status ReadFileBytes(const std::filesystem::path& path, std::uintmax_t maxBytes, std::uintmax_t fileLimit,
                     std::vector<std::uint8_t>& bytes, std::uintmax_t& fileSize) {
    std::error_code ec;
    const auto st = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(st)) {
        if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory)
            return Status::Error(ErrorCode::ReadFailed, "the file cannot be opened (" + ec.message() + ")");
        return Status::Error(ErrorCode::NotFound, "the file does not exist");
    }
    if (std::filesystem::is_directory(st)) return Status::Error(ErrorCode::ReadFailed, "it is a folder, not a file");
    fileSize = std::filesystem::file_size(path, ec);
    if (ec) return Status::Error(ErrorCode::ReadFailed, "the file cannot be opened (" + ec.message() + ")");
    if (fileSize == 0) return Status::Error(ErrorCode::Empty, "the file is empty");
    if (maxBytes == 0 && fileSize > fileLimit)
        return Status::Error(ErrorCode::TooLarge, "the file is too large (" + std::to_string(fileSize) + " bytes)");
    std::ifstream in(path, std::ios::binary);
    if (!in) return Status::Error(ErrorCode::ReadFailed, "the file cannot be opened (no permission?)");
    const std::uintmax_t want = maxBytes ? std::min(maxBytes, fileSize) : fileSize;
    bytes.clear();
    if (want > bytes.max_size()) return Status::Error(ErrorCode::TooLarge, "the file is too large");
    bytes.resize(std::size_t(want));
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(want));
    if (std::uintmax_t(in.gcount()) != want) return Status::Error(ErrorCode::ReadFailed, "the file cannot be read");
    return Status::Ok();
}

// The EXIF orientation the file asks for: JPEG and TIFF carry one, the other formats are
// always upright.
int FileOrientation(ImageFormat format, const std::uint8_t* bytes, std::size_t size) {
    return format == ImageFormat::Jpeg || format == ImageFormat::Tiff ? ReadOrientation(bytes, size) : 1;
}

// Turns a decoded image upright, or says why it could not.
Status Orient(SourceImage& image, int orientation) {
    if (orientation == 1) return Status::Ok();
    const std::int32_t w = image.width(), h = image.height();
    image = ApplyOrientation(std::move(image), orientation);
    return image.empty() ? detail::OutOfMemory(w, h) : Status::Ok();
}

// Files larger than an uncompressed image at the pixel limit are not images we can read.
std::uintmax_t FileLimit(const DecodeLimits& limits) {
    return std::uintmax_t(limits.maxPixels) * 8 + (std::uintmax_t(64) << 20);
}

}  // namespace

ProbeResult ProbeImageFile(const std::filesystem::path& path, const DecodeLimits& limits) {
    std::vector<std::uint8_t> bytes;
    std::uintmax_t fileSize = 0;
    ProbeResult r;
    r.status = ReadFileBytes(path, std::uintmax_t(1) << 20, 0, bytes, fileSize);
    if (r.ok()) {
        r = ProbeImageHeader(bytes.data(), bytes.size());
        // A JPEG's frame header can follow large metadata segments.
        if (r.status.code == ErrorCode::Truncated && fileSize > bytes.size()) {
            r.status = ReadFileBytes(path, 0, FileLimit(limits), bytes, fileSize);
            if (r.ok()) r = ProbeImageHeader(bytes.data(), bytes.size());
        }
    }
    if (r.ok() && !limits.Allows(r.width, r.height)) r.status = detail::TooLarge(r.width, r.height, limits);
    if (r.ok() && OrientationSwapsSides(FileOrientation(r.format, bytes.data(), bytes.size())))
        std::swap(r.width, r.height);
    r.status = NameFile(path, r.status);
    return r;
}

namespace {

// Reads the file and checks what its header declares; on success `bytes` holds the file
// and `format` its format.
Status ReadAndCheck(const std::filesystem::path& path, const DecodeLimits& limits, std::vector<std::uint8_t>& bytes,
                    ImageFormat& format) {
    std::uintmax_t fileSize = 0;
    Status st = ReadFileBytes(path, 0, FileLimit(limits), bytes, fileSize);
    if (!st.ok()) return st;
    const ProbeResult header = ProbeImageHeader(bytes.data(), bytes.size());
    format = header.format;
    if (header.format == ImageFormat::Unknown) return header.status;
    // A size the header declares is checked before any decoder allocates; other header
    // problems are left to the decoder, which knows its format best.
    if (header.ok() && !limits.Allows(header.width, header.height))
        return detail::TooLarge(header.width, header.height, limits);
    if (header.status.code == ErrorCode::TooLarge) return header.status;
    return Status::Ok();
}

// Converts each decoded row into a converted image, and into its luma when `luma` is given.
class ConvertingSink : public detail::RowSink {
public:
    ConvertingSink(const std::optional<ColorMatrix>& matrix, ConvertedImage& out, GreyImage* luma)
        : colours_(matrix), out_(out), luma_(luma) {}
    Status Begin(std::int64_t w, std::int64_t h, const DecodeLimits& limits) override {
        if (w <= 0 || h <= 0) return Status::Error(ErrorCode::Corrupt, "the image declares no pixels");
        if (!limits.Allows(w, h)) return detail::TooLarge(w, h, limits);
        out_ = ConvertedImage::Create(std::int32_t(w), std::int32_t(h));
        row_ = SourceImage::Create(std::int32_t(w), 1);
        if (luma_) *luma_ = GreyImage::Create(std::int32_t(w), std::int32_t(h));
        if (out_.empty() || row_.empty() || (luma_ && luma_->empty())) return detail::OutOfMemory(w, h);
        return Status::Ok();
    }
    std::uint8_t* Row(std::int32_t) override { return row_.data(); }
    void Commit(std::int32_t y) override {
        colours_.ConvertRow(row_.data(), out_.row(y), out_.width());
        if (luma_) LumaRow(row_.data(), luma_->row(y), out_.width());
    }
    // Matrices that keep or fill each channel (the full-colour ones) convert opaque rows
    // where they were decoded, sparing the 32-bit row and a pass; the aligner's luma is
    // taken from the 32-bit row, so a decode that keeps it goes the other way.
    bool TakesBgr() const override { return !luma_ && colours_.ConvertsOpaqueBgrInPlace(); }
    std::uint8_t* BgrRow(std::int32_t y) override { return out_.row(y); }
    void CommitBgr(std::int32_t y) override { colours_.ConvertOpaqueBgrInPlace(out_.row(y), out_.width()); }

private:
    ColorRowConverter colours_;
    ConvertedImage& out_;
    GreyImage* luma_;
    SourceImage row_;
};

// Rows into a source image, and each row announced to the preview made from it.
class PreviewingSink : public detail::RowSink {
public:
    PreviewingSink(const std::optional<ColorMatrix>& matrix, std::uint32_t maxTexSize, bool reduce, SourceImage& source,
                   ConvertedImage& preview)
        : matrix_(matrix), maxTexSize_(maxTexSize), reduce_(reduce), source_(source), preview_(preview) {}
    int Reduction(std::int64_t w, std::int64_t h) override {
        declared_ = ImageSize{std::int32_t(w), std::int32_t(h)};  // within the limits, checked before
        size_ = ComputePreviewSize(std::uint32_t(w), std::uint32_t(h), maxTexSize_);
        if (!reduce_) return 1;
        // The decoder's reduced sides are rounded up.
        for (const int d : {8, 4, 2})
            if ((w + d - 1) / d >= size_->width && (h + d - 1) / d >= size_->height) return reduction_ = d;
        return 1;
    }
    Status Begin(std::int64_t w, std::int64_t h, const DecodeLimits& limits) override {
        if (Status st = detail::AllocateSource(w, h, limits, source_); !st.ok()) return st;
        const PreviewSize size = size_.value_or(ComputePreviewSize(std::uint32_t(w), std::uint32_t(h), maxTexSize_));
        preview_ = ConvertedImage::Create(size.width, size.height);
        // Without memory for the preview the decode goes on; the caller says what failed.
        if (!preview_.empty()) conversion_.emplace(source_, matrix_, preview_);
        return Status::Ok();
    }
    std::uint8_t* Row(std::int32_t y) override { return source_.row(y); }
    void Commit(std::int32_t y) override {
        if (conversion_) conversion_->RowsReady(y + 1);
    }
    // Whether the preview is complete: after a decode that succeeded.
    bool Finish() {
        if (!conversion_) return false;
        conversion_->Finish();
        return true;
    }
    int reduction() const { return reduction_; }
    ImageSize declared() const { return declared_; }

private:
    const std::optional<ColorMatrix>& matrix_;
    const std::uint32_t maxTexSize_;
    const bool reduce_;
    std::optional<PreviewSize> size_;  // from the declared size, when the decoder asked
    int reduction_ = 1;
    ImageSize declared_{};
    SourceImage& source_;
    ConvertedImage& preview_;
    std::optional<StreamedConversion> conversion_;
};

}  // namespace

DecodeResult DecodeImageFile(const std::filesystem::path& path, const DecodeLimits& limits) {
    DecodeResult result;
    std::vector<std::uint8_t> bytes;
    Status st = ReadAndCheck(path, limits, bytes, result.format);
    if (st.ok()) st = detail::DecodePlatform(path, bytes.data(), bytes.size(), result.format, limits, result.image);
    if (st.ok()) st = Orient(result.image, FileOrientation(result.format, bytes.data(), bytes.size()));
    if (!st.ok()) result.image.reset();
    result.status = NameFile(path, st);
    return result;
}

DecodeResult DecodeImageBytes(const std::uint8_t* bytes, std::size_t size, const DecodeLimits& limits) {
    DecodeResult result;
    const ProbeResult header = ProbeImageHeader(bytes, size);
    result.format = header.format;
    Status st = header.format == ImageFormat::Unknown ? header.status : Status::Ok();
    if (st.ok() && header.ok() && !limits.Allows(header.width, header.height))
        st = detail::TooLarge(header.width, header.height, limits);
    if (st.ok() && header.status.code == ErrorCode::TooLarge) st = header.status;
    if (st.ok() && result.format == ImageFormat::Emf)
        st = Status::Error(ErrorCode::Unsupported, "EMF pictures are only read from files");
    if (st.ok()) st = detail::DecodePlatform({}, bytes, size, result.format, limits, result.image);
    if (st.ok()) st = Orient(result.image, FileOrientation(result.format, bytes, size));
    if (!st.ok()) result.image.reset();
    result.status = st;
    return result;
}

namespace {

std::string LowerExtension(const std::filesystem::path& path) {
    if (path.stem().empty()) return {};
    std::string ext = path.extension().u8string();
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

bool IsSideBySideName(const std::filesystem::path& path) {
    const std::string ext = LowerExtension(path);
    return ext == ".jps" || ext == ".pns";
}

}  // namespace

bool IsStereoFileName(const std::filesystem::path& path) {
    return IsSideBySideName(path) || LowerExtension(path) == ".mpo";
}

StereoDecodeResult DecodeStereoFile(const std::filesystem::path& path, StereoLayout layout,
                                    const DecodeLimits& limits) {
    StereoDecodeResult result;
    std::vector<std::uint8_t> bytes;
    std::uintmax_t fileSize = 0;
    Status st = ReadFileBytes(path, 0, FileLimit(limits), bytes, fileSize);
    const MpoIndex index = st.ok() ? ReadMpoIndex(bytes.data(), bytes.size()) : MpoIndex{};
    if (st.ok() && index.kind == MpoIndex::Kind::Damaged) st = index.status;
    if (st.ok() && index.multiPicture() && layout == StereoLayout::Auto) {
        // Frames 1 and 2 are the left and the right eye, decoded at once on two threads
        // (each decode uses one core).
        DecodeResult frames[2];
        const auto decode = [&](int i) {
            frames[i] = DecodeImageBytes(bytes.data() + index.frames[i].offset, index.frames[i].size, limits);
        };
        std::thread left;
        try {
            left = std::thread(decode, 0);
        } catch (const std::system_error&) {
            decode(0);
        }
        decode(1);
        if (left.joinable()) left.join();
        const char* names[] = {"the left eye's frame", "the right eye's frame"};
        for (int i = 0; i < 2 && st.ok(); ++i)
            if (!frames[i].ok())
                st = Status::Error(frames[i].status.code, std::string(names[i]) + ": " + frames[i].status.message);
        if (st.ok()) result.left = std::move(frames[0].image), result.right = std::move(frames[1].image);
    } else if (st.ok() && (layout != StereoLayout::Auto || IsSideBySideName(path))) {
        // One picture (the first frame of an MPO) holding both views side by side.
        const std::size_t size = index.multiPicture() ? index.frames[0].size : bytes.size();
        DecodeResult picture = DecodeImageBytes(bytes.data(), size, limits);
        st = picture.status;
        if (st.ok()) {
            StereoHalves halves = SplitSideBySide(picture.image, layout == StereoLayout::Parallel
                                                                    ? SideBySide::Parallel
                                                                    : SideBySide::Cross);
            st = halves.status;
            result.left = std::move(halves.left);
            result.right = std::move(halves.right);
        }
    } else if (st.ok()) {
        result.single = true;
    }
    if (!st.ok()) {
        result.left.reset();
        result.right.reset();
    }
    result.status = NameFile(path, st);
    return result;
}

PreviewedDecodeResult DecodeImageFileWithPreview(const std::filesystem::path& path,
                                                const std::optional<ColorMatrix>& matrix, std::uint32_t maxTexSize,
                                                const DecodeLimits& limits, bool reduce) {
    PreviewedDecodeResult result;
    DecodeResult& decoded = result.decoded;
    std::vector<std::uint8_t> bytes;
    Status st = ReadAndCheck(path, limits, bytes, decoded.format);
    const int orientation = st.ok() ? FileOrientation(decoded.format, bytes.data(), bytes.size()) : 1;
    bool previewMade = false;
    if (st.ok() && orientation == 1 && detail::CanDecodeRows(decoded.format)) {
        PreviewingSink sink(matrix, maxTexSize, reduce, decoded.image, result.preview);
        st = detail::DecodePlatformRows(bytes.data(), bytes.size(), decoded.format, limits, sink);
        previewMade = st.ok() && sink.Finish();
        result.reduction = sink.reduction();
        result.fullSize = sink.declared();
    } else if (st.ok()) {
        st = detail::DecodePlatform(path, bytes.data(), bytes.size(), decoded.format, limits, decoded.image);
        if (st.ok()) st = Orient(decoded.image, orientation);
        if (st.ok()) {
            const SourceImage& source = decoded.image;
            const PreviewSize size =
                ComputePreviewSize(std::uint32_t(source.width()), std::uint32_t(source.height()), maxTexSize);
            result.preview = ConvertImage(source, matrix, size.width, size.height);
            previewMade = !result.preview.empty();
        }
    }
    if (!st.ok()) decoded.image.reset(), result.reduction = 1;
    decoded.status = NameFile(path, st);
    if (result.reduction == 1) result.fullSize = ImageSize{decoded.image.width(), decoded.image.height()};
    if (st.ok() && !previewMade) {
        const PreviewSize size = ComputePreviewSize(std::uint32_t(result.fullSize.width),
                                                    std::uint32_t(result.fullSize.height), maxTexSize);
        result.previewStatus = Status::Error(ErrorCode::OutOfMemory, "not enough memory for a " +
                                                                         std::to_string(size.width) + " x " +
                                                                         std::to_string(size.height) + " preview");
    }
    if (!st.ok() || !previewMade) result.preview.reset();
    if (st.ok() && result.reduction != 1) result.bytes = std::move(bytes);
    return result;
}

ConvertedDecodeResult DecodeConvertedImageFile(const std::filesystem::path& path,
                                               const std::optional<ColorMatrix>& matrix, const DecodeLimits& limits,
                                               bool withLuma) {
    ConvertedDecodeResult result;
    std::vector<std::uint8_t> bytes;
    Status st = ReadAndCheck(path, limits, bytes, result.format);
    // Rows arrive in stored order, so only an upright file is converted row by row.
    const int orientation = st.ok() ? FileOrientation(result.format, bytes.data(), bytes.size()) : 1;
    if (st.ok() && orientation == 1 && detail::CanDecodeRows(result.format)) {
        ConvertingSink sink(matrix, result.image, withLuma ? &result.luma : nullptr);
        st = detail::DecodePlatformRows(bytes.data(), bytes.size(), result.format, limits, sink);
    } else if (st.ok()) {
        SourceImage source;
        st = detail::DecodePlatform(path, bytes.data(), bytes.size(), result.format, limits, source);
        if (st.ok()) st = Orient(source, orientation);
        if (st.ok()) {
            bytes = {};
            result.image = ConvertImage(source, matrix, source.width(), source.height());
            if (withLuma) result.luma = MakeGreyImage(source);
            if (result.image.empty() || (withLuma && result.luma.empty()))
                st = detail::OutOfMemory(source.width(), source.height());
        }
    }
    if (!st.ok()) result.image.reset(), result.luma.reset();
    result.status = NameFile(path, st);
    return result;
}

}  // namespace bistrope
