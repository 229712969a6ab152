// Drawing-context wrappers: what they put back, and the buffered DC.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "framework/win/dc.h"
#include "support/wintest.h"

using TWIG4::DC;
using TWIG4::Pen;

namespace {

const COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

HGDIOBJ Current(const wintest::Canvas& canvas, UINT kind) { return GetCurrentObject(canvas.dc(), kind); }

TEST(DC, SelectionsArePutBackWhateverTheOrderOfDestruction) {
    wintest::Canvas canvas(32, 32, kWhite);
    const HGDIOBJ pen = Current(canvas, OBJ_PEN), font = Current(canvas, OBJ_FONT), brush = Current(canvas, OBJ_BRUSH);
    Pen red(PS_SOLID, 1, kRed), blue(PS_SOLID, 1, kBlue);  // outliving the DC
    {
        DC dc(canvas.dc());
        TWIG4::Font bold(-12, L"Tahoma", FW_BOLD, 0);
        TWIG4::Brush fill(kRed);
        ASSERT_TRUE(dc.Select(&red) && dc.Select(&blue) && dc.Select(&bold) && dc.Select(&fill));
        EXPECT_EQ(Current(canvas, OBJ_PEN), blue.GetHandle());
        EXPECT_EQ(Current(canvas, OBJ_FONT), bold.GetHandle());
    }
    EXPECT_EQ(Current(canvas, OBJ_PEN), pen) << "the DC ends with the pen it started with";
    EXPECT_EQ(Current(canvas, OBJ_FONT), font);
    EXPECT_EQ(Current(canvas, OBJ_BRUSH), brush);

    DC dc(canvas.dc());
    ASSERT_TRUE(dc.Select(&red));
    {
        Pen second(PS_SOLID, 1, kBlue);
        ASSERT_TRUE(dc.Select(&second));
        ASSERT_TRUE(dc.Select(&second));  // twice: it still remembers the red pen
    }
    EXPECT_EQ(Current(canvas, OBJ_PEN), red.GetHandle());
    auto third = std::make_unique<Pen>(PS_SOLID, 1, kBlue), fourth = std::make_unique<Pen>(PS_SOLID, 1, kRed);
    ASSERT_TRUE(dc.Select(third.get()) && dc.Select(fourth.get()));
    third.reset();  // out of order: what the fourth replaced is gone, so the original returns
    fourth.reset();
    EXPECT_EQ(Current(canvas, OBJ_PEN), pen);
    Pen none;
    EXPECT_FALSE(dc.Select(&none));
    EXPECT_TRUE(dc.Line(0, 30, 8, 30, kRed));
    EXPECT_EQ(canvas.Pixel(7, 30), kRed);
    EXPECT_EQ(Current(canvas, OBJ_PEN), pen) << "the line's own pen is gone again";
}

TEST(BufferedDC, DrawsInTheSameCoordinatesAndCopiesBack) {
    wintest::Canvas canvas(32, 32, kWhite);
    DC dc(canvas.dc());
    RECT area{8, 8, 24, 24}, inner{10, 10, 12, 12};
    {
        TWIG4::BufferedDC buffered(&dc, &area);
        ASSERT_TRUE(buffered.IsActive());
        dc.FillRect(&inner, kRed);
        EXPECT_EQ(canvas.Pixel(10, 10), kWhite) << "not yet on the target";
    }
    EXPECT_EQ(dc.GetHandle(), canvas.dc());
    EXPECT_EQ(canvas.Pixel(11, 11), kRed);
    EXPECT_EQ(canvas.Pixel(12, 12), kWhite) << "the buffer started as a copy of the target";
    RECT empty{5, 5, 5, 9};
    EXPECT_FALSE(TWIG4::BufferedDC(&dc, &empty).IsActive());
}

}  // namespace
