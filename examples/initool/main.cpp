// initool: the INI file class from the command line. One result per line; a failure
// says what was wrong on standard error and gives a non-zero exit code.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "errors/epilogue.h"
#include "errors/win32_error.h"
#include "util/clsIniRW.h"
#include "util/console_out.h"
#include "util/encoding.h"
#include "util/seams.h"
#include "util/text.h"

namespace {

const wchar_t* const kUsage =
    L"usage: initool FILE COMMAND [ARGS]\r\n"
    L"  sections                        list the sections\r\n"
    L"  keys SECTION                    list the keys of a section as key=value\r\n"
    L"  get SECTION KEY                 print a value (empty when missing)\r\n"
    L"  set SECTION KEY VALUE           write a value\r\n"
    L"  delete SECTION KEY              delete a key\r\n"
    L"  delete-section SECTION          delete a section\r\n"
    L"  find-key KEY                    sections that hold the key\r\n"
    L"  find-value VALUE [SECTION]      keys holding the value (SECTION/KEY without SECTION)\r\n"
    L"  rename-section SECTION NEW      give a section a new name\r\n"
    L"  rename-key SECTION KEY NEW      give a key a new name\r\n"
    L"exit code: 0 done, 1 failed (the reason on standard error), 2 wrong command line\r\n";

// The commands and their arguments as the usage names them; "[X]" may be left out.
struct Command {
    std::wstring_view name;
    std::wstring_view arguments;
};
constexpr Command kCommands[] = {{L"sections", L""},
                                 {L"keys", L"SECTION"},
                                 {L"get", L"SECTION KEY"},
                                 {L"set", L"SECTION KEY VALUE"},
                                 {L"delete", L"SECTION KEY"},
                                 {L"delete-section", L"SECTION"},
                                 {L"find-key", L"KEY"},
                                 {L"find-value", L"VALUE [SECTION]"},
                                 {L"rename-section", L"SECTION NEW"},
                                 {L"rename-key", L"SECTION KEY NEW"}};

bool g_failed = false;

void complain(const std::wstring& text) {
    fk::writeConsole(STD_ERROR_HANDLE, L"initool: " + text + L"\r\n");
    g_failed = true;
}

int fail(const std::wstring& text) {
    complain(text);
    return 1;
}

int wrongCommandLine(const std::wstring& text) {
    fk::writeConsole(STD_ERROR_HANDLE, L"initool: " + text + L"\r\n" + kUsage);
    return 2;
}

std::wstring ansi(const std::string& text) {
    return fk::widenAnsi(text);
}
std::wstring quoted(const std::string& text) {
    return L"'" + ansi(text) + L"'";
}

void print(const std::string& line) {
    fk::writeConsole(STD_OUTPUT_HANDLE, ansi(line) + L"\r\n");
}

void printLines(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        if (!line.empty()) print(line);
    }
}

// The count of arguments a command takes is right.
bool takes(const Command& command, std::size_t count) {
    const auto words = std::count(command.arguments.begin(), command.arguments.end(), L' ') +
                       (command.arguments.empty() ? 0 : 1);
    const bool optional = command.arguments.ends_with(L"]");
    return static_cast<std::size_t>(words) == count ||
           (optional && static_cast<std::size_t>(words) == count + 1);
}

// Why the file cannot hold a text as given, or "" when it can.
std::wstring refusal(const std::string& text, fk::TextRole role) {
    const std::wstring what = role == fk::TextRole::Section ? L"section name "
                              : role == fk::TextRole::Key   ? L"key name "
                                                            : L"value ";
    switch (fk::faultIn(text, role)) {
    case fk::TextFault::BlankName: return L"the " + what + L"is empty or only blanks";
    case fk::TextFault::LineBreak: return L"the " + what + L"holds a line break";
    case fk::TextFault::BracketInSection: return what + quoted(text) + L" holds ']'";
    case fk::TextFault::EqualsInKey: return what + quoted(text) + L" holds '='";
    case fk::TextFault::None: break;
    }
    return L"";
}

bool hasSection(fk::clsIniRW& ini, const std::string& section) {
    const fk::NameList sections = ini.GetAllSections();
    return sections && std::any_of(sections->begin(), sections->end(), [&](const auto& s) {
               return !s.empty() && fk::sameProfileName(s, section);
           });
}

// Why a rename cannot be done, or "" when it can: the old name must be there, the new
// one (unless it is the old one in another spelling) must not.
std::wstring renameRefusal(fk::clsIniRW& ini, const std::vector<std::string>& a, bool section) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto role = section || i == 0 ? fk::TextRole::Section : fk::TextRole::Key;
        if (std::wstring why = refusal(a[i], role); !why.empty()) return why;
    }
    const std::wstring in = L" in section [" + ansi(a[0]) + L"]";
    if (!hasSection(ini, a[0])) return L"there is no section [" + ansi(a[0]) + L"]";
    if (section) {
        if (!fk::sameProfileName(a[0], a[1]) && hasSection(ini, a[1])) {
            return L"section [" + ansi(a[1]) + L"] exists already";
        }
    } else if (!ini.FindKeyInSection(a[0], a[1])) {
        return L"there is no key " + quoted(a[1]) + in;
    } else if (!fk::sameProfileName(a[1], a[2]) && ini.FindKeyInSection(a[0], a[2])) {
        return L"key " + quoted(a[2]) + L" exists already" + in;
    }
    return L"";
}

// A write the class answered with false: the reason is the system's.
int writeFailed(const fk::clsIniRW& ini, const std::wstring& what) {
    const uint32_t code = fk::lastDllError();
    return fail(L"cannot " + what + L" of " + quoted(ini.File()) +
                (code != 0 ? L": " + fk::systemMessage(code) : L""));
}

int run(fk::clsIniRW& ini, const std::wstring& command, const std::vector<std::string>& a) {
    if (command == L"sections") {
        if (auto list = ini.GetAllSections()) printLines(*list);
    } else if (command == L"keys") {
        const fk::KeyValueTable rows = ini.GetAllKeysValuesInSection(a[0]);
        if (rows && !(*rows)[0][0].empty()) {
            for (const auto& [key, value] : *rows) print(key + "=" + value);
        }
    } else if (command == L"get") {
        const std::string value = ini.GetValue(a[0], a[1]);
        if (!g_failed) print(value);
    } else if (command == L"set" || command == L"delete") {
        const bool set = command == L"set";
        for (const std::wstring& r :
             {refusal(a[0], fk::TextRole::Section), refusal(a[1], fk::TextRole::Key),
              set ? refusal(a[2], fk::TextRole::Value) : L""}) {
            if (!r.empty()) return fail(r);
        }
        const bool done = set ? ini.WriteData(a[0], a[1], a[2]) : ini.DeleteData(a[0], a[1]);
        if (!done) {
            return writeFailed(ini, (set ? L"write key " : L"delete key ") + quoted(a[1]) +
                                        L" in section [" + ansi(a[0]) + L"]");
        }
    } else if (command == L"delete-section") {
        if (std::wstring r = refusal(a[0], fk::TextRole::Section); !r.empty()) return fail(r);
        if (!ini.DeleteData(a[0], std::nullopt)) {
            return writeFailed(ini, L"delete section [" + ansi(a[0]) + L"]");
        }
    } else if (command == L"find-key") {
        if (auto list = ini.FindKeyInFile(a[0])) printLines(*list);
    } else if (command == L"find-value" && a.size() == 2) {
        if (auto list = ini.FindValueInSection(a[1], a[0])) printLines(*list);
    } else if (command == L"find-value") {
        const fk::SectionKeyTable rows = ini.FindValueInFile(a[0]);
        if (rows && !(*rows)[0][0].empty()) {
            for (const auto& [section, key] : *rows) print(section + "/" + key);
        }
    } else if (command == L"rename-section") {
        if (const std::wstring r = renameRefusal(ini, a, true); !r.empty()) return fail(r);
        if (!ini.RenameSection(a[0], a[1])) {
            return writeFailed(ini, L"rename section [" + ansi(a[0]) + L"]");
        }
    } else if (command == L"rename-key") {
        if (const std::wstring r = renameRefusal(ini, a, false); !r.empty()) return fail(r);
        if (!ini.RenameKey(a[0], a[1], a[2])) {
            return writeFailed(
                ini, L"rename key " + quoted(a[1]) + L" in section [" + ansi(a[0]) + L"]");
        }
    }
    return g_failed ? 1 : 0;
}

// Why FILE cannot be used, or "" when it can: only "set" makes a file that is missing.
std::wstring fileRefusal(const std::string& file, const std::wstring& command) {
    if (file.empty()) return L"FILE is empty";
    const DWORD attributes = GetFileAttributesA(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) {
            return L"cannot use " + quoted(file) + L": " + fk::systemMessage(code);
        }
        return command == L"set" ? L"" : L"file " + quoted(file) + L" does not exist";
    }
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? quoted(file) + L" is a folder" : L"";
}

// The class's reports, on one line: its message box breaks lines with CR LF.
std::wstring oneLine(std::wstring text) {
    for (auto at = text.find(L"\r\n"); at != text.npos; at = text.find(L"\r\n", at)) {
        text.replace(at, text.compare(at, 4, L"\r\n\r\n") == 0 ? 4 : 2, L": ");
    }
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == L"--help" || args[0] == L"-h" || args[0] == L"/?")) {
        fk::writeConsole(STD_OUTPUT_HANDLE, kUsage);
        return 0;
    }
    if (args.size() < 2) {
        return wrongCommandLine(args.empty() ? L"FILE and COMMAND are missing"
                                             : L"COMMAND is missing");
    }
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const Command& c) { return c.name == args[1]; });
    if (command == std::end(kCommands)) {
        return wrongCommandLine(L"unknown command '" + args[1] + L"'");
    }
    if (!takes(*command, args.size() - 2)) {
        return wrongCommandLine(
            std::wstring(command->name) + L" takes " +
            (command->arguments.empty() ? L"no arguments" : std::wstring(command->arguments)));
    }
    // The class works in the ANSI code page: a text it cannot hold would be another text.
    std::vector<std::string> a;
    for (const std::wstring& argument : args) {
        a.push_back(fk::narrowAnsi(argument));
        if (fk::widenAnsi(a.back()) != argument) {
            return fail(L"'" + argument + L"' holds a character that code page " +
                        std::to_wstring(GetACP()) + L" cannot hold");
        }
    }
    if (const std::wstring r = fileRefusal(a[0], args[1]); !r.empty()) return fail(r);
    // Failures are written to standard error instead of being shown in boxes.
    fk::setReportHandler([](const fk::Failure& f, std::string_view label, std::string_view) {
        complain(ansi(std::string(label)) + L": Error " + std::to_wstring(f.number) + L": " +
                 ansi(f.description));
    });
    fk::seams().messageBox = [](HWND, const std::wstring& text, const std::wstring&, UINT) {
        complain(oneLine(text));
        return IDOK;
    };
    fk::clsIniRW ini;
    ini.File_Name(a[0]);
    if (!ini.FileOpen()) {
        return fail(L"cannot use " + quoted(a[0]) + L": " + fk::systemMessage(fk::lastDllError()));
    }
    try {
        return run(ini, args[1], std::vector<std::string>(a.begin() + 2, a.end()));
    } catch (const fk::RuntimeError& e) {
        return fail(L"Error " + std::to_wstring(e.number()) + L": " + ansi(e.description()));
    }
}
