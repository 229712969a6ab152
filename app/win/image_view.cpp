#include "app/win/image_view.h"

#include <commctrl.h>

#include <string>

#include "app/slot_texts.h"
#include "base/trace.h"
#include "framework/win/sdiapp.h"
#include "resources/app_ids.h"

using namespace bistrope;

cImageView::cImageView(Eye eye, StereoDocument& document) : document(document), eye(eye) {
    document.AddListener(this);
}

cImageView::~cImageView() {
    document.RemoveListener(this);
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

std::wstring cImageView::GetPath() const { return document.Path(eye).wstring(); }

void cImageView::OnEyeLoaded(Eye loaded, const ProgressFn&) {
    if (loaded != eye) return;
    DeleteThumbnail();
    Draw(nullptr);
    trace::Mark("thumbnail drawn");
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

void cImageView::OnLeftButtonDown() {
    if (HWND top = ::GetAncestor(handle, GA_ROOT); top && top != handle)
        (void)::SendMessageW(top, WM_COMMAND, eye == Eye::Left ? ID_LOAD_LEFT : ID_LOAD_RIGHT, 0);
}

const wchar_t* cImageView::BuildToolTipText() {
    tipText = SlotToolTip(static_cast<int>(eye), GetPath()).c_str();
    return tipText.GetBuffer();
}

LRESULT cImageView::OnNotify(NMHDR* header) {
    if (!header || header->code != TTN_GETDISPINFOW) return 0;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    info->lpszText = const_cast<wchar_t*>(BuildToolTipText());
    info->hinst = nullptr;
    return 1;
}
