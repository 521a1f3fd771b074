// Move-only owners of Win32 handles: one small type per handle kind, each knowing
// its invalid value and how to close it.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <utility>

namespace fk {

template <class Handle, void (*Close)(Handle), Handle (*Invalid)()>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle h) noexcept : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Invalid(); }
    Handle release() noexcept { return std::exchange(h_, Invalid()); }
    void reset(Handle h = Invalid()) noexcept {
        if (h_ != Invalid()) Close(h_);
        h_ = h;
    }

private:
    Handle h_ = Invalid();
};

namespace handle {
inline HANDLE invalidFile() noexcept {
    return INVALID_HANDLE_VALUE;
}
template <class H>
H null() noexcept {
    return nullptr;
}
inline void closeFile(HANDLE h) noexcept {
    ::CloseHandle(h);
}
inline void closeFind(HANDLE h) noexcept {
    ::FindClose(h);
}
inline void deleteObject(HGDIOBJ h) noexcept {
    ::DeleteObject(h);
}
inline void freePidl(LPITEMIDLIST h) noexcept {
    ::CoTaskMemFree(h);
}
}  // namespace handle

using FileHandle = UniqueHandle<HANDLE, handle::closeFile, handle::invalidFile>;
using FindHandle = UniqueHandle<HANDLE, handle::closeFind, handle::invalidFile>;
// Fonts, bitmaps, brushes.
using GdiObject = UniqueHandle<HGDIOBJ, handle::deleteObject, handle::null<HGDIOBJ>>;
// A shell item identifier list.
using Pidl = UniqueHandle<LPITEMIDLIST, handle::freePidl, handle::null<LPITEMIDLIST>>;

}  // namespace fk
