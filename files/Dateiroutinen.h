// File routines that need the file system and the shell (Windows only): the
// existence test and the data folders.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "util/file_io.h"

namespace fk {

// True when the path names an existing folder (given with a trailing "\") or a
// visible plain file (wildcards allowed). Leading and trailing blanks do not count.
// Never reports a failure.
bool dateivorhanden(std::string path);

// The file-system attributes of a path (a file or a folder); nullopt when they
// cannot be read.
std::optional<uint32_t> attributesOf(const std::string& path);

// Shell special folders by CSIDL number.
inline constexpr int32_t kCommonAppData = 35;
inline constexpr int32_t kProgramFiles = 38;
inline constexpr int32_t kProgramFilesX86 = 42;

// The file-system path of a shell special folder (without trailing "\"), or "".
std::string GetShellFolder(int32_t csidl);

// The all-users application-data folder.
std::string getappfolder();

// A file of the local data folder (a full path), which ordinary users can write
// beside: opened only under the rule for such files, below the all-users
// application-data folder with no link below that folder.
OwnFile dataFolderFile(const std::string& path);

// Reads the data folder named by a dbpfad.ini of the local data folder into
// `datenpfad` (which then ends with "\"); true when that folder holds the main
// product's "person.pxd". The file is read as a dataFolderFile, at most 64 KiB.
bool hole_dbpfad_datei(const std::string& dbpfadIni, std::string& datenpfad);

// Shows a modal message box (text, title, MB_* type): the file layer raises no window
// of its own, its caller's host shows it.
using ShowMessageBox =
    std::function<void(const std::wstring& text, const std::wstring& title, UINT type)>;

// Sets the local data folder (creating it when missing) and the program base
// folder from the central dbpfad.ini; returns the program base folder or "".
// Has `showMessageBox` show a message when the entry names a plain file instead of a
// folder.
std::string hole_programmgrundverzeichnis(const ShowMessageBox& showMessageBox);

}  // namespace fk
