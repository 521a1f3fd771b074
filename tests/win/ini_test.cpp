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
    // `call`, with the n-th profile write from its start failing, as on a file held open.
    std::function<bool()> failingAt(int n, std::function<bool()> call) {
        return [n, call] {
            seams().writeProfileString = [n](auto... args) mutable {
                return --n != 0 && WritePrivateProfileStringA(args...);
            };
            return call();
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
    EXPECT_FALSE(fresh.WriteData("a", "b", "c"));
    EXPECT_FALSE(fresh.GetAllSections());
    EXPECT_FALSE(fresh.GetAllKeysInSection("a"));
    EXPECT_FALSE(fresh.FindValueInFile("c"));
    fresh.File_Name("neu.ini");  // a name alone is in the current folder, not the Windows one
    EXPECT_EQ(fresh.File(), (std::filesystem::current_path() / "neu.ini").string());
    fresh.File_Name(dir / "neu.ini");  // created by the first write, not before
    EXPECT_FALSE(std::filesystem::exists(dir / "neu.ini"));
    EXPECT_TRUE(fresh.WriteData("S", "k", "v"));
    EXPECT_EQ(test::readFile(dir / "neu.ini"), "[S]\r\nk=v\r\n");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    fresh.File_Name(path);
    EXPECT_FALSE(fresh.FileOpen());
    EXPECT_EQ(fresh.File(), "");
    EXPECT_FALSE(ini.RenameSection("Praxis", "Einrichtung"));
    EXPECT_FALSE(ini.RenameKey("Praxis", "Ort", "Stadt"));
    CloseHandle(held);
    EXPECT_EQ(test::readFile(path), kFixture);
}

TEST_F(Ini, ReadsComeBackWholeAndFindsIgnoreLetterCaseOrdinally) {
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
    for (const auto& [key, probe, same] : names) {
        ASSERT_TRUE(ini.WriteData("N", key, "1")) << key;
        EXPECT_EQ(ini.FindKeyInSection("N", probe), same) << probe;
    }
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
        {"value with LF", [&] { return !ini.WriteData("Zwei", "k", "1\n[x]"); }, five},
        {"new section with CR", [&] { return !ini.RenameSection("Zwei", "a\rb"); }, box5},
        {"new key with LF", [&] { return !ini.RenameKey("Zwei", "a", "a\nb"); }, box5},
        {"missing section", [&] { return !ini.RenameSection("Fehlt", "Neu"); }, {}},
        {"missing key", [&] { return !ini.RenameKey("Zwei", "c", "d"); }, {}},
        {"taken section", [&] { return !ini.RenameSection("Zwei", " praxis"); }, {}},
        {"taken key", [&] { return !ini.RenameKey("Zwei", "a", "B"); }, {}},
        {"section, 2nd key", failingAt(2, [&] { return !ini.RenameSection("Zwei", "Neu"); }), {}},
        {"section, delete", failingAt(3, [&] { return !ini.RenameSection("Zwei", "Neu"); }), {}},
        {"key, delete", failingAt(2, [&] { return !ini.RenameKey("Zwei", "a", "c"); }), {}}};
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
    EXPECT_FALSE(ini.RenameSection("A", "a"));
    EXPECT_FALSE(ini.RenameSection("A", "B"));
    EXPECT_EQ(test::readFile(path), unnamed);
}

}  // namespace
}  // namespace fk
