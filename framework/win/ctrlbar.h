#pragma once
// Control bars: strips docked along an edge of the frame (rebar, toolbar, status bar).
//
// The frame lays its bars out in creation order (SDIApp::RecalcLayout): each bar's
// Reposition docks it at the side its window style names and takes its thickness off the
// remaining rectangle. A bar taken into a rebar band is placed by the rebar instead (and
// removed from the frame's list). A bar must be created with the frame as its parent.
#include <windows.h>

#include "framework/win/wnd.h"

namespace TWIG4 {

class CtrlBarWnd : public CtrlWnd {
public:
    CtrlBarWnd();
    // Leaves the frame's layout, so the frame never lays out a bar that is gone.
    ~CtrlBarWnd() override;

    // The CtrlWnd creation; on success the bar is added to the parent frame's control
    // bars (when the parent is the application frame).
    bool Create(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* windowName, int x, int y,
                int width, int height, Wnd* parent, int controlId);

    bool OnIdle(unsigned idleCount) override;

    // Docks the bar along one side of `rect` (style 0x80: left or right; style & 3 == 3:
    // bottom or right; otherwise top or left), moving it without repainting, and shrinks
    // `rect` by GetThickness. False, with `rect` unchanged, for null or a failed move.
    virtual bool Reposition(RECT* rect);
    // The docking thickness; 32 unless a bar knows better.
    virtual int GetThickness();
    // The bar's own extent (by default its client rectangle); false for null.
    virtual bool GetBarRect(RECT* rect);
    // True for toolbars; nothing calls it.
    virtual bool BarQuery();

    bool IsInBand() const { return inBand; }
    void SetInBand(bool value) { inBand = value; }

protected:
    bool inBand;
};

}  // namespace TWIG4
