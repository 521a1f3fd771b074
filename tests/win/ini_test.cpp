// clsIniRW on real files through the platform's profile functions.
#include <gtest/gtest.h>

#include <filesystem>

#include "../report_recorder.h"
#include "test_support.h"
#include "util/clsIniRW.h"
#include "util/seams.h"

namespace fk {
namespace {

using Names = std::vector<std::string>;
using Rows = std::vector<std::array<std::string, 2>>;

class Ini : public ::testing::Test {
protected:
    void SetUp() override {
        seams().messageBox = [this](HWND, const std::wstring& text, const std::wstring& title,
                                    UINT) {
            boxes.push_back(title + L": " + text);
            return IDOK;
        };
        test::writeFile(path, "[Praxis]\r\nName=Dr. Muster\r\nOrt=Hamburg\r\n"
                              "[Pfade]\r\ndaten=C:\\Daten\\\r\nsicherung=\"D:\\Sicherung\\\"\r\n"
                              "[Leer]\r\n[Zwei]\r\na=1\r\nb=2\r\n");
        ini.File_Name(path);
        ASSERT_TRUE(ini.FileOpen());
    }
    SeamsOverride seamsGuard;
    test::ReportRecorder reports;
    std::vector<std::wstring> boxes;
    test::TempFolder dir;
    const std::string path = dir / "praxis.ini";
    clsIniRW ini;
};

TEST(IniBeforeFileName, NothingIsTouched) {
    SeamsOverride guard;
    int boxes = 0;
    seams().messageBox = [&](HWND, const std::wstring&, const std::wstring&, UINT) {
        return ++boxes;
    };
    clsIniRW ini;
    EXPECT_FALSE(ini.FileOpen());
    EXPECT_EQ(ini.File(), "");
    EXPECT_EQ(ini.GetValue("a", "b"), "");
    EXPECT_FALSE(ini.WriteData("a", "b", "c"));
    EXPECT_EQ(ini.GetAllSections(), std::nullopt);
    EXPECT_EQ(ini.GetAllKeysValuesInSection("a"), std::nullopt);
    EXPECT_EQ(ini.FindValueInFile("c"), std::nullopt);
    EXPECT_FALSE(ini.RenameSection("a", "b"));
    EXPECT_EQ(boxes, 0);
}

TEST_F(Ini, MissingFileIsAcceptedAndCreatedByTheFirstWrite) {
    clsIniRW fresh;
    fresh.File_Name(dir / "neu.ini");
    EXPECT_TRUE(fresh.FileOpen());
    EXPECT_EQ(fresh.File(), dir / "neu.ini");
    EXPECT_EQ(fresh.GetAllSections(), Names{""});
    EXPECT_FALSE(std::filesystem::exists(dir / "neu.ini"));
    EXPECT_TRUE(fresh.WriteData("S", "k", "v"));
    EXPECT_EQ(test::readFile(dir / "neu.ini"), "[S]\r\nk=v\r\n");
}

TEST_F(Ini, FileHeldOpenWithoutWriteSharingIsRefusedAndUnchanged) {
    const std::string before = test::readFile(path);
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    clsIniRW other;
    other.File_Name(path);
    CloseHandle(held);
    EXPECT_FALSE(other.FileOpen());
    EXPECT_EQ(other.File(), "");
    EXPECT_EQ(test::readFile(path), before);
}

TEST_F(Ini, SettingTheFileKeepsItsBytes) {
    test::writeFile(dir / "kopf.ini", "; Kommentar oben\r\ntop=1\r\n\r\n[S]\r\nk = v\r\n");
    clsIniRW other;
    other.File_Name(dir / "kopf.ini");
    EXPECT_TRUE(other.FileOpen());
    EXPECT_EQ(test::readFile(dir / "kopf.ini"), "; Kommentar oben\r\ntop=1\r\n\r\n[S]\r\nk = v\r\n");
}

TEST_F(Ini, ListsValuesAndBlankResults) {
    EXPECT_EQ(ini.GetAllSections(), (Names{"Praxis", "Pfade", "Leer", "Zwei"}));
    EXPECT_EQ(ini.GetAllKeysInSection("praxis"), (Names{"Name", "Ort"}));
    EXPECT_EQ(ini.GetAllKeysInSection("Leer"), Names{""});
    EXPECT_EQ(ini.GetAllKeysValuesInSection("Zwei"), (Rows{{"a", "1"}, {"b", "2"}}));
    EXPECT_EQ(ini.GetAllKeysValuesInSection("Leer"), (Rows{{"", ""}}));
    EXPECT_EQ(ini.GetValue("Pfade", "sicherung"), "D:\\Sicherung\\");  // quotes removed
    EXPECT_EQ(ini.GetValue("PFADE", "DATEN"), "C:\\Daten\\");
    EXPECT_EQ(ini.GetValue("Pfade", "fehlt"), "");
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(reports.reports.empty());
}

TEST_F(Ini, FindIgnoresLetterCase) {
    EXPECT_TRUE(ini.FindKeyInSection("Praxis", "NAME"));
    EXPECT_FALSE(ini.FindKeyInSection("Pfade", "Name"));
    EXPECT_EQ(ini.FindKeyInFile("A"), Names{"Zwei"});
    EXPECT_EQ(ini.FindKeyInFile("nirgends"), Names{""});
    EXPECT_EQ(ini.FindValueInSection("Zwei", "2"), Names{"b"});
    EXPECT_EQ(ini.FindValueInSection("Praxis", "HAMBURG"), Names{"Ort"});
    EXPECT_EQ(ini.FindValueInFile("2"), (Rows{{"Zwei", "b"}}));
    EXPECT_EQ(ini.FindValueInFile("nirgends"), (Rows{{"", ""}}));
}

TEST_F(Ini, NullAndEmptyArgumentsDiffer) {
    EXPECT_TRUE(ini.WriteData("Zwei", "leer", ""));
    EXPECT_EQ(ini.GetAllKeysInSection("Zwei"), (Names{"a", "b", "leer"}));
    EXPECT_TRUE(ini.DeleteData("Zwei", "a"));  // null value: the key goes
    EXPECT_EQ(ini.GetAllKeysInSection("Zwei"), (Names{"b", "leer"}));
    EXPECT_TRUE(ini.DeleteData("Praxis", std::nullopt));  // null key: the section goes
    EXPECT_EQ(ini.GetAllSections(), (Names{"Pfade", "Leer", "Zwei"}));
}

TEST_F(Ini, LongValuesAndLongListsComeBackWhole) {
    const std::string longValue(1000, 'v');
    EXPECT_TRUE(ini.WriteData("Lang", "wert", longValue));
    EXPECT_EQ(ini.GetValue("Lang", "wert"), longValue);
    const std::string exact(254, 'e');  // fills the first buffer exactly
    EXPECT_TRUE(ini.WriteData("Lang", "genau", exact));
    EXPECT_EQ(ini.GetValue("Lang", "genau"), exact);
    Names keys;
    std::string content = "[Viele]\r\n";
    for (int i = 0; i < 200; ++i) {
        keys.push_back("schluessel_" + std::to_string(i));
        content += keys.back() + "=" + std::to_string(i) + "\r\n";
    }
    test::writeFile(dir / "viele.ini", content);
    clsIniRW many;
    many.File_Name(dir / "viele.ini");
    EXPECT_EQ(many.GetAllKeysInSection("Viele"), keys);
    const PairTable rows = many.GetAllKeysValuesInSection("Viele");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 200u);
    EXPECT_EQ((*rows)[199], (std::array<std::string, 2>{"schluessel_199", "199"}));
}

TEST_F(Ini, CountsBeyondSixteenBitsAreReportedEachInItsWay) {
    std::string content = "[Riesig]\r\n";
    for (int i = 0; i < 32769; ++i) content += "k" + std::to_string(i) + "=1\r\n";
    test::writeFile(dir / "riesig.ini", content);
    clsIniRW big;
    big.File_Name(dir / "riesig.ini");
    EXPECT_EQ(big.GetAllKeysInSection("Riesig"), std::nullopt);  // through the error epilogue
    ASSERT_EQ(reports.reports.size(), 1u);
    EXPECT_EQ(reports.reports[0].number, 6);
    EXPECT_EQ(reports.reports[0].label, "Error in clsIniRW: Function GetAllKeysInSection");
    EXPECT_FALSE(big.FindKeyInSection("Riesig", "k1"));  // through its own message box
    EXPECT_EQ(boxes, std::vector<std::wstring>{
                         L"Ini RW Class: Error Number: 9\r\nSubscript out of range"});
    EXPECT_EQ(big.GetValue("Riesig", "k32767"), "1");
}

TEST_F(Ini, RenameSectionKeepsEveryKeyAndValue) {
    EXPECT_TRUE(ini.RenameSection("Praxis", "Einrichtung"));
    EXPECT_EQ(ini.GetAllKeysValuesInSection("Einrichtung"),
              (Rows{{"Name", "Dr. Muster"}, {"Ort", "Hamburg"}}));
    EXPECT_EQ(ini.GetAllKeysInSection("Praxis"), Names{""});
    EXPECT_FALSE(ini.FindKeyInSection("Einrichtung", "dummy"));

    EXPECT_TRUE(ini.RenameSection("Leer", "AuchLeer"));  // a section without keys
    EXPECT_EQ(ini.GetAllKeysInSection("AuchLeer"), Names{""});
    EXPECT_NE(test::readFile(path).find("[AuchLeer]\r\n"), std::string::npos);
    EXPECT_EQ(test::readFile(path).find("dummy"), std::string::npos);

    EXPECT_TRUE(ini.RenameSection("Zwei", " Zwei "));  // the same name to the platform
    EXPECT_EQ(ini.GetAllKeysValuesInSection("Zwei"), (Rows{{"a", "1"}, {"b", "2"}}));
    EXPECT_TRUE(ini.RenameSection("Zwei", "ZWEI"));  // only the letter case changes
    EXPECT_EQ(ini.GetAllKeysValuesInSection("Zwei"), (Rows{{"a", "1"}, {"b", "2"}}));
    EXPECT_NE(test::readFile(path).find("[ZWEI]\r\n"), std::string::npos);
}

TEST_F(Ini, RenameKeyKeepsItsValue) {
    EXPECT_TRUE(ini.RenameKey("Praxis", "Ort", "Stadt"));
    EXPECT_EQ(ini.GetAllKeysValuesInSection("Praxis"),
              (Rows{{"Name", "Dr. Muster"}, {"Stadt", "Hamburg"}}));
    EXPECT_TRUE(ini.RenameKey("Praxis", "Stadt", " Stadt "));
    EXPECT_EQ(ini.GetValue("Praxis", "Stadt"), "Hamburg");
    EXPECT_TRUE(ini.RenameKey("Praxis", "Name", "NAME"));
    EXPECT_EQ(ini.GetValue("Praxis", "name"), "Dr. Muster");
    EXPECT_NE(test::readFile(path).find("NAME=Dr. Muster"), std::string::npos);
}

TEST_F(Ini, RenameWhoseWriteFailsLeavesTheOldName) {
    const std::string before = test::readFile(path);
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ini.RenameSection("Praxis", "Einrichtung"));
    EXPECT_FALSE(ini.RenameSection("Praxis", "PRAXIS"));
    EXPECT_FALSE(ini.RenameKey("Praxis", "Ort", "Stadt"));
    EXPECT_FALSE(ini.WriteData("Praxis", "x", "1"));
    CloseHandle(held);
    EXPECT_EQ(test::readFile(path), before);
    EXPECT_EQ(ini.GetValue("Praxis", "Ort"), "Hamburg");
}

}  // namespace
}  // namespace fk
