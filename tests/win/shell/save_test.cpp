// Saving the anaglyph from the running frame: the file's size is the output rectangle, it
// carries the Software tag, its pixels are the left image's red and the right image's
// green and blue at the alignment (against a reference computed here from the pictures);
// the real save dialog stores its folder; a failed save names the file and the reason in a
// message box and leaves the existing file as it was.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "engine/color_matrix.h"
#include "shell_fixture.h"

namespace shelltest {
namespace {

bool Contains(const wintest::Bytes& bytes, const std::string& text) {
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

class Save : public ShellTest {
protected:
    // Runs `action` while a message box is expected; returns its text ("" when none came).
    std::wstring WithMessageBox(const std::function<void()>& action) {
        std::wstring text;
        Poller reader(
            100, 15000,
            [&] {
                for (HWND box : VisibleWindowsOfClass(L"#32770")) {
                    const std::wstring t = MessageBoxText(box);
                    if (t.empty()) continue;  // not yet filled, or another dialog
                    text = t;
                    PostMessageW(box, WM_COMMAND, IDOK, 0);
                    return true;
                }
                return false;
            },
            [] {});
        action();
        wintest::Pump(30, IdlePass);
        return text;
    }
};

TEST_F(Save, TheFileHasTheOutputSizeTheTagAndTheLeftRedWithTheRightGreenAndBlue) {
    Start();
    const int w = 320, h = 240;
    ASSERT_TRUE(LoadBoth(w, h));
    // The pictures as the program read them (the files are JPEGs themselves).
    const bistrope::ConvertedImage left = ReadPicture(folder + L"\\left.jpg");
    const bistrope::ConvertedImage right = ReadPicture(folder + L"\\right.jpg");
    ASSERT_EQ(left.width(), w);
    ASSERT_EQ(right.width(), w);
    ASSERT_EQ(Settings().blendMode, 2);  // full colour: red from the left, green and blue from the right
    // The left image 10 to the right and 6 up: whole pixels, so no resampling.
    View().SetAlignment({10.0, -6.0, 0.0});
    View().UpdateOutputRect();
    const bistrope::OutputRect rect = View().GetOutputRect();
    ASSERT_EQ(rect.Width(), w - 10);
    ASSERT_EQ(rect.Height(), h - 6);

    const std::wstring path = folder + L"\\anaglyph.jpg";
    ASSERT_TRUE(View().WriteOutputImage(path.c_str()));
    const wintest::Bytes bytes = wintest::ReadFileBytes(path);
    EXPECT_TRUE(Contains(bytes, std::string("Bistrope by Renvik") + '\0'));
    const bistrope::ConvertedImage saved = ReadPicture(path);
    ASSERT_EQ(saved.width(), w - 10);
    ASSERT_EQ(saved.height(), h - 6);

    // Output (x, y) is right pixel (xR + x, yR + y); the left pixel shown there is 10 to the
    // left and 6 below (the left image moved right and up).
    const int xR = static_cast<int>(rect.left + w / 2.0), yR = static_cast<int>(h / 2.0 - rect.bottom);
    long values = 0, farOff = 0;
    double total = 0.0;
    for (int y = 0; y < saved.height(); ++y)
        for (int x = 0; x < saved.width(); ++x) {
            const std::uint8_t* got = saved.row(y) + 3 * x;
            const std::uint8_t* r = right.row(yR + y) + 3 * (xR + x);
            const std::uint8_t* l = left.row(yR + y + 6) + 3 * (xR + x - 10);
            const int expected[3] = {r[0], r[1], l[2]};
            for (int c = 0; c < 3; ++c) {
                const int d = std::abs(got[c] - expected[c]);
                total += d;
                ++values;
                if (d > 16) ++farOff;
            }
        }
    const double mean = total / values;
    std::printf("[ measured ] saved anaglyph against the reference: mean difference %.2f, %ld of %ld values more "
                "than 16 off\n", mean, farOff, values);
    // JPEG at quality 80 (red from one picture next to green and blue from another is hard
    // on its colour planes): a mean difference of at most 2.5 (measured 1.7) and at most
    // 0.1 % of values more than 16 off. A left image misplaced by one pixel in either
    // direction gives a mean above 3.2.
    EXPECT_LE(mean, 2.5);
    EXPECT_LE(farOff, values / 1000) << "values off by more than 16: " << farOff << " of " << values;
    // The slots keep their full-size images; the view is unchanged.
    EXPECT_NE(app->GetLeftSlot().GetOutputImage(), nullptr);
    EXPECT_EQ(View().GetAlignment().offsetX, 10.0);
    EXPECT_TRUE(VisibleWindowsOfClass(L"#32770").empty()) << "the progress dialog stayed";
}

TEST_F(Save, TheSaveDialogStoresItsFolderAndAddsTheExtension) {
    Start();
    ASSERT_TRUE(LoadBoth());
    const std::wstring typed = folder + L"\\typed";
    std::wstring title;
    Poller driver(
        150, 10000,
        [&] {
            for (HWND d : VisibleWindowsOfClass(L"#32770")) {
                title = TextOf(d);
                HWND name = GetDlgItem(d, 0x47C);  // the file name combo box
                if (!name) name = GetDlgItem(d, 0x480);
                if (!name) return false;
                SetWindowTextW(name, typed.c_str());
                PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, IDOK)));
                return true;
            }
            return false;
        },
        [] {});
    OneShot watchdog(30000, [] {
        for (HWND d : VisibleWindowsOfClass(L"#32770")) PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_TRUE(View().SaveOutputImage());
    EXPECT_EQ(title, L"Save image as");
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(typed + L".jpg")));
    EXPECT_EQ(std::wstring(Settings().outputImagePath.GetBuffer()), folder);

    // Cancelled: nothing written, nothing changed.
    Settings().outputImagePath = L"C:\\";
    Poller canceller(
        150, 10000,
        [&] {
            for (HWND d : VisibleWindowsOfClass(L"#32770")) {
                PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
                return true;
            }
            return false;
        },
        [] {});
    EXPECT_FALSE(View().SaveOutputImage());
    EXPECT_EQ(std::wstring(Settings().outputImagePath.GetBuffer()), L"C:\\");
}

TEST_F(Save, AFailedSaveNamesTheFileAndTheReasonAndKeepsTheOldFile) {
    Start();
    ASSERT_TRUE(LoadBoth());

    // A read-only file of that name: refused, the old bytes stay.
    const std::wstring path = folder + L"\\kept.jpg";
    {
        std::ofstream out(std::filesystem::path(path), std::ios::binary);
        out << "old file";
    }
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    bool saved = true;
    const std::wstring text = WithMessageBox([&] { saved = View().WriteOutputImage(path.c_str()); });
    EXPECT_FALSE(saved);
    EXPECT_NE(text.find(path), std::wstring::npos) << std::string(text.begin(), text.end());
    EXPECT_NE(text.find(L"read-only"), std::wstring::npos) << std::string(text.begin(), text.end());
    const wintest::Bytes kept = wintest::ReadFileBytes(path);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "old file");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    // A folder that does not exist.
    const std::wstring nowhere = folder + L"\\missing\\out.jpg";
    const std::wstring text2 = WithMessageBox([&] { saved = View().WriteOutputImage(nowhere.c_str()); });
    EXPECT_FALSE(saved);
    EXPECT_NE(text2.find(nowhere), std::wstring::npos);
    EXPECT_NE(text2.find(L"folder does not exist"), std::wstring::npos) << std::string(text2.begin(), text2.end());
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(nowhere)));
    // Nothing but the kept file in the folder: no temporary file left behind.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(folder)))
        if (entry.path().extension() != L".jpg" || entry.path().filename() == L"kept.jpg") ++files;
    EXPECT_EQ(files, 1) << "left-over files in the folder";
}

}  // namespace
}  // namespace shelltest
