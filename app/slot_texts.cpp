#include "app/slot_texts.h"

#include "framework/unicode.h"

namespace bistrope {
namespace {

constexpr SlotTexts kLeftTexts{
    L"Load left image",
    L"Click here to load left image",
    L"Click here to load an image (keyboard shortcut: F2)",
    L"Click here to load a different image (keyboard shortcut: F2)",
};

constexpr SlotTexts kRightTexts{
    L"Load right image",
    L"Click here to load right image",
    L"Click here to load an image (keyboard shortcut: F3)",
    L"Click here to load a different image (keyboard shortcut: F3)",
};

}  // namespace

const SlotTexts& TextsForEye(int eye) { return eye == 1 ? kLeftTexts : kRightTexts; }

std::wstring SlotToolTip(int eye, const std::wstring& path) {
    const SlotTexts& texts = TextsForEye(eye);
    if (path.empty()) return texts.tooltipEmpty;
    return path + L"\n\n" + texts.tooltipLoaded;
}

std::wstring SlotCaption(int eye, const std::wstring& path, bool fromStereoFile) {
    if (!fromStereoFile) return path;
    return path + (eye == 1 ? L" (left eye)" : L" (right eye)");
}

std::wstring ImageFileFilter() {
    std::wstring filter = kImageFilterDescription;
    filter.push_back(L'\0');
    filter += kImageFilterPattern;
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    return filter;
}

std::wstring LoadFailureText(int eye, bool wasLoaded, const std::string& reason) {
    const std::wstring side = eye == 1 ? L"left" : L"right";
    return TWIG4::Utf8ToWide(reason) + L"." +
           (wasLoaded ? L"\n\nThe " + side + L" image stays as it was." : L"\n\nThe " + side + L" image slot stays empty.");
}

std::wstring PreviewFailureText(const std::string& reason) {
    return TWIG4::Utf8ToWide(reason) + L".\n\nThe previous preview stays.";
}

std::wstring SwapFailureText(const std::string& reason) {
    return TWIG4::Utf8ToWide(reason) + L".\n\nBoth images stay as they were.";
}

std::wstring AutoAlignDoneText(int matches) {
    return L"Aligned automatically on " + std::to_wstring(matches) + L" matched points";
}

std::wstring AutoAlignFailureText(const std::string& reason) {
    return TWIG4::Utf8ToWide(reason) + L".\n\nThe alignment stays as it was.";
}

std::wstring SaveFailureText(const std::wstring& path, const std::string& reason) {
    return L"The image could not be saved as\n" + path + L"\n\nReason: " + TWIG4::Utf8ToWide(reason) +
           L".\n\nAn existing file of that name has not been changed.";
}

}  // namespace bistrope
