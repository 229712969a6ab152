#pragma once
// TWIG4::List: a growable array of pointers with its own lock.
//
// The list does not own what its items point to. Add, Find and RemoveAt each run under the
// list's lock; iteration with Count and At is not locked (every list is used from the
// user-interface thread only). The array grows by growStep slots when it is full.

#include <cstring>
#include <type_traits>

#include "framework/lock.h"

namespace TWIG4 {

template <typename T>
class List {
    static_assert(std::is_trivially_copyable<T>::value, "List holds pointers and other plain values");

public:
    static constexpr unsigned kMaxCount = 0xFFFFFFFEu;

    // A grow step of 0 is taken as 1.
    explicit List(unsigned growStep = 1) : List(growStep, kMaxCount) {}
    virtual ~List() { delete[] items; }
    List(const List&) = delete;
    List& operator=(const List&) = delete;

    // Appends; false only when the list is full (kMaxCount items).
    bool Add(T item) {
        ScopedLock hold(lock);
        if (count >= maxCount) return false;
        if (count == capacity) {
            unsigned grown = capacity + growStep;
            if (grown < capacity || grown > maxCount) grown = maxCount;  // no wrap-around
            T* larger = new T[grown];
            if (count) std::memcpy(static_cast<void*>(larger), items, sizeof(T) * count);
            delete[] items;
            items = larger;
            capacity = grown;
        }
        items[count++] = item;
        return true;
    }

    // Index of the first slot holding item, or -1.
    int Find(T item) const {
        ScopedLock hold(lock);
        for (unsigned i = 0; i < count; ++i)
            if (items[i] == item) return static_cast<int>(i);
        return -1;
    }

    // False when index >= Count; otherwise removes that slot, moving the later ones down.
    bool RemoveAt(unsigned index) {
        if (index >= count) return false;
        ScopedLock hold(lock);
        if (index >= count) return false;  // another thread got there first
        std::memmove(static_cast<void*>(items + index), items + index + 1, sizeof(T) * (count - index - 1));
        --count;
        return true;
    }

    // The slot at index; the caller keeps index < Count.
    T& At(unsigned index) { return items[index]; }
    const T& At(unsigned index) const { return items[index]; }
    unsigned Count() const { return count; }
    unsigned Capacity() const { return capacity; }

protected:
    // A list with a lower limit than kMaxCount (lets the limit be exercised cheaply).
    List(unsigned growStep, unsigned maxCount)
        : growStep(growStep ? growStep : 1), maxCount(maxCount < kMaxCount ? maxCount : kMaxCount) {}

private:
    T* items = nullptr;
    unsigned capacity = 0;
    unsigned growStep;
    unsigned count = 0;
    mutable CriticalSection lock;
    unsigned maxCount;
};

}  // namespace TWIG4
