#pragma once
// Helpers every Windows test suite shares for finding and reading windows of the test
// process, usable from any thread.
#include <windows.h>

#include <functional>
#include <string>

namespace win_test {

// A top-level window of this process matching `match`, polled for at most `milliseconds`;
// null when none appeared.
HWND WaitForWindow(const std::function<bool(HWND)>& match, int milliseconds);
std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd);
// Removes every queued message of this thread without dispatching it.
void DrainQueue();

}  // namespace win_test
