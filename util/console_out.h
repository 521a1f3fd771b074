// Text on standard output and standard error of the console programs, by one rule: a
// console gets UTF-16 (WriteConsoleW), so every character reads right whatever the
// console's code page; a file or a pipe gets the bytes the program promises for it.
#pragma once

#include <windows.h>

#include <string_view>

namespace fk {

// What a redirected stream receives: the ANSI code page, as the programs' files are
// written, or UTF-8 (JSON Lines).
enum class Redirected { Ansi, Utf8 };

// `stream` is STD_OUTPUT_HANDLE or STD_ERROR_HANDLE. False when the text could not be
// written whole (a full disk, a closed pipe); GetLastError() tells why.
bool writeConsole(DWORD stream, std::wstring_view text, Redirected redirected = Redirected::Ansi);

}  // namespace fk
