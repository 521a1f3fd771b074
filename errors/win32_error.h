// The last system error code, captured right after each system call the program
// makes, and failures raised from it.
#pragma once

#include <cstdint>

#include "errors/runtime_error.h"

namespace fk {

// The code captured after the most recent system call (0 before any).
uint32_t lastDllError() noexcept;

// Reads GetLastError() and keeps it as the last DLL error; returns it.
uint32_t captureLastError() noexcept;

// Captures the last error and raises the runtime error it stands for.
[[noreturn]] void raiseLastError(int32_t fallback = err::PathFileAccessError);

// For calls that succeed: captures the last error; when `ok` is false raises it.
template <class T>
T checked(T result, bool ok, int32_t fallback = err::PathFileAccessError) {
    if (!ok) raiseLastError(fallback);
    captureLastError();
    return result;
}

}  // namespace fk
