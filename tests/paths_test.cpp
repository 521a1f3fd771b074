#include <gtest/gtest.h>

#include "files/Dateiroutinen.h"
#include "files/y_work_together.h"
#include "report_recorder.h"

namespace fk {
namespace {

struct PathCase {
    std::string input, completed, file, folder, up;
};

// Each helper against the same inputs; paths written as in the program (single "\").
const PathCase kCases[] = {
    {"", "\\", "", "", ""},
    {"\\", "\\", "", "\\", ""},
    {"C:\\", "C:\\", "", "C:\\", "C:"},
    {"C:\\Daten", "C:\\Daten\\", "Daten", "C:\\", "C:\\"},
    {"C:\\Daten\\", "C:\\Daten\\", "", "C:\\Daten\\", "C:\\"},
    {"C:\\Daten\\person.pxd", "C:\\Daten\\person.pxd\\", "person.pxd", "C:\\Daten\\",
     "C:\\Daten\\"},
    {"\\person.pxd", "\\person.pxd\\", "person.pxd", "\\", "\\"},
    {"C:\\Daten\\\\person.pxd", "C:\\Daten\\\\person.pxd\\", "person.pxd", "C:\\Daten\\",
     "C:\\Daten\\"},
    {"\\\\Server\\Freigabe\\x", "\\\\Server\\Freigabe\\x\\", "x", "\\\\Server\\Freigabe\\",
     "\\\\Server\\Freigabe\\"},
    {"C:\\Praxis\\Talvorin_Patientendaten\\", "C:\\Praxis\\Talvorin_Patientendaten\\", "",
     "C:\\Praxis\\Talvorin_Patientendaten\\", "C:\\Praxis\\"},
    // A forward slash is an ordinary character.
    {"C:/Daten/a.txt", "C:/Daten/a.txt\\", "C:/Daten/a.txt", "", "C:/Daten/a.txt"},
};

TEST(PathHelpers, EdgeTable) {
    test::ReportRecorder recorder;
    for (const auto& c : kCases) {
        SCOPED_TRACE("input: " + c.input);
        std::string variable = c.input;
        EXPECT_EQ(pathcomplete(variable), c.completed);
        EXPECT_EQ(nurdatei(c.input), c.file);
        EXPECT_EQ(nurpfad(c.input), c.folder);
        EXPECT_EQ(Pfad_hoch(c.input), c.up);
    }
    EXPECT_TRUE(recorder.reports.empty());
}

TEST(PathHelpers, DriveWithoutSeparator) {
    std::string drive = "C:";
    EXPECT_EQ(pathcomplete(drive), "C:\\");
    EXPECT_EQ(nurdatei("C:"), "C:");
    EXPECT_EQ(Pfad_hoch("C:"), "C:");
    EXPECT_EQ(nurpfad("person.pxd"), "");  // no folder part, and no report
}

TEST(PathHelpers, PathcompleteWritesBackIntoTheCallersVariable) {
    std::string folder = "C:\\Daten";
    const std::string joined = pathcomplete(folder) + "dbpfad.ini";
    EXPECT_EQ(joined, "C:\\Daten\\dbpfad.ini");
    EXPECT_EQ(folder, "C:\\Daten\\");
    pathcomplete(folder);
    EXPECT_EQ(folder, "C:\\Daten\\");  // a second pass adds nothing
}

TEST(PathHelpers, BlanksAndTabsArePartOfThePath) {
    EXPECT_EQ(nurdatei("C:\\a b\\c d "), "c d ");
    EXPECT_EQ(nurpfad("C:\\\tx\\y"), "C:\\\tx\\");
    EXPECT_EQ(trimBlanks("  C:\\x\t  "), "C:\\x\t");
    EXPECT_EQ(trimBlanks("   "), "");
}

TEST(PathHelpers, PositionsBeyondSixteenBitsAreReportedOverflows) {
    test::ReportRecorder recorder;
    const std::string longPath = "C:\\" + std::string(32800, 'x') + "\\datei.txt";
    EXPECT_EQ(nurdatei(longPath), "");
    EXPECT_EQ(nurpfad(longPath), "");
    EXPECT_EQ(Pfad_hoch(longPath), "");
    ASSERT_EQ(recorder.reports.size(), 3u);
    const char* names[] = {"nurdatei", "nurpfad", "Pfad_hoch"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(recorder.reports[i].number, 6);
        EXPECT_EQ(recorder.reports[i].name, names[i]);
    }
    EXPECT_EQ(recorder.reports[2].label, "Error in Dateiroutinen: Function Pfad_hoch");
    EXPECT_EQ(recorder.reports[0].label, "Error in y_work_together: Function nurdatei");

    // The longest path that fits still works.
    const std::string fits = std::string(32757, 'y') + "\\datei.txt";
    ASSERT_EQ(fits.size(), 32767u);
    EXPECT_EQ(nurdatei(fits), "datei.txt");
    EXPECT_EQ(recorder.reports.size(), 3u);
}

}  // namespace
}  // namespace fk
