// End to end: the real FollowKelvaro.exe in a Wine prefix of its own, with the
// prefix's real shell folders, driven from outside its process.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "../win/test_support.h"
#include "app/main_window.h"
#include "errors/frmError.h"
#include "base/handles.h"

namespace fk {
namespace {

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
        log += names[i] + std::wstring(L" installiert ?   ...") + (done[i] ? L"" : L"NICHT ");
        log += L"UMGESETZT!\r\n";
    }
    log += L"FollowKelvaro ist abgeschlossen!\r\n";
    return log + L"Ein Click auf 'ENDE' schlie\u00DFt das Programm!\r\n";
}

// No companion installed, a local data folder with nothing but the main product's table
// person.pxd: each test starts from there.
void cleanPrefix() {
    test::removeTree("C:\\Program Files\\Talvorin");
    test::removeTree("C:\\Program Files (x86)\\Talvorin");
    test::removeTree(kLocal);
    fs::create_directories(kLocal);
    test::writeFile(kLocal + "person.pxd", "");
}

class Adaptation : public ::testing::Test {
protected:
    void SetUp() override { cleanPrefix(); }
    // Ends the program when a test failed before it ended.
    void TearDown() override { TerminateProcess(process.get(), 99); }
    void start() {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        ASSERT_TRUE(CreateProcessW(test::exePath().c_str(), nullptr, nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &si, &pi));
        process.reset(pi.hProcess);
        thread.reset(pi.hThread);
        ASSERT_TRUE(window = waitForWindow(L"FollowKelvaro"));
    }
    HWND focused() {  // once the program has put the focus somewhere
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        waitUntil([&] { return GetGUIThreadInfo(pi.dwThreadId, &gui) && gui.hwndFocus; });
        return gui.hwndFocus;
    }
    // A key pressed on the control that has the focus, after what was posted before.
    void key(WPARAM vk) { PostMessageW(focused(), WM_KEYDOWN, vk, 0); }
    std::wstring log() { return windowText(GetDlgItem(window, LBLablauf)); }
    DWORD exitCode() {
        DWORD code = WaitForSingleObject(pi.hProcess, 15000);
        GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }

    PROCESS_INFORMATION pi{};
    FileHandle process, thread;
    HWND window = nullptr;
};

// A first run finds no companion; the second repeats everything and copies the central
// file over the first file found of each: Dorvant's under program files is held open (the
// error dialog comes, the run goes on once it is closed), Lomer's is under both folders
// (only the first changes), Pellinor's under the x86 folder. The dialog took the
// activation; once the window has it again, the focus is back on "Ende", where Tab put
// it, and Enter presses it.
TEST_F(Adaptation, EachStartAdaptsTheFirstFileFoundOfEachCompanion) {
    test::writeFile(kLocal + "dbpfad.ini", kCentral);
    start();
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, cmdWEITER)));
    // Sent, not posted: it returns once the run is over.
    SendMessageTimeoutW(GetDlgItem(window, cmdStart), BM_CLICK, 0, 0, 0, 15000, nullptr);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, cmdWEITER)));
    EXPECT_EQ(log(), expectedLog({false, false, false}));
    key(VK_TAB);
    for (auto [folder, c] : {std::pair{0, 0}, {0, 1}, {1, 1}, {1, 2}}) installCompanion(folder, c);
    const FileHandle held(CreateFileA(companionFile(0, 0).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    PostMessageW(window, WM_COMMAND, cmdStart, 0);  // as a click on "Start" that leaves the focus
    PostMessageW(GetDlgItem(waitForWindow(L"#32770", L"Fehler"), cmdOK), BM_CLICK, 0, 0);
    waitUntil([&] { return log() == expectedLog({false, true, true}); });
    EXPECT_EQ(log(), expectedLog({false, true, true}));
    EXPECT_EQ(test::readFile(companionFile(0, 0)), kOld);
    EXPECT_EQ(test::readFile(companionFile(1, 1)), kOld);
    EXPECT_EQ(test::readFile(companionFile(1, 2)), kCentral);
    SetForegroundWindow(window);
    EXPECT_EQ(focused(), GetDlgItem(window, cmdWEITER));
    key(VK_RETURN);
    EXPECT_EQ(exitCode(), 0u);
}

TEST_F(Adaptation, TheCloseBoxEndsTheProgram) {
    start();
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0u);
}

// The controls of the main window at 96 dots per inch: name, id, parent (0: the window)
// and the place in pixels (twips / 15) relative to the parent.
const std::tuple<const char*, int, int, LONG, LONG, LONG, LONG> kPlaces[] = {
    {"cmdWEITER", cmdWEITER, 0, 574, 494, 135, 47},
    {"cmdStart", cmdStart, 0, 574, 188, 135, 47},
    {"picweiss", picweiss, 0, 6, 6, 703, 77},
    {"imgbanner", imgbanner, picweiss, 194, 0, 500, 70},
    {"lblTITEL0", lblTITEL0, picweiss, 0, 0, 187, 29},
    {"LBLablauf", LBLablauf, 0, 6, 248, 543, 289},
    {"lblTITEL1", lblTITEL1, 0, 6, 94, 541, 139},
};

// The window and its controls where they belong (the pixels hold at 96 dots per inch).
// The focus starts on "Start", so Enter starts the run; the box shows the log.
TEST_F(Adaptation, WithoutCentralFileTheUserReadsWhyAndTheProgramEnds) {
    start();
    RECT r;
    GetClientRect(window, &r);
    EXPECT_EQ(r.right, 712);
    EXPECT_EQ(r.bottom, 556);
    EXPECT_EQ(windowText(window), L"Follow Kelvaro");
    for (const auto& [name, id, parent, left, top, width, height] : kPlaces) {
        HWND c = GetDlgItem(parent ? GetDlgItem(window, parent) : window, id);
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, left) << name;
        EXPECT_EQ(r.top, top) << name;
        EXPECT_EQ(r.right - r.left, width) << name;
        EXPECT_EQ(r.bottom - r.top, height) << name;
    }
    key(VK_RETURN);
    HWND box = waitForWindow(L"#32770", L"Follow Kelvaro");
    EXPECT_EQ(windowText(GetDlgItem(box, 0xFFFF)),
              L"DBPfad suchen...   ...NICHT VORHANDEN!\r\n"
              L"Diese Programm ist nicht nutzbar und bricht ab!");
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(exitCode(), 0u);
}

// FollowKelvaroCmd: arguments, the central file ("": none), the companions' bytes before,
// whether the second one is held open, hidden or not installed; the exit code, the
// companions' bytes after, what standard output, standard error and the error log hold
// ("": nothing). kCentral names a data folder that holds person.pxd.
enum Second { asIs, held, hidden, absent };
struct Cmd {
    const char* name;
    std::wstring args;
    std::string central, before;
    Second second;
    DWORD exit;
    std::string after, out, err{}, logged{};
};
void PrintTo(const Cmd& row, std::ostream* out) {
    *out << row.name;
}
using Console = ::testing::TestWithParam<Cmd>;

// `text` (the row's `what`) holds `part`, and is empty exactly when `part` is.
void expectHolds(const Cmd& row, const char* what, std::string_view text, std::string_view part) {
    EXPECT_EQ(text.empty(), part.empty()) << row.name << ' ' << what << ": " << text;
    EXPECT_NE(text.find(part), std::string::npos) << row.name << ' ' << what << ": " << text;
}

TEST_P(Console, ExitCodeFilesAndOutput) {
    const Cmd& row = GetParam();
    cleanPrefix();
    if (!row.central.empty()) test::writeFile(kLocal + "dbpfad.ini", row.central);
    const auto installed = row.second == absent ? std::vector{0, 2} : std::vector{0, 1, 2};
    for (int c : installed) installCompanion(0, c, row.before);
    const auto before = fs::last_write_time(companionFile(0, 0)) - std::chrono::hours(24);
    for (int c : installed) fs::last_write_time(companionFile(0, c), before);
    const std::string second = companionFile(0, 1);
    if (row.second == hidden) SetFileAttributesA(second.c_str(), FILE_ATTRIBUTE_HIDDEN);
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    auto output = [&](const char* name) {  // standard output and error, each to a file
        return CreateFileA((kLocal + name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                           CREATE_ALWAYS, 0, nullptr);
    };
    FileHandle open;  // held open by another program while the run goes on
    if (row.second == held) {
        open.reset(CreateFileA(second.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = output("out");
    si.hStdError = output("err");
    const FileHandle out(si.hStdOutput), err(si.hStdError);
    const std::wstring gui = test::exePath();
    std::wstring cmd = L"\"" + gui.substr(0, gui.size() - 4) + L"Cmd.exe\" " + row.args;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(
        CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi));
    const FileHandle process(pi.hProcess), thread(pi.hThread);
    DWORD code = WaitForSingleObject(pi.hProcess, 30000);
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, row.exit) << row.name;
    for (int c : installed) {  // a file that is not written keeps its time
        const std::string now = test::readFile(companionFile(0, c));
        EXPECT_EQ(now, c == 1 && row.second != asIs ? row.before : row.after) << row.name << c;
        const bool kept = fs::last_write_time(companionFile(0, c)) == before;
        EXPECT_EQ(kept, now == row.before) << row.name << c;
    }
    expectHolds(row, "stdout", test::readFile(kLocal + "out"), row.out);
    expectHolds(row, "stderr", test::readFile(kLocal + "err"), row.err);
    expectHolds(row, "Errorlog.txt", test::readFile(kLocal + "Errorlog.txt"), row.logged);
}

// Central files that point nowhere, and what --check warns of them.
const std::string kNoDir = "C:\\Nirgends\\\r\n";
const std::string kNoPxd = "C:\\windows\r\n";
const std::string kWarning = "Warnung: Die zentrale dbpfad.ini verweist auf ";
const std::string kNoDirSaid = kWarning + "C:\\Nirgends\\, diesen Ordner gibt es nicht.\r\n";
const std::string kNoPxdSaid = kWarning + "C:\\windows\\, dort fehlt person.pxd.\r\n";
const std::string kNotDone = "  ...NICHT UMGESETZT!\r\n";
const std::string kEntry = "Sub testeaufprogramm";  // in the error entry
const std::string kHidden =
    "LomerAssistent_800\\dbpfad.ini: nicht \374bernommen (Attribute: versteckt)";
const std::string kUsage = "Aufruf: FollowKelvaroCmd [--check]\r\n";

INSTANTIATE_TEST_SUITE_P(
    Unattended, Console,
    ::testing::Values(
        Cmd{"run", L"", kNoDir, kOld, asIs, 0, kNoDir, "Pellinor installiert ?   ...UMGESETZT!"},
        Cmd{"checkBefore", L"--check", kNoDir, kOld, asIs, 1, kOld, "WIRD UMGESETZT!", kNoDirSaid},
        Cmd{"checkNoPxd", L"--check", kNoPxd, kNoPxd, asIs, 0, kNoPxd, "...FOLGT", kNoPxdSaid},
        Cmd{"checkAfter", L"--check", kCentral, kCentral, asIs, 0, kCentral, "FOLGT KELVARO!"},
        Cmd{"followsAlready", L"", kCentral, kCentral, asIs, 0, kCentral, "'ENDE' schlie\xDFt"},
        Cmd{"checkMissing", L"--check", "", kOld, asIs, 2, kOld, "NICHT VORHANDEN!", "bricht ab!"},
        Cmd{"held", L"", kCentral, kOld, held, 1, kCentral, kNotDone, kEntry, kEntry},
        Cmd{"hidden", L"", kCentral, kOld, hidden, 1, kCentral, kNotDone, kHidden},
        Cmd{"hiddenCheck", L"--check", kCentral, kCentral, hidden, 1, kCentral, kNotDone, kHidden},
        Cmd{"absent", L"--check", kCentral, kCentral, absent, 0, kCentral, "...NICHT INSTALLIERT!"},
        Cmd{"help", L"--help", kCentral, kOld, asIs, 0, kOld, kUsage},
        Cmd{"helpShort", L"-h", kCentral, kOld, asIs, 0, kOld, kUsage},
        Cmd{"helpSlash", L"/?", kCentral, kOld, asIs, 0, kOld, kUsage},
        Cmd{"wrong", L"--x", kCentral, kOld, asIs, 3, kOld, "", kUsage},
        Cmd{"twoArguments", L"--check --check", kCentral, kOld, asIs, 3, kOld, "", kUsage}),
    [](const ::testing::TestParamInfo<Cmd>& row) { return std::string(row.param.name); });

// The four empty table templates the program carries.
TEST(Program, CarriesTheEmptyTableTemplates) {
    HMODULE exe = LoadLibraryExW(test::exePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    for (int id = 101; id <= 104; ++id) {
        EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(id), RT_RCDATA), nullptr) << id;
    }
}

}  // namespace
}  // namespace fk
