// The last system error code, captured right after each system call the program
// makes, and failures raised from it.
#pragma once

#include <cstdint>
#include <string>

#include "base/runtime_error.h"

namespace fk {

// Reads GetLastError() and keeps it as the last DLL error; returns it.
uint32_t captureLastError() noexcept;

// Captures the last error and raises the runtime error it stands for.
[[noreturn]] void raiseLastError(int32_t fallback = err::PathFileAccessError);

// The system's own text for a system error code, on one line; "system error N" when
// the system has none.
std::wstring systemMessage(uint32_t code);

}  // namespace fk
