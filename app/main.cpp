// Entry point of the Windows program: the one application object is made before this
// function runs and destroyed after it returns (which writes the settings).
//
//   Bistrope.exe [LEFT [RIGHT]]    starts with the images loaded
//   Bistrope.exe PAIR.mpo          starts with both eyes of one stereo file loaded
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/win/main_wnd.h"

namespace {

MainWnd theApp;

// The arguments after the program's name, as the wide command line gives them.
std::vector<std::wstring> Arguments() {
    std::vector<std::wstring> files;
    int count = 0;
    if (LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) files.emplace_back(args[i]);
        ::LocalFree(args);
    }
    return files;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    theApp.SetStartFiles(Arguments());
    return theApp.Run(instance, commandLine, show);
}
