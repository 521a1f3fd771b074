// Path string helpers. Paths use "\" as the only separator; comparisons are exact.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "util/text.h"

namespace fk {

// Gives the caller's variable a trailing "\" (also when empty) and returns it.
std::string pathcomplete(std::string& path);

// The part after the last "\"; the whole path when it has none.
std::string nurdatei(const std::string& path);

// Everything up to and including the last "\" (one "\" at its end, never doubled);
// empty when the path has no "\".
std::string nurpfad(std::string path);

// True when the path names an existing folder (given with a trailing "\") or a
// visible plain file (wildcards allowed). Leading and trailing blanks do not count.
// Never reports a failure. Needs the file system: Windows only.
bool dateivorhanden(std::string path);

// 1-based position of the last "\" within the first `length` characters; 0 when none.
int16_t lastSeparator(const std::string& path, int16_t length);

// The text before the separator at 1-based position `sep`, ending with one "\".
std::string folderBefore(const std::string& path, int16_t sep);

}  // namespace fk
