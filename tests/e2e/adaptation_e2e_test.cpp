// End to end: the real FollowKelvaro.exe in a Wine prefix of its own, with the
// prefix's real shell folders, driven from outside its process.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <string>

#include "../win/test_support.h"
#include "app/main_window.h"
#include "errors/frmError.h"
#include "util/dbases.h"
#include "util/controls.h"

namespace fk {
namespace {

using test::readFile;
namespace fs = std::filesystem;

const std::string kLocal = "C:\\ProgramData\\Talvorin_Patientendaten\\";
const std::string kCentral = kLocal + "\r\n; zentral\r\n";
const std::string kOld = "C:\\Alt\\Talvorin_Patientendaten\\\r\n";

// The dbpfad.ini of a companion (0 to 2) under program files (0) or the x86 folder (1).
std::string companionFile(int folder, int companion) {
    const char* roots[] = {"C:\\Program Files\\Talvorin\\", "C:\\Program Files (x86)\\Talvorin\\"};
    const char* names[] = {"Dorvant_Assistent_Zeph", "LomerAssistent_800", "Pellinor"};
    return std::string(roots[folder]) + names[companion] + "\\dbpfad.ini";
}

void installCompanion(int folder, int companion, const std::string& bytes = kOld) {
    fs::create_directories(fs::path(companionFile(folder, companion)).parent_path());
    test::writeFile(companionFile(folder, companion), bytes);
}

// Polls for up to 15 seconds until `done` holds.
template <class Condition>
void waitUntil(Condition done) {
    for (int i = 0; i < 600 && !done(); ++i) Sleep(25);
}

// Waits for a visible window of the program (the test itself shows none).
HWND waitForWindow(const wchar_t* cls, const wchar_t* title = nullptr) {
    waitUntil([&] { return IsWindowVisible(FindWindowW(cls, title)); });
    return FindWindowW(cls, title);
}

std::wstring expectedLog(const std::vector<bool>& done) {
    std::wstring log = L"DBPfad suchen...   ...VORHANDEN!\r\n";
    const wchar_t* names[] = {L"Dorvant-Assistent", L"Lomer-Assistent 800", L"Pellinor"};
    for (int i = 0; i < 3; ++i) {
        log += names[i] + std::wstring(done[i] ? L" installiert ?   ...UMGESETZT!\r\n"
                                               : L" installiert ?   ...NICHT UMGESETZT!\r\n");
    }
    return log +
           L"FollowKelvaro ist abgeschlossen!\r\n"
           L"Ein Click auf 'ENDE' schlie\u00DFt das Programm!\r\n";
}

struct Layout {
    const char* name;
    std::vector<std::pair<int, int>> installed;  // (program-files folder, companion)
    std::vector<bool> done;
};
void PrintTo(const Layout& layout, std::ostream* out) {
    *out << layout.name;
}

// No companion installed, no local data folder: each test starts from there.
void cleanPrefix() {
    test::removeTree("C:\\Program Files\\Talvorin");
    test::removeTree("C:\\Program Files (x86)\\Talvorin");
    test::removeTree(kLocal);
    fs::create_directories(kLocal);
}

class Adaptation : public ::testing::TestWithParam<Layout> {
protected:
    void SetUp() override { cleanPrefix(); }
    void TearDown() override {  // ends the program when a test failed before it ended
        TerminateProcess(pi.hProcess, 99), CloseHandle(pi.hThread), CloseHandle(pi.hProcess);
    }
    void start() {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring cmd = L"\"" + test::exePath() + L"\"";
        ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi));
        WaitForInputIdle(pi.hProcess, 15000);
        ASSERT_TRUE(window = waitForWindow(L"FollowKelvaro"));
    }
    void click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }
    HWND focused() {  // once the program has put the focus somewhere
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        waitUntil([&] { return GetGUIThreadInfo(pi.dwThreadId, &gui) && gui.hwndFocus; });
        return gui.hwndFocus;
    }
    // A key pressed on the control that has the focus.
    void key(WPARAM vk) { PostMessageW(focused(), WM_KEYDOWN, vk, 0), Sleep(100); }
    bool endeShown() { return IsWindowVisible(GetDlgItem(window, cmdWEITER)) != FALSE; }
    std::wstring log() { return windowText(GetDlgItem(window, LBLablauf)); }
    DWORD exitCode() {
        DWORD code = WaitForSingleObject(pi.hProcess, 15000);
        return GetExitCodeProcess(pi.hProcess, &code), code;
    }

    PROCESS_INFORMATION pi{};
    HWND window = nullptr;
};

// Each run copies the central file over the first companion file found; a second run
// repeats everything; "Ende" ends the program.
TEST_P(Adaptation, StartAdaptsTheFirstFileFoundOfEachCompanionTwice) {
    test::writeFile(kLocal + "dbpfad.ini", kCentral);
    start();
    EXPECT_FALSE(endeShown());
    for (int run = 0; run < 2; ++run) {
        for (auto [folder, companion] : GetParam().installed) installCompanion(folder, companion);
        DWORD_PTR ignored = 0;  // sent, not posted: it returns once the run is over
        SendMessageTimeoutW(GetDlgItem(window, cmdStart), BM_CLICK, 0, 0, 0, 15000, &ignored);
        EXPECT_TRUE(endeShown());
        EXPECT_EQ(log(), expectedLog(GetParam().done)) << run;
        for (auto [folder, c] : GetParam().installed) {  // under both: only the first changes
            const bool first = folder == 0 || !fs::exists(companionFile(0, c));
            EXPECT_EQ(readFile(companionFile(folder, c)), first ? kCentral : kOld) << folder << c;
        }
    }
    key(VK_TAB), key(VK_RETURN);  // Tab reaches "Ende" once it is shown; Enter presses it
    EXPECT_EQ(exitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Companions, Adaptation,
    ::testing::Values(Layout{"none", {}, {false, false, false}},
                      Layout{"all", {{0, 0}, {0, 1}, {0, 2}}, {true, true, true}},
                      Layout{"firstAndThirdApart", {{0, 0}, {1, 2}}, {true, false, true}},
                      Layout{"underBothFolders", {{0, 1}, {1, 1}}, {false, true, false}}),
    [](const ::testing::TestParamInfo<Layout>& row) { return std::string(row.param.name); });

// Every row of the control table is a control at its twips converted with the real DPI;
// the window's children follow their tab indices. The focus starts on "Start", so Enter
// starts the run.
TEST_F(Adaptation, WithoutCentralFileTheUserReadsWhyAndTheProgramEnds) {
    for (int c = 0; c < 3; ++c) installCompanion(0, c);
    start();
    const Dpi dpi = screenDpi();
    auto px = [dpi](int t, bool y = false) -> LONG { return MulDiv(t, y ? dpi.y : dpi.x, 1440); };
    RECT r;
    GetClientRect(window, &r);
    EXPECT_EQ(std::pair(r.right, r.bottom), std::pair(px(10680), px(8340, true)));
    EXPECT_EQ(windowText(window), L"Follow Kelvaro");
    std::map<int, HWND> byTabIndex;
    for (const ControlSpec& row : mainWindowControls()) {
        HWND c = GetDlgItem(row.parent ? GetDlgItem(window, row.parent) : window, row.id);
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
        const bool banner = row.id == imgbanner;  // shown at the bitmap's natural size
        const LONG width = banner ? 500 : px(row.at.width);
        const LONG height = banner ? 70 : px(row.at.height, true);
        EXPECT_EQ(std::vector({r.left, r.top, r.right - r.left, r.bottom - r.top}),
                  std::vector({px(row.at.left), px(row.at.top, true), width, height}))
            << row.id;
        if (!row.parent) {
            EXPECT_TRUE(byTabIndex.emplace(row.tabIndex, c).second) << row.id;
        }
    }
    HWND child = GetWindow(window, GW_CHILD);
    for (const auto& [tabIndex, control] : byTabIndex) {
        EXPECT_EQ(child, control) << tabIndex;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    key(VK_RETURN);
    HWND box = waitForWindow(L"#32770", L"Follow Kelvaro");
    EXPECT_EQ(windowText(GetDlgItem(box, 0xFFFF)),
              L"DBPfad suchen...   ...NICHT VORHANDEN!\r\n"
              L"Diese Programm ist nicht nutzbar und bricht ab!");
    click(GetDlgItem(box, IDOK));
    EXPECT_EQ(exitCode(), 0u);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(readFile(companionFile(0, c)), kOld) << c;
}

TEST_F(Adaptation, AHeldCompanionIsReportedNotDoneTheOthersGoOnAndTheCloseBoxEnds) {
    test::writeFile(kLocal + "dbpfad.ini", kCentral);
    for (int c = 0; c < 3; ++c) installCompanion(0, c);
    HANDLE held = CreateFileA(companionFile(0, 1).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    start();
    click(GetDlgItem(window, cmdStart));
    click(GetDlgItem(waitForWindow(L"#32770", L"Fehler"), cmdOK));
    waitUntil([&] { return endeShown(); });
    CloseHandle(held);
    EXPECT_EQ(log(), expectedLog({true, false, true}));
    EXPECT_EQ(readFile(companionFile(0, 1)) + readFile(companionFile(0, 2)), kOld + kCentral);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0u);
}

// FollowKelvaroCmd: arguments, the central file ("": none), the companions' bytes before,
// whether the second one is held open or hidden; the exit code, the companions' bytes
// after, what it says, what the error log holds, its warning line ("": none). kCentral
// names a data folder that holds person.pxd.
enum Second { asIs, held, hidden };
struct Cmd {
    const char* name;
    std::wstring args;
    std::string central, before;
    Second second;
    DWORD exit;
    std::string after, says, logged{}, warns{};
};
void PrintTo(const Cmd& row, std::ostream* out) {
    *out << row.name;
}
// Central files that point nowhere, and what --check says of them after kWarning.
const std::string kNoDir = "C:\\Nirgends\\\r\n", kNoPxd = "C:\\windows\r\n";
const std::string kWarning = "Warnung: Die zentrale dbpfad.ini verweist auf ";
const std::string kNoDirSaid = "C:\\Nirgends\\, diesen Ordner gibt es nicht.";
const std::string kNoPxdSaid = "C:\\windows\\, dort fehlt person.pxd.";
class Console : public ::testing::TestWithParam<Cmd> {
    void SetUp() override { cleanPrefix(), test::writeFile(kLocal + "person.pxd", ""); }
};

TEST_P(Console, ExitCodeFilesAndOutput) {
    const Cmd& row = GetParam();
    if (!row.central.empty()) test::writeFile(kLocal + "dbpfad.ini", row.central);
    for (int c = 0; c < 3; ++c) installCompanion(0, c, row.before);
    const std::string second = companionFile(0, 1);
    if (row.second == hidden) SetFileAttributesA(second.c_str(), FILE_ATTRIBUTE_HIDDEN);
    const auto before = fs::last_write_time(companionFile(0, 0)) - std::chrono::hours(24);
    for (int c = 0; c < 3; ++c) fs::last_write_time(companionFile(0, c), before);
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE out = CreateFileA((kLocal + "out").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                             CREATE_ALWAYS, 0, nullptr);
    HANDLE open = row.second == held ? CreateFileA(second.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                   nullptr, OPEN_EXISTING, 0, nullptr)
                                     : nullptr;
    STARTUPINFOW si{};
    si.cb = sizeof si, si.dwFlags = STARTF_USESTDHANDLES, si.hStdOutput = si.hStdError = out;
    const std::wstring gui = test::exePath();
    std::wstring cmd = L"\"" + gui.substr(0, gui.size() - 4) + L"Cmd.exe\" " + row.args;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(
        CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi));
    DWORD code = WaitForSingleObject(pi.hProcess, 30000);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread), CloseHandle(pi.hProcess), CloseHandle(out), CloseHandle(open);
    EXPECT_EQ(code, row.exit);
    for (int c = 0; c < 3; ++c) {  // a file that is not written keeps its time
        const std::string now = readFile(companionFile(0, c));
        EXPECT_EQ(now, c == 1 && row.second != asIs ? row.before : row.after) << c;
        EXPECT_EQ(fs::last_write_time(companionFile(0, c)) == before, now == row.before) << c;
    }
    const std::string said = readFile(kLocal + "out");
    EXPECT_NE(said.find(row.says), std::string::npos) << said;
    EXPECT_NE(readFile(kLocal + "Errorlog.txt").find(row.logged), std::string::npos);
    const auto at = said.find(kWarning), from = at + kWarning.size();
    EXPECT_EQ(at == said.npos ? "" : said.substr(from, said.find('\r', from) - from), row.warns);
}

const std::string kHiddenNotTaken =
    "...NICHT UMGESETZT!\r\nC:\\Program Files\\Talvorin\\LomerAssistent_800\\dbpfad.ini: nicht "
    "\xFC"
    "bernommen (Attribute: versteckt)";

INSTANTIATE_TEST_SUITE_P(
    Unattended, Console,
    ::testing::Values(
        Cmd{"run", L"", kNoDir, kOld, asIs, 0, kNoDir, "Pellinor installiert ?   ...UMGESETZT!"},
        Cmd{"checkBefore", L"--check", kNoDir, kOld, asIs, 1, kOld, "WIRD UMGESETZT!", "",
            kNoDirSaid},
        Cmd{"checkNoPxd", L"--check", kNoPxd, kNoPxd, asIs, 0, kNoPxd, "...FOLGT", "", kNoPxdSaid},
        Cmd{"checkAfter", L"--check", kCentral, kCentral, asIs, 0, kCentral, "...FOLGT KELVARO!"},
        Cmd{"followsAlready", L"", kCentral, kCentral, asIs, 0, kCentral, "'ENDE' schlie\xDFt"},
        Cmd{"missing", L"", "", kOld, asIs, 2, kOld, "nicht nutzbar und bricht ab!"},
        Cmd{"held", L"", kCentral, kOld, held, 1, kCentral, "NICHT UMGESETZT!",
            "Sub testeaufprogramm"},
        Cmd{"hidden", L"", kCentral, kOld, hidden, 1, kCentral, kHiddenNotTaken},
        Cmd{"hiddenCheck", L"--check", kCentral, kCentral, hidden, 1, kCentral, kHiddenNotTaken},
        Cmd{"help", L"--help", kCentral, kOld, asIs, 0, kOld, "Aufruf: FollowKelvaroCmd"},
        Cmd{"helpShort", L"-h", kCentral, kOld, asIs, 0, kOld, "Aufruf: FollowKelvaroCmd"},
        Cmd{"helpSlash", L"/?", kCentral, kOld, asIs, 0, kOld, "Aufruf: FollowKelvaroCmd"},
        Cmd{"wrong", L"--x", kCentral, kOld, asIs, 3, kOld, "Exit-Code: 0 alle"}),
    [](const ::testing::TestParamInfo<Cmd>& row) { return std::string(row.param.name); });

// The empty table templates open as tables with no records, the fields and the record
// length they are meant to have.
TEST(Program, CarriesTheEmptyTableTemplates) {
    HMODULE exe = LoadLibraryExW(test::exePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const test::TempFolder dir;
    for (const auto [id, fields, recordLength] :
         {std::array{101, 14, 269}, {102, 74, 2881}, {103, 254, 260}, {104, 59, 3461}}) {
        HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(id), RT_RCDATA);
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(exe, found)));
        test::writeFile(dir / "t.dbf", {bytes, SizeofResource(exe, found)});
        dbases table;
        table.FileOpen(dir / "t.dbf");
        EXPECT_EQ(std::tuple(table.NoRecords, int{table.mnFields}, int{table.Recordlength}),
                  std::tuple(0, fields, recordLength))
            << id;
    }
}

}  // namespace
}  // namespace fk
