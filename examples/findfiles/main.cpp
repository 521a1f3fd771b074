// findfiles: searches a folder tree with cfindfile, printing every match the moment
// it is found and the count at the end; --max N stops the search after N matches.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "examples/common/tool_cli.h"
#include "files/cfindfile.h"

namespace {

namespace cli = fk::cli;

const char* const kUsage =
    "usage: findfiles FOLDER PATTERN [--max N]\r\n"
    "  prints every name below FOLDER that matches PATTERN (wildcards * and ?), then the\r\n"
    "  count; --max N stops after N matches (a whole number from 1 to 2147483647)\r\n"
    "  e.g. findfiles C:\\Daten *.txt --max 10\r\n"
    "exit code: 0 searched, 1 FOLDER or PATTERN refused, 2 wrong command line\r\n";

cli::Tool tool{.name = "findfiles", .usage = kUsage};

// Prints each name as it is found. The class finds names in the ANSI code page: a
// character the code page lacks turns into a look-alike, which names no file (or,
// by chance, another one) and is told on standard error.
class Printer : public fk::cfindfileEvents {
public:
    explicit Printer(long max) : max_(max) {}
    void FoundFile(std::string& fileName, bool& Cancel) override {
        const std::string shown = cli::fromAnsi(fileName);
        if (!tool.out(shown + "\r\n")) Cancel = true;
        const cli::PathKind found = cli::kindOf(fileName);
        if (found.kind == cli::PathKind::Missing) {
            tool.report(cli::quoted(shown) + " cannot be shown in code page " +
                        std::to_string(GetACP()) +
                        "; its real name holds a character the code page does not have");
        } else if (found.kind == cli::PathKind::Unusable) {
            tool.report("cannot look at " + cli::quoted(shown) + ": " + found.reason);
        }
        if (max_ > 0 && ++found_ >= max_) Cancel = true;
    }
    void EndFindFiles(int32_t& FileCount) override {
        tool.out(std::to_string(FileCount) + " file(s) found\r\n");
    }

private:
    long max_;
    long found_ = 0;
};

// What is wrong with the command line FOLDER PATTERN [--max N], or ""; `max` gets N.
std::string commandLineFault(const std::vector<std::string>& a, long& max) {
    if (a.size() < 2) return a.empty() ? "FOLDER and PATTERN are missing" : "PATTERN is missing";
    if (a.size() > 2 && a[2] != "--max") return "unknown argument " + cli::quoted(a[2]);
    if (a.size() == 3) return "--max needs a number";
    if (a.size() > 4) return "unexpected argument " + cli::quoted(a[4]);
    max = a.size() == 4 ? cli::wholeNumber(a[3], INT32_MAX) : 0;
    if (a.size() == 4 && max == 0) {
        return "--max takes a whole number from 1 to 2147483647, not " + cli::quoted(a[3]);
    }
    return "";
}

// Why FOLDER (in the ANSI code page) cannot be searched, or "" when it can.
std::string folderRefusal(const std::string& folder) {
    if (folder.empty()) return "FOLDER is empty";
    const std::string shown = cli::quoted(cli::fromAnsi(folder));
    const cli::PathKind path = cli::kindOf(folder);
    switch (path.kind) {
        case cli::PathKind::Missing:
            return "folder " + shown + " does not exist";
        case cli::PathKind::Unusable:
            return "cannot use folder " + shown + ": " + path.reason;
        case cli::PathKind::File:
            return shown + " is not a folder";
        case cli::PathKind::Folder:
            break;
    }
    return "";
}

// "." and ".." name folders, not files: the search would print paths that do not exist.
std::string patternRefusal(const std::string& pattern) {
    if (pattern.empty()) return "PATTERN is empty";
    if (pattern.find_first_of("\\/") != pattern.npos || pattern == "." || pattern == "..") {
        return "PATTERN " + cli::quoted(pattern) + " must be a name pattern without a folder";
    }
    return "";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::string> a = cli::arguments(argc, argv);
    if (cli::asksForHelp(a)) return tool.help();
    long max = 0;
    if (const std::string fault = commandLineFault(a, max); !fault.empty()) {
        return tool.wrongCommandLine(fault);
    }
    std::string folder, pattern;
    if (const std::string r =
            cli::firstRefusal({cli::ansiRefusal(a[0], folder), cli::ansiRefusal(a[1], pattern)});
        !r.empty()) {
        return tool.fail(r);
    }
    if (const std::string r = cli::firstRefusal({folderRefusal(folder), patternRefusal(a[1])});
        !r.empty()) {
        return tool.fail(r);
    }
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';

    fk::cfindfile finder;
    finder.Path(folder);
    finder.FileSpec(pattern);
    Printer printer(max);
    finder.addListener(printer);
    std::vector<std::string> found;
    return tool.finish(finder.FindAll(found) ? 0 : tool.fail("the search did not run"));
}
