// Small whole-file operations on ANSI paths; each opens and closes its file.
#pragma once

#include <cstdint>
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
// is not open, else the runtime error of a failed read. Stops once more than `atMost`
// bytes are read, so an oversized file is seen without reading all of it.
std::string readToEnd(const FileHandle& file, std::size_t atMost = SIZE_MAX);

// The full path of `path` (a relative one taken from the current folder), or "" when
// it cannot be made full; the last error then tells why.
std::string fullPathOf(const std::string& path);

// A copy's source is a data-path file of a line or two.
constexpr std::size_t kMaxCopySourceBytes = 64 * 1024;

// The content of the file at `path`, read only when the open file is that very file:
// the final path of the open handle is `path` (no junction or symbolic link on the way,
// letter case aside) and the file has one name only (no hard link). That file, or one
// of more than `atMost` bytes, is refused with "Path/File access error" (75). Files
// copied with administrator rights are read this way, so no link planted by another
// user decides what is copied.
std::string readOwnFile(const std::string& path, std::size_t atMost);

// Replaces the target's content by the source's bytes so that a failure leaves
// either the old bytes or all the new ones: the bytes go to a temporary file in
// the target's folder, which then replaces the target in one step. The source is
// read by readOwnFile (at most kMaxCopySourceBytes). A target that is a link is
// replaced itself by a plain file; what it pointed to is not written. A read-only
// target is refused. A target that already holds the source's bytes is left as it
// is (not written, so it keeps its file time). Raises the runtime error of the
// failing step; no temporary file stays behind.
void replaceWithCopy(const std::string& source, const std::string& target);

// True when the target can be read and holds exactly the source's bytes; raises the
// runtime error of a source that cannot be read (read as by replaceWithCopy).
bool holdsCopyOf(const std::string& source, const std::string& target);

// True when a directory listing of the pattern (which may hold wildcards) shows at
// least one plain file: folders, hidden, system and volume-label entries are not listed.
bool listsPlainFile(const std::string& pattern);

// Creates one folder level; raises the runtime error when that fails.
void createFolder(const std::string& path);

}  // namespace fk
