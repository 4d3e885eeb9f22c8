// Owners for what the handheld's calls hand out (kernel handles, find searches, registry keys, mapped views),
// so that every return path releases what it opened without a close call of its own.
#pragma once

#include <utility>

#include "handheld/files.h"
#include "handheld/registry.h"
#include "handheld/types.h"

namespace handheld {

// Closer: a type with `static bool IsEmpty(T)` and `static void Close(T)`.
template <typename T, typename Closer>
class UniqueOwner {
public:
    UniqueOwner() = default;
    explicit UniqueOwner(T value) : value_(value) {}
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;
    UniqueOwner(UniqueOwner&& other) noexcept : value_(other.release()) {}
    UniqueOwner& operator=(UniqueOwner&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueOwner() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return !Closer::IsEmpty(value_); }
    // For calls that return the value through an out parameter (RegOpenKeyExW): closes what is held first.
    T* out() {
        reset();
        return &value_;
    }
    T release() { return std::exchange(value_, T{}); }
    void reset(T value = T{}) {
        T old = std::exchange(value_, value);
        if (!Closer::IsEmpty(old)) Closer::Close(old);
    }

private:
    T value_{};
};

namespace detail {
struct HandleCloser {
    static bool IsEmpty(HANDLE h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindCloser {
    static bool IsEmpty(HANDLE h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
struct RegKeyCloser {
    static bool IsEmpty(HKEY key) { return key == nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};
struct ViewCloser {
    static bool IsEmpty(const void* view) { return view == nullptr; }
    static void Close(const void* view) { UnmapViewOfFile(view); }
};
}  // namespace detail

// A file, mapping, serial port or device handle (CloseHandle). Null and INVALID_HANDLE_VALUE are empty.
using UniqueHandle = UniqueOwner<HANDLE, detail::HandleCloser>;
// A search from FindFirstFileW (FindClose).
using UniqueFind = UniqueOwner<HANDLE, detail::FindCloser>;
// A key from RegOpenKeyExW (RegCloseKey).
using UniqueRegKey = UniqueOwner<HKEY, detail::RegKeyCloser>;
// A view from MapViewOfFile (UnmapViewOfFile).
using UniqueView = UniqueOwner<const void*, detail::ViewCloser>;

}  // namespace handheld
