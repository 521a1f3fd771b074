// clsIniRW: reads, writes, lists, searches and renames sections and keys of one
// INI file through the platform's profile-string functions.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fk {

class Procedure;

// A text that may be null (no string at all); null reaches the platform as a null
// pointer, which is not the same as the empty text.
using Text = std::optional<std::string>;

// Names indexed from 0; the blank list is one empty text; absent (nullopt) when the
// class is not set up or an error was reported.
using NameList = std::optional<std::vector<std::string>>;

// Rows of (key, value), or in FindValueInFile (section, key); the blank row is one
// row of two empty texts; absent as for NameList.
using PairTable = std::optional<std::vector<std::array<std::string, 2>>>;

class clsIniRW {
public:
    // Sets the file; an existing file must be writable, else File stays empty and
    // FileOpen false. A missing file is accepted and created by the first write.
    void File_Name(const std::string& path);
    const std::string& File() const { return file_; }
    bool FileOpen() const { return fileOpen_; }

    bool WriteData(const Text& sectionName, const Text& keyName, const Text& keyValue);
    // A null key deletes the whole section; a null value deletes the key.
    bool DeleteData(const Text& sectionName, const Text& keyName,
                    const Text& keyValue = std::nullopt);
    NameList GetAllSections();
    NameList GetAllKeysInSection(const Text& sectionName);
    PairTable GetAllKeysValuesInSection(const Text& sectionName);
    std::string GetValue(const Text& sectionName, const Text& keyName);
    NameList FindKeyInFile(const std::string& keyName);
    bool FindKeyInSection(const Text& sectionName, const std::string& keyName);
    NameList FindValueInSection(const Text& sectionName, const std::string& keyValue);
    // Reports nothing itself: a failure passes to the caller as RuntimeError.
    PairTable FindValueInFile(const std::string& keyValue);
    // Both renames write every key under the new name before the old one goes; false
    // when the old name could not be removed or a write failed (the old name then
    // stays as it was).
    bool RenameSection(const std::string& sectionName, const std::string& newSectionName);
    bool RenameKey(const std::string& sectionName, const std::string& keyName,
                   const std::string& newKeyName);

private:
    std::string CheckExistence(const std::string& path);
    bool writeProfile(const Procedure& procedure, const Text& sectionName,
                      const Text& keyName, const Text& keyValue);
    void ReportError(int16_t lErrorNum, const std::string& sErrorText,
                     const std::string& sErrorSource);
    // Reports the failure in flight through ReportError.
    void reportCurrent();
    bool renameSectionInPlace(const std::string& sectionName, const std::string& newSectionName,
                              const std::vector<std::array<std::string, 2>>& pairs);
    bool writeAll(const std::string& section,
                  const std::vector<std::array<std::string, 2>>& pairs);

    std::string file_;
    bool fileOpen_ = false;
};

}  // namespace fk
