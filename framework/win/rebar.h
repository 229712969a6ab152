#pragma once
// The rebar: a control bar holding other bars in bands, with a tiled background.
//
// A bar added as a band leaves the frame's layout (the rebar places it from then on). With
// more than one band the rebar locks itself (no grippers); a right click then offers
// "Unlock control bars" / "Lock control bars" in an owner-drawn menu. The background is
// painted from up to three bitmaps: a left end at x 0, a right end flush with the right
// edge, and a middle tile repeated in between, the last copy cut short.
#include <windows.h>

#include "framework/list.h"
#include "framework/win/ctrlbar.h"

namespace TWIG4 {

class SDIApp;

class RebarWnd : public CtrlBarWnd {
public:
    static constexpr int kLockCommand = 2001;
    static constexpr DWORD kStyle = 0x5600B24C;  // visible child, clipping, auto-size, no parent alignment
    static constexpr UINT kBandStyle = 0x60;     // fixed background bitmap, variable height

    RebarWnd();
    ~RebarWnd() override;

    // "ReBarWindow32" with the given styles added to kStyle, owned by and docked in `owner`;
    // subclassed; an empty bar info. False without an owner.
    bool Create(DWORD exStyle, DWORD style, SDIApp* owner);
    // Loads each non-zero id as a bitmap resource of the application (a missing one is
    // simply not drawn). Returns true.
    bool LoadBackground(int middleTileId, int leftEndId, int rightEndId);
    // Takes `bar` into a new band at the end (out of the frame's layout); with two or more
    // bands the rebar locks. False for a null bar or a band the control refuses.
    bool AddBand(CtrlBarWnd* bar, const wchar_t* text, bool newRow);
    // Shows or hides every band's gripper and lays the frame out again.
    void SetLocked(bool lock);
    bool IsLocked() const { return locked; }
    unsigned GetBandCount() const { return bands.Count(); }

    bool OnIdle(unsigned idleCount) override;
    // The bar height the control reports.
    int GetThickness() override;
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // The lock menu at the cursor; the chosen command comes back to this rebar.
    void ShowLockMenu();

private:
    LRESULT OnEraseBackground(HDC dc);

    bool locked;
    SDIApp* owner;
    List<CtrlBarWnd*> bands;
    HBITMAP middleTile;
    HBITMAP leftEnd;
    HBITMAP rightEnd;
};

}  // namespace TWIG4
