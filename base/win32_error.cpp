#include "base/win32_error.h"

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

std::wstring systemMessage(uint32_t code) {
    wchar_t text[512] = {};
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, text, 512, nullptr);
    std::wstring message(text, n);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.')) {
        message.pop_back();
    }
    return message.empty() ? L"system error " + std::to_wstring(code) : message;
}

}  // namespace fk
