#include "util/console_out.h"

#include <algorithm>
#include <string>

#include "base/encoding.h"

namespace fk {

bool writeConsole(DWORD stream, std::wstring_view text, Redirected redirected) {
    const HANDLE out = GetStdHandle(stream);
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(out, &mode)) {
        // In pieces: older consoles refuse a write larger than their 64 KB buffer heap.
        constexpr std::size_t kPiece = 8192;
        for (std::size_t at = 0; at < text.size(); at += written) {
            const auto piece = static_cast<DWORD>(std::min(kPiece, text.size() - at));
            if (!WriteConsoleW(out, text.data() + at, piece, &written, nullptr) || !written) {
                return false;
            }
        }
        return true;
    }
    const std::string bytes = redirected == Redirected::Utf8 ? narrowUtf8(text) : narrowAnsi(text);
    return WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace fk
