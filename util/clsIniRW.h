// clsIniRW: reads, writes, lists, searches and renames sections and keys of one
// INI file through the platform's profile-string functions.
//
// While no file is set every operation returns its nothing-result (false, the empty
// text, an absent list) at once. Failures are reported by kind of operation:
// - GetAllKeysInSection reports through the central error handler (the error
//   epilogue) and returns an absent list; WriteData reports there a text the file
//   cannot hold as given (error 5) and returns false; CheckExistence and DeleteData
//   make only platform calls that answer with a result, so they have nothing to report;
// - GetAllSections, GetAllKeysValuesInSection, GetValue, FindKeyInFile,
//   FindKeyInSection, FindValueInSection, RenameSection and RenameKey show the
//   class's own box (ReportError) and return their nothing-result;
// - FindValueInFile reports nothing: a failure passes to its caller as RuntimeError.
// Lists are walked with 16-bit counters: walking more than 32,767 entries is an
// overflow of the walking operation.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace fk {

// A text that may be null (no string at all); null reaches the platform as a null
// pointer, which is not the same as the empty text.
using Text = std::optional<std::string>;

// One value of a profile file, read by the platform's GetPrivateProfileStringA into a
// buffer of `size` characters and, while the value fills it, again into one twice as
// large, up to `largest`: so the class reads values whole, and the error handler's
// solution text, offered 500 characters once, comes back cut. The one way the program
// reads a profile string.
std::string profileValue(const std::string& file, const Text& section, const Text& key,
                         const std::string& fallback, uint32_t size = 255,
                         uint32_t largest = 64u << 20);

// Names indexed from 0; the blank list is one empty text; absent (nullopt) when the
// class is not set up or an error was reported.
using NameList = std::optional<std::vector<std::string>>;

// Rows of two texts; the blank row is one row of two empty texts. KeyValue rows hold
// (key, value) of one section, SectionKey rows (section, key) found in the file.
using KeyValueRows = std::vector<std::array<std::string, 2>>;
using SectionKeyRows = KeyValueRows;
// Absent as for NameList.
using KeyValueTable = std::optional<KeyValueRows>;
using SectionKeyTable = std::optional<SectionKeyRows>;

// What keeps an INI file from holding a text as given: the platform trims blanks
// around names and has no faithful empty one, a key line ends its name at the first
// "=", a section line at "]", a CR or LF in any text would start a new line, and a key
// line whose name begins with ";" is a comment, one beginning with "[" a section header.
enum class TextRole { Section, Key, Value };
enum class TextFault {
    None,
    BlankName,
    LineBreak,
    BracketInSection,
    EqualsInKey,
    CommentKey,
    SectionKey
};
TextFault faultIn(const std::string& text, TextRole role);

// The profile functions ignore letter case and blanks around names: two names that
// differ only so name the same section or key.
bool sameProfileName(const std::string& a, const std::string& b);
// Whether one of the listed names names `name` to the platform; a blank name names
// nothing, so the blank list holds no name.
bool namesIn(const std::vector<std::string>& names, const std::string& name);

class clsIniRW {
public:
    // Sets the file as a full path (a relative one is taken from the current folder);
    // an existing file must be writable, else File stays empty and FileOpen false. A
    // missing file is accepted and created by the first write.
    void File_Name(const std::string& path);
    const std::string& File() const { return file_; }
    bool FileOpen() const { return fileOpen_; }
    // Where ReportError's message (text, title) goes instead of the class's own message
    // box, for a program that has nobody to close one.
    std::function<void(const std::wstring& text, const std::wstring& title)> showErrorBox;

    // Refuses (error 5, nothing written) a text with a fault (faultIn); null texts
    // (deletions) pass.
    bool WriteData(const Text& sectionName, const Text& keyName, const Text& keyValue);
    // A null key deletes the whole section; a null value deletes the key.
    bool DeleteData(const Text& sectionName, const Text& keyName,
                    const Text& keyValue = std::nullopt);
    NameList GetAllSections();
    NameList GetAllKeysInSection(const Text& sectionName);
    KeyValueTable GetAllKeysValuesInSection(const Text& sectionName);
    std::string GetValue(const Text& sectionName, const Text& keyName);
    NameList FindKeyInFile(const std::string& keyName);
    bool FindKeyInSection(const Text& sectionName, const std::string& keyName);
    NameList FindValueInSection(const Text& sectionName, const std::string& keyValue);
    SectionKeyTable FindValueInFile(const std::string& keyValue);
    // Both renames carry every key line as the file holds it (quotes and blanks around a
    // value stay) and write it under the new name before the old one goes. False when a
    // write or the removal of the old name failed: what was written under the new name is
    // removed again, so the file is as it was unless that removal failed too. A new name
    // (for RenameKey also the section name written under) that WriteData would refuse is
    // error 5, shown by ReportError; a missing old name, or a new one naming another
    // existing section or key, gives false without a report and changes nothing. A new
    // spelling of the same name is a rename. A section that holds a key line with a blank
    // name is not renamed (false, nothing changed): the platform's key list ends at that
    // key, so the keys after it would be lost.
    bool HoldsUnnamedKey(const std::string& sectionName) const;
    bool RenameSection(const std::string& sectionName, const std::string& newSectionName);
    bool RenameKey(const std::string& sectionName, const std::string& keyName,
                   const std::string& newKeyName);

private:
    std::string CheckExistence(const std::string& path);
    bool writeProfile(const Text& sectionName, const Text& keyName, const Text& keyValue);
    void ReportError(int16_t lErrorNum, const std::string& sErrorText,
                     const std::string& sErrorSource);
    // Runs body while a file is set; a failure is shown by ReportError and gives fallback.
    template <class T, class Body>
    T guarded(T fallback, Body body);
    bool renameSectionInPlace(const std::string& sectionName, const std::string& newSectionName,
                              const KeyValueRows& rows);
    // Writes rows under a section; no rows make an empty section.
    bool writeSection(const std::string& section, const KeyValueRows& rows);

    std::string file_;
    bool fileOpen_ = false;
};

}  // namespace fk
