// Small whole-file operations on ANSI paths; each opens and closes its file.
#pragma once

#include <string>
#include <string_view>

namespace fk {

// Appends bytes at the end of the file, creating it when missing. False when the
// file cannot be opened or written.
bool appendToFile(const std::string& path, std::string_view bytes);

// Creates a new file holding the bytes. False when it exists already or cannot be made.
bool createFileWith(const std::string& path, std::string_view bytes);

}  // namespace fk
