// Helpers of the image slot tests: a frame with two slots and the stereo view, image
// files written by the test, and driving dialogs and
// message boxes from a helper thread.
#pragma once

#include "support/wintest.h"
#include <windows.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/reg_data.h"
#include "app/win/image_view.h"
#include "engine/image.h"
#include "view/image_slot.h"
#include "framework/win/sdiapp.h"
#include "view/win/main_image_view.h"

namespace slot_test {

namespace fs = std::filesystem;

class FakeStatus : public bistrope::StatusPanes {
public:
    std::array<std::wstring, 5> panes;
    void SetStatusText(int pane, const wchar_t* text) override {
        if (pane >= 0 && pane < 5) panes[static_cast<size_t>(pane)] = text ? text : L"";
    }
};

// A slot whose images a test can set directly, and whose preview can be made to fail as
// on a machine without enough memory.
class TestSlot : public cImageView {
public:
    using cImageView::cImageView;
    bool failPreview = false;
    int previewCalls = 0;

    void Put(bistrope::SourceImage source, bistrope::ConvertedImage preview, const wchar_t* filePath) {
        sourceImage = std::move(source);
        previewImage = std::move(preview);
        path = filePath;
        DeleteThumbnail();
    }

protected:
    bistrope::Status BuildPreview(const bistrope::SourceImage& source, bistrope::ConvertedImage& preview,
                                  const bistrope::ProgressFn& progress) override {
        ++previewCalls;
        if (failPreview) {
            bistrope::Report(progress, 0);
            return bistrope::Status::Error(bistrope::ErrorCode::OutOfMemory,
                                           "not enough memory for a 16384 x 16384 preview");
        }
        return cImageView::BuildPreview(source, preview, progress);
    }

private:
    void DeleteThumbnail() {
        if (thumbnail) ::DeleteObject(thumbnail);
        thumbnail = nullptr;
    }
};

// The frame of the test application with the two slots and the stereo view laid out as
// in the program (slots 198 x 175 at (2, 2) and (2, 179), the view beside them).
class Stage {
public:
    FakeStatus status;
    TestSlot left;
    TestSlot right;
    cMainImageView view;

    explicit Stage(cRegData& settings);
    ~Stage();
    bool Open();
    TWIG4::Wnd& Frame();
};

// The settings record of the tests (a test-only key).
cRegData& Settings();

// A fresh folder under the temporary folder, removed with the object.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    fs::path operator/(const std::wstring& name) const { return path / name; }
    fs::path path;
};

// A 24-bit BMP of one colour, or with a horizontal ramp in red when ramp is set.
void WriteBmp(const fs::path& file, int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b);
// A 24-bit BMP whose pixel (x, y) (y downwards) is given by `colour` as red, green, blue.
void WriteBmpWith(const fs::path& file, int width, int height,
                  const std::function<std::array<std::uint8_t, 3>(int x, int y)>& colour);
// A BMP header that declares width x height pixels and holds none of them.
void WriteBmpHeaderOnly(const fs::path& file, int width, int height);
// A baseline JPEG of one colour, through the engine's writer.
std::vector<std::uint8_t> JpegBytes(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b);
void WriteBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes);

// A solid source image (alpha 255).
bistrope::SourceImage SolidSource(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b);

// Text of a message box that appears within `milliseconds`, which is then closed with OK.
// Runs on a helper thread; the result is ready after Join.
class MessageBoxCatcher {
public:
    explicit MessageBoxCatcher(int milliseconds = 20000);
    ~MessageBoxCatcher();
    bool Join(int milliseconds);
    bool seen = false;
    std::wstring text;
    std::wstring caption;

private:
    HANDLE thread = nullptr;
    int timeout;
    static DWORD WINAPI Main(void* self);
};

// Drives the open dialog titled `title` from a helper thread: types `fileName` and presses
// Open, or cancels when `fileName` is empty. When `expectMessage` is set it then catches
// the message box that follows (its text in `messageText`).
class OpenDialogDriver {
public:
    OpenDialogDriver(std::wstring title, std::wstring fileName, bool expectMessage);
    ~OpenDialogDriver();
    bool Join(int milliseconds);
    bool dialogSeen = false;
    bool messageSeen = false;
    std::wstring messageText;

private:
    std::wstring title, fileName;
    bool expectMessage;
    HANDLE thread = nullptr;
    static DWORD WINAPI Main(void* self);
};

// Progress-bar positions set on this thread while the recorder exists.
class ProgressRecorder {
public:
    ProgressRecorder();
    ~ProgressRecorder();
    std::vector<int> positions;

private:
    HHOOK hook = nullptr;
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
};

// The test program's one application object (made here when no other test file made one),
// and its frame with the shared tooltip, made as Run would.
TWIG4::SDIApp& App();
bool MakeFrame();
void DestroyFrame();

using wintest::ClassOf;
using wintest::Pump;
using wintest::DrainQueue;
using wintest::TextOf;
using wintest::WaitForWindow;

}  // namespace slot_test
