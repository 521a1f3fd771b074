// Path string helpers. Paths use "\" as the only separator; comparisons are exact.
// Text only: no Windows needed.
#pragma once

#include <string>

#include "base/text.h"

namespace fk {

// Gives the caller's variable a trailing "\" (also when empty) and returns it.
std::string pathcomplete(std::string& path);

// The part after the last "\"; the whole path when it has none.
std::string nurdatei(const std::string& path);

// Everything up to and including the last "\" (one "\" at its end, never doubled);
// empty when the path has no "\".
std::string nurpfad(std::string path);

// The parent folder, with a trailing "\"; a path without "\" (after dropping one
// trailing "\") comes back unchanged, e.g. the drive root C:\ gives C:.
std::string Pfad_hoch(std::string path);

}  // namespace fk
