// Layout of an image slot: caption strip, image area and thumbnail placement.
#include "app/slot_layout.h"

#include <gtest/gtest.h>

namespace bistrope {
namespace {

const SlotRect kSlot{0, 0, 198, 175};

TEST(SlotLayout, CaptionStripAndImageArea) {
    EXPECT_EQ(CaptionStrip(kSlot), (SlotRect{4, 0, 194, 25}));
    EXPECT_EQ(ImageArea(kSlot), (SlotRect{0, 25, 198, 175}));
    const SlotRect offset{10, 20, 110, 220};
    EXPECT_EQ(CaptionStrip(offset), (SlotRect{14, 20, 106, 45}));
    EXPECT_EQ(ImageArea(offset), (SlotRect{10, 45, 110, 220}));
}

TEST(SlotLayout, ThumbnailsFillTheImageAreaAlongTheTighterScaleCentred) {
    // Image area 198 x 150. Landscape: sx 0.495 < sy 0.5, the width limits.
    EXPECT_EQ(PlaceThumbnail(kSlot, 400, 300), (SlotRect{4, 29, 194, 171}));
    // Portrait: sx 0.66 > sy 0.375, the height limits.
    EXPECT_EQ(PlaceThumbnail(kSlot, 300, 400), (SlotRect{46, 29, 152, 171}));
    // sx = sy = 0.5 takes the width rule: (150 - 143) / 2 = 3.
    EXPECT_EQ(PlaceThumbnail(kSlot, 396, 300), (SlotRect{4, 28, 194, 171}));
    // s = 190 / 4000, height trunc(142.5) = 142, centred at 25 + (150 - 142) / 2.
    EXPECT_EQ(PlaceThumbnail(kSlot, 4000, 3000), (SlotRect{4, 29, 194, 171}));
    // A 10 x 10 source is enlarged to the area: height limits (150 / 10 < 198 / 10).
    EXPECT_EQ(PlaceThumbnail(kSlot, 10, 10), (SlotRect{28, 29, 170, 171}));
    // Centring uses integer halving: (198 - 71) / 2 = 63.
    EXPECT_EQ(PlaceThumbnail(kSlot, 100, 200), (SlotRect{63, 29, 134, 171}));
}

TEST(SlotLayout, DegenerateInputsAreRefusedOrKeptVisible) {
    EXPECT_FALSE(PlaceThumbnail(kSlot, 0, 100).has_value());
    EXPECT_FALSE(PlaceThumbnail(kSlot, -1, -1).has_value());  // an empty slot's size
    // A sliver keeps one pixel of width instead of vanishing.
    EXPECT_EQ(PlaceThumbnail(kSlot, 1, 100000), (SlotRect{98, 29, 99, 171}));
    EXPECT_EQ(PlaceThumbnail(kSlot, 100000, 1), (SlotRect{4, 99, 194, 100}));
    // A slot with no room below the caption holds no thumbnail.
    EXPECT_FALSE(PlaceThumbnail(SlotRect{0, 0, 198, 30}, 400, 300).has_value());
    EXPECT_FALSE(PlaceThumbnail(SlotRect{0, 0, 6, 175}, 400, 300).has_value());
}

}  // namespace
}  // namespace bistrope
