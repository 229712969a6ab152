// Which eye each file given together goes to: command line and drops.
#include "app/open_plan.h"

#include "engine/stereo_file.h"

#include <gtest/gtest.h>

namespace bistrope {
namespace {

using Images = std::vector<std::pair<Eye, std::wstring>>;

TEST(OpenPlan, OneImageGoesToItsSlotOrTheFirstFreeEye) {
    EXPECT_EQ(PlanOpen({L"a.jpg"}, Eye::Right, false, false).images, (Images{{Eye::Right, L"a.jpg"}}));
    EXPECT_EQ(PlanOpen({L"a.jpg"}, std::nullopt, false, false).images, (Images{{Eye::Left, L"a.jpg"}}));
    EXPECT_EQ(PlanOpen({L"a.jpg"}, std::nullopt, true, false).images, (Images{{Eye::Right, L"a.jpg"}}));
    EXPECT_EQ(PlanOpen({L"a.jpg"}, std::nullopt, true, true).images, (Images{{Eye::Left, L"a.jpg"}}));
    EXPECT_EQ(PlanOpen({L"a.jpg"}, std::nullopt, false, true).images, (Images{{Eye::Left, L"a.jpg"}}));
    EXPECT_TRUE(PlanOpen({}, std::nullopt, false, false).images.empty());
}

TEST(OpenPlan, TwoImagesAreLeftAndRightAStereoFileFillsBothEyesAndDropsSortByName) {
    const OpenPlan two = PlanOpen({L"x_l.png", L"x_r.png"}, Eye::Right, false, false);
    EXPECT_EQ(two.images, (Images{{Eye::Left, L"x_l.png"}, {Eye::Right, L"x_r.png"}}));
    EXPECT_TRUE(two.stereoFile.empty());
    for (const auto& files : {std::vector<std::wstring>{L"C:\\p\\DSCF0001.MPO"},
                              std::vector<std::wstring>{L"a.jpg", L"C:\\p\\DSCF0001.MPO"}}) {
        const OpenPlan plan = PlanOpen(files, Eye::Left, false, false);
        EXPECT_EQ(plan.stereoFile, L"C:\\p\\DSCF0001.MPO");
        EXPECT_TRUE(plan.images.empty());
    }
    EXPECT_FALSE(PlanOpen({L"a", L"b", L"c"}, std::nullopt, false, false).error.empty());
    EXPECT_TRUE(PlanOpen({L"a", L"b", L"c"}, std::nullopt, false, false).images.empty());

    // Stereo names, and the order of names.
    for (const char* name : {"a.mpo", "A.JPS", "dir.x/b.Pns"}) EXPECT_TRUE(IsStereoFileName(name)) << name;
    for (const char* name : {".mpo", "a.mpo.jpg", "a.jpg", "mpo", "a.mp", "x.mpo/a.jpg"})
        EXPECT_FALSE(IsStereoFileName(name)) << name;
    std::vector<std::wstring> dropped{L"C:\\b\\Pair_R.jpg", L"D:\\pair_l.jpg", L"E:\\a.jpg"};
    SortByName(dropped);
    EXPECT_EQ(dropped, (std::vector<std::wstring>{L"E:\\a.jpg", L"D:\\pair_l.jpg", L"C:\\b\\Pair_R.jpg"}));
}

}  // namespace
}  // namespace bistrope
