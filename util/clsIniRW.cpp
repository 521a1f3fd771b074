#include "util/clsIniRW.h"

#include <utility>

#include <windows.h>

#include "errors/epilogue.h"
#include "errors/win32_error.h"
#include "util/text.h"
#include "util/encoding.h"
#include "util/file_io.h"
#include "util/handles.h"
#include "util/seams.h"

namespace fk {
namespace {

constexpr Procedure kCheckExistence{"Error in clsIniRW: Function CheckExistence",
                                    "CheckExistence"};
constexpr Procedure kWriteData{"Error in clsIniRW: Function WriteData", "WriteData"};
constexpr Procedure kDeleteData{"Error in clsIniRW: Function DeleteData", "DeleteData"};
constexpr Procedure kGetAllKeysInSection{"Error in clsIniRW: Function GetAllKeysInSection",
                                         "GetAllKeysInSection"};

using Pairs = std::vector<std::array<std::string, 2>>;

const char* ptr(const Text& text) { return text ? text->c_str() : nullptr; }

// One read through GetPrivateProfileStringA. The first buffer has 255 characters;
// where the platform filled it (a value returns size-1, a list size-2) the read is
// repeated with a larger one, so values and lists come back whole.
struct ProfileRead {
    std::string buffer;
    DWORD count;
};

ProfileRead readProfile(const Text& section, const Text& key, const char* fallback,
                        const std::string& file, bool list) {
    constexpr DWORD kLargest = 64u << 20;
    for (DWORD size = 255;; size *= 2) {
        std::string buffer(size, '\0');
        const DWORD n = GetPrivateProfileStringA(ptr(section), ptr(key), fallback, buffer.data(),
                                                 size, file.c_str());
        captureLastError();
        if (n < (list ? size - 2 : size - 1) || size >= kLargest) return {std::move(buffer), n};
    }
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

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                          static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

// The profile functions ignore letter case and blanks around names: two names that
// differ only so name the same section or key.
bool sameProfileName(const std::string& a, const std::string& b) {
    return equalIgnoringCase(trimBlanks(a), trimBlanks(b));
}

// Puts a found entry at index n of a result that starts as the blank list or row;
// n is 16-bit, so more than 32,767 entries is an overflow.
template <class T>
void putFound(std::vector<T>& result, int16_t& n, T entry) {
    result.resize(static_cast<std::size_t>(n) + 1);
    result[static_cast<std::size_t>(n)] = std::move(entry);
    n = toInt16(n + 1LL);
}

bool isBlankRow(const Pairs& pairs) { return pairs.size() == 1 && pairs[0][0].empty(); }

}  // namespace

void clsIniRW::File_Name(const std::string& path) { file_ = CheckExistence(path); }

std::string clsIniRW::CheckExistence(const std::string& path) {
    std::string result = path;
    fileOpen_ = true;
    kCheckExistence.step([&] {
        if (!listsPlainFile(path)) return;
        // An existing file must be readable and writable as the profile functions use
        // it. Opening it so (sharing read and write with others) and closing it again
        // tests that without changing it.
        FileHandle probe(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        captureLastError();
        if (!probe) {
            result.clear();
            fileOpen_ = false;
        }
    });
    return result;
}

bool clsIniRW::WriteData(const Text& sectionName, const Text& keyName, const Text& keyValue) {
    return writeProfile(kWriteData, sectionName, keyName, keyValue);
}

bool clsIniRW::DeleteData(const Text& sectionName, const Text& keyName, const Text& keyValue) {
    return writeProfile(kDeleteData, sectionName, keyName, keyValue);
}

// One WritePrivateProfileStringA call; null texts reach it as null pointers.
bool clsIniRW::writeProfile(const Procedure& procedure, const Text& sectionName,
                            const Text& keyName, const Text& keyValue) {
    if (!fileOpen_) return false;
    bool result = false;
    procedure.step([&] {
        result = WritePrivateProfileStringA(ptr(sectionName), ptr(keyName), ptr(keyValue),
                                            file_.c_str()) != 0;
        captureLastError();
    });
    return result;
}

NameList clsIniRW::GetAllSections() {
    if (!fileOpen_) return std::nullopt;
    try {
        return splitNames(readProfile(std::nullopt, std::nullopt, nullptr, file_, true));
    } catch (...) {
        reportCurrent();
        return std::nullopt;
    }
}

NameList clsIniRW::GetAllKeysInSection(const Text& sectionName) {
    if (!fileOpen_) return std::nullopt;
    NameList result;
    kGetAllKeysInSection.step([&] {
        result = splitNames(readProfile(sectionName, std::nullopt, nullptr, file_, true));
    });
    return result;
}

PairTable clsIniRW::GetAllKeysValuesInSection(const Text& sectionName) {
    if (!fileOpen_) return std::nullopt;
    try {
        const NameList keys = GetAllKeysInSection(sectionName);
        if (!keys) raise(err::SubscriptOutOfRange);
        Pairs pairs;
        for (const std::string& key : *keys) {
            pairs.push_back({key, valueOf(readProfile(sectionName, key, "", file_, false))});
        }
        toInt16(pairs.size());
        return pairs;
    } catch (...) {
        reportCurrent();
        return std::nullopt;
    }
}

std::string clsIniRW::GetValue(const Text& sectionName, const Text& keyName) {
    if (!fileOpen_) return {};
    try {
        return valueOf(readProfile(sectionName, keyName, "", file_, false));
    } catch (...) {
        reportCurrent();
        return {};
    }
}

bool clsIniRW::FindKeyInSection(const Text& sectionName, const std::string& keyName) {
    if (!fileOpen_) return false;
    try {
        const NameList keys = GetAllKeysInSection(sectionName);
        if (!keys) raise(err::SubscriptOutOfRange);
        for (const std::string& key : *keys) {
            if (equalIgnoringCase(key, keyName)) return true;
        }
        return false;
    } catch (...) {
        reportCurrent();
        return false;
    }
}

NameList clsIniRW::FindKeyInFile(const std::string& keyName) {
    if (!fileOpen_) return std::nullopt;
    try {
        std::vector<std::string> result(1);
        int16_t n = 0;
        const NameList sections = GetAllSections();
        if (!sections) raise(err::SubscriptOutOfRange);
        if ((*sections)[0].empty()) return result;
        for (const std::string& section : *sections) {
            if (FindKeyInSection(section, keyName)) putFound(result, n, section);
        }
        return result;
    } catch (...) {
        reportCurrent();
        return std::nullopt;
    }
}

NameList clsIniRW::FindValueInSection(const Text& sectionName, const std::string& keyValue) {
    if (!fileOpen_) return std::nullopt;
    try {
        std::vector<std::string> result(1);
        int16_t n = 0;
        const PairTable pairs = GetAllKeysValuesInSection(sectionName);
        if (!pairs) raise(err::SubscriptOutOfRange);
        for (const auto& [key, value] : *pairs) {
            if (equalIgnoringCase(value, keyValue)) putFound(result, n, key);
        }
        return result;
    } catch (...) {
        reportCurrent();
        return std::nullopt;
    }
}

PairTable clsIniRW::FindValueInFile(const std::string& keyValue) {
    if (!fileOpen_) return std::nullopt;
    Pairs table{{"", ""}};
    int16_t n = 0;
    const NameList sections = GetAllSections();
    if (!sections) raise(err::SubscriptOutOfRange);
    for (const std::string& section : *sections) {
        const NameList found = FindValueInSection(section, keyValue);
        if (!found) raise(err::SubscriptOutOfRange);
        if ((*found)[0].empty()) continue;
        for (const std::string& key : *found) {
            putFound(table, n, std::array<std::string, 2>{section, key});
        }
    }
    return table;
}

bool clsIniRW::writeAll(const std::string& section, const Pairs& pairs) {
    bool allWritten = true;
    for (const auto& [key, value] : pairs) {
        allWritten = WriteData(section, key, value) && allWritten;
    }
    return allWritten;
}

// A new spelling of the same name needs the old section gone first; it is written
// back if the new one fails.
bool clsIniRW::renameSectionInPlace(const std::string& sectionName,
                                    const std::string& newSectionName, const Pairs& pairs) {
    if (!DeleteData(sectionName, std::nullopt, std::nullopt)) return false;
    const bool empty = isBlankRow(pairs);
    const std::string helper = "dummy";
    const bool written = empty ? WriteData(newSectionName, helper, "") &&
                                     WriteData(newSectionName, helper, std::nullopt)
                               : writeAll(newSectionName, pairs);
    if (written) return true;
    DeleteData(newSectionName, std::nullopt, std::nullopt);
    if (empty) {
        WriteData(sectionName, helper, "");
        WriteData(sectionName, helper, std::nullopt);
    } else {
        writeAll(sectionName, pairs);
    }
    return false;
}

bool clsIniRW::RenameSection(const std::string& sectionName, const std::string& newSectionName) {
    if (!fileOpen_) return false;
    try {
        const PairTable pairs = GetAllKeysValuesInSection(sectionName);
        if (!pairs) raise(err::SubscriptOutOfRange);
        if (sameProfileName(sectionName, newSectionName)) {
            return renameSectionInPlace(sectionName, newSectionName, *pairs);
        }
        // Every key goes to the new name first; only then is the old section removed.
        bool written = false;
        if (isBlankRow(*pairs)) {
            written = WriteData(newSectionName, "dummy", "") &&
                      WriteData(newSectionName, "dummy", std::nullopt);
        } else {
            written = writeAll(newSectionName, *pairs);
        }
        if (!written) return false;
        return DeleteData(sectionName, std::nullopt, std::nullopt);
    } catch (...) {
        reportCurrent();
        return false;
    }
}

bool clsIniRW::RenameKey(const std::string& sectionName, const std::string& keyName,
                         const std::string& newKeyName) {
    if (!fileOpen_) return false;
    try {
        const std::string value = GetValue(sectionName, keyName);
        if (sameProfileName(keyName, newKeyName)) {
            if (!DeleteData(sectionName, keyName, std::nullopt)) return false;
            if (WriteData(sectionName, newKeyName, value)) return true;
            WriteData(sectionName, keyName, value);  // put the old key back
            return false;
        }
        if (!WriteData(sectionName, newKeyName, value)) return false;
        return DeleteData(sectionName, keyName, std::nullopt);
    } catch (...) {
        reportCurrent();
        return false;
    }
}

void clsIniRW::reportCurrent() {
    const Failure failure = currentFailure();
    // A number beyond 16 bits makes the report itself fail; that passes to the caller.
    ReportError(toInt16(static_cast<long long>(failure.number)), failure.description, "");
}

void clsIniRW::ReportError(int16_t lErrorNum, const std::string& sErrorText,
                           const std::string& sErrorSource) {
    std::string text = "Error Number: " + std::to_string(lErrorNum) + "\r\n" + sErrorText;
    if (!sErrorSource.empty()) text += "\r\n\r\n" + sErrorSource;
    seams().messageBox(nullptr, widenAnsi(text), L"Ini RW Class", MB_OK | MB_ICONERROR);
}

}  // namespace fk
