// initool: the INI file class from the command line. One result per line; a failure
// says what was wrong on standard error and gives a non-zero exit code.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/encoding.h"
#include "base/epilogue.h"
#include "examples/common/tool_cli.h"
#include "util/clsIniRW.h"

namespace {

namespace cli = fk::cli;

using Ini = fk::clsIniRW;
using Args = std::vector<std::string>;  // a command's arguments, in the ANSI code page

std::string usage();  // made from the table of commands below
const std::string kUsage = usage();
cli::Tool tool{.name = "initool", .usage = kUsage};

// Names from the class and the arguments, in the ANSI code page, for messages.
std::string shown(const std::string& ansi) {
    return cli::fromAnsi(ansi);
}
std::string quoted(const std::string& ansi) {
    return cli::quoted(shown(ansi));
}
std::string inSection(const std::string& section) {
    return " in section [" + shown(section) + "]";
}

void print(const std::string& line) {
    tool.out(shown(line) + "\r\n");
}

void printLines(const fk::NameList& lines) {
    if (!lines) return;
    for (const auto& line : *lines) {
        if (!line.empty()) print(line);
    }
}

// Why the file cannot hold a text as given, or "" when it can.
std::string refusal(const std::string& text, fk::TextRole role) {
    const std::string what = role == fk::TextRole::Section ? "section name "
                             : role == fk::TextRole::Key   ? "key name "
                                                           : "value ";
    switch (fk::faultIn(text, role)) {
        case fk::TextFault::BlankName:
            return "the " + what + "is empty or only blanks";
        case fk::TextFault::LineBreak:
            return "the " + what + "holds a line break";
        case fk::TextFault::BracketInSection:
            return what + quoted(text) + " holds ']'";
        case fk::TextFault::EqualsInKey:
            return what + quoted(text) + " holds '='";
        case fk::TextFault::CommentKey:
            return what + quoted(text) + " begins with ';' (a comment line)";
        case fk::TextFault::SectionKey:
            return what + quoted(text) + " begins with '[' (a section line)";
        case fk::TextFault::None:
            break;
    }
    return "";
}

bool hasSection(Ini& ini, const std::string& section) {
    const fk::NameList sections = ini.GetAllSections();
    return sections && fk::namesIn(*sections, section);
}

// Why a rename cannot be done, or "" when it can: the old name must be there, the new
// one (unless it is the old one in another spelling) must not.
std::string renameRefusal(Ini& ini, const Args& a, bool section) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto role = section || i == 0 ? fk::TextRole::Section : fk::TextRole::Key;
        if (std::string why = refusal(a[i], role); !why.empty()) return why;
    }
    if (!hasSection(ini, a[0])) return "there is no section [" + shown(a[0]) + "]";
    if (section) {
        if (!fk::sameProfileName(a[0], a[1]) && hasSection(ini, a[1])) {
            return "section [" + shown(a[1]) + "] exists already";
        }
        if (ini.HoldsUnnamedKey(a[0])) {
            return "section [" + shown(a[0]) +
                   "] holds a key line without a name (\"=...\"), "
                   "whose keys cannot all be listed";
        }
    } else if (!ini.FindKeyInSection(a[0], a[1])) {
        return "there is no key " + quoted(a[1]) + inSection(a[0]);
    } else if (!fk::sameProfileName(a[1], a[2]) && ini.FindKeyInSection(a[0], a[2])) {
        return "key " + quoted(a[2]) + " exists already" + inSection(a[0]);
    }
    return "";
}

// A write the class answered with false: the reason is the system's.
int writeFailed(const Ini& ini, const std::string& what) {
    const uint32_t code = fk::lastDllError();
    return tool.fail("cannot " + what + " of " + quoted(ini.File()) +
                     (code != 0 ? ": " + cli::systemReason(code) : ""));
}

// The commands, each with the arguments the usage names for it.

int sections(Ini& ini, const Args&) {
    printLines(ini.GetAllSections());
    return 0;
}

int keys(Ini& ini, const Args& a) {
    const fk::KeyValueTable rows = ini.GetAllKeysValuesInSection(a[0]);
    if (rows && !(*rows)[0][0].empty()) {
        for (const auto& [key, value] : *rows) print(key + "=" + value);
    }
    return 0;
}

int get(Ini& ini, const Args& a) {
    const std::string value = ini.GetValue(a[0], a[1]);
    if (!tool.failed) print(value);
    return 0;
}

int set(Ini& ini, const Args& a) {
    if (const std::string r = cli::firstRefusal({refusal(a[0], fk::TextRole::Section),
                                                 refusal(a[1], fk::TextRole::Key),
                                                 refusal(a[2], fk::TextRole::Value)});
        !r.empty()) {
        return tool.fail(r);
    }
    if (ini.WriteData(a[0], a[1], a[2])) return 0;
    return writeFailed(ini, "write key " + quoted(a[1]) + inSection(a[0]));
}

int deleteKey(Ini& ini, const Args& a) {
    if (const std::string r = cli::firstRefusal(
            {refusal(a[0], fk::TextRole::Section), refusal(a[1], fk::TextRole::Key)});
        !r.empty()) {
        return tool.fail(r);
    }
    if (ini.DeleteData(a[0], a[1])) return 0;
    return writeFailed(ini, "delete key " + quoted(a[1]) + inSection(a[0]));
}

int deleteSection(Ini& ini, const Args& a) {
    if (std::string r = refusal(a[0], fk::TextRole::Section); !r.empty()) return tool.fail(r);
    if (ini.DeleteData(a[0], std::nullopt)) return 0;
    return writeFailed(ini, "delete section [" + shown(a[0]) + "]");
}

int findKey(Ini& ini, const Args& a) {
    printLines(ini.FindKeyInFile(a[0]));
    return 0;
}

int findValue(Ini& ini, const Args& a) {
    if (a.size() == 2) {
        printLines(ini.FindValueInSection(a[1], a[0]));
        return 0;
    }
    const fk::SectionKeyTable rows = ini.FindValueInFile(a[0]);
    if (rows && !(*rows)[0][0].empty()) {
        for (const auto& [section, key] : *rows) print(section + "/" + key);
    }
    return 0;
}

int renameSection(Ini& ini, const Args& a) {
    if (const std::string r = renameRefusal(ini, a, true); !r.empty()) return tool.fail(r);
    if (ini.RenameSection(a[0], a[1])) return 0;
    return writeFailed(ini, "rename section [" + shown(a[0]) + "]");
}

int renameKey(Ini& ini, const Args& a) {
    if (const std::string r = renameRefusal(ini, a, false); !r.empty()) return tool.fail(r);
    if (ini.RenameKey(a[0], a[1], a[2])) return 0;
    return writeFailed(ini, "rename key " + quoted(a[1]) + inSection(a[0]));
}

struct Command {
    std::string_view name;
    std::string_view arguments;  // as the usage names them; "[X]" may be left out
    std::string_view purpose;
    int (*run)(Ini&, const Args&);
};
constexpr Command kCommands[] = {
    {"sections", "", "list the sections", sections},
    {"keys", "SECTION", "list the keys of a section as key=value", keys},
    {"get", "SECTION KEY", "print a value (empty when missing)", get},
    {"set", "SECTION KEY VALUE", "write a value", set},
    {"delete", "SECTION KEY", "delete a key", deleteKey},
    {"delete-section", "SECTION", "delete a section", deleteSection},
    {"find-key", "KEY", "sections that hold the key", findKey},
    {"find-value", "VALUE [SECTION]", "keys holding the value (SECTION/KEY without SECTION)",
     findValue},
    {"rename-section", "SECTION NEW", "give a section a new name", renameSection},
    {"rename-key", "SECTION KEY NEW", "give a key a new name", renameKey}};

// One line per command: its name and arguments in 32 columns, then what it does.
std::string usage() {
    std::string text = "usage: initool FILE COMMAND [ARGS]\r\n";
    for (const Command& c : kCommands) {
        std::string line = std::string(c.name) + (c.arguments.empty() ? "" : " ");
        line += c.arguments;
        line.resize(std::max<std::size_t>(line.size(), 32), ' ');
        text += "  " + line + std::string(c.purpose) + "\r\n";
    }
    return text +
           "exit code: 0 done, 1 failed (the reason on standard error), 2 wrong command line\r\n";
}

const Command* commandNamed(std::string_view name) {
    const auto c = std::find_if(std::begin(kCommands), std::end(kCommands),
                                [&](const Command& command) { return command.name == name; });
    return c != std::end(kCommands) ? c : nullptr;
}

// The count of arguments a command takes is right.
bool takes(const Command& command, std::size_t count) {
    const auto words = std::count(command.arguments.begin(), command.arguments.end(), ' ') +
                       (command.arguments.empty() ? 0 : 1);
    const bool optional = command.arguments.ends_with("]");
    return static_cast<std::size_t>(words) == count ||
           (optional && static_cast<std::size_t>(words) == count + 1);
}

// What is wrong with the command line FILE COMMAND [ARGS], or "".
std::string commandLineFault(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        return args.empty() ? "FILE and COMMAND are missing" : "COMMAND is missing";
    }
    const Command* command = commandNamed(args[1]);
    if (!command) return "unknown command " + cli::quoted(args[1]);
    if (takes(*command, args.size() - 2)) return "";
    return std::string(command->name) + " takes " +
           (command->arguments.empty() ? "no arguments" : std::string(command->arguments));
}

// Why FILE cannot be used, or "" when it can: only "set" makes a file that is missing.
std::string fileRefusal(const std::string& file, std::string_view command) {
    if (file.empty()) return "FILE is empty";
    const cli::PathKind path = cli::kindOf(file);
    switch (path.kind) {
        case cli::PathKind::Unusable:
            return "cannot use " + quoted(file) + ": " + path.reason;
        case cli::PathKind::Missing:
            return command == "set" ? "" : "file " + quoted(file) + " does not exist";
        case cli::PathKind::Folder:
            return quoted(file) + " is a folder";
        case cli::PathKind::File:
            break;
    }
    return "";
}

// The class's reports, on one line: its message box breaks lines with CR LF.
std::string oneLine(std::string text) {
    for (auto at = text.find("\r\n"); at != text.npos; at = text.find("\r\n", at)) {
        text.replace(at, text.compare(at, 4, "\r\n\r\n") == 0 ? 4 : 2, ": ");
    }
    return text;
}

// Failures the class reports go to standard error instead of into boxes.
void reportOnStandardError(Ini& ini) {
    fk::setReportHandler([](const fk::Failure& f, std::string_view label, std::string_view) {
        tool.report(shown(std::string(label)) + ": Error " + std::to_string(f.number) + ": " +
                    shown(f.description));
    });
    ini.showErrorBox = [](const std::wstring& text, const std::wstring&) {
        tool.report(oneLine(fk::narrowUtf8(text)));
    };
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::string> args = cli::arguments(argc, argv);
    if (cli::asksForHelp(args)) return tool.help();
    if (const std::string fault = commandLineFault(args); !fault.empty()) {
        return tool.wrongCommandLine(fault);
    }
    const Command& command = *commandNamed(args[1]);
    Args a(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (const std::string r = cli::ansiRefusal(args[i], a[i]); !r.empty()) return tool.fail(r);
    }
    if (const std::string r = fileRefusal(a[0], command.name); !r.empty()) return tool.fail(r);
    Ini ini;
    reportOnStandardError(ini);
    ini.File_Name(a[0]);
    if (!ini.FileOpen()) {
        return tool.fail("cannot use " + quoted(a[0]) + ": " +
                         cli::systemReason(fk::lastDllError()));
    }
    try {
        return tool.finish(command.run(ini, Args(a.begin() + 2, a.end())));
    } catch (const fk::RuntimeError& e) {
        return tool.fail("Error " + std::to_string(e.number()) + ": " + shown(e.description()));
    }
}
