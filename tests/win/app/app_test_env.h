// The one application object of the application-shell test program and the helpers its tests
// share: a frame made on demand, pumping messages, finding windows and helper threads (to
// drive modal dialogs away from the test, always with bounded waits).
#pragma once

#include "support/window_search.h"
#include <windows.h>

#include <functional>
#include <string>

#include "framework/win/sdiapp.h"

namespace apptest {

class ShellTestApp : public TWIG4::SDIApp {
public:
    ShellTestApp();
    // Makes the visible frame window once (instance, common controls and window classes as
    // the program's start does); true when it exists.
    bool MakeFrame();
};

// The application object; it exists before any test runs, as the program's global one does.
ShellTestApp& App();

// Dispatches this thread's messages for about `milliseconds`.
void Pump(int milliseconds);

using win_test::ClassOf;
using win_test::TextOf;
using win_test::WaitForWindow;

// Runs `action` on a helper thread; Join and the destructor wait at most a bounded time.
class Helper {
public:
    explicit Helper(std::function<void()> action);
    ~Helper();
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;
    bool Join(int milliseconds);

private:
    std::function<void()> work;
    HANDLE thread = nullptr;
    static DWORD WINAPI Main(void* self);
};

}  // namespace apptest
