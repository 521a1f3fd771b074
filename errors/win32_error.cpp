#include "errors/win32_error.h"

#include <windows.h>

namespace fk {

uint32_t captureLastError() noexcept {
    const uint32_t code = GetLastError();
    setLastDllError(code);
    return code;
}

void raiseLastError(int32_t fallback) {
    const uint32_t code = captureLastError();
    throw RuntimeError(runtimeNumberFromSystemError(code, fallback));
}

}  // namespace fk
