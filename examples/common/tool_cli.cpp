#include "examples/common/tool_cli.h"

#include <cstdio>

#ifdef _WIN32
#include "base/encoding.h"
#include "base/win32_error.h"
#include "util/console_out.h"
#endif

namespace fk::cli {
namespace {

// False when the text could not be written, whole.
bool write(bool error, std::string_view text, [[maybe_unused]] bool utf8Redirected) {
#ifdef _WIN32
    return writeConsole(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE, widenUtf8(text),
                        utf8Redirected ? Redirected::Utf8 : Redirected::Ansi);
#else
    std::FILE* stream = error ? stderr : stdout;
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size() &&
           std::fflush(stream) == 0;
#endif
}

}  // namespace

bool Tool::out(std::string_view text) {
    if (outputLost) return false;
    if (write(false, text, utf8Redirected)) return true;
    outputLost = true;
    report("cannot write to standard output" + std::string(lossNote));
    return false;
}

void Tool::report(std::string_view what) {
    write(true, std::string(name) + ": " + std::string(what) + std::string(newline),
          utf8Redirected);
    failed = true;
}

int Tool::fail(std::string_view what) {
    report(what);
    return 1;
}

int Tool::wrongCommandLine(std::string_view what) {
    write(true,
          std::string(name) + ": " + std::string(what) + std::string(newline) + std::string(usage),
          utf8Redirected);
    return 2;
}

int Tool::help() {
    out(usage);
    return finish(0);
}

bool asksForHelp(const std::vector<std::string>& args) {
    return !args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "/?");
}

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

std::string firstRefusal(std::initializer_list<std::string> refusals) {
    for (const std::string& refusal : refusals) {
        if (!refusal.empty()) return refusal;
    }
    return "";
}

long wholeNumber(std::string_view text, long most) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != text.npos) {
        return 0;
    }
    const long long n = std::stoll(std::string(text));
    return n >= 1 && n <= most ? static_cast<long>(n) : 0;
}

std::vector<std::string> arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

#ifdef _WIN32
std::vector<std::string> arguments(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(narrowUtf8(argv[i]));
    return args;
}

std::string fromAnsi(std::string_view ansi) {
    return narrowUtf8(widenAnsi(ansi));
}

std::string ansiRefusal(std::string_view utf8, std::string& ansi) {
    const std::wstring wide = widenUtf8(utf8);
    ansi = narrowAnsi(wide);
    if (widenAnsi(ansi) == wide) return "";
    return quoted(utf8) + " holds a character that code page " + std::to_string(GetACP()) +
           " cannot hold";
}

std::string systemReason(uint32_t code) {
    return narrowUtf8(systemMessage(code));
}

PathKind kindOf(const std::string& ansiPath) {
    const DWORD attributes = GetFileAttributesA(ansiPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return {attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::Folder : PathKind::File, ""};
    }
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
        code == ERROR_INVALID_NAME) {
        return {PathKind::Missing, ""};
    }
    return {PathKind::Unusable, systemReason(code)};
}
#endif

}  // namespace fk::cli
