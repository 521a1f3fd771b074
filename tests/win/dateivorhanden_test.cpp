#include <gtest/gtest.h>

#include "files/Dateiroutinen.h"
#include "files/y_work_together.h"
#include "../report_recorder.h"
#include "test_support.h"

namespace fk {
namespace {

std::string padded(const std::string& path) {
    std::string text(2, ' ');
    text.append(path).append(3, ' ');
    return text;
}

class Dateivorhanden : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeFile(dir / "plain.txt", "x");
        test::writeFile(dir / "readonly.txt", "x", FILE_ATTRIBUTE_READONLY);
        test::writeFile(dir / "hidden.dat", "x", FILE_ATTRIBUTE_HIDDEN);
        test::writeFile(dir / "system.dat", "x", FILE_ATTRIBUTE_SYSTEM);
        test::makeFolder(dir / "Ordner");
    }
    test::TempFolder dir;
};

TEST_F(Dateivorhanden, VisiblePlainFilesExist) {
    EXPECT_TRUE(dateivorhanden(dir / "plain.txt"));
    EXPECT_TRUE(dateivorhanden(dir / "readonly.txt"));
    EXPECT_TRUE(dateivorhanden(padded(dir / "plain.txt")));
    EXPECT_FALSE(dateivorhanden(dir / "missing.txt"));
    EXPECT_FALSE(dateivorhanden(dir / "nowhere\\plain.txt"));
}

TEST_F(Dateivorhanden, HiddenAndSystemFilesDoNotCount) {
    EXPECT_FALSE(dateivorhanden(dir / "hidden.dat"));
    EXPECT_FALSE(dateivorhanden(dir / "system.dat"));
}

TEST_F(Dateivorhanden, FoldersOnlyWithTrailingSeparator) {
    EXPECT_TRUE(dateivorhanden(dir / "Ordner\\"));
    EXPECT_TRUE(dateivorhanden(padded(dir / "Ordner\\")));
    EXPECT_FALSE(dateivorhanden(dir / "Ordner"));
    EXPECT_FALSE(dateivorhanden(dir / "Fehlt\\"));
    // A file named like a folder is not a folder.
    EXPECT_FALSE(dateivorhanden(dir / "plain.txt\\"));
}

TEST_F(Dateivorhanden, WildcardsNeedOneVisibleMatch) {
    EXPECT_TRUE(dateivorhanden(dir / "*.txt"));
    EXPECT_TRUE(dateivorhanden(dir / "plain.*"));
    EXPECT_FALSE(dateivorhanden(dir / "*.dat"));  // only hidden and system files match
    EXPECT_FALSE(dateivorhanden(dir / "Ord*"));   // folders are not listed
}

TEST_F(Dateivorhanden, PathsBeyondSixteenBitPositionsDoNotExist) {
    test::ReportRecorder recorder;
    for (const std::string& path : {std::string(40000, 'x'), std::string(40000, 'x') + "\\"}) {
        EXPECT_FALSE(dateivorhanden(path)) << "ends with \\: " << (path.back() == '\\');
    }
    EXPECT_EQ(recorder.reports.size(), 4u);  // nurpfad and nurdatei, twice
}

TEST_F(Dateivorhanden, EmptyPathExaminesTheRootOfTheCurrentDrive) {
    EXPECT_TRUE(dateivorhanden(""));
    EXPECT_TRUE(dateivorhanden("    "));
}

}  // namespace
}  // namespace fk
