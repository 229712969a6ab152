#include "framework/win/prop_sheet.h"

#include "framework/win/dlg.h"

#include <vector>

#include "framework/sheet_layout.h"
#include "framework/win/dc.h"
#include "framework/win/sdiapp.h"

namespace TWIG4 {

namespace {

void EnableFrame(bool enable) {
    if (SDIApp* app = SDIApp::GetApp())
        if (app->GetHandle()) ::EnableWindow(app->GetHandle(), enable ? TRUE : FALSE);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// PropPage2

PropPage2::PropPage2(int id)
    : templateId(id), background(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE))), label(nullptr), treeItem(nullptr) {}

PropPage2::~PropPage2() {
    if (background) ::DeleteObject(background);
}

bool PropPage2::CreateInSheet(PropSheet2* sheet) {
    if (!Create(templateId, sheet, false)) return false;
    const LONG_PTR style = (GetLong(GWL_STYLE) | WS_CHILD) & 0x7F37FF7F;  // no popup, caption, system menu, modal frame
    SetLong(GWL_STYLE, style);
    SetLong(GWL_EXSTYLE, GetLong(GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME));
    SetParent(sheet);
    Update();
    return true;
}

void PropPage2::OnApply() {}

LRESULT PropPage2::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(background);
    default:
        return ModelessDlg::WndProc(hwnd, message, wParam, lParam);
    }
}

// ---------------------------------------------------------------------------------------
// PropSheet2

PropSheet2::PropSheet2()
    : pages(1),
      centreOnParent(false),
      closed(false),
      treeWidth(kSheetTreeWidth),
      buttonStripHeight(kSheetButtonStripHeight),
      pageRect{0, 0, 0, 0},
      accepted(false) {}

PropSheet2::~PropSheet2() {
    if (handle && !notOwned) Destroy();
}

bool PropSheet2::AddPage(PropPage2* page, const wchar_t* label) {
    if (!page) return false;
    if (!pages.Add(page)) return false;
    page->label = label;
    return true;
}

int PropSheet2::DoModal(const wchar_t* title, Wnd* parent, bool centre) {
    if (pages.Count() == 0) return -1;
    centreOnParent = centre;
    requestedParent = parent;
    closed = false;
    accepted = false;
    if (!CreateChild(0, kStyle, parent)) {
        EnableFrame(true);  // the create message may have run before the failure
        return -1;
    }
    SetText(title ? title : L"");
    RunModalLoop();
    EnableFrame(true);
    Destroy();
    return accepted ? 1 : 2;
}

bool PropSheet2::ShowPage(PropPage2* page, bool selectInTree) {
    bool found = false;
    for (unsigned i = 0; i < pages.Count(); ++i) {
        PropPage2* p = pages.At(i);
        if (p == page) {
            found = true;
            continue;
        }
        if (p->GetHandle()) {
            p->Show(SW_HIDE);
            p->Enable(false);
        }
    }
    if (found && page->GetHandle()) {
        page->Enable(true);
        page->Show(SW_SHOW);
    }
    if (found && selectInTree && page->treeItem) tree.SelectItem(page->treeItem);
    return found;
}

void PropSheet2::OnOK() {
    accepted = true;
    closed = true;
    for (unsigned i = 0; i < pages.Count(); ++i) pages.At(i)->OnApply();
    Close();
}

void PropSheet2::OnCancel() {
    closed = true;
    Close();
}

void PropSheet2::Close() {
    // The modal loop looks at ContinueModal only when a message arrives: give it one.
    if (handle) PostMessage(WM_NULL, 0, 0);
}

bool PropSheet2::ContinueModal() { return !closed; }

LRESULT PropSheet2::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        break;
    case WM_NOTIFY:
        OnNotify(reinterpret_cast<const NMHDR*>(lParam));
        break;
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        break;
    case WM_CHAR:
        if (wParam == VK_ESCAPE) OnCancel();
        break;
    case WM_CLOSE:
        OnCancel();
        return 1;
    case WM_PAINT:
        OnPaint();
        break;
    default:
        break;
    }
    return Wnd::WndProc(hwnd, message, wParam, lParam);
}

void PropSheet2::OnCreate() {
    EnableFrame(false);

    std::vector<LayoutRect> clientRects;
    for (unsigned i = 0; i < pages.Count(); ++i) {
        PropPage2* page = pages.At(i);
        RECT c = {0, 0, 0, 0};
        if (page->CreateInSheet(this)) page->GetClientRect(&c);
        clientRects.push_back(LayoutRect{c.left, c.top, c.right, c.bottom});
    }
    const LayoutSize area = SheetPageArea(clientRects.data(), clientRects.size());
    PlaceSheet(area.width, area.height);

    const LayoutRect pr = SheetPageRect(area, treeWidth);
    pageRect = RECT{pr.left, pr.top, pr.right, pr.bottom};
    for (unsigned i = 0; i < pages.Count(); ++i)
        if (pages.At(i)->GetHandle()) pages.At(i)->Move(&pageRect, true);

    RECT c = {};
    GetClientRect(&c);
    const SheetChildLayout places = SheetChildren(LayoutRect{c.left, c.top, c.right, c.bottom}, pr, treeWidth);
    const DWORD buttonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    if (okButton.Create(0, buttonStyle, L"OK", this, kOkId))
        okButton.Move(places.ok.left, places.ok.top, places.ok.Width(), places.ok.Height(), true);
    if (cancelButton.Create(0, buttonStyle, L"Cancel", this, kCancelId))
        cancelButton.Move(places.cancel.left, places.cancel.top, places.cancel.Width(), places.cancel.Height(), true);
    tree.Create(WS_EX_CLIENTEDGE, 0x50000026, L"", places.tree.left, places.tree.top, places.tree.Width(),
                places.tree.Height(), this, kTreeId);

    for (unsigned i = 0; i < pages.Count(); ++i) {
        PropPage2* page = pages.At(i);
        page->treeItem = tree.InsertItem(TVI_ROOT, TVI_LAST, page->label, reinterpret_cast<LPARAM>(page));
    }
    if (pages.Count() && pages.At(0)->treeItem) tree.SelectItem(pages.At(0)->treeItem);
}

void PropSheet2::PlaceSheet(int pageWidth, int pageHeight) {
    const SheetFrameMetrics frame{::GetSystemMetrics(SM_CXFIXEDFRAME), ::GetSystemMetrics(SM_CYFIXEDFRAME),
                                  ::GetSystemMetrics(SM_CYCAPTION)};
    Wnd* parent = CentringParent(handle, requestedParent);
    RECT p = {};
    const bool centred = centreOnParent && parent && parent->GetWindowRect(&p);
    const LayoutRect parentRect{p.left, p.top, p.right, p.bottom};
    const LayoutRect w = SheetWindowRect(LayoutSize{pageWidth, pageHeight}, treeWidth, buttonStripHeight,
                                         centred ? &parentRect : nullptr, frame);
    Move(w.left, w.top, w.Width(), w.Height(), true);
}

void PropSheet2::OnNotify(const NMHDR* hdr) {
    if (!hdr || !tree.GetHandle() || hdr->hwndFrom != tree.GetHandle()) return;
    if (static_cast<int>(hdr->code) != static_cast<int>(TVN_SELCHANGEDW)) return;
    const NMTREEVIEWW* change = reinterpret_cast<const NMTREEVIEWW*>(hdr);
    ShowPage(reinterpret_cast<PropPage2*>(change->itemNew.lParam), false);
}

void PropSheet2::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED || !lParam) return;
    const HWND from = reinterpret_cast<HWND>(lParam);
    if (okButton.GetHandle() && from == okButton.GetHandle())
        OnOK();
    else if (cancelButton.GetHandle() && from == cancelButton.GetHandle())
        OnCancel();
}

void PropSheet2::OnPaint() {
    PaintDC dc(handle);
    RECT c = {};
    GetClientRect(&c);
    dc.FillRect(&c, ::GetSysColor(COLOR_BTNFACE));
    const int y = pageRect.bottom + 1;
    dc.Line(treeWidth, y, c.right - 12, y, kLineDark);
    dc.Line(treeWidth, y + 1, c.right - 12, y + 1, RGB(0xFF, 0xFF, 0xFF));
}

}  // namespace TWIG4
