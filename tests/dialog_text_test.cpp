#include <gtest/gtest.h>

#include "errors/runtime_error.h"
#include "util/dialog_text.h"

namespace fk {
namespace {

using namespace std::string_literals;

TEST(DialogText, FilterBecomesNulSeparatedPairs) {
    EXPECT_EQ(filterForPlatform("Texte (*.txt)|*.txt|Alle Dateien|*.*"),
              "Texte (*.txt)\0*.txt\0Alle Dateien\0*.*\0\0"s);
    EXPECT_EQ(filterForPlatform(""), "\0\0"s);
    EXPECT_EQ(filterForPlatform("Tabellen|*.dbf;*.DBF"), "Tabellen\0*.dbf;*.DBF\0\0"s);
}

TEST(DialogText, TrimNulls) {
    EXPECT_EQ(trimNulls("C:\\a.txt\0\0\0"s), "C:\\a.txt");
    EXPECT_EQ(trimNulls("C:\\Daten\0a.txt\0b.txt\0\0"s), "C:\\Daten");  // multiple selection
    EXPECT_EQ(trimNulls("\0rest"s), "");
    EXPECT_EQ(trimNulls("ohne"), "ohne");
    EXPECT_EQ(trimNulls(""), "");
}

TEST(DialogText, PaddingToTheBufferSize) {
    EXPECT_EQ(padWithNulls("ab", 5), "ab\0\0\0"s);
    EXPECT_EQ(padWithNulls(std::string(260, 'x'), 260).size(), 260u);
    EXPECT_THROW(padWithNulls(std::string(261, 'x'), 260), RuntimeError);
}

}  // namespace
}  // namespace fk
