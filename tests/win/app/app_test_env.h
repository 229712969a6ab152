// The one application object of the application-shell test program and the helpers its tests
// share: a frame made on demand, pumping messages, finding windows and helper threads (to
// drive modal dialogs away from the test, always with bounded waits).
#pragma once

#include "support/wintest.h"
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

using wintest::ClassOf;
using wintest::Helper;
using wintest::Pump;
using wintest::TextOf;
using wintest::WaitForWindow;

}  // namespace apptest
