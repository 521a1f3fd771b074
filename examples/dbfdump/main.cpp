// dbfdump: prints a dBase III table as JSON lines: one object with the header facts,
// then one per record with its flag byte and the text of every field. Can append a
// blank record and set a field of a record first. Bytes are taken as Latin-1.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "errors/runtime_error.h"
#include "util/dbases.h"

namespace {

const char* const kUsage =
    "usage: dbfdump FILE                      print header and records\n"
    "       dbfdump FILE --append             append a blank record, then print\n"
    "       dbfdump FILE --set REC FIELD TEXT set a field (number or name), then print\n";

// A JSON string of 8-bit text read as Latin-1.
std::string json(std::string_view text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out + "\"";
}

void printHeader(const fk::dbases& table) {
    std::string line = "{\"records\":" + std::to_string(table.NoRecords) +
                       ",\"record_length\":" + std::to_string(table.Recordlength) +
                       ",\"fields\":[";
    for (uint8_t i = 1; i <= table.anzahl_felder(); ++i) {
        std::string name, type;
        int16_t length = 0;
        table.hole_feldinfo(i, name, type, length);
        if (i > 1) line += ",";
        line += "{\"name\":" + json(name) + ",\"type\":" + json(type) +
                ",\"length\":" + std::to_string(length) + "}";
        if (i == UINT8_MAX) break;
    }
    std::printf("%s]}\n", line.c_str());
}

void printRecords(fk::dbases& table) {
    for (int32_t r = 1; r <= table.NoRecords; ++r) {
        table.Go(r);
        std::string line = "{\"record\":" + std::to_string(r) + ",\"flag\":" +
                           json(table.RecBuf().substr(0, 1)) + ",\"fields\":[";
        for (int i = 1; i <= table.NoFields(); ++i) {
            if (i > 1) line += ",";
            line += json(table.GetData(i).value_or(""));
        }
        std::printf("%s]}\n", line.c_str());
    }
}

bool isNumber(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string option = argc > 2 ? argv[2] : "";
    if (argc < 2 || (argc == 3 && option != "--append") ||
        (argc > 3 && !(option == "--set" && argc == 6))) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        fk::dbases table;
        table.FileOpen(argv[1]);
        if (option == "--append") table.Go(fk::dbases::kAppend);
        if (option == "--set") {
            const int32_t record = static_cast<int32_t>(std::strtol(argv[3], nullptr, 10));
            std::string field = argv[4];
            if (record < 1 || record > table.NoRecords) fk::raise(fk::err::BadRecordNumber);
            table.Go(record);
            if (isNumber(field)) {
                table.WriteData(std::strtod(field.c_str(), nullptr), argv[5]);
            } else {
                table.WriteData(field, argv[5]);
            }
            table.upd();
        }
        printHeader(table);
        printRecords(table);
    } catch (const fk::RuntimeError& e) {
        std::fprintf(stderr, "dbfdump: Error %ld: %s\n", static_cast<long>(e.number()),
                     e.description().c_str());
        return 1;
    }
    return 0;
}
