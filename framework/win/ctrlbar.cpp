#include "framework/win/ctrlbar.h"

#include "framework/bar_layout.h"
#include "framework/win/sdiapp.h"

namespace TWIG4 {

CtrlBarWnd::CtrlBarWnd() : inBand(false) {}

CtrlBarWnd::~CtrlBarWnd() {
    if (SDIApp* app = SDIApp::GetApp()) app->RemoveControlBar(this);
}

bool CtrlBarWnd::Create(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* windowName, int x,
                        int y, int width, int height, Wnd* parent, int controlId) {
    if (!CtrlWnd::Create(className, exStyle, style, windowName, x, y, width, height, parent, controlId)) return false;
    if (SDIApp* frame = dynamic_cast<SDIApp*>(parent)) frame->AddControlBar(this);
    return true;
}

bool CtrlBarWnd::OnIdle(unsigned) { return false; }

bool CtrlBarWnd::Reposition(RECT* rect) {
    if (!rect) return false;
    const LayoutRect r{rect->left, rect->top, rect->right, rect->bottom};
    const DockResult d = DockBar(static_cast<unsigned>(GetLong(GWL_STYLE)), GetThickness(), r);
    if (!Move(d.placement.left, d.placement.top, d.placement.Width(), d.placement.Height(), false)) return false;
    *rect = RECT{d.remaining.left, d.remaining.top, d.remaining.right, d.remaining.bottom};
    return true;
}

int CtrlBarWnd::GetThickness() { return 32; }

bool CtrlBarWnd::GetBarRect(RECT* rect) { return rect && GetClientRect(rect); }

bool CtrlBarWnd::BarQuery() { return false; }

}  // namespace TWIG4
