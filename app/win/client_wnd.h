// ClientWnd: the frame's client area between the rebar and the status bar. The two image
// slots and the stereo view are its children; it paints the gaps between them in the
// frame's stone colour.
#pragma once

#include <windows.h>

#include "framework/win/wnd.h"

class ClientWnd : public TWIG4::SDIClientWnd {
public:
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
};
