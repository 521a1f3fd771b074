#include <gtest/gtest.h>

#include "errors/bug_report.h"

namespace fk {
namespace {

const std::string kHead = "mailto:bugreport@talvorin.example&Subject=";

TEST(BugReportLink, ByteForByte) {
    const std::string details =
        "Error 5: Invalid procedure call or argument\r\nLast DLL Error: 0\r\n"
        "Procedure: Error in A&B: Sub x=y\r\nGr\xF6\xDF" "e\r\n";
    EXPECT_EQ(bugReportLink("FollowKelvaro", 1, 0, details, "C:\\ProgramData\\Talvorin_Patientendaten\\"),
              kHead + "FollowKelvaro Fehlerbericht !"
                      "&Body=ERROR%0a%0dProgrammnameFollowKelvaro 1. 0%0a%0d%0a%0d%0a%0d%0a%0d" +
                  details +
                  "%0a%0d%0a%0d"
                  "&Attach=\"C:\\ProgramData\\Talvorin_Patientendaten\\errorlog.txt\"");
}

TEST(BugReportLink, EmptyDetailsOtherExeNameAndFolderWithoutSeparator) {
    EXPECT_EQ(bugReportLink("Kopie von FK", 1, 0, "", "D:\\Daten"),
              kHead + "Kopie von FK Fehlerbericht !"
                      "&Body=ERROR%0a%0dProgrammnameKopie von FK 1. 0%0a%0d%0a%0d%0a%0d%0a%0d"
                      "%0a%0d%0a%0d&Attach=\"D:\\Daten\\errorlog.txt\"");
    EXPECT_NE(bugReportLink("x", 1, 0, "", "").find("&Attach=\"\\errorlog.txt\""),
              std::string::npos);
}

TEST(BugReportLink, ExecutableNameAndSignBlank) {
    EXPECT_EQ(exeNameOf("C:\\Programme\\FK\\FollowKelvaro.exe"), "FollowKelvaro");
    EXPECT_EQ(exeNameOf("C:\\a.b\\Follow.Kelvaro.EXE"), "Follow.Kelvaro");
    EXPECT_EQ(exeNameOf("Z:/work/build/fk_gui_tests.exe"), "fk_gui_tests");
    EXPECT_EQ(exeNameOf("ohne_endung"), "ohne_endung");
    // A negative version number takes the place of the sign blank.
    EXPECT_NE(bugReportLink("x", -3, 0, "", "").find("Programmnamex-3. 0%0a%0d"),
              std::string::npos);
}

}  // namespace
}  // namespace fk
