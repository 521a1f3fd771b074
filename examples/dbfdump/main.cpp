// dbfdump: prints a dBase III table as JSON Lines: one object with the header facts,
// then one per record with its flag byte and the text of every field. It can append a
// blank record or set a field of a record first. Text follows the table's code page,
// named by its language-driver byte or chosen with --code-page: fields are shown in
// UTF-8, and a value to set is stored in that code page or refused.
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "base/runtime_error.h"
#include "examples/common/tool_cli.h"
#include "util/codepage.h"
#include "util/dbases.h"

namespace {

namespace cli = fk::cli;

const char* const kUsage =
    "usage: dbfdump TABLE [CP]                       print header and records\n"
    "       dbfdump TABLE [CP] --append              append a blank record, then print\n"
    "       dbfdump TABLE [CP] --set REC FIELD TEXT  set a field (number or name), then print\n"
    "       dbfdump --help                           print this text\n"
    "CP:    --code-page N  the table's text is in code page N (437, 850, 852, 865, 866,\n"
    "                      1250 to 1254), whatever its header says\n"
    "exit code: 0 done, 1 the table or a value refused (nothing written) or the output\n"
    "           lost (after a change: \"the table was changed\"), 2 wrong command line\n";

// JSON Lines, UTF-8 also when redirected on Windows.
cli::Tool tool{.name = "dbfdump", .usage = kUsage, .newline = "\n", .utf8Redirected = true};

// The records are written in pieces of about 64 KiB.
class Output {
public:
    void line(const std::string& text) {
        text_ += text + "\n";
        if (text_.size() >= 65536) flush();
    }
    void flush() {
        if (!text_.empty()) tool.out(text_);
        text_.clear();
    }

private:
    std::string text_;
};

// A JSON string of UTF-8 text.
std::string json(std::string_view text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

void printTable(fk::dbases& table, int codePage, Output& out) {
    const auto text = [&](std::string_view bytes) {
        return json(fk::codePageToUtf8(codePage, bytes));
    };
    std::string line =
        "{\"records\":" + std::to_string(table.NoRecords) +
        ",\"record_length\":" + std::to_string(table.Recordlength) +
        ",\"code_page\":" + (codePage == fk::kUnknownCodePage ? "null" : std::to_string(codePage)) +
        ",\"fields\":[";
    for (int i = 1; i <= table.NoFields(); ++i) {
        std::string name, type;
        int16_t length = 0;
        table.hole_feldinfo(static_cast<uint8_t>(i), name, type, length);
        line += std::string(i > 1 ? "," : "") + "{\"name\":" + text(name) +
                ",\"type\":" + text(type) + ",\"length\":" + std::to_string(length) + "}";
    }
    out.line(line + "]}");
    for (int32_t r = 1; r <= table.NoRecords; ++r) {
        table.Go(r);
        line = "{\"record\":" + std::to_string(r) +
               ",\"flag\":" + text(table.RecBuf().substr(0, 1)) + ",\"fields\":[";
        for (int i = 1; i <= table.NoFields(); ++i) {
            line += std::string(i > 1 ? "," : "") + text(table.GetData(i).value_or(""));
        }
        out.line(line + "]}");
    }
}

// What --set asks for, checked against the table before anything is written.
struct FieldWrite {
    int32_t record = 0;
    int field = 0;
    std::string bytes;  // the value in the table's code page
};

// The field a FIELD argument names: a number, or a name as the class looks it up.
int fieldOf(const fk::dbases& table, int codePage, const std::string& argument) {
    if (argument.find_first_not_of("0123456789") == std::string::npos) {
        return static_cast<int>(cli::wholeNumber(argument, table.NoFields()));
    }
    const fk::CodePageText name = fk::utf8ToCodePage(codePage, argument);
    return name.refused.empty() ? table.FieldIndex(name.bytes) : 0;
}

// The refusal of a --set, or "" when it may be written.
std::string checkWrite(const fk::dbases& table, int codePage, const std::vector<std::string>& a,
                       FieldWrite& write) {
    write.record = static_cast<int32_t>(cli::wholeNumber(a[2], table.NoRecords));
    if (write.record == 0) {
        return "no record " + a[2] + " (the table has " + std::to_string(table.NoRecords) + ")";
    }
    write.field = fieldOf(table, codePage, a[3]);
    if (write.field == 0) return "no field " + cli::quoted(a[3]) + " in " + a[0];
    const fk::CodePageText value = fk::utf8ToCodePage(codePage, a[4]);
    // One refused byte is no character: every character beyond ASCII takes two or more.
    if (value.refused.size() == 1) return "the value is not UTF-8 text";
    if (!value.refused.empty()) {
        const std::string number = std::to_string(codePage);
        return "the value holds " + cli::quoted(value.refused) + ", which " +
               (fk::convertsCodePage(codePage) ? "code page " + number + " cannot store"
                : codePage == fk::kUnknownCodePage
                    ? "dbfdump cannot store in the table's unknown code page (ASCII only; "
                      "--code-page names it)"
                    : "dbfdump cannot convert to code page " + number + " (ASCII only)");
    }
    std::string name, type;
    int16_t length = 0;
    table.hole_feldinfo(static_cast<uint8_t>(write.field), name, type, length);
    if (value.bytes.size() > static_cast<std::size_t>(length)) {
        return "the value has " + std::to_string(value.bytes.size()) + " characters; field " +
               fk::codePageToUtf8(codePage, name) + " holds " + std::to_string(length);
    }
    write.bytes = value.bytes;
    return "";
}

std::string describe(const fk::RuntimeError& e) {
    return "Error " + std::to_string(e.number()) + ": " + e.description();
}

// Takes "--code-page N" after TABLE out of the arguments into `codePage`; what is wrong
// with it, or "".
std::string takeCodePage(std::vector<std::string>& a, int& codePage) {
    if (a.size() < 2 || a[1] != "--code-page") return "";
    if (a.size() < 3) return "--code-page needs N";
    codePage = static_cast<int>(cli::wholeNumber(a[2], INT16_MAX));
    if (!fk::convertsCodePage(codePage)) {
        return "--code-page " + cli::quoted(a[2]) +
               ": dbfdump converts code pages 437, 850, 852, 865, 866 and 1250 to 1254";
    }
    a.erase(a.begin() + 1, a.begin() + 3);
    return "";
}

// What is wrong with the command line TABLE [--append | --set REC FIELD TEXT], or "".
std::string commandLineFault(const std::vector<std::string>& a) {
    if (a.empty()) return "TABLE is missing";
    if (a[0].size() > 1 && a[0][0] == '-') return "unknown option " + cli::quoted(a[0]);
    const std::string option = a.size() > 1 ? a[1] : "";
    if (!option.empty() && option != "--append" && option != "--set") {
        return "unknown option " + cli::quoted(option);
    }
    if (option == "--append" && a.size() > 2) return "unexpected argument " + cli::quoted(a[2]);
    if (option == "--set" && a.size() != 5) return "--set needs REC FIELD TEXT";
    if (option == "--set" && cli::wholeNumber(a[2], INT32_MAX) == 0) {
        return "REC must be a record number from 1, not " + cli::quoted(a[2]);
    }
    return "";
}

// Opens TABLE, for writing when an option changes it; the refusal, or "".
std::string openTable(fk::dbases& table, const std::vector<std::string>& a) {
    std::string path = a[0];
#ifdef _WIN32
    // The class opens files by their names in the ANSI code page.
    if (std::string refusal = cli::ansiRefusal(a[0], path); !refusal.empty()) return refusal;
#endif
    const bool writes = a.size() > 1;
    try {
        table.FileOpen(path, writes ? fk::dbases::Access::ReadWrite : fk::dbases::Access::ReadOnly);
    } catch (const fk::RuntimeError& e) {
        return "cannot open " + a[0] + (writes ? " for writing" : "") + ": " + describe(e);
    }
    return "";
}

// Appends a blank record or sets a field, as the option asks; the refusal of a --set, or "".
std::string change(fk::dbases& table, int codePage, const std::vector<std::string>& a) {
    const std::string option = a.size() > 1 ? a[1] : "";
    if (option == "--append") {
        table.Go(fk::dbases::kAppend);
    } else if (option == "--set") {
        FieldWrite write;
        if (std::string refusal = checkWrite(table, codePage, a, write); !refusal.empty()) {
            return refusal;
        }
        table.Go(write.record);
        table.WriteData(write.field, write.bytes);
        table.upd();
    } else {
        return "";
    }
    tool.lossNote = "; the table was changed";
    return "";
}

// The arguments, UTF-8.
int run(std::vector<std::string> a) {
    if (cli::asksForHelp(a)) return tool.help();
    int chosen = 0;
    if (const std::string fault = cli::firstRefusal({takeCodePage(a, chosen), commandLineFault(a)});
        !fault.empty()) {
        return tool.wrongCommandLine(fault);
    }
    fk::dbases table;
    if (const std::string refusal = openTable(table, a); !refusal.empty()) {
        return tool.fail(refusal);
    }
    if (chosen != 0) table.SetCodePage(chosen);
    const int codePage = table.CodePage();
    Output out;
    try {
        if (const std::string refusal = change(table, codePage, a); !refusal.empty()) {
            return tool.fail(refusal);
        }
        printTable(table, codePage, out);
    } catch (const fk::RuntimeError& e) {
        out.flush();
        return tool.fail(a[0] + ": " + describe(e) + std::string(tool.lossNote));
    }
    out.flush();
    return tool.finish(0);
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return run(cli::arguments(argc, argv));
}
#else
int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);  // a closed pipe is a failed write, told as such
    return run(cli::arguments(argc, argv));
}
#endif
