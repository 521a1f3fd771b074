// clsIniRW on real files through the platform's profile functions.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <utility>

#include "../report_recorder.h"
#include "test_support.h"
#include "util/clsIniRW.h"
#include "base/encoding.h"
#include "base/seams.h"

namespace fk {
namespace {

const std::string kFixture =
    "[Praxis]\r\nName=Muster\r\nOrt=Kiel\r\n[Filiale]\r\nort=Kiel\r\n"
    "[Leer]\r\n[Zwei]\r\na=1\r\nb=2\r\n[Alt]\r\nx=1\r\n";

struct Ini : ::testing::Test {
    Ini() {
        seams().messageBox = [this](HWND, auto& text, auto& title, UINT) {
            boxes.push_back(title + L": " + text);
            return IDOK;
        };
        test::writeFile(path, kFixture);
        ini.File_Name(path);
    }
    // The n-th profile write from now fails, as on a file held open.
    void failWrite(int n) {
        seams().writeProfileString = [n](auto... args) mutable {
            return --n != 0 && WritePrivateProfileStringA(args...);
        };
    }
    SeamsOverride seamsGuard;
    test::ReportRecorder reports;
    std::vector<std::wstring> boxes;
    test::TempFolder dir;
    const std::string path = dir / "praxis.ini";
    clsIniRW ini, big;
};

TEST_F(Ini, FileNameTakesAMissingFileButNotOneHeldWithoutWriteSharing) {
    clsIniRW fresh;  // nothing is touched before a file is set: false, or an absent list
    EXPECT_FALSE(fresh.WriteData("a", "b", "c") || fresh.GetAllSections() ||
                 fresh.GetAllKeysInSection("a") || fresh.FindValueInFile("c"));
    fresh.File_Name("neu.ini");  // a name alone is in the current folder, not the Windows one
    EXPECT_EQ(fresh.File(), (std::filesystem::current_path() / "neu.ini").string());
    fresh.File_Name(dir / "neu.ini");  // created by the first write, not before
    EXPECT_TRUE(!std::filesystem::exists(dir / "neu.ini") && fresh.WriteData("S", "k", "v"));
    EXPECT_EQ(test::readFile(dir / "neu.ini"), "[S]\r\nk=v\r\n");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    fresh.File_Name(path);
    EXPECT_FALSE(fresh.FileOpen() || !fresh.File().empty());
    EXPECT_FALSE(ini.RenameSection("Praxis", "Einrichtung") ||
                 ini.RenameSection("Praxis", "PRAXIS") || ini.RenameKey("Praxis", "Ort", "Stadt"));
    CloseHandle(held);
    EXPECT_EQ(test::readFile(path), kFixture);
}

TEST_F(Ini, ReadsComeBackWholeAndFindsIgnoreLetterCaseOrdinally) {
    EXPECT_EQ(ini.GetValue("Praxis", "fehlt"), "");
    EXPECT_EQ(ini.GetAllKeysValuesInSection("Leer"), (KeyValueRows{{"", ""}}));
    EXPECT_EQ(ini.FindKeyInFile("ORT"), (std::vector<std::string>{"Praxis", "Filiale"}));
    EXPECT_EQ(ini.FindKeyInFile("nirgends"), std::vector<std::string>{""});
    EXPECT_EQ(ini.FindValueInFile("kiel"), (SectionKeyRows{{"Praxis", "Ort"}, {"Filiale", "ort"}}));
    EXPECT_EQ(ini.FindValueInFile("nirgends"), (SectionKeyRows{{"", ""}}));
    // Either letter case matches, but no letter expands into others and none is ignored.
    const std::tuple<const char*, const char*, bool> names[] = {{"strasse", "STRASSE", true},
                                                                {"\xC4rzte", "\xE4rzte", true},
                                                                {"Ma\xDF", "Mass", false},
                                                                {"x\xADy", "xy", false}};
    for (const auto& [key, probe, same] : names)
        EXPECT_EQ(ini.WriteData("N", key, "1") && ini.FindKeyInSection("N", probe), same) << probe;
    KeyValueRows rows{{"lang", std::string(1000, 'v')}};  // beyond the first buffers
    for (int i = 0; i < 200; ++i) rows.push_back({"k" + std::to_string(i), std::to_string(i)});
    for (const auto& [key, value] : rows) ini.WriteData("Viele", key, value);
    EXPECT_EQ(ini.GetAllKeysValuesInSection("Viele"), rows);
}

TEST_F(Ini, RefusalsAndOverflowsAreReportedByTheOperationThatMeetsThem) {
    // big.ini: 32,768 sections; [Voll] holds 32,768 keys, [Mehr] one more than 16 bits index.
    std::string keys, more;
    for (int i = 0; i < 32768; ++i) keys += "k" + std::to_string(i) + "=1\r\n";
    for (int i = 2; i < 32768; ++i) more += "[s" + std::to_string(i) + "]\r\n";
    test::writeFile(dir / "big.ini", "[Voll]\r\n" + keys + "[Mehr]\r\nk=1\r\n" + keys + more);
    big.File_Name(dir / "big.ini");
    const std::vector<std::wstring> five{L"central 5 Error in clsIniRW: Function WriteData"},
        box5{L"Ini RW Class: Error Number: 5\r\nInvalid procedure call or argument"};
    // Each call gives its nothing-result. Events: the boxes shown, an error raised to the
    // caller, then the reports to the central handler. Refused names and values, renames from
    // a missing name or onto another existing one, and renames that fail part way (at the
    // n-th write) leave the file as it was.
    const std::tuple<const char*, std::function<bool()>, std::vector<std::wstring>> rows[] = {
        {"FindValueInSection",
         [&] { return !big.FindValueInSection("Voll", "1"); },
         {L"Ini RW Class: Error Number: 6\r\nOverflow",
          L"Ini RW Class: Error Number: 9\r\nSubscript out of range"}},
        {"FindValueInFile", [&] { return !big.FindValueInFile("1"); }, {L"raised 6"}},
        {"GetAllKeysInSection",
         [&] { return !big.GetAllKeysInSection("Mehr"); },
         {L"central 6 Error in clsIniRW: Function GetAllKeysInSection"}},
        {"blank section", [&] { return !ini.WriteData(" ", "k", "v"); }, five},
        {"empty key", [&] { return !ini.WriteData("Zwei", "", "v"); }, five},
        {"key with =", [&] { return !ini.WriteData("Zwei", "a=b", "v"); }, five},
        {"key after ;", [&] { return !ini.WriteData("Zwei", " ;k", "v"); }, five},
        {"key after [", [&] { return !ini.WriteData("Zwei", "[k", "v"); }, five},
        {"section with ]", [&] { return !ini.WriteData("a]b", "k", "v"); }, five},
        {"value with LF", [&] { return !ini.WriteData("Zwei", "k", "1\n[x]"); }, five},
        {"new section with CR", [&] { return !ini.RenameSection("Zwei", "a\rb"); }, box5},
        {"new key with LF", [&] { return !ini.RenameKey("Zwei", "a", "a\nb"); }, box5},
        {"missing section", [&] { return !ini.RenameSection("Fehlt", "Neu"); }, {}},
        {"missing key", [&] { return !ini.RenameKey("Zwei", "c", "d"); }, {}},
        {"taken section", [&] { return !ini.RenameSection("Zwei", " praxis"); }, {}},
        {"taken key", [&] { return !ini.RenameKey("Zwei", "a", "B"); }, {}},
        {"section, 2nd key", [&] { return failWrite(2), !ini.RenameSection("Zwei", "Neu"); }, {}},
        {"section, delete", [&] { return failWrite(3), !ini.RenameSection("Zwei", "Neu"); }, {}},
        {"key, delete", [&] { return failWrite(2), !ini.RenameKey("Zwei", "a", "c"); }, {}}};
    for (const auto& [name, call, events] : rows) {
        try {
            EXPECT_TRUE(call()) << name;
        } catch (const RuntimeError& e) {
            boxes.push_back(L"raised " + std::to_wstring(e.number()));
        }
        for (const auto& r : std::exchange(reports.reports, {}))
            boxes.push_back(L"central " + std::to_wstring(r.number) + L" " + widenAnsi(r.label));
        EXPECT_EQ(std::exchange(boxes, {}), events) << name;
        EXPECT_EQ(test::readFile(path), kFixture) << name;
    }
    const std::string unnamed = "[A]\r\n=v\r\nk=1\r\n";  // the key list ends at "=v"
    test::writeFile(path, unnamed);
    EXPECT_FALSE(ini.RenameSection("A", "a") || ini.RenameSection("A", "B"));
    EXPECT_EQ(test::readFile(path), unnamed);
}

TEST_F(Ini, WritesDeletesAndRenamesKeepEveryOtherKeyAndValue) {
    // The empty value keeps its key; a null value deletes the key, a null key the section.
    // Of an empty section only the header line is written. " Zwei " and "ZWEI" name the same
    // section to the platform, " Stadt " and "NAME" the same keys: only the spelling changes.
    // Values move with their quotes and the blanks inside them.
    ini.WriteData("Filiale", "T", "\" ; \""), ini.WriteData("Praxis", "V", "\"x\"");
    EXPECT_TRUE(ini.RenameKey("Praxis", "V", "U") && ini.WriteData("Zwei", "leer", "") &&
                ini.DeleteData("Zwei", "a") && ini.DeleteData("Alt", std::nullopt) &&
                ini.RenameSection("Filiale", "Lager") && ini.RenameSection("Leer", "AuchLeer") &&
                ini.RenameSection("Zwei", " Zwei ") && ini.RenameSection("Zwei", "ZWEI") &&
                ini.RenameKey("Praxis", "Ort", "Stadt") &&
                ini.RenameKey("Praxis", "Stadt", " Stadt ") &&
                ini.RenameKey("Praxis", "Name", "NAME"));
    EXPECT_EQ(test::readFile(path),
              "[Praxis]\r\nU=\"x\"\r\nStadt=Kiel\r\nNAME=Muster\r\n[Lager]\r\n"
              "ort=Kiel\r\nT=\" ; \"\r\n[AuchLeer]\r\n[ZWEI]\r\nb=2\r\nleer=\r\n");
}

}  // namespace
}  // namespace fk
