#pragma once
// The texts of the two image slots: per eye (1 left, 2 right; any other value takes the
// right eye's texts) and those of the open-file dialog they use.

#include <string>

namespace bistrope {

struct SlotTexts {
    const wchar_t* dialogTitle;    // "Load left image"
    const wchar_t* emptyText;      // shown in the middle of an empty slot
    const wchar_t* tooltipEmpty;   // tooltip while nothing is loaded
    const wchar_t* tooltipLoaded;  // follows the path and an empty line once loaded
};

[[nodiscard]] const SlotTexts& TextsForEye(int eye);

// The tooltip of a slot: the empty form while `path` is empty, otherwise the path, an
// empty line and "Click here to load a different image (keyboard shortcut: F2)" (F3 for
// the right eye). The path is inserted as it is, so a '%' in it stays a '%'.
[[nodiscard]] std::wstring SlotToolTip(int eye, const std::wstring& path);

constexpr const wchar_t* kImageFilterDescription = L"Image files (jpg jpeg bmp gif png tiff mpo jps pns)";
constexpr const wchar_t* kImageFilterPattern = L"*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.tiff;*.emf;*.mpo;*.jps;*.pns";

// The caption over a slot's thumbnail: the path, and which eye the slot holds when both
// came from one stereo file.
[[nodiscard]] std::wstring SlotCaption(int eye, const std::wstring& path, bool fromStereoFile);

// The open dialog's filter list: description, null, pattern, null, and the final null.
[[nodiscard]] std::wstring ImageFileFilter();

constexpr const wchar_t* kLoadingImageText = L"Loading image...";
constexpr const wchar_t* kRegeneratingText = L"Regenerating colour matices...";
constexpr const wchar_t* kSavingText = L"Saving image";
constexpr const wchar_t* kSwappingText = L"Swapping the eyes...";
constexpr const wchar_t* kAligningText = L"Aligning the eyes...";

// The message box texts of the flows, from the engine's one-line UTF-8 reasons:
//   a failed load: the reason, ".", and what became of the slot ("The left image stays as
//   it was." when it held one, "The left image slot stays empty." otherwise);
//   a preview that could not be remade: the reason and "The previous preview stays.";
//   a failed save: the file, the reason and that an existing file was not changed.
[[nodiscard]] std::wstring LoadFailureText(int eye, bool wasLoaded, const std::string& reason);
[[nodiscard]] std::wstring PreviewFailureText(const std::string& reason);
// A swap that could not be made: the reason and "Both images stay as they were."
[[nodiscard]] std::wstring SwapFailureText(const std::string& reason);
[[nodiscard]] std::wstring SaveFailureText(const std::wstring& path, const std::string& reason);
// Automatic alignment: the status line's note of success ("Aligned automatically on 412
// matched points"), and the reason it was refused with "The alignment stays as it was."
[[nodiscard]] std::wstring AutoAlignDoneText(int matches);
[[nodiscard]] std::wstring AutoAlignFailureText(const std::string& reason);
constexpr int kSlotTipWidth = 600;  // maximum tooltip width asked for by a slot

// Colours of a slot (red, green, blue).
struct SlotColour {
    unsigned char r, g, b;
};
constexpr SlotColour kSlotBackground{254, 252, 242};
constexpr SlotColour kSlotTextColour{0, 0, 255};
constexpr const wchar_t* kSlotFontFace = L"Arial";
constexpr int kSlotFontHeight = 16;  // cell height in pixels

}  // namespace bistrope
