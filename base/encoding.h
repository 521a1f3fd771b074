// Text at the boundary to Windows: the program's literals are UTF-8; the "...A"
// functions and files take the ANSI code page; windows show UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace fk {

std::wstring widenUtf8(std::string_view utf8);
std::string narrowUtf8(std::wstring_view wide);

std::wstring widenAnsi(std::string_view ansi);
std::string narrowAnsi(std::wstring_view wide);

// UTF-8 literal to ANSI code page text for an "...A" call or an ANSI file.
std::string utf8ToAnsi(std::string_view utf8);

// Letter case ignored ordinally, as file systems and the profile functions compare
// names: the UTF-16 texts are compared character by character, so no letter expands
// into others (a sharp s is not "ss") and none is ignored (a soft hyphen counts).
bool equalIgnoringCase(std::string_view ansiA, std::string_view ansiB);

}  // namespace fk
