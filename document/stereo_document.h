#pragma once
// StereoDocument: the stereo pair being made into an anaglyph, owned in one place for the
// program's windows and for bistrope-cli alike.
//
// For each eye it holds the file's path and three images (engine/image.h): `source` as
// decoded, `preview` converted through the current mode's matrix for that eye at a
// power-of-two size (the stereo view's texture), and `output`, the full-size conversion a
// save renders from. For the pair it holds the alignment of the left image and the output
// rectangle (engine/output_rect.h), which is recomputed whenever images or alignment change.
//
// An eye is loaded while it has a size: from its source image, or, for an eye loaded for
// output only (LoadPairForOutput, bistrope-cli), from its output image. It takes part in
// the preview while it has a preview image.
//
// A JPEG much larger than its preview is first decoded at a reduced scale, enough for the
// preview, and the eye is loaded with that; the full-size source is decoded on another
// thread meanwhile, and whatever needs it (Source, a save, a new preview, swapping,
// aligning) waits for it there. If that decode fails they say why (the eye keeps its
// preview and size).
//
// Every change is all or nothing: a load that fails leaves the eye, the alignment and the
// output rectangle as they were; a preview that cannot be remade leaves the previous one.
// Listeners (DocumentListener) hear of each change after it is complete, with the share of
// the job's progress bar that is theirs, and redraw.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <future>
#include <optional>
#include <vector>

#include "engine/auto_align.h"
#include "engine/color_matrix.h"
#include "engine/decode.h"
#include "engine/image.h"
#include "engine/output_rect.h"
#include "engine/progress.h"
#include "engine/status.h"
#include "engine/stereo_file.h"

namespace bistrope {

// What a conversion reads from the settings, asked for afresh by every conversion.
struct ConversionSettings {
    unsigned mode = FullColour;
    CustomMatrices custom{FullColourMatrix(Eye::Left), FullColourMatrix(Eye::Right)};
    std::uint32_t previewLimit = 4096;  // the bound of a preview side (view/texture_limit.h)
};

class DocumentListener {
public:
    // An eye was loaded: its images were replaced, the alignment was reset.
    virtual void OnEyeLoaded(Eye eye, const ProgressFn& progress) = 0;
    // The previews were remade (for another mode or other matrices).
    virtual void OnPreviewsRebuilt(const ProgressFn& progress) = 0;
    // Both eyes were replaced at once (their images swapped); the alignment was reset.
    virtual void OnPairReplaced(const ProgressFn& progress) = 0;
    // The alignment (and with it the output rectangle) changed.
    virtual void OnAlignmentChanged() = 0;

protected:
    ~DocumentListener() = default;
};

// 0 for the left eye, 1 for the right one (any other value counts as the right eye).
[[nodiscard]] constexpr int EyeIndex(Eye eye) { return eye == Eye::Left ? 0 : 1; }
// "left" or "right".
[[nodiscard]] const char* EyeName(Eye eye);

class StereoDocument {
public:
    using SettingsSource = std::function<ConversionSettings()>;

    // Whether loads make previews: a document without a window (bistrope-cli) needs none.
    enum class Previews { Made, None };

    // `settings` is asked whenever a conversion runs; without one the defaults apply.
    explicit StereoDocument(SettingsSource settings = {}, Previews previews = Previews::Made);
    StereoDocument(const StereoDocument&) = delete;
    StereoDocument& operator=(const StereoDocument&) = delete;

    // Listeners are told of changes in the order they were added; none is owned.
    void AddListener(DocumentListener* listener);
    void RemoveListener(DocumentListener* listener);

    // --- Loading ------------------------------------------------------------------------
    // Decodes the file and makes its preview (progress 0-50), then takes both for the eye
    // together, drops its old output image, resets the alignment and tells the listeners
    // (50-100). On failure nothing changes; the status names the file and the reason.
    [[nodiscard]] Status LoadEye(Eye eye, const std::filesystem::path& path, const ProgressFn& progress = {});
    // A file chosen for an eye: a stereo file by its name (.mpo, .jps, .pns) fills both eyes
    // (LoadStereoFile), unless it holds a single picture, which goes to `eye` like any other
    // image (LoadEye).
    [[nodiscard]] Status OpenFile(Eye eye, const std::filesystem::path& path, const ProgressFn& progress = {});
    // Both eyes from one file (engine/stereo_file.h): their previews made (progress 0-50),
    // then taken together for both eyes, old output images dropped, the alignment reset and
    // the listeners told (50-100). A file with a single picture is refused (Unsupported).
    [[nodiscard]] Status LoadStereoFile(const std::filesystem::path& path, StereoLayout layout = StereoLayout::Auto,
                                        const ProgressFn& progress = {});
    // Swaps in images made elsewhere (tests, alternative loaders) with the same effect.
    [[nodiscard]] Status SetEyeImage(Eye eye, SourceImage source, const std::filesystem::path& path,
                                     const ProgressFn& progress = {});
    // Both files decoded at once straight into full-size output images (no source, no
    // preview): the fast path for a save without a window. With `forAlignment` each eye
    // also keeps its full-size luma, taken row by row during the decode (one byte a pixel),
    // so that AutoAlign can run without the sources. All or nothing for the pair. Made for
    // one save: RenderAnaglyph spends the right eye.
    [[nodiscard]] Status LoadPairForOutput(const std::filesystem::path& left, const std::filesystem::path& right,
                                           bool forAlignment = false);

    [[nodiscard]] bool IsLoaded(Eye eye) const { return Size(eye).has_value(); }
    [[nodiscard]] bool HasPreview(Eye eye) const { return !Slot(eye).preview.empty(); }
    [[nodiscard]] bool HasBothPreviews() const { return HasPreview(Eye::Left) && HasPreview(Eye::Right); }
    [[nodiscard]] const std::filesystem::path& Path(Eye eye) const { return Slot(eye).path; }
    // Whether both eyes came from one stereo file.
    [[nodiscard]] bool FromOneFile() const { return IsLoaded(Eye::Left) && Path(Eye::Left) == Path(Eye::Right); }
    // The eye's image size while it is loaded.
    [[nodiscard]] std::optional<ImageSize> Size(Eye eye) const;
    // The size of an eye that takes part in the preview (none otherwise).
    [[nodiscard]] std::optional<ImageSize> PreviewedSize(Eye eye) const;
    // The full-size source (waiting for its decode when that is still under way); none
    // when the eye has none or that decode failed.
    [[nodiscard]] const SourceImage* Source(Eye eye) const;
    // The eye's picture for display, such as a thumbnail: the source, or the reduced
    // picture its preview was made from while the source is not there yet.
    [[nodiscard]] const SourceImage* Picture(Eye eye) const;
    [[nodiscard]] const ConvertedImage* Preview(Eye eye) const { return Get(Slot(eye).preview); }
    [[nodiscard]] const ConvertedImage* Output(Eye eye) const { return Get(Slot(eye).output); }

    // Exchanges the two eyes' files and sources and makes each one's preview for its new
    // eye (progress 0-80, the listeners 80-100); old output images go, the alignment is
    // reset. Both eyes must hold a source. On failure nothing changes.
    [[nodiscard]] Status SwapEyes(const ProgressFn& progress = {});

    // --- Previews -----------------------------------------------------------------------
    // Remakes one eye's preview for the current settings; on failure the previous one stays.
    [[nodiscard]] Status RebuildPreview(Eye eye, const ProgressFn& progress = {});
    // Both eyes (left 0-40, right 40-80), then the listeners (80-100). The status of each
    // eye, left first; the listeners hear of it even when an eye failed.
    std::array<Status, 2> RebuildPreviews(const ProgressFn& progress = {});

    // --- Alignment ----------------------------------------------------------------------
    [[nodiscard]] const Alignment& GetAlignment() const { return alignment; }
    [[nodiscard]] const OutputRect& GetOutputRect() const { return outputRect; }
    // Sets offsets and rotation as given, recomputes the output rectangle, tells listeners.
    void SetAlignment(const Alignment& value);
    void ResetAlignment() { SetAlignment(Alignment{}); }
    // Finds the alignment (engine/auto_align.h: every point at the same height in both
    // eyes, the nearest part of the scene at the screen) and sets it as SetAlignment does.
    // It reads each eye's source, or the luma LoadPairForOutput(..., true) kept, never the
    // output images, whose colour channels differ per eye. Progress: greyscale 0-20, the
    // aligner 20-100; the listeners hear OnAlignmentChanged after that. The result holds
    // the alignment set and the number of consistent matches it rests on. When the pair
    // cannot be aligned (NoMatch: too few reliable matches; NoImage: an eye with neither
    // source nor luma; OutOfMemory) the alignment stays as it was, nobody is told, and the
    // status says why in one line.
    [[nodiscard]] AutoAlignResult AutoAlign(const ProgressFn& progress = {});

    // --- Output -------------------------------------------------------------------------
    // Both eyes loaded and a non-empty output rectangle.
    [[nodiscard]] bool CanSave() const;
    // Makes an eye's full-size output image from its source, releasing the old one first so
    // that two generations are never held at once. An eye loaded for output only keeps the
    // output image it has.
    [[nodiscard]] Status MakeOutputImage(Eye eye);
    // The anaglyph of the output rectangle at full size (engine/render.h). A conversion that
    // fails names the eye. `result` is untouched on failure. After LoadPairForOutput the
    // right eye's output image is rendered into and becomes `result`, which spares a third
    // full-size image: the right eye is then no longer loaded.
    [[nodiscard]] Status RenderAnaglyph(ConvertedImage& result, const ProgressFn& progress = {});
    // RenderAnaglyph (progress 0-100), then the JPEG file at `quality`. The target is
    // replaced only by a complete file.
    [[nodiscard]] Status SaveAnaglyph(const std::filesystem::path& path, int quality, const ProgressFn& progress = {});

private:
    struct EyeImages {
        std::filesystem::path path;
        // Filled from `pending` by FinishSource, also behind const accessors.
        mutable SourceImage source;
        ConvertedImage preview;
        ConvertedImage output;
        GreyImage luma;  // only after LoadPairForOutput for alignment
        // After a reduced decode: the full-size decode under way, the picture at reduced
        // scale (kept until the source is there) and the full size.
        mutable std::future<DecodeResult> pending;
        mutable SourceImage reduced;
        ImageSize fullSize{};
        mutable Status sourceStatus;  // how the full-size decode failed
    };
    template <class Image>
    static const Image* Get(const Image& image) {
        return image.empty() ? nullptr : &image;
    }
    EyeImages& Slot(Eye eye) { return eyes[EyeIndex(eye)]; }
    const EyeImages& Slot(Eye eye) const { return eyes[EyeIndex(eye)]; }
    ConversionSettings Settings() const;
    Status BuildPreview(Eye eye, const SourceImage& source, const std::filesystem::path& path,
                        ConvertedImage& preview, const ProgressFn& progress) const;
    void UpdateOutputRect();
    void AlignmentReset();

    // Takes new images for an eye.
    void TakeEye(Eye eye, EyeImages loaded, const ProgressFn& progress);
    // Waits for the eye's full-size decode if one is under way; its failure, if it failed.
    Status FinishSource(Eye eye) const;
    // Takes new sources and previews for both eyes at once.
    void TakePair(SourceImage left, ConvertedImage leftPreview, SourceImage right, ConvertedImage rightPreview,
                  const std::filesystem::path& leftPath, const std::filesystem::path& rightPath,
                  const ProgressFn& progress);

    SettingsSource settings;
    Previews previews;
    std::array<EyeImages, 2> eyes;
    Alignment alignment;
    OutputRect outputRect;
    std::vector<DocumentListener*> listeners;
};

}  // namespace bistrope
