// File routines: paths one level up and, on Windows, the data folders.
#pragma once

#include <string>

namespace fk {

// The parent folder, with a trailing "\"; a path without "\" (after dropping one
// trailing "\") comes back unchanged, e.g. the drive root C:\ gives C:.
std::string Pfad_hoch(std::string path);

}  // namespace fk
