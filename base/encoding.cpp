#include "base/encoding.h"

#include <windows.h>

namespace fk {
namespace {

std::wstring widen(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    const int n =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string narrow(UINT codePage, std::wstring_view text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring widenUtf8(std::string_view utf8) {
    return widen(CP_UTF8, utf8);
}
std::string narrowUtf8(std::wstring_view wide) {
    return narrow(CP_UTF8, wide);
}
std::wstring widenAnsi(std::string_view ansi) {
    return widen(CP_ACP, ansi);
}
std::string narrowAnsi(std::wstring_view wide) {
    return narrow(CP_ACP, wide);
}
std::string utf8ToAnsi(std::string_view utf8) {
    return narrowAnsi(widenUtf8(utf8));
}

bool equalIgnoringCase(std::string_view ansiA, std::string_view ansiB) {
    const std::wstring a = widenAnsi(ansiA), b = widenAnsi(ansiB);
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace fk
