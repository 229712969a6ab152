#pragma once
// The "Advanced settings" page (dialog 117): the largest preview texture edge, with an
// explanation naming the graphics hardware's limit and a "reset" button that puts that
// limit back into the box.
//
// The box is read as a whole number (its leading digits, 0 when there are none); the
// stored size is that number as an unsigned 32-bit value, so -1 stores 4294967295 (which
// limits nothing until the preview lowers it to the hardware limit at the next start).
// "reset" is enabled exactly while the box holds something other than the hardware limit.

#include <cstdint>
#include <string>

#include "app/page_items.h"
#include "app/reg_data.h"

namespace bistrope {

// The explanation shown in static 1007, with the hardware's limit in it.
[[nodiscard]] std::wstring TextureLimitExplanation(std::uint32_t hardwareMaxTexSize);

// The size a number typed into the box stands for.
[[nodiscard]] constexpr std::uint32_t TextureSizeFromTyped(int typed) { return static_cast<std::uint32_t>(typed); }

// Whether "reset" may be pressed while the box holds `typed`.
[[nodiscard]] constexpr bool TextureResetEnabled(int typed, std::uint32_t hardwareMaxTexSize) {
    return TextureSizeFromTyped(typed) != hardwareMaxTexSize;
}

// On opening: the explanation, the stored size in the box, the button's state; then
// maxTexSizeChanged is cleared (filling the box reports it as edited).
void AdvancedPageInit(PageItems& items, cRegData& settings);
// The box changed (typed, filled or reset): the flag is set and the button follows the box.
void AdvancedPageEdited(PageItems& items, cRegData& settings);
// "reset": the hardware limit into the box, and what an edit of the box does.
void AdvancedPageReset(PageItems& items, cRegData& settings);
// OK: the box's number becomes the stored size (unchanged when the box cannot be read).
void AdvancedPageApply(const PageItems& items, cRegData& settings);

}  // namespace bistrope
