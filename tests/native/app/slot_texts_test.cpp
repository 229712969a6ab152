// Per-eye texts of the image slots, the open dialog's filter and the failure messages.
#include "app/slot_texts.h"

#include <gtest/gtest.h>

namespace bistrope {
namespace {

TEST(SlotTexts, EyeOneIsLeftAndEveryOtherValueRight) {
    EXPECT_STREQ(TextsForEye(1).dialogTitle, L"Load left image");
    EXPECT_STREQ(TextsForEye(1).emptyText, L"Click here to load left image");
    EXPECT_EQ(SlotToolTip(1, L""), L"Click here to load an image (keyboard shortcut: F2)");
    // The path is inserted literally.
    EXPECT_EQ(SlotToolTip(1, L"C:\\100%s\\a%d.jpg"),
              L"C:\\100%s\\a%d.jpg\n\nClick here to load a different image (keyboard shortcut: F2)");
    for (int eye : {2, 0, 3, -1}) {
        EXPECT_STREQ(TextsForEye(eye).dialogTitle, L"Load right image") << eye;
        EXPECT_STREQ(TextsForEye(eye).emptyText, L"Click here to load right image") << eye;
        EXPECT_EQ(SlotToolTip(eye, L"D:\\r.png"), L"D:\\r.png\n\nClick here to load a different image (keyboard shortcut: F3)");
    }
    EXPECT_EQ(ImageFileFilter(), std::wstring(L"Image files (jpg jpeg bmp gif png tiff mpo jps pns)") + L'\0' +
                                     L"*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.tiff;*.emf;*.mpo;*.jps;*.pns" + L'\0' + L'\0');
    EXPECT_EQ(SlotCaption(1, L"C:\\a.jpg", false), L"C:\\a.jpg");
    EXPECT_EQ(SlotCaption(1, L"C:\\p.mpo", true), L"C:\\p.mpo (left eye)");
    EXPECT_EQ(SlotCaption(2, L"C:\\p.mpo", true), L"C:\\p.mpo (right eye)");
}

TEST(FlowTexts, FailuresSayWhatHappenedAndWhatStays) {
    EXPECT_EQ(LoadFailureText(1, false, "Cannot read \"a.png\": the file is truncated"),
              L"Cannot read \"a.png\": the file is truncated.\n\nThe left image slot stays empty.");
    EXPECT_EQ(LoadFailureText(2, true, "x"), L"x.\n\nThe right image stays as it was.");
    // Reasons are UTF-8; the texts are wide.
    EXPECT_EQ(PreviewFailureText("Cannot make the preview of \"r\xc3\xa9.png\": no memory"),
              L"Cannot make the preview of \"r\u00e9.png\": no memory.\n\nThe previous preview stays.");
    EXPECT_EQ(SwapFailureText("no memory"), L"no memory.\n\nBoth images stay as they were.");
    EXPECT_EQ(AutoAlignFailureText("too few matches"), L"too few matches.\n\nThe alignment stays as it was.");
    EXPECT_EQ(AutoAlignDoneText(412), L"Aligned automatically on 412 matched points");
    EXPECT_EQ(SaveFailureText(L"C:\\out\\a%s.jpg", "the disk is full"),
              L"The image could not be saved as\nC:\\out\\a%s.jpg\n\nReason: the disk is full.\n\n"
              L"An existing file of that name has not been changed.");
}

}  // namespace
}  // namespace bistrope
