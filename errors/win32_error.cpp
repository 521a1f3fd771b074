#include "errors/win32_error.h"

#include <windows.h>

namespace fk {
namespace {
uint32_t g_lastDllError = 0;
}

uint32_t lastDllError() noexcept { return g_lastDllError; }

uint32_t captureLastError() noexcept {
    g_lastDllError = GetLastError();
    return g_lastDllError;
}

void raiseLastError(int32_t fallback) {
    const uint32_t code = captureLastError();
    throw RuntimeError(runtimeNumberFromSystemError(code, fallback));
}

}  // namespace fk
