// Texts of the common file dialog request: needs no Windows.
#pragma once

#include <string>
#include <string_view>

namespace fk {

// "Texte|*.txt|Alle|*.*" becomes the pairs the platform expects: every "|" a NUL,
// then two NULs at the end.
std::string filterForPlatform(std::string_view filter);

// The text up to, not including, its first NUL; the whole text when it has none.
std::string trimNulls(std::string_view text);

// `text` followed by NULs up to `size` characters; raises "Invalid procedure call or
// argument" (5) when the text is longer than that.
std::string padWithNulls(std::string_view text, std::size_t size);

}  // namespace fk
