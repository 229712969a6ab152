#pragma once
// Driving the test thread's windows: pumping its messages for a bounded time, and a helper
// thread for modal loops (dialogs, message boxes) that would otherwise block the test.
#include <windows.h>

#include <functional>

namespace win_test {

// Dispatches this thread's messages for about `milliseconds`.
void Pump(int milliseconds);

// Runs `action` on a helper thread. Join waits at most the given time and dispatches this
// thread's messages meanwhile (the helper may be talking to this thread's windows); the
// destructor waits at most 30 s.
class Helper {
public:
    explicit Helper(std::function<void()> action);
    ~Helper();
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;
    bool Join(int milliseconds);

private:
    static DWORD WINAPI Main(void* self);
    std::function<void()> work;
    HANDLE thread = nullptr;
};

}  // namespace win_test
