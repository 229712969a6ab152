#pragma once
// Colour-matrix conversion of a source image (engine/image.h) into a converted image:
// the preview conversion (power-of-two sides, stretched) and the full-size output
// conversion. The matrix is the one SelectBlendMatrix (engine/color_matrix.h) picks for
// the mode and the eye: mode 0 refuses, modes above 5 copy the source colours.
//
// Resampling: independent x and y scales; an area average when a side shrinks (no
// aliasing), bilinear interpolation of pixel centres when it grows, a plain copy when it
// keeps its size. The matrix is applied first, then the image is resampled, so custom
// matrices that clamp may differ slightly from resample-then-matrix.
//
// Both conversions use all worker threads and report progress 0 and 100.

#include <cstdint>
#include <memory>
#include <optional>

#include "base/geometry.h"
#include "engine/color_matrix.h"
#include "engine/image.h"
#include "engine/progress.h"
#include "engine/status.h"

namespace bistrope {

// A preview's size in pixels: power-of-two sides.
using PreviewSize = geom::Size<std::int32_t>;

// Each side starts at 2 and doubles while it is below maxTexSize and below the source's
// side (unsigned, strict comparisons): the smallest power of two not below the source,
// capped at the smallest power of two not below maxTexSize, never below 2.
[[nodiscard]] PreviewSize ComputePreviewSize(std::uint32_t sourceWidth, std::uint32_t sourceHeight,
                                             std::uint32_t maxTexSize);

struct ConversionParams {
    unsigned mode = FullColour;
    Eye eye = Eye::Left;
    CustomMatrices custom{FullColourMatrix(Eye::Left), FullColourMatrix(Eye::Right)};
};

// Makes the preview image. Progress 0 is reported first; on refusal (no source: NoImage,
// mode 0: ModeZero) `preview` is left as it was. Otherwise it is replaced: an old preview
// of the same size is written over in place, one of another size is released before the
// new one is allocated; if that allocation fails, `preview` is empty and the status says
// OutOfMemory. Progress 100 is reported on success.
[[nodiscard]] Status MakePreviewImage(const SourceImage& source, const ConversionParams& params,
                                      std::uint32_t maxTexSize, ConvertedImage& preview,
                                      const ProgressFn& progress = {});

// Makes the full-size output image (the source's exact size, no resampling), with the
// same refusals and progress as MakePreviewImage.
[[nodiscard]] Status MakeOutputImage(const SourceImage& source, const ConversionParams& params,
                                     ConvertedImage& output, const ProgressFn& progress = {});

// The conversion itself: the whole source through `matrix` (none: colours copied)
// stretched onto a new width x height image. Empty on allocation failure.
[[nodiscard]] ConvertedImage ConvertImage(const SourceImage& source, const std::optional<ColorMatrix>& matrix,
                                          std::int32_t width, std::int32_t height);

// The same conversion onto `out` (already of the wanted size) while `source` is still
// being decoded, top row first, on a second thread: output rows are made as soon as the
// source rows they read are final. The result has ConvertImage's bytes. The source and
// `out` must outlive the object; Finish or Abandon (also the destructor's) ends the work.
class StreamedConversion {
public:
    StreamedConversion(const SourceImage& source, const std::optional<ColorMatrix>& matrix, ConvertedImage& out);
    ~StreamedConversion();
    StreamedConversion(const StreamedConversion&) = delete;
    StreamedConversion& operator=(const StreamedConversion&) = delete;

    // Source rows [0, rows) are final (from the decoding thread).
    void RowsReady(std::int32_t rows);
    // Every source row is final: makes the rest with the calling thread's help, then
    // returns with `out` complete.
    void Finish();
    // Stops without completing `out` (the decode failed).
    void Abandon();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Greyscale for the aligner: the luma 0.299 R + 0.587 G + 0.114 B of each pixel (16-bit
// fixed-point weights, rounded), alpha ignored. LumaRow does one row of `width` BGRA
// pixels; MakeGreyImage a whole image (empty when the source is empty or memory runs out).
void LumaRow(const std::uint8_t* bgra, std::uint8_t* luma, std::int32_t width);
[[nodiscard]] GreyImage MakeGreyImage(const SourceImage& source);

}  // namespace bistrope
