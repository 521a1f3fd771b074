#include <gtest/gtest.h>

#include "errors/error_entry.h"

namespace fk {
namespace {

TEST(ErrorEntry, ErrorWithSolutionByteForByte) {
    const std::string entry = composeErrorEntry(
        {53, "File not found", "Bitte Datei pr\xFC" "fen", 2, "Follow_Kelvaro",
         "Error in Dateiroutinen: Function hole_dbpfad_datei", "06.12.2026", "21:42:29"});
    EXPECT_EQ(entry,
              "Error 53: File not found\r\n"
              "!============Error Information/Solution =============!\r\n"
              "Bitte Datei pr\xFC" "fen\r\n"
              "!============End of Information/Solution ============!\r\n"
              "Last DLL Error: 2\r\n"
              "Error Source: Follow_Kelvaro\r\n"
              "Procedure: Error in Dateiroutinen: Function hole_dbpfad_datei\r\n"
              "Date: 06.12.2026 Time: 21:42:29\r\n");
}

TEST(ErrorEntry, InformationMessageAndNegativeNumbersWithoutSolution) {
    EXPECT_EQ(composeErrorEntry({0, "Hinweis", "", 0, "", "P", "d", "t"}),
              "Information Message : Hinweis\r\n"
              "Last DLL Error: 0\r\n"
              "Error Source: \r\n"
              "Procedure: P\r\n"
              "Date: d Time: t\r\n");
    const std::string negative = composeErrorEntry({-2147024894, "x", "", 0, "s", "P", "d", "t"});
    EXPECT_EQ(negative.substr(0, 21), "Error -2147024894: x\r");
}

TEST(ErrorEntry, GeneralInformationBlock) {
    EXPECT_EQ(generalInformationBlock("FollowKelvaro", "1.0.1", "C:\\ProgramData\\T\\"),
              "===================== General Information =====================\r\n"
              "AppName: FollowKelvaro\r\n"
              "Version: 1.0.1\r\n"
              "Location: C:\\ProgramData\\T\\\r\n"
              "===================== End General Information =================\r\n"
              "\r\n");
}

TEST(ErrorEntry, ExpectedErrorNumbers) {
    for (int32_t n : {32755, 52, 53, 54, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 67, 68, 69, 70,
                      71, 72, 76}) {
        EXPECT_TRUE(isExpectedError(n)) << n;
    }
    for (int32_t n : {0, 5, 6, 7, 13, 55, 66, 73, 74, 75, 321, -53}) {
        EXPECT_FALSE(isExpectedError(n)) << n;
    }
}

TEST(ReportPlan, ModeOkButtonAndLog) {
    struct Row {
        const char* name;
        int32_t number;
        const char* text;
        bool disableOK, infoOnly;         // the caller's requests
        bool information, okEnabled;      // the plan
    };
    const Row rows[] = {
        {"a plain error", 5, "x", false, false, false, true},
        {"an expected number", 53, "x", false, false, true, true},
        {"the first expected number", 32755, "x", false, false, true, true},
        {"55 is not expected", 55, "x", false, false, false, true},
        {"75 is not expected", 75, "x", false, false, false, true},
        {"0, an information message", 0, "x", false, false, false, true},
        {"out of memory by number", 7, "x", false, true, false, false},
        {"out of memory by text", 5, "Out of Memory", false, true, false, false},
        {"the text must match exactly", 5, "Out of memory", false, false, false, true},
        {"out of memory text with an expected number", 53, "Out of Memory", false, false, true,
         false},
        {"the caller asks for information", 5, "x", false, true, true, true},
        {"the caller disables O&K", 5, "x", true, false, false, false},
    };
    for (const Row& r : rows) {
        const ErrorEntryFields failure{r.number, r.text, "L\xF6sung", 3, "S", "P", "d", "t"};
        const ReportPlan plan = planReport(failure, r.disableOK, r.infoOnly);
        EXPECT_EQ(plan.informationMode, r.information) << r.name;
        EXPECT_EQ(plan.logged, !r.information) << r.name;
        EXPECT_EQ(plan.okEnabled, r.okEnabled) << r.name;
        EXPECT_EQ(plan.solution, "L\xF6sung") << r.name;
        EXPECT_EQ(plan.entry, composeErrorEntry(failure)) << r.name;
    }
}

TEST(ErrorEntry, CorrectPathAndVersion) {
    const std::string folder = "C:\\Daten";
    EXPECT_EQ(CorrectPath(folder), "C:\\Daten\\");
    EXPECT_EQ(folder, "C:\\Daten");
    EXPECT_EQ(CorrectPath("C:\\Daten\\"), "C:\\Daten\\");
    EXPECT_EQ(CorrectPath(""), "\\");
    EXPECT_EQ(GetVersion(), "1.0.1");
}

}  // namespace
}  // namespace fk
