// Single-byte code pages of dBase tables, converted by the program itself so that every
// build, with or without Windows, reads and writes a table's text alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fk {

// The code page that a table's language-driver byte (header offset 29) names: 437, 850,
// 852, 865, 866 or 1250 to 1254; 1252 for 0 and for ids of any other code page.
int codePageOfLanguageDriver(uint8_t id);

// Bytes of `codePage` as UTF-8; a byte the code page leaves undefined becomes U+FFFD.
// A code page other than those above is taken as 1252.
std::string codePageToUtf8(int codePage, std::string_view bytes);

// UTF-8 as bytes of `codePage`. `refused` is the first character that the code page has
// no byte for, or the first bytes that are not UTF-8; `bytes` is then incomplete.
struct CodePageText {
    std::string bytes;
    std::string refused;
};
CodePageText utf8ToCodePage(int codePage, std::string_view utf8);

}  // namespace fk
