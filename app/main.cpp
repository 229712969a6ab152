// Entry point of the Windows program: the one application object is made before this
// function runs and destroyed after it returns (which writes the settings).
#include <windows.h>

#include "app/win/main_wnd.h"

namespace {

MainWnd theApp;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    return theApp.Run(instance, commandLine, show);
}
