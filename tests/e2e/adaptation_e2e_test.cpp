// End to end: the real FollowKelvaro.exe in a Wine prefix of its own, with the
// prefix's real shell folders, driven from outside its process.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../win/test_support.h"
#include "util/controls.h"

namespace {

using fk::test::readFile;
using fk::windowText;
namespace fs = std::filesystem;

constexpr int kEnde = 101, kStart = 102, kLog = 106;  // control ids of the main window
const std::string kLocal = "C:\\ProgramData\\Talvorin_Patientendaten\\";
const std::string kCentral = "C:\\Praxis\\Talvorin_Patientendaten\\\r\n; zentral\r\n";
const std::string kOld = "C:\\Alt\\Talvorin_Patientendaten\\\r\n";

// The dbpfad.ini of a companion (0 to 2) under program files (0) or the x86 folder (1).
std::string companionFile(int folder, int companion) {
    const char* roots[] = {"C:\\Program Files\\", "C:\\Program Files (x86)\\"};
    const char* names[] = {"Dorvant_Assistent_Zeph", "LomerAssistent_800", "Pellinor"};
    return std::string(roots[folder]) + "Talvorin\\" + names[companion] + "\\dbpfad.ini";
}

void installCompanion(int folder, int companion) {
    fs::create_directories(fs::path(companionFile(folder, companion)).parent_path());
    fk::test::writeFile(companionFile(folder, companion), kOld);
}

// Waits for a visible window of the program (the test itself shows none).
HWND waitForWindow(const wchar_t* cls, const wchar_t* title = nullptr) {
    HWND found = nullptr;
    for (int i = 0; i < 600 && !(found && IsWindowVisible(found)); ++i, Sleep(25)) found = FindWindowW(cls, title);
    return found;
}

std::wstring expectedLog(const std::vector<bool>& done) {
    std::wstring log = L"DBPfad suchen...   ...VORHANDEN!\r\n";
    const wchar_t* names[] = {L"Dorvant-Assistent", L"Lomer-Assistent 800", L"Pellinor"};
    for (int i = 0; i < 3; ++i) log += names[i] + std::wstring(L" installiert ?   ...") + (done[i] ? L"" : L"NICHT ") + L"UMGESETZT!\r\n";
    return log + L"FollowKelvaro ist abgeschlossen!\r\nEin Click auf 'ENDE' schlie\u00DFt das Programm!\r\n";
}

struct Layout {
    const char* name;
    std::vector<std::pair<int, int>> installed;  // (program-files folder, companion)
    std::vector<bool> done;
};

class Adaptation : public ::testing::TestWithParam<Layout> {
protected:
    void SetUp() override {
        for (int folder : {0, 1}) fk::test::removeTree(fs::path(companionFile(folder, 0)).parent_path().parent_path());
        fk::test::removeTree(kLocal);
        fs::create_directories(kLocal);
    }
    void TearDown() override {
        TerminateProcess(pi.hProcess, 99);  // when a test failed before the program ended
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    void start() {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring cmd = L"\"" + fk::test::exePath() + L"\"";
        ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        WaitForInputIdle(pi.hProcess, 15000);
        ASSERT_TRUE(window = waitForWindow(L"FollowKelvaro"));
    }
    void click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }
    bool endeShown() { return IsWindowVisible(GetDlgItem(window, kEnde)) != FALSE; }
    std::wstring log() { return windowText(GetDlgItem(window, kLog)); }
    DWORD exitCode() {
        DWORD code = 12345;
        if (WaitForSingleObject(pi.hProcess, 15000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }

    PROCESS_INFORMATION pi{};
    HWND window = nullptr;
};

// Each run copies the central file over the first companion file found; a second
// "Start" repeats everything; "Ende" ends the program with exit code 0.
TEST_P(Adaptation, StartAdaptsTheFirstFileFoundOfEachCompanionTwice) {
    fk::test::writeFile(kLocal + "dbpfad.ini", kCentral);
    for (auto [folder, companion] : GetParam().installed) installCompanion(folder, companion);
    start();
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    for (int i = 0; i < 200 && !(GetGUIThreadInfo(pi.dwThreadId, &gui) && gui.hwndFocus); ++i) Sleep(25);
    EXPECT_EQ(gui.hwndFocus, GetDlgItem(window, kStart));
    EXPECT_FALSE(endeShown());
    for (int run = 0; run < 2; ++run) {
        for (auto [folder, companion] : GetParam().installed) fk::test::writeFile(companionFile(folder, companion), kOld);
        DWORD_PTR ignored = 0;  // sent, not posted: it returns once the run is over
        SendMessageTimeoutW(GetDlgItem(window, kStart), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 15000, &ignored);
        EXPECT_TRUE(endeShown());
        EXPECT_EQ(log(), expectedLog(GetParam().done)) << run;
        for (auto [folder, companion] : GetParam().installed) {
            const bool first = folder == 0 || !fs::exists(companionFile(0, companion));
            EXPECT_EQ(readFile(companionFile(folder, companion)), first ? kCentral : kOld) << folder << companion;
        }
    }
    click(GetDlgItem(window, kEnde));
    EXPECT_EQ(exitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Companions, Adaptation,
                         ::testing::Values(Layout{"none", {}, {false, false, false}},
                                           Layout{"all", {{0, 0}, {0, 1}, {0, 2}}, {true, true, true}},
                                           Layout{"firstAndThirdApart", {{0, 0}, {1, 2}}, {true, false, true}},
                                           Layout{"underBothFolders", {{0, 1}, {1, 1}}, {false, true, false}}),
                         [](const ::testing::TestParamInfo<Layout>& row) { return std::string(row.param.name); });

TEST_F(Adaptation, WithoutCentralFileTheUserReadsWhyAndTheProgramEnds) {
    for (int c = 0; c < 3; ++c) installCompanion(0, c);
    start();
    click(GetDlgItem(window, kStart));
    HWND box = waitForWindow(L"#32770", L"Follow Kelvaro");
    EXPECT_EQ(windowText(GetDlgItem(box, 0xFFFF)),
              L"DBPfad suchen...   ...NICHT VORHANDEN!\r\nDiese Programm ist nicht nutzbar und bricht ab!");
    click(GetDlgItem(box, IDOK));
    EXPECT_EQ(exitCode(), 0u);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(readFile(companionFile(0, c)), kOld) << c;
}

TEST_F(Adaptation, AHeldCompanionIsReportedNotDoneTheOthersGoOnAndTheCloseBoxEnds) {
    fk::test::writeFile(kLocal + "dbpfad.ini", kCentral);
    for (int c = 0; c < 3; ++c) installCompanion(0, c);
    HANDLE held = CreateFileA(companionFile(0, 1).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    start();
    click(GetDlgItem(window, kStart));
    click(GetDlgItem(waitForWindow(L"#32770", L"Fehler"), 105));  // "O&K" of the error dialog
    for (int i = 0; i < 600 && !endeShown(); ++i) Sleep(25);
    CloseHandle(held);
    EXPECT_EQ(log(), expectedLog({true, false, true}));
    EXPECT_EQ(readFile(companionFile(0, 1)) + readFile(companionFile(0, 2)), kOld + kCentral);
    const auto folder = fs::path(companionFile(0, 1)).parent_path();
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);  // no temporary file
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0u);
}

}  // namespace
