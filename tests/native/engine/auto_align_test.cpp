// The aligner on synthetic pairs whose correct alignment is known (tests/native/engine/
// stereo_scene.h): recovered within stated tolerances, and refused for pairs that give no
// reliable match.
#include "engine/auto_align.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "engine/convert.h"
#include "engine/stereo_scene.h"

namespace bistrope {
namespace {

struct Case {
    double offsetX, offsetY, rotation;
    int leftWidth = 0, leftHeight = 0, width = 320, height = 240;
};
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.offsetX << "," << c.offsetY << " " << c.rotation << " deg, left " << c.leftWidth << "x" << c.leftHeight;
}

class AutoAlignRecovers : public ::testing::TestWithParam<Case> {};

TEST_P(AutoAlignRecovers, RowsLevelAndTheNearBoxAtTheScreen) {
    test::SceneParams scene;
    const Case& c = GetParam();
    scene.truth = {c.offsetX, c.offsetY, c.rotation};
    scene.leftWidth = c.leftWidth, scene.leftHeight = c.leftHeight, scene.width = c.width, scene.height = c.height;
    const auto [left, right] = test::StereoScene(scene);
    const AutoAlignResult r = AutoAlign(MakeGreyImage(left), MakeGreyImage(right));
    ASSERT_TRUE(r.ok()) << r.status.message;
    EXPECT_GE(r.matches, 40);
    EXPECT_NEAR(r.alignment.offsetY, scene.truth.offsetY, 0.05);
    EXPECT_NEAR(r.alignment.rotation, scene.truth.rotation, 0.01);
    // The near box (about 14 % of the matches) at zero parallax, the rest nearShift behind.
    EXPECT_NEAR(r.alignment.offsetX, scene.truth.offsetX - scene.nearShift, 0.1);
}

INSTANTIATE_TEST_SUITE_P(KnownWarps, AutoAlignRecovers,
                         ::testing::Values(Case{0, 0, 0}, Case{4.25, 7.5, 3.0}, Case{-12, -11.75, -9.5},
                                           Case{9, 5, 17},
                                           // Sides of other sizes and parities than the right's.
                                           Case{2, -3.5, -2, 301, 227},
                                           // Matched on a reduced copy, refined down to full size.
                                           Case{-7, 9.25, 4, 1501, 401, 1500, 400}));

// A near box whose texture repeats down it gives few corner matches (each of its corners has
// equally good partners above and below) but matches along its rows.
TEST(AutoAlign, NearBoxWithFewCornerMatchesAtTheScreen) {
    test::SceneParams scene;
    scene.nearPeriod = 16, scene.nearShift = 3, scene.truth = {2, -4, 1.5};
    const auto [left, right] = test::StereoScene(scene);
    const AutoAlignResult r = AutoAlign(MakeGreyImage(left), MakeGreyImage(right));
    ASSERT_TRUE(r.ok()) << r.status.message;
    // The matches alone put the background at the screen, 3 pixels off.
    EXPECT_NEAR(r.alignment.offsetX, scene.truth.offsetX - scene.nearShift, 0.25);
}

SourceImage Pattern(int w, int h, double (*value)(double, double)) {
    SourceImage img = SourceImage::Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* px = img.row(y) + 4 * x;
            px[0] = px[1] = px[2] = std::uint8_t(value(x + 0.5, y + 0.5));
            px[3] = 255;
        }
    return img;
}

TEST(AutoAlign, RefusesPairsWithoutReliableMatchesInOneLine) {
    const struct {
        const char* what;
        double (*left)(double, double);
        double (*right)(double, double);
    } cases[] = {
        {"flat grey", [](double, double) { return 128.0; }, [](double, double) { return 128.0; }},
        {"unrelated", [](double x, double y) { return test::SceneTexture(x, y, 1); },
         [](double x, double y) { return test::SceneTexture(x, y, 2); }},
        // A 24-pixel tile repeated: every corner has many equally good partners.
        {"repeating", [](double x, double y) { return test::SceneTexture(std::fmod(x, 24), std::fmod(y, 24), 3); },
         [](double x, double y) { return test::SceneTexture(std::fmod(x + 5, 24), std::fmod(y + 2, 24), 3); }},
    };
    for (const auto& c : cases) {
        const AutoAlignResult r =
            AutoAlign(MakeGreyImage(Pattern(320, 240, c.left)), MakeGreyImage(Pattern(320, 240, c.right)));
        EXPECT_EQ(r.status.code, ErrorCode::NoMatch) << c.what;
        EXPECT_LT(r.matches, 20) << c.what;
        EXPECT_EQ(r.status.message.find('\n'), std::string::npos) << c.what;
        EXPECT_FALSE(r.status.message.empty()) << c.what;
    }
    EXPECT_EQ(AutoAlign(GreyImage::Create(40, 300), GreyImage::Create(300, 300)).status.code, ErrorCode::NoImage);
    // Too narrow to reduce to the matching size: refused before the pyramid runs out of rows.
    EXPECT_EQ(AutoAlign(GreyImage::Create(65535, 48), GreyImage::Create(300, 300)).status.code, ErrorCode::NoMatch);
}

}  // namespace
}  // namespace bistrope
