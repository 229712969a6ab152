#pragma once
// The framework's lock: a recursive lock like a Win32 critical section, and ScopedLock,
// which holds it for one scope.

#include <mutex>

namespace TWIG4 {

class CriticalSection {
public:
    CriticalSection() = default;
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() { mutex.lock(); }
    void Leave() { mutex.unlock(); }

private:
    std::recursive_mutex mutex;
};

class ScopedLock {
public:
    explicit ScopedLock(CriticalSection& section) : section(section) { section.Enter(); }
    ~ScopedLock() { section.Leave(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    CriticalSection& section;
};

}  // namespace TWIG4
