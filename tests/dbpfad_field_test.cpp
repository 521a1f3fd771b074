#include <gtest/gtest.h>

#include "errors/runtime_error.h"
#include "files/dbpfad_field.h"

namespace fk {
namespace {

struct FieldCase {
    std::string content, field;
};

const FieldCase kCases[] = {
    {"D:\\Praxis\\Talvorin_Patientendaten\\\r\nzweite Zeile\r\n",
     "D:\\Praxis\\Talvorin_Patientendaten\\"},
    {"   C:\\Daten\\  \r\n", "C:\\Daten\\"},          // blanks around an unquoted field
    {"C:\\Daten\\,Rest,mehr\r\n", "C:\\Daten\\"},     // ends at the first comma
    {"\"C:\\Praxis, Nord\\Daten\\\",x\r\n", "C:\\Praxis, Nord\\Daten\\"},
    {"  \"  C:\\mit Blanks\\  \"\r\n", "  C:\\mit Blanks\\  "},
    {"\"C:\\offen\\\r\nweiter\"", "C:\\offen\\"},     // an unclosed quote ends with the line
    {"\r\nC:\\zweite\\\r\n", ""},                     // empty first line
    {"C:\\ohne Zeilenende\\", "C:\\ohne Zeilenende\\"},
    {"C:\\nur LF\\\nC:\\x\\\n", "C:\\nur LF\\"},
    {"C:\\nur CR\\\rC:\\x\\\r", "C:\\nur CR\\"},
    {"C:\\Pr\xE4xis\\Gr\xF6\xDF" "e\\\r\n", "C:\\Pr\xE4xis\\Gr\xF6\xDF" "e\\"},  // ANSI bytes
    {"   ", ""},
    {"C:\\mit\tTab\\\r\n", "C:\\mit\tTab\\"},
};

TEST(DbpfadField, FirstFieldOfTheFirstLine) {
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.content);
        EXPECT_EQ(readFirstField(c.content), c.field);
    }
}

TEST(DbpfadField, LongLineComesBackWhole) {
    const std::string path = "C:\\" + std::string(70000, 'a') + "\\";
    EXPECT_EQ(readFirstField(path + "\r\nx"), path);
}

TEST(DbpfadField, ZeroBytesIsInputPastEndOfFile) {
    try {
        readFirstField("");
        FAIL() << "no error raised";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 62);
        EXPECT_EQ(e.description(), "Input past end of file");
    }
}

}  // namespace
}  // namespace fk
