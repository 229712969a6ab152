#include "driving.h"

namespace win_test {

namespace {

void DispatchWaiting() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool Before(DWORD end) { return static_cast<LONG>(end - GetTickCount()) > 0; }

}  // namespace

void Pump(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (Before(end)) {
        DispatchWaiting();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

Helper::Helper(std::function<void()> action) : work(std::move(action)) {
    thread = CreateThread(nullptr, 0, &Helper::Main, this, 0, nullptr);
}

Helper::~Helper() {
    if (!thread) return;
    WaitForSingleObject(thread, 30000);
    CloseHandle(thread);
}

bool Helper::Join(int milliseconds) {
    if (!thread) return false;
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, 50, QS_ALLINPUT) != WAIT_OBJECT_0) {
        DispatchWaiting();
        if (!Before(end)) return false;
    }
    return true;
}

DWORD WINAPI Helper::Main(void* self) {
    auto* helper = static_cast<Helper*>(self);
    if (helper->work) helper->work();
    return 0;
}

}  // namespace win_test
