// clsIniRW on real files through the platform's profile functions.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <tuple>

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

TEST_F(Ini, NothingIsTouchedBeforeFileName) {
    clsIniRW fresh;
    EXPECT_FALSE(fresh.FileOpen());
    EXPECT_EQ(fresh.File(), "");
    EXPECT_EQ(fresh.GetValue("a", "b"), "");
    EXPECT_FALSE(fresh.WriteData("a", "b", "c"));
    EXPECT_EQ(fresh.GetAllSections(), std::nullopt);
    EXPECT_EQ(fresh.GetAllKeysValuesInSection("a"), std::nullopt);
    EXPECT_EQ(fresh.FindValueInFile("c"), std::nullopt);
    EXPECT_FALSE(fresh.RenameSection("a", "b"));
    EXPECT_TRUE(boxes.empty());
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
    // Ordinal: either letter case matches, but no letter expands and none is ignored.
    const std::tuple<const char*, const char*, bool> names[] = {{"strasse", "STRASSE", true},
        {"\xC4rzte", "\xE4rzte", true}, {"Ma\xDF", "Mass", false}, {"x\xADy", "xy", false}};
    for (const auto& [stored, probe, same] : names) {
        ini.WriteData(stored, stored, stored);
        EXPECT_EQ(ini.FindKeyInSection(stored, probe), same) << probe;
        EXPECT_EQ(ini.FindValueInSection(stored, probe), Names{same ? stored : ""}) << probe;
    }
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
    Names keys;
    Rows rows;
    std::string content = "[Viele]\r\n";
    for (int i = 0; i < 200; ++i) {
        keys.push_back("schluessel_" + std::to_string(i));
        rows.push_back({keys.back(), std::to_string(i)});
        content += keys.back() + "=" + rows.back()[1] + "\r\n";
    }
    test::writeFile(path, content);
    EXPECT_EQ(ini.GetAllKeysInSection("Viele"), keys);
    EXPECT_EQ(ini.GetAllKeysValuesInSection("Viele"), rows);
    const std::string longValue(1000, 'v');
    EXPECT_TRUE(ini.WriteData("Lang", "wert", longValue));
    EXPECT_EQ(ini.GetValue("Lang", "wert"), longValue);
    const std::string exact(254, 'e');  // fills the first buffer exactly
    EXPECT_TRUE(ini.WriteData("Lang", "genau", exact));
    EXPECT_EQ(ini.GetValue("Lang", "genau"), exact);
}

TEST_F(Ini, SixteenBitOverflowsAreReportedByTheOperationThatWalks) {
    // 32,768 sections; [Voll] holds 32,768 keys, [Mehr] one more than a 16-bit index reaches.
    std::string keys, more;
    for (int i = 0; i < 32768; ++i) keys += "k" + std::to_string(i) + "=1\r\n";
    for (int i = 2; i < 32768; ++i) more += "[s" + std::to_string(i) + "]\r\n";
    test::writeFile(path, "[Voll]\r\n" + keys + "[Mehr]\r\nk=1\r\n" + keys + more);
    const std::wstring six = L"Ini RW Class: Error Number: 6\r\nOverflow",
                       nine = L"Ini RW Class: Error Number: 9\r\nSubscript out of range",
                       central = L"central 6 Error in clsIniRW: Function GetAllKeysInSection";
    // Each call gives its nothing-result; events: the boxes shown, an error raised to the
    // caller, then the reports to the central handler.
    const std::tuple<const char*, std::function<bool()>, std::vector<std::wstring>> rows[] = {
        {"FindKeyInSection", [&] { return !ini.FindKeyInSection("Voll", "k1"); }, {six}},
        {"GetAllKeysValues", [&] { return !ini.GetAllKeysValuesInSection("Voll"); }, {six}},
        {"FindValueInSection", [&] { return !ini.FindValueInSection("Voll", "1"); }, {six, nine}},
        {"FindKeyInFile", [&] { return !ini.FindKeyInFile("k1"); }, {six}},
        {"FindValueInFile", [&] { return !ini.FindValueInFile("1"); }, {L"raised 6"}},
        {"GetAllKeysInSection", [&] { return !ini.GetAllKeysInSection("Mehr"); }, {central}},
        {"FindKeyInMehr", [&] { return !ini.FindKeyInSection("Mehr", "k"); }, {nine, central}}};
    for (const auto& [name, call, events] : rows) {
        boxes.clear();
        reports.reports.clear();
        try {
            EXPECT_TRUE(call()) << name;
        } catch (const RuntimeError& e) {
            boxes.push_back(L"raised " + std::to_wstring(e.number()));
        }
        for (const auto& r : reports.reports) {
            const std::wstring label(r.label.begin(), r.label.end());
            boxes.push_back(L"central " + std::to_wstring(r.number) + L" " + label);
        }
        EXPECT_EQ(boxes, events) << name;
    }
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

TEST_F(Ini, FileHeldWithoutWriteSharingIsRefusedAndRenamesLeaveItUnchanged) {
    const std::string before = test::readFile(path);
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    clsIniRW other;
    other.File_Name(path);
    EXPECT_FALSE(other.FileOpen());
    EXPECT_EQ(other.File(), "");
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
