#include "view/win/main_image_view.h"

#include "base/trace.h"
#include "framework/win/sdiapp.h"
#include "view/frame_benchmark.h"
#include "view/zoom_all.h"

using namespace bistrope;

cMainImageView::cMainImageView(StereoDocument& document, StatusPanes& frame)
    : document(document), frame(frame), interaction(ViewCamera(), bridge) {
    document.AddListener(this);
}

cMainImageView::~cMainImageView() {
    document.RemoveListener(this);
    // The window must go while this object can still answer its destroy message (which
    // deletes the textures); the base would destroy it only after this part is gone.
    if (handle) Destroy();
}

bool cMainImageView::Create(TWIG4::Wnd* parent, int x, int y, int width, int height) {
    if (!parent || !parent->GetHandle()) return false;
    CREATESTRUCTW cs{};
    cs.hInstance = GetInstance();
    cs.hwndParent = parent->GetHandle();
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    cs.lpszClass = TWIG4::SDIApp::kChildClass;
    return TWIG4::Wnd::Create(cs);
}

TWIG4::Camera& cMainImageView::ViewCamera() { return GetCamera(); }

void cMainImageView::ZoomAll() {
    bistrope::ZoomAll(ViewCamera(), document.PreviewedSize(Eye::Left), document.PreviewedSize(Eye::Right),
                      document.GetAlignment());
    UpdateStatusPanes();
}

void cMainImageView::UpdateStatusPanes() {
    const auto texts = StatusPaneTexts(ViewCamera().GetZoom(), document.GetOutputRect(), document.GetAlignment());
    for (int i = 0; i < 4; ++i) frame.SetStatusText(kZoomPane + i, texts[static_cast<size_t>(i)].c_str());
}

bool cMainImageView::SetInteractionMode(InteractionMode mode) { return interaction.SetInteractionMode(mode); }

void cMainImageView::OnImagesChanged() {
    ZoomAll();
    const bool left = document.HasPreview(Eye::Left), right = document.HasPreview(Eye::Right);
    if (left && right)
        SetInteractionMode(InteractionMode::PanLeft);
    else if (left || right)
        SetInteractionMode(InteractionMode::PanView);
}

// --- The document's notices --------------------------------------------------------------

void cMainImageView::OnEyeLoaded(Eye eye, const ProgressFn& progress) {
    // Only the new eye's texture changes; the other one keeps its upload.
    Report(progress, 50);
    UploadEye(eye);
    trace::Mark("texture uploaded");
    Report(progress, 100);
    OnImagesChanged();
    Render(nullptr);
    trace::Mark("view drawn");
}

void cMainImageView::OnPairReplaced(const ProgressFn& progress) {
    RebuildTextures(progress);
    trace::Mark("textures uploaded");
    OnImagesChanged();
    Render(nullptr);
    trace::Mark("view drawn");
}

void cMainImageView::OnPreviewsRebuilt(const ProgressFn& progress) {
    RebuildTextures(progress);
    Render(nullptr);
}

void cMainImageView::OnAlignmentChanged() {
    if (!benchmarkRunning) UpdateStatusPanes();
    Render(nullptr);
}

std::wstring cMainImageView::RunFrameBenchmark() {
    // Each frame moves the left image through the document, so the output rectangle follows
    // the kept move; the status line is written once at the end, not timed with the frames.
    Alignment moving = document.GetAlignment();
    benchmarkRunning = true;
    const std::wstring text = bistrope::RunFrameBenchmark(
        moving, [this, &moving] { document.SetAlignment(moving); },
        [] { return static_cast<std::uint32_t>(::GetTickCount()); });
    benchmarkRunning = false;
    UpdateStatusPanes();
    MessageBox(text.c_str(), 0);
    return text;
}

// --- Interaction host -------------------------------------------------------------------

void cMainImageView::InteractionBridge::CaptureMouse() { view.SetCapture(); }

void cMainImageView::InteractionBridge::ReleaseMouse() { view.ReleaseCapture(); }

void cMainImageView::InteractionBridge::SetCursor(int cursorId) {
    HCURSOR cursor = ::LoadCursorW(GetInstance(), MAKEINTRESOURCEW(cursorId));
    if (cursor) ::SetCursor(cursor);
}

void cMainImageView::InteractionBridge::SetModeHint(const std::wstring& text) {
    view.frame.SetStatusText(kHintPane, text.c_str());
}
