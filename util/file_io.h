// Small whole-file operations on ANSI paths; each opens and closes its file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/handles.h"

namespace fk {

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

// A file that a run with administrator rights may trust although ordinary users can
// create files, folders and links beside it: `path` (a full path) below the folder
// `root`. Links above `root`, and at it, are an administrator's choice and are
// followed; nothing below it may be a link.
struct OwnFile {
    std::string root;
    std::string path;
};

// The one rule for such files: raises "Path/File access error" (75) unless the open
// file is the very file `own.path` names, that is its final path is the final path of
// `own.root` (resolved through a handle of the folder) followed by the rest of
// `own.path`, letter case aside, and it is a plain file with one name only (no hard
// link). So no link planted by another user decides what is read or written.
void requireOwnFile(const FileHandle& file, const OwnFile& own);

// Opens `own.path` for reading (others may read it too) under requireOwnFile's rule.
FileHandle openOwnFile(const OwnFile& own);

// The rest of an open file; one of more than `atMost` bytes is refused with
// "Path/File access error" (75) as soon as that many are read, so a huge (or sparse)
// file is never read whole.
std::string readAtMost(const FileHandle& file, std::size_t atMost);

// The content of `own.path`: openOwnFile, then readAtMost.
std::string readOwnFile(const OwnFile& own, std::size_t atMost);

// Appends bytes to the existing file `own.path`, opened only under requireOwnFile's
// rule. False when it is missing, refused or cannot be written; nothing is created.
bool appendToOwnFile(const OwnFile& own, std::string_view bytes);

// Creates `own.path` holding the bytes, only in a folder the rule accepts, and never
// through a link that stands at the name. False when the name exists already (a link
// included), is refused or cannot be made. A file that the rule refuses once it is
// made (its folder swapped in the meantime) is removed again.
bool createOwnFile(const OwnFile& own, std::string_view bytes);

// Replaces the target's content by the source's bytes so that a failure leaves either
// the old bytes or all the new ones: the bytes go to a temporary file in the target's
// folder, which then replaces the target in one step. The new file keeps the access
// rights (DACL) of the file it replaces. The source is read by readOwnFile (at most
// kMaxCopySourceBytes). A target that is a link is replaced itself by a plain file with
// the rights of the file it pointed to, which is not written. A read-only target is
// refused. A target that already holds the source's bytes is left as it is (not
// written, so it keeps its file time), also when it is a link. Raises the runtime
// error of the failing step; no temporary file stays behind.
void replaceWithCopy(const OwnFile& source, const std::string& target);

// True when the target can be read and holds exactly the source's bytes; raises the
// runtime error of a source that cannot be read (read as by replaceWithCopy).
bool holdsCopyOf(const OwnFile& source, const std::string& target);

// True when a directory listing of the pattern (which may hold wildcards) shows at
// least one plain file: folders, hidden, system and volume-label entries are not listed.
bool listsPlainFile(const std::string& pattern);

// Creates one folder level; raises the runtime error when that fails.
void createFolder(const std::string& path);

}  // namespace fk
