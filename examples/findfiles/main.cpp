// findfiles: searches a folder tree with cfindfile, printing every match the moment
// it is found and the count at the end; --max N stops the search after N matches.
#include <cstdint>
#include <string>
#include <vector>

#include "errors/win32_error.h"
#include "files/cfindfile.h"
#include "util/console_out.h"
#include "util/encoding.h"

namespace {

const wchar_t* const kUsage =
    L"usage: findfiles FOLDER PATTERN [--max N]\r\n"
    L"  prints every name below FOLDER that matches PATTERN (wildcards * and ?), then the\r\n"
    L"  count; --max N stops after N matches (a whole number from 1 to 2147483647)\r\n"
    L"  e.g. findfiles C:\\Daten *.txt --max 10\r\n"
    L"exit code: 0 searched, 1 FOLDER or PATTERN refused, 2 wrong command line\r\n";

void out(const std::wstring& text) {
    fk::writeConsole(STD_OUTPUT_HANDLE, text);
}

int fail(const std::wstring& text) {
    fk::writeConsole(STD_ERROR_HANDLE, L"findfiles: " + text + L"\r\n");
    return 1;
}

int wrongCommandLine(const std::wstring& text) {
    fk::writeConsole(STD_ERROR_HANDLE, L"findfiles: " + text + L"\r\n" + kUsage);
    return 2;
}

std::wstring quoted(const std::wstring& text) {
    return L"'" + text + L"'";
}

class Printer : public fk::cfindfileEvents {
public:
    explicit Printer(long max) : max_(max) {}
    void FoundFile(std::string& fileName, bool& Cancel) override {
        out(fk::widenAnsi(fileName) + L"\r\n");
        if (max_ > 0 && ++found_ >= max_) Cancel = true;
    }
    void EndFindFiles(int32_t& FileCount) override {
        out(std::to_wstring(FileCount) + L" file(s) found\r\n");
    }

private:
    long max_;
    long found_ = 0;
};

// N of --max: a whole number from 1 to 2,147,483,647 written in digits only, else 0.
long maxOf(const std::wstring& text) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of(L"0123456789") != text.npos) {
        return 0;
    }
    const long long n = std::stoll(text);
    return n <= INT32_MAX ? static_cast<long>(n) : 0;
}

// Why FOLDER cannot be searched, or "" when it can.
std::wstring folderRefusal(const std::wstring& folder) {
    if (folder.empty()) return L"FOLDER is empty";
    const DWORD attributes = GetFileAttributesA(fk::narrowAnsi(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
            return L"folder " + quoted(folder) + L" does not exist";
        }
        return L"cannot use folder " + quoted(folder) + L": " + fk::systemMessage(code);
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return quoted(folder) + L" is not a folder";
    return L"";
}

std::wstring patternRefusal(const std::wstring& pattern) {
    if (pattern.empty()) return L"PATTERN is empty";
    if (pattern.find_first_of(L"\\/") != pattern.npos) {
        return L"PATTERN " + quoted(pattern) + L" must be a name pattern without a folder";
    }
    return L"";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> a(argv + 1, argv + argc);
    if (!a.empty() && (a[0] == L"--help" || a[0] == L"-h" || a[0] == L"/?")) {
        out(kUsage);
        return 0;
    }
    if (a.size() < 2)
        return wrongCommandLine(a.empty() ? L"FOLDER and PATTERN are missing"
                                          : L"PATTERN is missing");
    if (a.size() > 2 && a[2] != L"--max")
        return wrongCommandLine(L"unknown argument " + quoted(a[2]));
    if (a.size() == 3) return wrongCommandLine(L"--max needs a number");
    if (a.size() > 4) return wrongCommandLine(L"unexpected argument " + quoted(a[4]));
    const long max = a.size() == 4 ? maxOf(a[3]) : 0;
    if (a.size() == 4 && max == 0) {
        return wrongCommandLine(L"--max takes a whole number from 1 to 2147483647, not " +
                                quoted(a[3]));
    }
    // The class works in the ANSI code page: a name it cannot hold would be another name.
    for (const std::wstring& argument : {a[0], a[1]}) {
        if (fk::widenAnsi(fk::narrowAnsi(argument)) != argument) {
            return fail(quoted(argument) + L" holds a character that code page " +
                        std::to_wstring(GetACP()) + L" cannot hold");
        }
    }
    for (const std::wstring& refusal : {folderRefusal(a[0]), patternRefusal(a[1])}) {
        if (!refusal.empty()) return fail(refusal);
    }
    std::string folder = fk::narrowAnsi(a[0]);
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';

    fk::cfindfile finder;
    finder.Path(folder);
    finder.FileSpec(fk::narrowAnsi(a[1]));
    Printer printer(max);
    finder.addListener(printer);
    std::vector<std::string> found;
    return finder.FindAll(found) ? 0 : fail(L"the search did not run");
}
