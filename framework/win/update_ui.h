#pragma once
// The UpdateUI query: how a toolbar or an owner-drawn menu asks its owner for the state of
// one command.
//
// The asker sends its owner a WM_COMMAND whose wParam carries the command id in the low
// word and kUpdateUICode (3) in the high word, and whose lParam points to an
// UpdateUIRecord filled with the current state. The owner changes only the fields it
// wants and returns. Toolbar separators are asked too, with command id -1 (0xFFFF).
#include <windows.h>

namespace TWIG4 {

class Wnd;

constexpr WORD kUpdateUICode = 3;
constexpr int kNoImageChange = -2;

struct UpdateUIRecord {
    bool enabled = true;          // a menu item starts enabled; a button with its own state
    bool checked = false;         // shown checked (a toolbar also for `radio`)
    bool radio = false;           // a radio mark on a menu item
    HICON icon = nullptr;         // an icon for a menu item; toolbars ignore it
    int image = kNoImageChange;   // new image index of a button; -2 leaves it
    const wchar_t* text = nullptr;  // new button text; none leaves it
};

// Whether a WM_COMMAND is an UpdateUI query; the record is then `reinterpret_cast`able
// from lParam.
inline bool IsUpdateUIQuery(UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_COMMAND && HIWORD(wParam) == kUpdateUICode && lParam != 0;
}

// Sends the query for `commandId` to `owner`'s window (nothing without an owner window).
void SendUpdateUI(Wnd* owner, int commandId, UpdateUIRecord* record);

}  // namespace TWIG4
