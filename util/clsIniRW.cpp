#include "util/clsIniRW.h"

#include <algorithm>
#include <utility>

#include <windows.h>

#include "base/encoding.h"
#include "base/epilogue.h"
#include "base/handles.h"
#include "base/seams.h"
#include "base/text.h"
#include "base/win32_error.h"
#include "util/file_io.h"

namespace fk {
namespace {

constexpr Procedure kGetAllKeysInSection{"Error in clsIniRW: Function GetAllKeysInSection",
                                         "GetAllKeysInSection"};
constexpr Procedure kWriteData{"Error in clsIniRW: Function WriteData", "WriteData"};

const char* ptr(const Text& text) {
    return text ? text->c_str() : nullptr;
}

// Reads through `read(buffer, size)`, a profile function. The first buffer has `size`
// characters; where the platform filled it (a value returns size-1, a list size-2) the
// read is repeated with one twice as large, up to `largest`, so values and lists come
// back whole.
struct ProfileRead {
    std::string buffer;
    DWORD count;
};

template <class Read>
ProfileRead readWhole(Read read, bool list, DWORD size = 255, DWORD largest = 64u << 20) {
    for (;; size *= 2) {
        std::string buffer(size, '\0');
        const DWORD n = read(buffer.data(), size);
        captureLastError();
        if (n < (list ? size - 2 : size - 1) || size >= largest) return {std::move(buffer), n};
    }
}

ProfileRead readProfile(const Text& section, const Text& key, const char* fallback,
                        const std::string& file, bool list, DWORD size = 255,
                        DWORD largest = 64u << 20) {
    return readWhole(
        [&](char* buffer, DWORD n) {
            return GetPrivateProfileStringA(ptr(section), ptr(key), fallback, buffer, n,
                                            file.c_str());
        },
        list, size, largest);
}

// The section's key lines as the file holds them ("key=value", from the platform's
// section read), split at the first "=": unlike a value read, the value keeps the quotes
// and blanks around it. Lines without "=" and comments are not keys.
KeyValueRows keyLinesOf(const std::string& section, const std::string& file) {
    const ProfileRead lines = readWhole(
        [&](char* buffer, DWORD size) {
            return GetPrivateProfileSectionA(section.c_str(), buffer, size, file.c_str());
        },
        true);
    KeyValueRows rows;
    for (std::size_t at = 0; at < lines.count; at = lines.buffer.find('\0', at) + 1) {
        const std::string line = lines.buffer.c_str() + at;
        const auto equals = line.find('=');
        if (equals != std::string::npos && !trimBlanks(line).starts_with(';')) {
            rows.push_back({line.substr(0, equals), line.substr(equals + 1)});
        }
    }
    return rows;
}

// The value of the first line of the key, as the platform finds the key.
std::string lineValueOf(const KeyValueRows& lines, const std::string& key) {
    const auto line = std::find_if(lines.begin(), lines.end(),
                                   [&](const auto& row) { return sameProfileName(row[0], key); });
    return line == lines.end() ? std::string() : (*line)[1];
}

// Splits a list of NUL-ended names: positions 1 to L-1; the blank list when L is 0.
std::vector<std::string> splitNames(const ProfileRead& read) {
    std::vector<std::string> names(1);
    int16_t n = 0;  // more than 32,767 names is an overflow
    const std::size_t last = read.count > 0 ? read.count - 1 : 0;
    for (std::size_t i = 0; i < last; ++i) {
        const char c = read.buffer[i];
        if (c == '\0') {
            n = toInt16(n + 1LL);
            names.resize(static_cast<std::size_t>(n) + 1);
        } else {
            names[static_cast<std::size_t>(n)] += c;
        }
    }
    return names;
}

std::string valueOf(const ProfileRead& read) {
    return read.count == 0 ? std::string() : std::string(read.buffer.c_str());
}

// Texts the file holds as given, else "Invalid procedure call or argument". Null texts
// are requests to delete or list, not names.
void requireFaithful(const Text& sectionName, const Text& keyName, const Text& keyValue) {
    const auto faulty = [](const Text& text, TextRole role) {
        return text && faultIn(*text, role) != TextFault::None;
    };
    if (faulty(sectionName, TextRole::Section) || faulty(keyName, TextRole::Key) ||
        faulty(keyValue, TextRole::Value)) {
        raise(err::InvalidProcedureCall);
    }
}

// A list an operation walks with its 16-bit counter: an absent one is a subscript
// error, one of more than 32,767 entries an overflow of that operation.
template <class List>
List walked(std::optional<List> list) {
    if (!list) raise(err::SubscriptOutOfRange);
    toInt16(list->size());
    return std::move(*list);
}

// Puts a found entry at index n of a result that starts as the blank list or row;
// n is 16-bit, so more than 32,767 entries is an overflow.
template <class T>
void putFound(std::vector<T>& result, int16_t& n, T entry) {
    result.resize(static_cast<std::size_t>(n) + 1);
    result[static_cast<std::size_t>(n)] = std::move(entry);
    n = toInt16(n + 1LL);
}

}  // namespace

std::string profileValue(const std::string& file, const Text& section, const Text& key,
                         const std::string& fallback, uint32_t size, uint32_t largest) {
    return valueOf(readProfile(section, key, fallback.c_str(), file, false, size, largest));
}

TextFault faultIn(const std::string& text, TextRole role) {
    if (role != TextRole::Value && trimBlanks(text).empty()) return TextFault::BlankName;
    if (text.find_first_of("\r\n") != std::string::npos) return TextFault::LineBreak;
    if (role == TextRole::Section && text.find(']') != std::string::npos) {
        return TextFault::BracketInSection;
    }
    if (role != TextRole::Key) return TextFault::None;
    if (text.find('=') != std::string::npos) return TextFault::EqualsInKey;
    const char first = trimBlanks(text)[0];
    return first == ';'   ? TextFault::CommentKey
           : first == '[' ? TextFault::SectionKey
                          : TextFault::None;
}

bool sameProfileName(const std::string& a, const std::string& b) {
    return equalIgnoringCase(trimBlanks(a), trimBlanks(b));
}

bool namesIn(const std::vector<std::string>& names, const std::string& name) {
    return !trimBlanks(name).empty() && std::any_of(names.begin(), names.end(), [&](auto& n) {
        return sameProfileName(n, name);
    });
}

void clsIniRW::File_Name(const std::string& path) {
    file_ = CheckExistence(path);
}

// The path is made full first: the profile functions would take a name without a
// folder from the Windows folder, so a relative path is resolved against the current
// folder here, and the file checked is the file used. A path that cannot be made full
// is refused like an unwritable file.
// An existing file must be readable and writable as the profile functions use it.
// Opening it so (sharing read and write with others) and closing it again tests that
// without changing it. A missing file is accepted: the first write creates it.
std::string clsIniRW::CheckExistence(const std::string& given) {
    const std::string path = fullPathOf(given);
    if (path.empty()) {
        fileOpen_ = false;
    } else if (listsPlainFile(path)) {
        const FileHandle probe(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        captureLastError();
        fileOpen_ = static_cast<bool>(probe);
    } else {
        fileOpen_ = true;
    }
    return fileOpen_ ? path : std::string();
}

// A text the file cannot hold as given is reported as an invalid argument; nothing is
// written then.
bool clsIniRW::WriteData(const Text& sectionName, const Text& keyName, const Text& keyValue) {
    return fileOpen_ && kWriteData.step(requireFaithful, sectionName, keyName, keyValue) &&
           writeProfile(sectionName, keyName, keyValue);
}

bool clsIniRW::DeleteData(const Text& sectionName, const Text& keyName, const Text& keyValue) {
    return writeProfile(sectionName, keyName, keyValue);
}

// One WritePrivateProfileStringA call; null texts reach it as null pointers.
bool clsIniRW::writeProfile(const Text& sectionName, const Text& keyName, const Text& keyValue) {
    if (!fileOpen_) return false;
    const bool written = seams().writeProfileString(ptr(sectionName), ptr(keyName), ptr(keyValue),
                                                    file_.c_str()) != 0;
    captureLastError();
    return written;
}

template <class T, class Body>
T clsIniRW::guarded(T fallback, Body body) {
    if (!fileOpen_) return fallback;
    try {
        return body();
    } catch (...) {
        const Failure failure = currentFailure();
        // A number beyond 16 bits makes the report itself fail; that passes to the caller.
        ReportError(toInt16(static_cast<long long>(failure.number)), failure.description, "");
        return fallback;
    }
}

NameList clsIniRW::GetAllSections() {
    return guarded(NameList(), [&] {
        return splitNames(readProfile(std::nullopt, std::nullopt, nullptr, file_, true));
    });
}

NameList clsIniRW::GetAllKeysInSection(const Text& sectionName) {
    if (!fileOpen_) return std::nullopt;
    NameList result;
    kGetAllKeysInSection.assign(result, [&] {
        return splitNames(readProfile(sectionName, std::nullopt, nullptr, file_, true));
    });
    return result;
}

KeyValueTable clsIniRW::GetAllKeysValuesInSection(const Text& sectionName) {
    return guarded(KeyValueTable(), [&] {
        KeyValueRows rows;
        for (const std::string& key : walked(GetAllKeysInSection(sectionName))) {
            rows.push_back({key, profileValue(file_, sectionName, key, "")});
        }
        return rows;
    });
}

std::string clsIniRW::GetValue(const Text& sectionName, const Text& keyName) {
    return guarded(std::string(), [&] { return profileValue(file_, sectionName, keyName, ""); });
}

bool clsIniRW::FindKeyInSection(const Text& sectionName, const std::string& keyName) {
    return guarded(false, [&] {
        for (const std::string& key : walked(GetAllKeysInSection(sectionName))) {
            if (equalIgnoringCase(key, keyName)) return true;
        }
        return false;
    });
}

NameList clsIniRW::FindKeyInFile(const std::string& keyName) {
    return guarded(NameList(), [&] {
        std::vector<std::string> result(1);
        int16_t n = 0;
        const std::vector<std::string> sections = walked(GetAllSections());
        if (sections[0].empty()) return result;
        for (const std::string& section : sections) {
            if (FindKeyInSection(section, keyName)) putFound(result, n, section);
        }
        return result;
    });
}

NameList clsIniRW::FindValueInSection(const Text& sectionName, const std::string& keyValue) {
    return guarded(NameList(), [&] {
        std::vector<std::string> result(1);
        int16_t n = 0;
        for (const auto& [key, value] : walked(GetAllKeysValuesInSection(sectionName))) {
            if (equalIgnoringCase(value, keyValue)) putFound(result, n, key);
        }
        return result;
    });
}

SectionKeyTable clsIniRW::FindValueInFile(const std::string& keyValue) {
    if (!fileOpen_) return std::nullopt;
    SectionKeyRows table{{"", ""}};
    int16_t n = 0;
    for (const std::string& section : walked(GetAllSections())) {
        const std::vector<std::string> found = walked(FindValueInSection(section, keyValue));
        if (found[0].empty()) continue;
        for (const std::string& key : found) {
            putFound(table, n, std::array<std::string, 2>{section, key});
        }
    }
    return table;
}

bool clsIniRW::writeSection(const std::string& section, const KeyValueRows& rows) {
    // A helper key written and deleted again leaves only the section's header line; it
    // is deleted even when its write reported a failure.
    if (rows.empty()) {
        const bool written = WriteData(section, "dummy", "");
        return WriteData(section, "dummy", std::nullopt) && written;
    }
    bool allWritten = true;
    for (const auto& [key, value] : rows) allWritten = WriteData(section, key, value) && allWritten;
    return allWritten;
}

// A new spelling of the same name needs the old section gone first; it is written
// back if the new one fails.
bool clsIniRW::renameSectionInPlace(const std::string& sectionName,
                                    const std::string& newSectionName, const KeyValueRows& rows) {
    if (!DeleteData(sectionName, std::nullopt, std::nullopt)) return false;
    if (writeSection(newSectionName, rows)) return true;
    DeleteData(newSectionName, std::nullopt, std::nullopt);
    writeSection(sectionName, rows);
    return false;
}

bool clsIniRW::HoldsUnnamedKey(const std::string& sectionName) const {
    if (!fileOpen_) return false;
    const KeyValueRows rows = keyLinesOf(sectionName, file_);
    return std::any_of(rows.begin(), rows.end(),
                       [](const auto& row) { return trimBlanks(row[0]).empty(); });
}

// A new name the file cannot hold is an invalid argument (reported); a missing old name
// or a new one that names another existing section gives false with nothing changed.

bool clsIniRW::RenameSection(const std::string& sectionName, const std::string& newSectionName) {
    return guarded(false, [&] {
        requireFaithful(newSectionName, std::nullopt, std::nullopt);
        const bool inPlace = sameProfileName(sectionName, newSectionName);
        const std::vector<std::string> sections = walked(GetAllSections());
        if (!namesIn(sections, sectionName) || (!inPlace && namesIn(sections, newSectionName)) ||
            HoldsUnnamedKey(sectionName)) {
            return false;
        }
        const KeyValueRows rows = walked(std::optional(keyLinesOf(sectionName, file_)));
        if (inPlace) {
            return renameSectionInPlace(sectionName, newSectionName, rows);
        }
        // Every key goes to the new name first; only then is the old section removed.
        if (writeSection(newSectionName, rows) &&
            DeleteData(sectionName, std::nullopt, std::nullopt)) {
            return true;
        }
        DeleteData(newSectionName, std::nullopt, std::nullopt);
        return false;
    });
}

bool clsIniRW::RenameKey(const std::string& sectionName, const std::string& keyName,
                         const std::string& newKeyName) {
    return guarded(false, [&] {
        requireFaithful(sectionName, newKeyName, std::nullopt);
        const bool inPlace = sameProfileName(keyName, newKeyName);
        const std::vector<std::string> keys = walked(GetAllKeysInSection(sectionName));
        if (!namesIn(keys, keyName) || (!inPlace && namesIn(keys, newKeyName))) return false;
        const std::string value = lineValueOf(keyLinesOf(sectionName, file_), keyName);
        if (inPlace) {
            if (!DeleteData(sectionName, keyName, std::nullopt)) return false;
            if (WriteData(sectionName, newKeyName, value)) return true;
            WriteData(sectionName, keyName, value);  // put the old key back
            return false;
        }
        if (WriteData(sectionName, newKeyName, value) &&
            DeleteData(sectionName, keyName, std::nullopt)) {
            return true;
        }
        DeleteData(sectionName, newKeyName, std::nullopt);
        return false;
    });
}

void clsIniRW::ReportError(int16_t lErrorNum, const std::string& sErrorText,
                           const std::string& sErrorSource) {
    std::string text = "Error Number: " + std::to_string(lErrorNum) + "\r\n" + sErrorText;
    if (!sErrorSource.empty()) text += "\r\n\r\n" + sErrorSource;
    if (showErrorBox) return showErrorBox(widenAnsi(text), L"Ini RW Class");
    seams().messageBox(nullptr, widenAnsi(text), L"Ini RW Class", MB_OK | MB_ICONERROR);
}

}  // namespace fk
