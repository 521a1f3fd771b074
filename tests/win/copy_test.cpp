// Replacing a companion's dbpfad.ini: all new bytes or the old ones, never a mix.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "errors/runtime_error.h"
#include "test_support.h"
#include "util/file_io.h"

namespace fk {
namespace {

class ReplaceWithCopy : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeFile(dir / "quelle.ini", "D:\\Praxis\\Talvorin_Patientendaten\\\r\n");
        test::writeFile(dir / "ziel.ini", "C:\\alt\\\r\n");
    }
    // The names in the folder: the two files of the fixture and nothing else.
    std::vector<std::string> names() {
        std::vector<std::string> found;
        for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
            found.push_back(e.path().filename().string());
        }
        std::sort(found.begin(), found.end());
        return found;
    }
    const std::vector<std::string> kFixture{"quelle.ini", "ziel.ini"};
    int32_t failureOf(const std::string& source, const std::string& target) {
        try {
            replaceWithCopy(source, target);
        } catch (const RuntimeError& e) {
            return e.number();
        }
        return 0;
    }
    test::TempFolder dir;
};

TEST_F(ReplaceWithCopy, ReplacesTheBytesAndLeavesNoTemporaryFile) {
    EXPECT_EQ(failureOf(dir / "quelle.ini", dir / "ziel.ini"), 0);
    EXPECT_EQ(test::readFile(dir / "ziel.ini"), test::readFile(dir / "quelle.ini"));
    EXPECT_EQ(names(), kFixture);
}

TEST_F(ReplaceWithCopy, TargetHeldOpenWithoutWriteSharingKeepsItsBytes) {
    HANDLE held = CreateFileA((dir / "ziel.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_NE(failureOf(dir / "quelle.ini", dir / "ziel.ini"), 0);
    CloseHandle(held);
    EXPECT_EQ(test::readFile(dir / "ziel.ini"), "C:\\alt\\\r\n");
    EXPECT_EQ(names(), kFixture);
}

TEST_F(ReplaceWithCopy, ReadOnlyTargetIsNotWritten) {
    SetFileAttributesA((dir / "ziel.ini").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(failureOf(dir / "quelle.ini", dir / "ziel.ini"), 75);
    EXPECT_EQ(test::readFile(dir / "ziel.ini"), "C:\\alt\\\r\n");
    EXPECT_EQ(names(), kFixture);
}

TEST_F(ReplaceWithCopy, MissingSourceLeavesTheTarget) {
    EXPECT_EQ(failureOf(dir / "fehlt.ini", dir / "ziel.ini"), 53);
    EXPECT_EQ(test::readFile(dir / "ziel.ini"), "C:\\alt\\\r\n");
    EXPECT_EQ(names(), kFixture);
}

}  // namespace
}  // namespace fk
