#include "app/slot_texts.h"

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

std::wstring ImageFileFilter() {
    std::wstring filter = kImageFilterDescription;
    filter.push_back(L'\0');
    filter += kImageFilterPattern;
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    return filter;
}

}  // namespace bistrope
