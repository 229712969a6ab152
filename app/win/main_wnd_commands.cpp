// The frame's commands (app/commands.h): blending mode, interaction modes, the settings and
// about dialogs, zoom and alignment, and the load and save flows with their file dialogs,
// progress dialogs and messages.
#include "app/win/main_wnd.h"

#include <commdlg.h>

#include <filesystem>
#include <utility>

#include "app/open_plan.h"
#include "app/reg_data.h"
#include "app/settings_sheet_rules.h"
#include "app/slot_texts.h"
#include "app/win/about_box.h"
#include "app/win/image_view.h"
#include "app/win/prog_dlg.h"
#include "app/win/settings_sheet.h"
#include "base/trace.h"
#include "framework/win/filedlg.h"
#include "view/status_text.h"
#include "view/win/main_image_view.h"

using namespace bistrope;

namespace {

constexpr const wchar_t kSaveFilter[] = L"jpeg (*.jpg)\0*.jpg\0";
constexpr const wchar_t* kSaveTitle = L"Save image as";

// A progress function that reports into the dialog's current sub-range.
ProgressFn ReportTo(cProgDlg& progress) {
    return [&progress](int percent) { progress.SetProgress(percent); };
}

}  // namespace

CommandContext MainWnd::Context() const {
    CommandContext context;
    context.hasLeftImage = document->HasPreview(Eye::Left);
    context.hasRightImage = document->HasPreview(Eye::Right);
    context.outputRect = document->GetOutputRect();
    context.blendMode = settings->blendMode;
    context.mode = view->GetInteractionMode();
    return context;
}

bool MainWnd::SetBlendMode(int mode) {
    settings->blendMode = mode;
    if (!document->HasBothPreviews()) return false;
    RebuildPreviews();
    return true;
}

bool MainWnd::SetInteractionMode(InteractionMode mode) { return view->SetInteractionMode(mode); }

void MainWnd::RebuildPreviews() {
    std::array<Status, 2> statuses;
    {
        cProgDlg progress;
        (void)progress.Create(view.get());
        progress.SetProgress(0, kRegeneratingText);
        statuses = document->RebuildPreviews(ReportTo(progress));
    }  // the progress dialog closes before any message
    for (const Eye eye : {Eye::Left, Eye::Right}) {
        const Status& status = statuses[EyeIndex(eye)];
        // Mode 0 and an empty eye refuse quietly; anything else (memory) is worth a word.
        if (!status.ok() && status.code != ErrorCode::ModeZero && status.code != ErrorCode::NoImage)
            (void)GetSlot(eye).MessageBox(PreviewFailureText(status.message).c_str(), MB_OK | MB_ICONWARNING);
    }
}

bool MainWnd::OpenSettings() {
    const int result = RunSettingsSheet(view.get(), *settings);
    if (SettingsNeedRebuild(result, *settings)) {
        // The area under the closed sheet is painted before the rebuild starts.
        ::RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RebuildPreviews();
    }
    view->Render(nullptr);
    return true;
}

bool MainWnd::ShowAbout() {
    cAboutBox about;
    (void)about.Show(view.get());
    return true;
}

bool MainWnd::ZoomAll() {
    view->ZoomAll();
    view->Render(nullptr);
    return true;
}

bool MainWnd::ResetAlignment() {
    document->ResetAlignment();
    return true;
}

bool MainWnd::AutoAlign() { return AlignAutomatically(true); }

bool MainWnd::AlignAutomatically(bool asked) {
    AutoAlignResult result;
    {
        cProgDlg progress;
        (void)progress.Create(view.get());
        progress.SetProgress(0, kAligningText);
        result = document->AutoAlign(ReportTo(progress));
    }
    if (result.ok()) {
        SetStatusText(kHintPane, AutoAlignDoneText(result.matches).c_str());
        return true;
    }
    // Asked for, a refusal is worth a message; after a load the status line says it.
    const std::wstring why = AutoAlignFailureText(result.status.message);
    if (asked)
        (void)view->MessageBox(why.c_str(), MB_OK | MB_ICONINFORMATION);
    else
        SetStatusText(kHintPane, why.substr(0, why.find(L'\n')).c_str());
    return false;
}

bool MainWnd::NudgeAlignment(const Alignment& step) {
    document->SetAlignment(Nudged(document->GetAlignment(), step));
    return true;
}

bool MainWnd::SwapEyes() {
    Status status;
    {
        cProgDlg progress;
        (void)progress.Create(view.get());
        progress.SetProgress(0, kSwappingText);
        status = document->SwapEyes(ReportTo(progress));
    }
    if (status.ok()) return true;
    (void)view->MessageBox(SwapFailureText(status.message).c_str(), MB_OK | MB_ICONWARNING);
    return false;
}

// --- Loading -----------------------------------------------------------------------------

TWIG4::String& MainWnd::FolderSetting(Eye eye) {
    return eye == Eye::Left ? settings->leftImagePath : settings->rightImagePath;
}

bool MainWnd::Load(Eye eye) {
    const SlotTexts& texts = TextsForEye(static_cast<int>(eye));
    const std::wstring filter = ImageFileFilter();
    int viewMode = settings->defaultFileView;
    TWIG4::FileDlg dialog;
    if (!dialog.Open(FolderSetting(eye).GetBuffer(), filter.c_str(), OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, this,
                     &viewMode, texts.dialogTitle))
        return false;
    trace::Mark("open dialog closed");

    // Draw again at once what the dialog covered, before the work starts.
    ::RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    trace::Mark("frame redrawn");
    FolderSetting(eye) = dialog.GetDirectory();
    settings->defaultFileView = dialog.GetViewMode();
    return LoadFile(eye, dialog.GetPath().GetBuffer());
}

bool MainWnd::OnFirstIdle() {
    const bool result = SDIApp::OnFirstIdle();
    if (!startFiles.empty()) OpenFiles(std::exchange(startFiles, {}), std::nullopt);
    return result;
}

void MainWnd::OpenFiles(const std::vector<std::wstring>& files, std::optional<Eye> target) {
    const OpenPlan plan = PlanOpen(files, target, document->IsLoaded(Eye::Left), document->IsLoaded(Eye::Right));
    if (!plan.error.empty()) (void)view->MessageBox(plan.error.c_str(), MB_OK | MB_ICONWARNING);
    if (!plan.stereoFile.empty()) (void)LoadFile(target.value_or(Eye::Left), plan.stereoFile.c_str());
    for (const auto& [eye, path] : plan.images) (void)LoadFile(eye, path.c_str());
}

bool MainWnd::LoadFile(Eye eye, const wchar_t* path) {
    if (!path || !*path) return false;
    const bool wasLoaded = document->IsLoaded(eye);
    Status status;
    {
        // The progress dialog lives in the stereo view; closing it gives the keyboard focus
        // back to the frame.
        cProgDlg progress;
        (void)progress.Create(view.get());
        progress.SetProgress(0, kLoadingImageText);
        trace::Mark("progress shown");
        status = document->OpenFile(eye, std::filesystem::path(path), ReportTo(progress));
    }
    trace::Mark("loaded");
    if (status.ok()) {
        if (settings->autoAlign && document->HasBothPreviews()) (void)AlignAutomatically(false);
        return true;
    }
    (void)GetSlot(eye).MessageBox(LoadFailureText(static_cast<int>(eye), wasLoaded, status.message).c_str(),
                                  MB_OK | MB_ICONWARNING);
    return false;
}

// --- Saving ------------------------------------------------------------------------------

bool MainWnd::Save() {
    if (!document->CanSave()) return false;
    TWIG4::FileDlg dialog;
    if (!dialog.SaveAs(settings->outputImagePath.GetBuffer(), kSaveFilter, 0, this, kSaveTitle)) return false;
    // The area under the closed dialog must not stay blank while the work runs.
    view->Render(nullptr);
    // The folder is kept whatever happens to the save.
    settings->outputImagePath = dialog.GetDirectory();
    return WriteOutputImage(dialog.GetPath().GetBuffer());
}

bool MainWnd::WriteOutputImage(const wchar_t* path) {
    if (!document->CanSave() || !path || !path[0]) return false;
    Status status;
    {
        cProgDlg progress;
        (void)progress.Create(view.get());
        progress.SetProgress(0, kSavingText);
        status = document->SaveAnaglyph(std::filesystem::path(path), settings->jpegQuality, ReportTo(progress));
    }  // the progress dialog closes before any message
    if (status.ok()) return true;
    (void)view->MessageBox(SaveFailureText(path, status.message).c_str(), MB_OK | MB_ICONERROR);
    return false;
}
