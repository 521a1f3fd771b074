// Small whole-file operations on ANSI paths; each opens and closes its file.
#pragma once

#include <string>
#include <string_view>

#include "util/handles.h"

namespace fk {

// Appends bytes at the end of the file, creating it when missing. False when the
// file cannot be opened or written.
bool appendToFile(const std::string& path, std::string_view bytes);

// Creates a new file holding the bytes. False when it exists already or cannot be made.
bool createFileWith(const std::string& path, std::string_view bytes);

// Opens a file for reading, sharing it with others as `sharing` (FILE_SHARE_* bits)
// allows; raises the runtime error of a failed open.
FileHandle openForReading(const std::string& path, DWORD sharing = FILE_SHARE_READ);

// The rest of an open file's content; "Bad file name or number" (52) for a file that
// is not open, else the runtime error of a failed read.
std::string readToEnd(const FileHandle& file);

// Replaces the target's content by the source's bytes so that a failure leaves
// either the old bytes or all the new ones: the bytes go to a temporary file in
// the target's folder, which then replaces the target in one step. A read-only
// target is refused. A target that already holds the source's bytes is left as it
// is (not written, so it keeps its file time). Raises the runtime error of the
// failing step; no temporary file stays behind.
void replaceWithCopy(const std::string& source, const std::string& target);

// True when the target can be read and holds exactly the source's bytes; raises the
// runtime error of a source that cannot be read.
bool holdsCopyOf(const std::string& source, const std::string& target);

// True when a directory listing of the pattern (which may hold wildcards) shows at
// least one plain file: folders, hidden, system and volume-label entries are not listed.
bool listsPlainFile(const std::string& pattern);

// Creates one folder level; raises the runtime error when that fails.
void createFolder(const std::string& path);

}  // namespace fk
