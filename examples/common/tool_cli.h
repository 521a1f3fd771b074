// What the command-line tools in examples/ share: the request for help, the messages
// and exit codes of failures (1 a refused input or output that could not be written,
// 2 a wrong command line), whole numbers and, on Windows, texts for the classes' ANSI
// functions. Texts are UTF-8. Needs no Windows but for the part marked so.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace fk::cli {

// One tool's streams. Its name begins every message on standard error. On Windows a
// console gets UTF-16, a file or a pipe UTF-8 or (unless utf8Redirected) the ANSI code
// page; the native build writes UTF-8.
struct Tool {
    std::string_view name;
    std::string_view usage;             // with the tool's line ends
    std::string_view newline = "\r\n";  // ends every message
    bool utf8Redirected = false;
    bool failed = false;             // a failure was reported: the run ends with exit code 1
    bool outputLost = false;         // standard output could not be written; nothing more is tried
    std::string_view lossNote = "";  // what a lost output adds: a change was made

    // Text on standard output; false (reported once) when it could not be written.
    bool out(std::string_view text);
    // "name: what" on standard error; the run has failed.
    void report(std::string_view what);
    int fail(std::string_view what);              // report(what); exit code 1
    int wrongCommandLine(std::string_view what);  // what, then the usage; exit code 2
    int help();                                   // the usage on standard output; exit code 0
    // `code`, or 1 when a failure was reported on the way.
    int finish(int code) const { return code == 0 && failed ? 1 : code; }
};

// The first argument asks for the usage: --help, -h or /?.
bool asksForHelp(const std::vector<std::string>& args);

std::string quoted(std::string_view text);

// The first refusal that is not "", or "".
std::string firstRefusal(std::initializer_list<std::string> refusals);

// A whole number from 1 to `most` written in digits only ("+1", " 1" and "1x" are not),
// else 0.
long wholeNumber(std::string_view text, long most);

std::vector<std::string> arguments(int argc, char** argv);

#ifdef _WIN32
std::vector<std::string> arguments(int argc, wchar_t** argv);

// Text in the ANSI code page, as the classes give it, in UTF-8.
std::string fromAnsi(std::string_view ansi);

// Why `utf8` cannot be given to the classes, or "" when it can; `ansi` then holds it in
// the ANSI code page. A character the code page lacks would turn into a look-alike ("Ω"
// into "O") and so name another file or text.
std::string ansiRefusal(std::string_view utf8, std::string& ansi);

// The system's text for an error code.
std::string systemReason(uint32_t code);

// What a path in the ANSI code page names; `reason` is the system's when it cannot be
// looked at.
struct PathKind {
    enum Kind { Missing, File, Folder, Unusable } kind;
    std::string reason;
};
PathKind kindOf(const std::string& ansiPath);
#endif

}  // namespace fk::cli
