// The error log "Errorlog.txt" in the local data folder. One owner for the file: its
// path, the general-information block of a new log, and appending entries.
#pragma once

#include <string>
#include <string_view>

namespace fk {

// The log's path: the local data folder (with "\" ensured) and "Errorlog.txt".
std::string errorLogPath();

// The elevated run must not write where a link planted in the data folder points:
// the log is opened and created only as a file of the data folder (dataFolderFile).

// Creates the log with its general-information block when it does not exist. A log
// that cannot be created, or is refused, is skipped: the report goes on without it.
void ensureErrorLog();

// Appends one error entry and two empty lines. False when the log is missing or
// refused, or cannot be opened or written.
bool appendToErrorLog(std::string_view entry);

}  // namespace fk
