#include "app/win/image_view.h"

#include <commctrl.h>
#include <commdlg.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/reg_data.h"
#include "app/slot_texts.h"
#include "engine/convert.h"
#include "engine/decode.h"
#include "framework/win/filedlg.h"
#include "framework/win/sdiapp.h"
#include "view/texture_limit.h"
#include "view/win/main_image_view.h"

using namespace bistrope;

namespace {

std::wstring Widen(const std::string& utf8) { return TWIG4::String::FromUtf8(utf8.c_str()).GetBuffer(); }

ProgressFn ProgressOf(cProgDlg* dialog) {
    if (!dialog) return {};
    return [dialog](int percent) { dialog->SetProgress(percent, nullptr); };
}

}  // namespace

cImageView::cImageView(Eye eye, cRegData& settings) : settings(settings), eye(eye) {}

cImageView::~cImageView() {
    // The images go in the order sourceImage, previewImage, outputImage, thumbnail.
    sourceImage.reset();
    previewImage.reset();
    outputImage.reset();
    DeleteThumbnail();
}

bool cImageView::Create(TWIG4::Wnd* parent, int x, int y, int width, int height) {
    if (!parent || !parent->GetHandle()) return false;
    CREATESTRUCTW cs{};
    cs.hInstance = GetInstance();
    cs.hwndParent = parent->GetHandle();
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    cs.lpszClass = TWIG4::SDIApp::kChildClass;
    return TWIG4::Wnd::Create(cs);
}

// --- Images --------------------------------------------------------------------------

const ConvertedImage* cImageView::GetPreviewImage() const { return previewImage.empty() ? nullptr : &previewImage; }

const ConvertedImage* cImageView::GetOutputImage() const { return outputImage.empty() ? nullptr : &outputImage; }

std::int32_t cImageView::GetSourceWidth() const { return sourceImage.empty() ? -1 : sourceImage.width(); }

std::int32_t cImageView::GetSourceHeight() const { return sourceImage.empty() ? -1 : sourceImage.height(); }

TWIG4::String& cImageView::FolderSetting() {
    return eye == Eye::Left ? settings.leftImagePath : settings.rightImagePath;
}

Status cImageView::BuildPreview(const SourceImage& source, ConvertedImage& preview, const ProgressFn& progress) {
    ConversionParams params;
    params.mode = static_cast<unsigned>(settings.blendMode);
    params.eye = eye;
    params.custom = settings.GetCustomMatrices();
    const std::uint32_t limit = PreviewSizeLimit(settings.maxTexSize, settings.hardwareMaxTexSize);
    return bistrope::MakePreviewImage(source, params, limit, preview, progress);
}

bool cImageView::MakePreviewImage(const ProgressFn& progress) {
    if (sourceImage.empty()) {
        Report(progress, 0);
        return false;
    }
    ConvertedImage fresh;
    const Status status = BuildPreview(sourceImage, fresh, progress);
    if (!status.ok()) {
        // Mode 0 refuses quietly, as before; anything else (memory) is worth a word.
        if (status.code != ErrorCode::ModeZero && status.code != ErrorCode::NoImage)
            ReportFailure(L"Cannot make the preview of \"" + std::wstring(path.GetBuffer()) + L"\": " +
                          Widen(status.message) + L".\n\nThe previous preview stays.");
        return false;
    }
    previewImage = std::move(fresh);
    return true;
}

bool cImageView::MakePreviewImage(cProgDlg* progress) { return MakePreviewImage(ProgressOf(progress)); }

bool cImageView::MakeOutputImage() {
    ConversionParams params;
    params.mode = static_cast<unsigned>(settings.blendMode);
    params.eye = eye;
    params.custom = settings.GetCustomMatrices();
    ConvertedImage fresh;
    const Status status = bistrope::MakeOutputImage(sourceImage, params, fresh);
    if (!status.ok()) return false;
    outputImage = std::move(fresh);
    return true;
}

// --- Loading -------------------------------------------------------------------------

bool cImageView::LoadImageFile() {
    const SlotTexts& texts = TextsForEye(static_cast<int>(eye));
    const std::wstring filter = ImageFileFilter();
    int viewMode = settings.defaultFileView;
    TWIG4::FileDlg dialog;
    TWIG4::SDIApp* app = TWIG4::SDIApp::GetApp();
    if (!dialog.Open(FolderSetting().GetBuffer(), filter.c_str(), OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, app,
                     &viewMode, texts.dialogTitle))
        return false;

    // Draw again at once what the dialog covered, before the work starts.
    if (app && app->GetHandle())
        ::RedrawWindow(app->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    FolderSetting() = dialog.GetDirectory();
    settings.defaultFileView = dialog.GetViewMode();
    return LoadFile(dialog.GetPath().GetBuffer());
}

bool cImageView::LoadFile(const wchar_t* filePath) {
    if (!filePath || !*filePath) return false;
    const std::wstring side = eye == Eye::Left ? L"left" : L"right";
    const std::wstring keep = IsLoaded() ? L"\n\nThe " + side + L" image stays as it was."
                                         : L"\n\nThe " + side + L" image slot stays empty.";

    // The progress dialog lives in the stereo view; closing it (reset) gives the keyboard
    // focus back to the frame.
    std::optional<cProgDlg> progress(std::in_place);
    (void)progress->Create(ownerView);
    progress->SetProgress(0, kLoadingImageText);

    DecodeResult decoded = DecodeImageFile(std::filesystem::path(filePath));
    if (!decoded.ok()) {
        progress.reset();
        ReportFailure(Widen(decoded.status.message) + L"." + keep);
        return false;
    }

    progress->SetRange(0, 50);
    ConvertedImage preview;
    const Status made = BuildPreview(decoded.image, preview, ProgressOf(&*progress));
    if (!made.ok()) {
        progress.reset();
        ReportFailure(L"Cannot make the preview of \"" + std::wstring(filePath) + L"\": " + Widen(made.message) +
                      L"." + keep);
        return false;
    }

    // Everything is in hand: the slot takes the new images together.
    path = filePath;
    sourceImage = std::move(decoded.image);
    previewImage = std::move(preview);
    outputImage.reset();  // made again by the next save

    progress->SetRange(50, 100);
    if (ownerView) ownerView->RebuildTextures(ProgressOf(&*progress));

    DeleteThumbnail();
    Draw(nullptr);

    if (ownerView) {
        ownerView->OnImagesChanged();
        ownerView->Render(nullptr);
    }
    progress.reset();
    return true;
}

void cImageView::ReportFailure(const std::wstring& text) {
    if (handle) MessageBox(text.c_str(), MB_OK | MB_ICONWARNING);
}

// --- Messages ------------------------------------------------------------------------

LRESULT cImageView::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        break;
    case WM_PAINT:
        OnPaint();
        return 1;
    case WM_PRINTCLIENT:
        OnPrintClient(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown();
        break;
    case WM_NOTIFY:
        if (LRESULT result = OnNotify(reinterpret_cast<NMHDR*>(lParam))) return result;
        break;
    default:
        break;
    }
    return TWIG4::Wnd::WndProc(hwnd, message, wParam, lParam);
}

void cImageView::OnCreate() { (void)AddToolTip(kSlotTipWidth); }

void cImageView::OnLeftButtonDown() { (void)LoadImageFile(); }

const wchar_t* cImageView::BuildToolTipText() {
    tipText = SlotToolTip(static_cast<int>(eye), path.GetBuffer()).c_str();
    return tipText.GetBuffer();
}

LRESULT cImageView::OnNotify(NMHDR* header) {
    if (!header || header->code != TTN_GETDISPINFOW) return 0;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    info->lpszText = const_cast<wchar_t*>(BuildToolTipText());
    info->hinst = nullptr;
    return 1;
}
