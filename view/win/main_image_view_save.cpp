// Saving the anaglyph: the save dialog, the full-resolution render (engine/render.h) and
// the JPEG file (engine/jpeg_writer.h). A save that fails says so in a message box that
// names the file and the reason; the JPEG writer replaces the target only with a complete
// file, so an existing file of that name survives any failure.
#include <cwchar>
#include <filesystem>
#include <string>

#include "app/reg_data.h"
#include "app/win/prog_dlg.h"
#include "engine/jpeg_writer.h"
#include "engine/render.h"
#include "framework/format.h"
#include "framework/unicode.h"
#include "framework/win/filedlg.h"
#include "framework/win/sdiapp.h"
#include "view/win/main_image_view.h"

using namespace bistrope;

namespace {

constexpr const wchar_t kSaveFilter[] = L"jpeg (*.jpg)\0*.jpg\0";
constexpr const wchar_t* kSaveTitle = L"Save image as";
constexpr const wchar_t* kSavingText = L"Saving image";

}  // namespace

bool cMainImageView::CanSave() const { return HasLeftImage() && HasRightImage() && !OutputRect.IsEmpty(); }

bool cMainImageView::SaveOutputImage() {
    if (!CanSave()) return false;
    TWIG4::FileDlg dialog;
    TWIG4::Wnd* owner = TWIG4::SDIApp::GetApp();
    if (!dialog.SaveAs(settings.outputImagePath.GetBuffer(), kSaveFilter, 0, owner, kSaveTitle)) return false;
    // The area under the closed dialog must not stay blank while the work runs.
    Render(nullptr);
    // The folder is kept whatever happens to the save.
    settings.outputImagePath = dialog.GetDirectory();
    return WriteOutputImage(dialog.GetPath().GetBuffer());
}

bool cMainImageView::WriteOutputImage(const wchar_t* path) {
    if (!CanSave() || !path || !path[0]) return false;
    ConvertedImage anaglyph;
    Status status;
    {
        cProgDlg progress;
        (void)progress.Create(this);
        progress.SetRange(0, 100);
        progress.SetProgress(0, kSavingText);
        const ProgressFn report = [&progress](int percent) { progress.SetProgress(percent); };
        // Each eye at full size, made when the render needs it. A conversion that fails
        // (short of memory) is reported with the eye it concerns.
        const wchar_t* failedEye = nullptr;
        const ConvertedImageSupplier right = [this, &failedEye]() -> const ConvertedImage* {
            if (rightSlot.MakeOutputImage() && rightSlot.GetOutputImage()) return rightSlot.GetOutputImage();
            failedEye = L"right";
            return nullptr;
        };
        const ConvertedImageSupplier left = [this, &failedEye]() -> const ConvertedImage* {
            if (leftSlot.MakeOutputImage() && leftSlot.GetOutputImage()) return leftSlot.GetOutputImage();
            failedEye = L"left";
            return nullptr;
        };
        status = RenderAnaglyph(right, left, OutputRect, alignment, anaglyph, report);
        if (!status.ok() && failedEye)
            status.message = TWIG4::WideToUtf8(failedEye, std::wcslen(failedEye)) +
                             " image could not be converted at full size (not enough memory)";
        if (status.ok()) {
            progress.SetProgress(100);
            status = WriteJpegFile(std::filesystem::path(path), anaglyph, settings.jpegQuality);
        }
    }  // the progress dialog closes before any message
    if (status.ok()) return true;
    ReportSaveFailure(path, status.message);
    return false;
}

void cMainImageView::ReportSaveFailure(const wchar_t* path, const std::string& reason) {
    const std::wstring text = TWIG4::FormatWide(
        L"The image could not be saved as\n%ls\n\nReason: %ls.\n\nAn existing file of that name has not been changed.",
        path, TWIG4::Utf8ToWide(reason).c_str());
    MessageBox(text.c_str(), MB_OK | MB_ICONERROR);
}
