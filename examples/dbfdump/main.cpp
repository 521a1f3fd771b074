// dbfdump: prints a dBase III table as JSON Lines: one object with the header facts,
// then one per record with its flag byte and the text of every field. It can append a
// blank record or set a field of a record first. Text follows the table's code page,
// named by its language-driver byte: fields are shown in UTF-8, and a value to set is
// stored in that code page or refused.
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "errors/runtime_error.h"
#include "util/codepage.h"
#include "util/dbases.h"

#ifdef _WIN32
#include "util/console_out.h"
#include "util/encoding.h"
#endif

namespace {

const char* const kUsage =
    "usage: dbfdump TABLE                       print header and records\n"
    "       dbfdump TABLE --append              append a blank record, then print\n"
    "       dbfdump TABLE --set REC FIELD TEXT  set a field (number or name), then print\n"
    "       dbfdump --help                      print this text\n"
    "exit code: 0 done, 1 the table or a value refused (nothing written), 2 wrong command "
    "line\n";

// UTF-8 on standard output or error; a Windows console gets UTF-16.
void emit(bool error, const std::string& utf8) {
#ifdef _WIN32
    fk::writeConsole(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE, fk::widenUtf8(utf8),
                     fk::Redirected::Utf8);
#else
    std::fwrite(utf8.data(), 1, utf8.size(), error ? stderr : stdout);
#endif
}

// The records are written in pieces of about 64 KiB.
class Output {
public:
    ~Output() { flush(); }
    void line(const std::string& text) {
        text_ += text + "\n";
        if (text_.size() >= 65536) flush();
    }
    void flush() {
        if (!text_.empty()) emit(false, text_);
        text_.clear();
    }

private:
    std::string text_;
};

int fail(const std::string& text) {
    emit(true, "dbfdump: " + text + "\n");
    return 1;
}

int wrongCommandLine(const std::string& text) {
    emit(true, "dbfdump: " + text + "\n" + kUsage);
    return 2;
}

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

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

// The code page named by the table's language-driver byte (header offset 29).
int codePageOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[30] = {};
    in.read(head, sizeof head);
    return fk::codePageOfLanguageDriver(static_cast<uint8_t>(head[29]));
}

void printTable(fk::dbases& table, int codePage, Output& out) {
    const auto text = [&](std::string_view bytes) {
        return json(fk::codePageToUtf8(codePage, bytes));
    };
    std::string line = "{\"records\":" + std::to_string(table.NoRecords) +
                       ",\"record_length\":" + std::to_string(table.Recordlength) +
                       ",\"code_page\":" + std::to_string(codePage) + ",\"fields\":[";
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

// A whole number from 1 to `most` (digits only), or 0.
long wholeNumber(const std::string& text, long most) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != text.npos) {
        return 0;
    }
    const long long n = std::stoll(text);
    return n >= 1 && n <= most ? static_cast<long>(n) : 0;
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
        return static_cast<int>(wholeNumber(argument, table.NoFields()));
    }
    const fk::CodePageText name = fk::utf8ToCodePage(codePage, argument);
    std::string lookedUp = name.bytes;  // trimmed and upper-cased by the lookup
    if (!name.refused.empty() || !table.GetData(lookedUp)) return 0;
    for (int i = 1; i <= table.NoFields(); ++i) {
        if (table.FieldName(static_cast<int16_t>(i)) == lookedUp) return i;
    }
    return 0;
}

// The refusal of a --set, or "" when it may be written.
std::string checkWrite(const fk::dbases& table, int codePage, const std::vector<std::string>& a,
                       FieldWrite& write) {
    write.record = static_cast<int32_t>(wholeNumber(a[2], table.NoRecords));
    if (write.record == 0) {
        return "no record " + a[2] + " (the table has " + std::to_string(table.NoRecords) + ")";
    }
    write.field = fieldOf(table, codePage, a[3]);
    if (write.field == 0) return "no field " + quoted(a[3]) + " in " + a[0];
    const fk::CodePageText value = fk::utf8ToCodePage(codePage, a[4]);
    // One refused byte is no character: every character beyond ASCII takes two or more.
    if (value.refused.size() == 1) return "the value is not UTF-8 text";
    if (!value.refused.empty()) {
        return "the value holds " + quoted(value.refused) + ", which code page " +
               std::to_string(codePage) + " cannot store";
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

// The arguments, UTF-8: TABLE [--append | --set REC FIELD TEXT].
int run(const std::vector<std::string>& a) {
    if (a.empty()) return wrongCommandLine("TABLE is missing");
    if (a[0] == "--help" || a[0] == "-h" || a[0] == "/?") {
        emit(false, kUsage);
        return 0;
    }
    if (a[0].size() > 1 && a[0][0] == '-') {
        return wrongCommandLine("unknown option " + quoted(a[0]));
    }
    const std::string option = a.size() > 1 ? a[1] : "";
    if (!option.empty() && option != "--append" && option != "--set") {
        return wrongCommandLine("unknown option " + quoted(option));
    }
    if (option == "--append" && a.size() > 2) {
        return wrongCommandLine("unexpected argument " + quoted(a[2]));
    }
    if (option == "--set" && a.size() != 5) return wrongCommandLine("--set needs REC FIELD TEXT");
    if (option == "--set" && wholeNumber(a[2], INT32_MAX) == 0) {
        return wrongCommandLine("REC must be a record number from 1, not " + quoted(a[2]));
    }
#ifdef _WIN32
    const std::string path = fk::utf8ToAnsi(a[0]);
#else
    const std::string path = a[0];
#endif
    fk::dbases table;
    try {
        table.FileOpen(
            path, option.empty() ? fk::dbases::Access::ReadOnly : fk::dbases::Access::ReadWrite);
    } catch (const fk::RuntimeError& e) {
        return fail("cannot open " + a[0] + (option.empty() ? "" : " for writing") + ": " +
                    describe(e));
    }
    const int codePage = codePageOf(path);
    Output out;
    try {
        if (option == "--append") table.Go(fk::dbases::kAppend);
        if (option == "--set") {
            FieldWrite write;
            const std::string refusal = checkWrite(table, codePage, a, write);
            if (!refusal.empty()) return fail(refusal);
            table.Go(write.record);
            table.WriteData(write.field, write.bytes);
            table.upd();
        }
        printTable(table, codePage, out);
    } catch (const fk::RuntimeError& e) {
        out.flush();
        return fail(a[0] + ": " + describe(e));
    }
    return 0;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(fk::narrowUtf8(argv[i]));
    return run(args);
}
#else
int main(int argc, char** argv) {
    return run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
