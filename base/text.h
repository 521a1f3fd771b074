// Small text helpers shared by every layer; no Windows needed.
#pragma once

#include <string>
#include <string_view>

namespace fk {

// Removes blanks (the space character only) at both ends.
std::string trimBlanks(std::string_view text);

// The text with one trailing "\" ensured (the empty text gives "\"); the argument
// is not changed.
std::string withTrailingSeparator(std::string_view path);

}  // namespace fk
