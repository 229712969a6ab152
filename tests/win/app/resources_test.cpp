// The program's resources as the program loads them from its own module: the exact set of
// resources, the context menu, the accelerator table, the cursors with their sizes and
// hotspots, the icon, the rebar bitmaps, the three settings pages' templates, and the
// toolbar image strip file read through GDI+ as the toolbar reads it.
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "resources/app_ids.h"

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

// ---------------------------------------------------------------------------------------------
// Which resources exist

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out) {
    auto* ids = reinterpret_cast<std::set<int>*>(out);
    ids->insert(IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<ULONG_PTR>(name)) : -1);
    return TRUE;
}

// The program's resource ids of one type. Ids from 7000 on belong to test programs' own
// resources and are left out.
std::set<int> IdsOfType(LPCWSTR type) {
    std::set<int> ids;
    EnumResourceNamesW(Module(), type, &CollectName, reinterpret_cast<LONG_PTR>(&ids));
    return std::set<int>(ids.begin(), ids.lower_bound(7000));
}

TEST(Resources, TheProgramCarriesExactlyItsOwnResources) {
    EXPECT_EQ(IdsOfType(RT_MENU), (std::set<int>{101}));
    EXPECT_EQ(IdsOfType(RT_ACCELERATOR), (std::set<int>{110}));
    EXPECT_EQ(IdsOfType(RT_DIALOG), (std::set<int>{111, 112, 114, 116, 117}));
    EXPECT_EQ(IdsOfType(RT_GROUP_CURSOR), (std::set<int>{102, 103, 104, 105, 106, 107, 108, 109}));
    EXPECT_EQ(IdsOfType(RT_GROUP_ICON), (std::set<int>{115}));
    EXPECT_EQ(IdsOfType(RT_BITMAP), (std::set<int>{118, 119, 120}));
    EXPECT_EQ(IdsOfType(RT_MANIFEST), (std::set<int>{1}));
}

// ---------------------------------------------------------------------------------------------
// Context menu

struct MenuEntry {
    std::wstring text;  // empty for a separator
    UINT id;            // 0 for a separator or a submenu
    std::vector<MenuEntry> sub;
};

std::vector<MenuEntry> ReadMenu(HMENU menu) {
    std::vector<MenuEntry> entries;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = L"";
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 128;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        MenuEntry e;
        if (!(info.fType & MFT_SEPARATOR)) e.text = text;
        e.id = info.hSubMenu ? 0 : info.wID;
        if (info.hSubMenu) e.sub = ReadMenu(info.hSubMenu);
        entries.push_back(e);
    }
    return entries;
}

TEST(Resources, ContextMenuIsTheFirstSubmenuOfMenu101) {
    HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_MAIN_CONTEXT_MENU));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 1);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    const std::vector<MenuEntry> items = ReadMenu(popup);
    ASSERT_EQ(items.size(), 8u);
    const std::vector<std::pair<std::wstring, UINT>> expected = {
        {L"Pan View\t(X)", 40006}, {L"Zoom view\t(Z)", 40007}, {L"Zoom All\t(A)", 40014}, {L"", 0},
        {L"Pan left eye channel\t(C)", 40008}, {L"Rotate left eye channel\t(V)", 40009}, {L"", 0}, {L"Reset", 0},
    };
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(items[i].text, expected[i].first) << "item " << i;
        EXPECT_EQ(items[i].id, expected[i].second) << "item " << i;
    }
    ASSERT_EQ(items[7].sub.size(), 1u);
    EXPECT_EQ(items[7].sub[0].text, L"Reset offsets and rotation");
    EXPECT_EQ(items[7].sub[0].id, 40015u);
    DestroyMenu(menu);
}

// ---------------------------------------------------------------------------------------------
// Accelerators

TEST(Resources, AcceleratorTableHoldsTheEightKeys) {
    HACCEL table = LoadAcceleratorsW(Module(), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    ACCEL entries[16] = {};
    const int count = CopyAcceleratorTableW(table, entries, 16);
    ASSERT_EQ(count, 8);
    std::set<std::tuple<int, int, int>> found;  // flags (without the end mark), key, command
    for (int i = 0; i < count; ++i) found.insert({entries[i].fVirt & ~0x80, entries[i].key, entries[i].cmd});
    const std::set<std::tuple<int, int, int>> expected = {
        {FVIRTKEY, VK_F2, 40017}, {FVIRTKEY, VK_F3, 40018}, {FVIRTKEY, 'A', 40014},
        {FVIRTKEY, 'X', 40006},   {FVIRTKEY, 'C', 40008},   {FVIRTKEY, 'V', 40009},
        {FVIRTKEY | FCONTROL, 'S', 40012}, {FVIRTKEY, 'Z', 40007},
    };
    EXPECT_EQ(found, expected);
}

// A window that records the commands the accelerator table sends it.
struct CommandLog {
    static std::vector<WPARAM> commands;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND) commands.push_back(wParam);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};
std::vector<WPARAM> CommandLog::commands;

TEST(Resources, KeysBecomeCommandsOnlyWithTheirModifiers) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &CommandLog::Proc;
    wc.hInstance = Module();
    wc.lpszClassName = L"BistropeAcceleratorProbe";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  Module(), nullptr);
    ASSERT_NE(window, nullptr);
    HACCEL table = LoadAcceleratorsW(Module(), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);

    BYTE keys[256] = {};
    auto press = [&](WPARAM key, bool control) {
        keys[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG msg = {window, WM_KEYDOWN, key, 1, 0, {0, 0}};
        CommandLog::commands.clear();
        const bool translated = TranslateAcceleratorW(window, table, &msg) != 0;
        return translated && CommandLog::commands.size() == 1 ? CommandLog::commands[0] : WPARAM(0);
    };
    EXPECT_EQ(press(VK_F2, false), MAKEWPARAM(40017, 1));
    EXPECT_EQ(press(VK_F3, false), MAKEWPARAM(40018, 1));
    EXPECT_EQ(press('A', false), MAKEWPARAM(40014, 1));
    EXPECT_EQ(press('Z', false), MAKEWPARAM(40007, 1));
    EXPECT_EQ(press('S', true), MAKEWPARAM(40012, 1));
    EXPECT_EQ(press('S', false), WPARAM(0)) << "plain S is not Ctrl+S";
    EXPECT_EQ(press('X', true), WPARAM(0)) << "the letter keys work without modifiers only";
    EXPECT_EQ(press('Q', false), WPARAM(0));
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    DestroyWindow(window);
}

// ---------------------------------------------------------------------------------------------
// Cursors and the icon

// The raw image of an icon or cursor group that best fits cx x cy.
const BYTE* GroupImage(int group, bool icon, int cx, int cy, DWORD* size) {
    HRSRC dir = FindResourceW(Module(), MAKEINTRESOURCEW(group), icon ? RT_GROUP_ICON : RT_GROUP_CURSOR);
    if (!dir) return nullptr;
    auto* bits = static_cast<BYTE*>(LockResource(LoadResource(Module(), dir)));
    const int id = LookupIconIdFromDirectoryEx(bits, icon ? TRUE : FALSE, cx, cy, LR_DEFAULTCOLOR);
    HRSRC image = FindResourceW(Module(), MAKEINTRESOURCEW(id), icon ? RT_ICON : RT_CURSOR);
    if (!image) return nullptr;
    *size = SizeofResource(Module(), image);
    return static_cast<const BYTE*>(LockResource(LoadResource(Module(), image)));
}

struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> argb;  // rows top first
};

Pixels ColourOf(HICON icon) {
    Pixels p;
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) return p;
    BITMAP bm = {};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof(bm), &bm)) {
        p.width = bm.bmWidth;
        p.height = bm.bmHeight;
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = p.width;
        bi.bmiHeader.biHeight = -p.height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        p.argb.resize(static_cast<size_t>(p.width) * p.height);
        HDC dc = GetDC(nullptr);
        GetDIBits(dc, info.hbmColor, 0, p.height, p.argb.data(), &bi, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return p;
}

// Mean brightness (0..255) of the opaque pixels, and how many there are.
std::pair<double, int> Ink(const Pixels& p) {
    double sum = 0;
    int n = 0;
    for (std::uint32_t v : p.argb) {
        if ((v >> 24) < 200) continue;
        sum += ((v >> 16 & 0xFF) + (v >> 8 & 0xFF) + (v & 0xFF)) / 3.0;
        ++n;
    }
    return {n ? sum / n : 0.0, n};
}

struct CursorSpec {
    int id;
    int hotX, hotY;
};
const CursorSpec kCursors[] = {{102, 15, 15}, {103, 15, 15}, {104, 10, 10}, {105, 16, 15},
                               {106, 16, 15}, {107, 10, 10}, {108, 15, 15}, {109, 16, 15}};

TEST(Resources, CursorsAre32PixelsWithTheirHotspots) {
    for (const CursorSpec& c : kCursors) {
        SCOPED_TRACE(c.id);
        DWORD size = 0;
        const BYTE* raw = GroupImage(c.id, false, 32, 32, &size);
        ASSERT_NE(raw, nullptr);
        ASSERT_GE(size, 4u + sizeof(BITMAPINFOHEADER));
        const WORD* hot = reinterpret_cast<const WORD*>(raw);
        EXPECT_EQ(hot[0], c.hotX);
        EXPECT_EQ(hot[1], c.hotY);
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(raw + 4);
        EXPECT_EQ(header->biWidth, 32);
        EXPECT_EQ(header->biHeight, 64) << "colour and mask";

        HCURSOR cursor = static_cast<HCURSOR>(LoadImageW(Module(), MAKEINTRESOURCEW(c.id), IMAGE_CURSOR, 0, 0, 0));
        ASSERT_NE(cursor, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        EXPECT_FALSE(info.fIcon);
        EXPECT_EQ(info.xHotspot, static_cast<DWORD>(c.hotX));
        EXPECT_EQ(info.yHotspot, static_cast<DWORD>(c.hotY));
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        const Pixels p = ColourOf(cursor);
        EXPECT_EQ(p.width, 32);
        EXPECT_EQ(p.height, 32);
        EXPECT_GT(Ink(p).second, 60) << "a drawn motif, not an empty square";
        EXPECT_LT(Ink(p).second, 32 * 32 / 2) << "a motif, not a filled square";
        DestroyCursor(cursor);
    }
}

TEST(Resources, DraggingCursorsOfTheLeftImageAreLighterThanTheirHoveringOnes) {
    auto brightness = [](int id) {
        HCURSOR cursor = static_cast<HCURSOR>(LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_CURSOR, 0, 0, 0));
        const double mean = Ink(ColourOf(cursor)).first;
        DestroyCursor(cursor);
        return mean;
    };
    EXPECT_GT(brightness(106), brightness(105) + 40);  // four-way arrow
    EXPECT_GT(brightness(109), brightness(108) + 40);  // curved arrow
}

TEST(Resources, IconHasA48PixelImage) {
    DWORD size = 0;
    const BYTE* raw = GroupImage(IDI_BISTROPE, true, 48, 48, &size);
    ASSERT_NE(raw, nullptr);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(raw);
    EXPECT_EQ(header->biWidth, 48) << "an image made for 48 pixels, not a scaled one";
    EXPECT_EQ(header->biHeight, 96);
    EXPECT_EQ(header->biBitCount, 32);

    HICON icon = static_cast<HICON>(LoadImageW(Module(), MAKEINTRESOURCEW(IDI_BISTROPE), IMAGE_ICON, 48, 48, LR_SHARED));
    ASSERT_NE(icon, nullptr);
    const Pixels p = ColourOf(icon);
    EXPECT_EQ(p.width, 48);
    EXPECT_EQ(p.height, 48);
    EXPECT_GT(Ink(p).second, 48 * 48 / 2) << "the tile fills most of the icon";
    for (int edge : {32, 16}) {
        DWORD smallSize = 0;
        const BYTE* small = GroupImage(IDI_BISTROPE, true, edge, edge, &smallSize);
        ASSERT_NE(small, nullptr);
        EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(small)->biWidth, edge) << "drawn for " << edge;
    }
}

TEST(Resources, RebarBitmapsAre32By48) {
    for (int id : {IDB_REBAR_LEFT, IDB_REBAR_RIGHT, IDB_REBAR_MIDDLE}) {
        SCOPED_TRACE(id);
        HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
        ASSERT_NE(bitmap, nullptr);
        BITMAP bm = {};
        ASSERT_TRUE(GetObjectW(bitmap, sizeof(bm), &bm));
        EXPECT_EQ(bm.bmWidth, 32);
        EXPECT_EQ(bm.bmHeight, 48);
        DeleteObject(bitmap);
    }
}

// ---------------------------------------------------------------------------------------------
// Settings page templates, read from the extended dialog template itself

struct TemplateItem {
    int id;
    std::wstring cls;  // "Button", "Edit", "Static" or the class name
    std::wstring text;
    int x, y, cx, cy;
    DWORD style;
};

struct Template {
    int x = 0, y = 0, cx = 0, cy = 0;
    DWORD style = 0;
    int pointSize = 0;
    std::wstring font;
    std::vector<TemplateItem> items;
};

class TemplateReader {
public:
    explicit TemplateReader(const BYTE* bits) : p(bits) {}
    WORD Word() { WORD v; memcpy(&v, p, 2); p += 2; return v; }
    DWORD Dword() { DWORD v; memcpy(&v, p, 4); p += 4; return v; }
    short Short() { return static_cast<short>(Word()); }
    std::wstring Text() {
        std::wstring s;
        for (WORD c = Word(); c; c = Word()) s += static_cast<wchar_t>(c);
        return s;
    }
    // A string or an ordinal (returned as "#n").
    std::wstring TextOrOrdinal() {
        WORD first;
        memcpy(&first, p, 2);
        if (first == 0xFFFF) {
            p += 2;
            return L"#" + std::to_wstring(Word());
        }
        return Text();
    }
    void Align4(const BYTE* base) { p = base + ((p - base + 3) & ~3); }
    void Skip(size_t n) { p += n; }

private:
    const BYTE* p;
};

bool ReadTemplate(int id, Template& t) {
    HRSRC res = FindResourceW(Module(), MAKEINTRESOURCEW(id), RT_DIALOG);
    if (!res) return false;
    const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(Module(), res)));
    TemplateReader r(base);
    if (r.Word() != 1 || r.Word() != 0xFFFF) return false;  // extended template
    r.Dword();                                               // help id
    r.Dword();                                               // extended style
    t.style = r.Dword();
    const int count = r.Word();
    t.x = r.Short();
    t.y = r.Short();
    t.cx = r.Short();
    t.cy = r.Short();
    r.TextOrOrdinal();  // menu
    r.TextOrOrdinal();  // class
    r.Text();           // title
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Word();
        r.Word();        // weight
        r.Skip(2);       // italic, character set
        t.font = r.Text();
    }
    for (int i = 0; i < count; ++i) {
        r.Align4(base);
        TemplateItem item;
        r.Dword();  // help id
        r.Dword();  // extended style
        item.style = r.Dword();
        item.x = r.Short();
        item.y = r.Short();
        item.cx = r.Short();
        item.cy = r.Short();
        item.id = static_cast<int>(r.Dword());
        item.cls = r.TextOrOrdinal();
        if (item.cls == L"#128") item.cls = L"Button";
        if (item.cls == L"#129") item.cls = L"Edit";
        if (item.cls == L"#130") item.cls = L"Static";
        item.text = r.TextOrOrdinal();
        r.Skip(r.Word());  // creation data
        t.items.push_back(item);
    }
    return true;
}

const TemplateItem* ItemWithId(const Template& t, int id) {
    for (const TemplateItem& item : t.items)
        if (item.id == id) return &item;
    return nullptr;
}

void ExpectPlace(const TemplateItem* item, int x, int y, int cx, int cy) {
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->x, x) << "item " << item->id;
    EXPECT_EQ(item->y, y) << "item " << item->id;
    EXPECT_EQ(item->cx, cx) << "item " << item->id;
    EXPECT_EQ(item->cy, cy) << "item " << item->id;
}

const TemplateItem* StaticWithText(const Template& t, const std::wstring& text) {
    for (const TemplateItem& item : t.items)
        if (item.cls == L"Static" && item.text == text) return &item;
    return nullptr;
}

void ExpectPageFrame(const Template& t) {
    EXPECT_EQ(t.cx, 234);
    EXPECT_EQ(t.cy, 126);
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.font, L"MS Shell Dlg");
    EXPECT_FALSE(t.style & DS_FIXEDSYS) << "the font is MS Shell Dlg itself, not the shell's newer face";
    EXPECT_TRUE(t.style & WS_CHILD) << "a page lives inside the sheet";
}

TEST(Resources, OutputPageTemplate) {
    Template t;
    ASSERT_TRUE(ReadTemplate(IDD_PAGE_OUTPUT, t));
    ExpectPageFrame(t);
    ASSERT_EQ(t.items.size(), 4u);
    const TemplateItem* bar = ItemWithId(t, 1003);
    ExpectPlace(bar, 83, 7, 113, 20);
    EXPECT_EQ(_wcsicmp(bar->cls.c_str(), TRACKBAR_CLASSW), 0) << "a trackbar";
    const TemplateItem* number = ItemWithId(t, 1002);
    ExpectPlace(number, 200, 11, 27, 15);
    EXPECT_EQ(number->cls, L"Edit");
    EXPECT_TRUE(number->style & ES_READONLY);
    ExpectPlace(StaticWithText(t, L"Jpeg compression level"), 7, 15, 74, 8);
    ExpectPlace(StaticWithText(t,
                               L"A compression level of around 80 is recommended.\n\n"
                               L"Anything below 80 will decrease the output file size but degrade the quality of "
                               L"the output image.\n\n"
                               L"Anything above 80 will increase the output file size with little or no benefit."),
                7, 63, 220, 56);
}

TEST(Resources, BlendingPageTemplate) {
    Template t;
    ASSERT_TRUE(ReadTemplate(IDD_PAGE_BLENDING, t));
    ExpectPageFrame(t);
    ASSERT_EQ(t.items.size(), 20u);
    ExpectPlace(StaticWithText(t, L"Left channel"), 23, 32, 64, 8);
    ExpectPlace(StaticWithText(t, L"Right channel"), 21, 89, 44, 8);
    const std::set<int> editable = {1002, 1005, 1008, 1012, 1013, 1015, 1016, 1018, 1019};
    for (int block = 0; block < 2; ++block) {
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 3; ++r) {
                const int id = (block ? 1011 : 1002) + 3 * c + r;
                const TemplateItem* box = ItemWithId(t, id);
                ExpectPlace(box, 94 + 42 * c, (block ? 68 : 12) + 16 * r, 40, 14);
                EXPECT_EQ(box->cls, L"Edit");
                EXPECT_EQ((box->style & ES_READONLY) == 0, editable.count(id) == 1) << "box " << id;
            }
        }
    }
}

TEST(Resources, AdvancedPageTemplate) {
    Template t;
    ASSERT_TRUE(ReadTemplate(IDD_PAGE_ADVANCED, t));
    ExpectPageFrame(t);
    ASSERT_EQ(t.items.size(), 5u);
    ExpectPlace(StaticWithText(t, L"Max preview image size"), 7, 9, 76, 8);
    const TemplateItem* size = ItemWithId(t, 1002);
    ExpectPlace(size, 140, 7, 45, 14);
    EXPECT_EQ(size->cls, L"Edit");
    EXPECT_FALSE(size->style & ES_READONLY);
    EXPECT_FALSE(size->style & ES_NUMBER) << "a minus sign can be typed";
    ExpectPlace(StaticWithText(t, L"pixels"), 191, 9, 19, 8);
    const TemplateItem* text = ItemWithId(t, 1007);
    ExpectPlace(text, 7, 25, 220, 78);
    EXPECT_EQ(text->cls, L"Static");
    const TemplateItem* reset = ItemWithId(t, 1006);
    ExpectPlace(reset, 177, 105, 50, 14);
    EXPECT_EQ(reset->cls, L"Button");
    EXPECT_EQ(reset->text, L"reset");
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(Resources, SettingsPagesCreateWithTheirControls) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The pages are child windows: they need a parent, as the sheet is in the program.
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, Module(), nullptr);
    ASSERT_NE(parent, nullptr);
    for (int id : {IDD_PAGE_OUTPUT, IDD_PAGE_BLENDING, IDD_PAGE_ADVANCED}) {
        SCOPED_TRACE(id);
        HWND page = CreateDialogParamW(Module(), MAKEINTRESOURCEW(id), parent, &QuietDialog, 0);
        ASSERT_NE(page, nullptr);
        EXPECT_NE(GetDlgItem(page, 1002), nullptr);
        if (id == IDD_PAGE_OUTPUT) {
            HWND bar = GetDlgItem(page, 1003);
            ASSERT_NE(bar, nullptr);
            EXPECT_EQ(SendMessageW(bar, TBM_GETRANGEMIN, 0, 0), 0);
            EXPECT_EQ(SendMessageW(bar, TBM_GETRANGEMAX, 0, 0), 100);
            SendMessageW(bar, TBM_SETPOS, TRUE, 150);
            EXPECT_EQ(SendMessageW(bar, TBM_GETPOS, 0, 0), 100) << "the control keeps its position in its range";
        }
        if (id == IDD_PAGE_BLENDING) {
            for (int box = 1002; box <= 1019; ++box) EXPECT_NE(GetDlgItem(page, box), nullptr) << box;
        }
        if (id == IDD_PAGE_ADVANCED) {
            EXPECT_NE(GetDlgItem(page, 1006), nullptr);
            EXPECT_NE(GetDlgItem(page, 1007), nullptr);
        }
        DestroyWindow(page);
    }
    DestroyWindow(parent);
}

// ---------------------------------------------------------------------------------------------
// The toolbar image strip, read through GDI+ as the toolbar reads it

// A file of resources/art in the source tree (two folders above the test data folder), as a
// path on Wine's drive for the root of the file system.
std::wstring ArtFile(const wchar_t* name) {
    std::string root = BISTROPE_TEST_DATA_DIR;
    for (int i = 0; i < 2; ++i) root.erase(root.find_last_of('/'));
    std::wstring path = L"Z:";
    for (char c : root + "/resources/art/") path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path + name;
}

class ToolbarStrip : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(token); }
    static ULONG_PTR token;

    // The strip as 32-bit ARGB, rows top first; false when it cannot be read.
    bool Load(int& width, int& height, std::vector<std::uint32_t>& argb) {
        Gdiplus::Bitmap bitmap(ArtFile(L"Bistrope.dll").c_str());
        if (bitmap.GetLastStatus() != Gdiplus::Ok) return false;
        width = static_cast<int>(bitmap.GetWidth());
        height = static_cast<int>(bitmap.GetHeight());
        argb.assign(static_cast<size_t>(width) * height, 0);
        Gdiplus::BitmapData data = {};
        data.Width = width;
        data.Height = height;
        data.Stride = width * 4;
        data.PixelFormat = PixelFormat32bppARGB;
        data.Scan0 = argb.data();
        Gdiplus::Rect all(0, 0, width, height);
        if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                            PixelFormat32bppARGB, &data) != Gdiplus::Ok)
            return false;
        bitmap.UnlockBits(&data);
        return true;
    }
};
ULONG_PTR ToolbarStrip::token = 0;

TEST_F(ToolbarStrip, TwelveButtonImagesInFiveStates) {
    int width = 0, height = 0;
    std::vector<std::uint32_t> argb;
    ASSERT_TRUE(Load(width, height, argb)) << "the image library reads the file whatever its name";
    ASSERT_EQ(width, 12 * 48);
    ASSERT_EQ(height, 5 * 48);
    auto cell = [&](int col, int row) {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) pixels.push_back(argb[static_cast<size_t>(row * 48 + y) * width + col * 48 + x]);
        return pixels;
    };
    for (int col = 0; col < 12; ++col) {
        SCOPED_TRACE(col);
        const auto normal = cell(col, 0);
        const auto disabled = cell(col, 4);
        int opaque = 0;
        for (std::uint32_t v : normal) opaque += (v >> 24) > 200;
        EXPECT_GT(opaque, 150) << "each button has a picture";
        EXPECT_EQ(normal[0] >> 24, 0u) << "a normal button lets the rebar show around it";
        for (int row = 1; row < 4; ++row) EXPECT_NE(cell(col, row), normal) << "state row " << row << " looks different";
        EXPECT_NE(cell(col, 1), cell(col, 2));
        EXPECT_NE(cell(col, 2), cell(col, 3));
        bool grey = true;
        int disabledOpaque = 0;
        for (std::uint32_t v : disabled) {
            if ((v >> 24) == 0) continue;
            grey = grey && (v >> 16 & 0xFF) == (v >> 8 & 0xFF) && (v >> 8 & 0xFF) == (v & 0xFF);
            disabledOpaque += (v >> 24) > 200;
        }
        EXPECT_TRUE(grey) << "a disabled button is drawn in greys";
        EXPECT_EQ(disabledOpaque, 0) << "a disabled button is faded";
    }
}

}  // namespace
