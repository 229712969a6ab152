// The stereo view's commands: the command table's actions (view/command_table.h), the
// answers to the UpdateUI queries of the toolbar and the context menu, the blending-mode
// rebuild, the settings and about dialogs and the frame-rate measurement.
#include <cstdint>

#include "app/reg_data.h"
#include "app/settings_sheet_rules.h"
#include "app/win/about_box.h"
#include "app/win/prog_dlg.h"
#include "app/win/settings_sheet.h"
#include "framework/win/sdiapp.h"
#include "framework/win/update_ui.h"
#include "view/command_table.h"
#include "view/frame_benchmark.h"
#include "view/win/main_image_view.h"

using namespace bistrope;

namespace {

// The activity line of a preview rebuild (the program's own wording).
constexpr const wchar_t* kRegeneratingText = L"Regenerating colour matices...";

// A progress function that reports into the dialog's current sub-range.
ProgressFn ReportTo(cProgDlg& progress) {
    return [&progress](int percent) { progress.SetProgress(percent); };
}

}  // namespace

CommandContext cMainImageView::GetCommandContext() const {
    CommandContext context;
    context.hasLeftImage = HasLeftImage();
    context.hasRightImage = HasRightImage();
    context.outputRect = OutputRect;
    context.blendMode = settings.blendMode;
    context.mode = interaction.Mode();
    return context;
}

void cMainImageView::OnCommand(WPARAM wParam, LPARAM lParam) {
    const WORD code = HIWORD(wParam);
    const int id = LOWORD(wParam);
    if (code == TWIG4::kUpdateUICode) {
        if (lParam) OnUpdateUI(id, *reinterpret_cast<TWIG4::UpdateUIRecord*>(lParam));
    } else if (code == 0 || code == 1) {
        (void)ExecuteCommand(id);
    }
}

void cMainImageView::OnUpdateUI(int commandId, TWIG4::UpdateUIRecord& record) const {
    const std::optional<CommandState> state = QueryCommandState(commandId, GetCommandContext());
    if (!state) return;
    record.enabled = state->enabled;
    if (state->checked) record.checked = *state->checked;
}

bool cMainImageView::ExecuteCommand(int commandId) {
    // A blending command always stores its mode; RegenerateBlend decides about the rebuild.
    if (commandId >= kCommandBlendFirst && commandId <= kCommandBlendLast)
        return RegenerateBlend(commandId - (kCommandBlendFirst - 1));
    // Everything else runs only while enabled: a greyed menu item can still be chosen and
    // keys do not look at the toolbar.
    if (!IsCommandEnabled(commandId, GetCommandContext())) return false;
    InteractionMode mode = InteractionMode::None;
    if (ModeFromCommand(commandId, mode)) return SetInteractionMode(mode);
    switch (commandId) {
    case kCommandSettings:
        OpenSettings();
        return true;
    case kCommandSave:
        return SaveOutputImage();
    case kCommandAbout:
        ShowAbout();
        return true;
    case kCommandZoomAll:
        ZoomAll();
        Render(nullptr);
        return true;
    case kCommandResetAlignment:
        ResetAlignment();
        UpdateStatusPanes();
        Render(nullptr);
        return true;
    case kCommandLoadLeft:
        return leftSlot.LoadImageFile();
    case kCommandLoadRight:
        return rightSlot.LoadImageFile();
    default:
        return false;
    }
}

bool cMainImageView::RegenerateBlend(int mode) {
    settings.blendMode = mode;
    if (!HasLeftImage() || !HasRightImage()) return false;
    RebuildPreviews();
    return true;
}

void cMainImageView::RebuildPreviews() {
    cProgDlg progress;
    (void)progress.Create(this);
    progress.SetRange(0, 40);
    progress.SetProgress(0, kRegeneratingText);
    (void)leftSlot.MakePreviewImage(ReportTo(progress));
    progress.SetRange(40, 80);
    (void)rightSlot.MakePreviewImage(ReportTo(progress));
    progress.SetRange(80, 100);
    (void)RebuildTextures(ReportTo(progress));
    Render(nullptr);
}

int cMainImageView::OpenSettings() {
    const int result = RunSettingsSheet(this, settings);
    if (SettingsNeedRebuild(result, settings)) {
        // The area under the closed sheet is painted before the rebuild starts.
        if (TWIG4::SDIApp* app = TWIG4::SDIApp::GetApp(); app && app->GetHandle())
            ::RedrawWindow(app->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RebuildPreviews();
    }
    Render(nullptr);
    return result;
}

void cMainImageView::ShowAbout() {
    cAboutBox about;
    (void)about.Show(this);
}

std::wstring cMainImageView::RunFrameBenchmark() {
    const std::wstring text = bistrope::RunFrameBenchmark(
        alignment, [this] { Render(nullptr); }, [] { return static_cast<std::uint32_t>(::GetTickCount()); });
    MessageBox(text.c_str(), 0);
    return text;
}
