#include "util/console_out.h"

#include <string>

#include "util/encoding.h"

namespace fk {

bool writeConsole(DWORD stream, std::wstring_view text, Redirected redirected) {
    const HANDLE out = GetStdHandle(stream);
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(out, &mode)) {
        return WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written,
                             nullptr) &&
               written == text.size();
    }
    const std::string bytes = redirected == Redirected::Utf8 ? narrowUtf8(text) : narrowAnsi(text);
    return WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace fk
