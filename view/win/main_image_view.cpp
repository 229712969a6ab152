#include "view/win/main_image_view.h"

#include "app/reg_data.h"
#include "framework/win/sdiapp.h"
#include "view/status_text.h"
#include "view/zoom_all.h"

using namespace bistrope;

cMainImageView::cMainImageView(ImageSlot& leftSlot, ImageSlot& rightSlot, StatusPanes& frame, cRegData& settings)
    : leftSlot(leftSlot),
      rightSlot(rightSlot),
      frame(frame),
      settings(settings),
      interaction(ViewCamera(), alignment, bridge) {
    leftSlot.SetOwnerView(this);
    rightSlot.SetOwnerView(this);
}

cMainImageView::~cMainImageView() {
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

void cMainImageView::UpdateOutputRect() {
    OutputRect = ComputeOutputRect(HeldImageSize(leftSlot), HeldImageSize(rightSlot), alignment);
}

void cMainImageView::ResetAlignment() {
    alignment.rotation = 0.0;
    alignment.offsetY = 0.0;
    alignment.offsetX = 0.0;
    UpdateOutputRect();
}

void cMainImageView::ZoomAll() {
    bistrope::ZoomAll(ViewCamera(), HeldImageSize(leftSlot), HeldImageSize(rightSlot), alignment);
    UpdateStatusPanes();
}

bool cMainImageView::UpdateStatusPanes() {
    const auto texts = StatusPaneTexts(ViewCamera().GetZoom(), OutputRect, alignment);
    for (int i = 0; i < 4; ++i) frame.SetStatusText(kZoomPane + i, texts[static_cast<size_t>(i)].c_str());
    return true;
}

bool cMainImageView::SetInteractionMode(InteractionMode mode) { return interaction.SetInteractionMode(mode); }

void cMainImageView::OnImagesChanged() {
    UpdateStatusPanes();
    ResetAlignment();
    ZoomAll();
    if (HasLeftImage() && HasRightImage())
        SetInteractionMode(InteractionMode::PanLeft);
    else if (HasLeftImage() || HasRightImage())
        SetInteractionMode(InteractionMode::PanView);
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
