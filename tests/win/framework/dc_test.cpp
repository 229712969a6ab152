// Drawing-context wrappers: restore rules, drawing primitives and the buffered DC.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "framework/win/dc.h"

using TWIG4::BufferedDC;
using TWIG4::Brush;
using TWIG4::DC;
using TWIG4::Font;
using TWIG4::Pen;

namespace {

// A 32 x 32 memory context with its own bitmap, filled white.
struct Canvas {
    HDC hdc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;

    Canvas() {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = 32;
        info.bmiHeader.biHeight = -32;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        oldBitmap = SelectObject(hdc, bitmap);
        RECT all{0, 0, 32, 32};
        FillRect(hdc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas() {
        SelectObject(hdc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(hdc);
    }
    COLORREF At(int x, int y) const { return GetPixel(hdc, x, y); }
    HGDIOBJ Current(UINT kind) const { return GetCurrentObject(hdc, kind); }
};

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

}  // namespace

TEST(DC, SelectingTwoPensRestoresTheFirstOnDestruction) {
    Canvas canvas;
    const HGDIOBJ original = canvas.Current(OBJ_PEN);
    Pen first(PS_SOLID, 1, kRed), second(PS_SOLID, 1, kBlue);
    {
        DC dc(canvas.hdc);
        ASSERT_TRUE(dc.Select(&first));
        ASSERT_TRUE(dc.Select(&second));
        EXPECT_EQ(canvas.Current(OBJ_PEN), second.GetHandle());
    }
    EXPECT_EQ(canvas.Current(OBJ_PEN), original);
    // The pens outlive the DC: their destructors must not touch it (checked by not crashing
    // and by the pen staying the original one).
}

TEST(DC, FontsAndBrushesAreRestoredToo) {
    Canvas canvas;
    const HGDIOBJ originalFont = canvas.Current(OBJ_FONT);
    const HGDIOBJ originalBrush = canvas.Current(OBJ_BRUSH);
    {
        DC dc(canvas.hdc);
        Font font(-12, L"Tahoma", FW_BOLD, 0);
        Brush brush(kRed);
        ASSERT_TRUE(font.IsValid());
        ASSERT_TRUE(dc.Select(&font));
        ASSERT_TRUE(dc.Select(&brush));
        EXPECT_EQ(canvas.Current(OBJ_FONT), font.GetHandle());
        EXPECT_EQ(canvas.Current(OBJ_BRUSH), brush.GetHandle());
    }  // the wrappers go first, each putting back what it replaced
    EXPECT_EQ(canvas.Current(OBJ_FONT), originalFont);
    EXPECT_EQ(canvas.Current(OBJ_BRUSH), originalBrush);
}

TEST(DC, AWrapperDestroyedWhileCurrentPutsBackWhatItReplaced) {
    Canvas canvas;
    const HGDIOBJ original = canvas.Current(OBJ_PEN);
    DC dc(canvas.hdc);
    Pen first(PS_SOLID, 1, kRed);
    ASSERT_TRUE(dc.Select(&first));
    {
        Pen second(PS_SOLID, 1, kBlue);
        ASSERT_TRUE(dc.Select(&second));
        ASSERT_TRUE(dc.Select(&second));  // twice: it still remembers the red pen
    }
    EXPECT_EQ(canvas.Current(OBJ_PEN), first.GetHandle());
    {
        // Destroyed out of order: the replaced pen is gone, so the original comes back.
        auto third = std::make_unique<Pen>(PS_SOLID, 1, kBlue);
        auto fourth = std::make_unique<Pen>(PS_SOLID, 1, kRed);
        ASSERT_TRUE(dc.Select(third.get()));
        ASSERT_TRUE(dc.Select(fourth.get()));
        third.reset();
        fourth.reset();
        EXPECT_EQ(canvas.Current(OBJ_PEN), original);
    }
}

TEST(DC, EmptyWrappersAndMissingArgumentsFail) {
    Canvas canvas;
    DC dc(canvas.hdc);
    Pen none;
    Brush brush;
    EXPECT_FALSE(dc.Select(&none));
    EXPECT_FALSE(dc.Select(static_cast<Pen*>(nullptr)));
    EXPECT_FALSE(dc.Select(&brush));
    EXPECT_TRUE(brush.Create(kRed));
    EXPECT_FALSE(brush.Create(kBlue));  // already has a handle
    Font font;
    EXPECT_TRUE(font.Create(-10, L"Tahoma", FW_NORMAL, 900));
    EXPECT_FALSE(font.Create(-10, L"Tahoma", FW_NORMAL, 0));
    EXPECT_FALSE(dc.FillRect(nullptr, kRed));
    EXPECT_FALSE(dc.FrameRect(nullptr, kRed));
    EXPECT_FALSE(dc.GetTextExtent(L"x", 1, nullptr));
    EXPECT_EQ(dc.DrawText(L"x", 1, nullptr, 0), 0);
}

TEST(DC, DrawingPrimitives) {
    Canvas canvas;
    DC dc(canvas.hdc);
    const HGDIOBJ pen = canvas.Current(OBJ_PEN);

    RECT fill{2, 2, 6, 6};
    EXPECT_TRUE(dc.FillRect(&fill, kRed));
    EXPECT_EQ(canvas.At(2, 2), kRed);
    EXPECT_EQ(canvas.At(5, 5), kRed);
    EXPECT_EQ(canvas.At(6, 6), kWhite);  // right and bottom edges excluded

    RECT frame{10, 10, 20, 16};
    EXPECT_TRUE(dc.FrameRect(&frame, kBlue));
    EXPECT_EQ(canvas.At(10, 10), kBlue);
    EXPECT_EQ(canvas.At(19, 10), kBlue);
    EXPECT_EQ(canvas.At(19, 15), kBlue);
    EXPECT_EQ(canvas.At(10, 15), kBlue);
    EXPECT_EQ(canvas.At(20, 10), kWhite);
    EXPECT_EQ(canvas.At(10, 16), kWhite);
    EXPECT_EQ(canvas.At(15, 12), kWhite);  // only the outline

    EXPECT_TRUE(dc.Line(0, 30, 8, 30, kRed));
    EXPECT_EQ(canvas.At(0, 30), kRed);
    EXPECT_EQ(canvas.At(7, 30), kRed);
    EXPECT_EQ(canvas.At(8, 30), kWhite);  // the end point is not drawn
    EXPECT_EQ(canvas.Current(OBJ_PEN), pen);  // temporary pens are gone again

    dc.MoveTo(3, 4);
    const POINT previous = dc.MoveTo(5, 6);
    EXPECT_EQ(previous.x, 3);
    EXPECT_EQ(previous.y, 4);

    SIZE size{};
    EXPECT_TRUE(dc.GetTextExtent(L"Wide", 4, &size));
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 0);
}

TEST(BufferedDC, DrawsInTheSameCoordinatesAndCopiesBack) {
    Canvas canvas;
    DC dc(canvas.hdc);
    RECT area{8, 8, 24, 24};
    {
        BufferedDC buffered(&dc, &area);
        ASSERT_TRUE(buffered.IsActive());
        EXPECT_NE(dc.GetHandle(), canvas.hdc);  // drawing goes to the buffer
        RECT inner{10, 10, 12, 12};
        dc.FillRect(&inner, kRed);
        EXPECT_EQ(canvas.At(10, 10), kWhite);  // not yet on the target
    }
    EXPECT_EQ(dc.GetHandle(), canvas.hdc);
    EXPECT_EQ(canvas.At(10, 10), kRed);
    EXPECT_EQ(canvas.At(11, 11), kRed);
    EXPECT_EQ(canvas.At(12, 12), kWhite);  // the buffer started as a copy of the target

    RECT empty{5, 5, 5, 9};
    BufferedDC none(&dc, &empty);
    EXPECT_FALSE(none.IsActive());
    BufferedDC noDc(nullptr, &area);
    EXPECT_FALSE(noDc.IsActive());
    EXPECT_EQ(dc.GetHandle(), canvas.hdc);
}
