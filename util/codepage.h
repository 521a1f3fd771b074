// Single-byte code pages of dBase tables, converted by the program itself so that every
// build, with or without Windows, reads and writes a table's text alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fk {

// A table whose language-driver byte names no code page: only its ASCII text is known.
constexpr int kUnknownCodePage = 0;

// The code page that a table's language-driver byte (header offset 29) names: 1252 for 0,
// kUnknownCodePage for an id that names none. Text is converted for 437, 850, 852, 865,
// 866 and 1250 to 1254; in other code pages only ASCII is: their other bytes read as
// U+FFFD and other characters are refused, so no text is stored in the wrong code page.
int codePageOfLanguageDriver(uint8_t id);

// Whether text beyond ASCII is converted for `codePage`.
bool convertsCodePage(int codePage);

// Bytes of `codePage` as UTF-8; a byte the code page leaves undefined becomes U+FFFD.
std::string codePageToUtf8(int codePage, std::string_view bytes);

// UTF-8 as bytes of `codePage`. `refused` is the first character that the code page has
// no byte for, or the first bytes that are not UTF-8; `bytes` is then incomplete.
struct CodePageText {
    std::string bytes;
    std::string refused;
};
CodePageText utf8ToCodePage(int codePage, std::string_view utf8);

// Bytes of `codePage` with every letter that has a capital in the code page made one;
// ASCII letters only where the code page is not converted.
std::string upperCaseIn(int codePage, std::string_view bytes);

}  // namespace fk
