// End to end: the real FollowKelvaro.exe in a Wine prefix of its own, with the
// prefix's real shell folders, driven from outside its process.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "../win/test_support.h"

namespace {

constexpr int kEnde = 101, kStart = 102, kLog = 106;  // control ids of the main window
constexpr int kErrorOK = 105;                    // "O&K" of the error dialog

const char* const kCompanions[] = {"Dorvant_Assistent_Zeph", "LomerAssistent_800", "Pellinor"};
const std::string kProgramFiles = "C:\\Program Files\\";
const std::string kProgramFilesX86 = "C:\\Program Files (x86)\\";
const std::string kLocal = "C:\\ProgramData\\Talvorin_Patientendaten\\";
const std::string kCentral = "C:\\Praxis\\Talvorin_Patientendaten\\\r\n; zentral\r\n";
const std::string kOld = "C:\\Alt\\Talvorin_Patientendaten\\\r\n";

std::wstring exePath() {
    std::wstring p = L"" FK_EXE_PATH;
    for (auto& c : p) c = c == L'/' ? L'\\' : c;
    return p;
}

void removeTree(const std::string& path) {
    std::error_code ec;
    for (const auto& e : std::filesystem::recursive_directory_iterator(path, ec)) {
        SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(path, ec);
}

std::string companionFile(const std::string& programFiles, const char* companion) {
    return programFiles + "Talvorin\\" + companion + "\\dbpfad.ini";
}

void installCompanion(const std::string& programFiles, const char* companion) {
    std::filesystem::create_directories(programFiles + "Talvorin\\" + companion);
    fk::test::writeFile(companionFile(programFiles, companion), kOld);
}

bool waitFor(const std::function<bool()>& condition, DWORD ms = 15000) {
    for (DWORD waited = 0; waited < ms; waited += 25) {
        if (condition()) return true;
        Sleep(25);
    }
    return condition();
}

std::wstring textOf(HWND hwnd) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &got);
    text.resize(got);
    return text;
}

// A top-level window of the process with the given class (and title, if given).
HWND findWindowOf(DWORD pid, const wchar_t* cls, const wchar_t* title = nullptr) {
    struct Query {
        DWORD pid;
        const wchar_t* cls;
        const wchar_t* title;
        HWND found;
    } q{pid, cls, title, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM p) -> BOOL {
            auto* query = reinterpret_cast<Query*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            wchar_t className[64] = {}, caption[128] = {};
            GetClassNameW(hwnd, className, 64);
            GetWindowTextW(hwnd, caption, 128);
            if (owner != query->pid || wcscmp(className, query->cls) != 0 ||
                !IsWindowVisible(hwnd)) {
                return TRUE;
            }
            if (query->title && wcscmp(caption, query->title) != 0) return TRUE;
            query->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&q));
    return q.found;
}

class Adaptation : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& root : {kProgramFiles, kProgramFilesX86}) removeTree(root + "Talvorin");
        removeTree(kLocal);
        removeTree("C:\\Praxis");
        std::filesystem::create_directories("C:\\Praxis\\Talvorin_Patientendaten");
        std::filesystem::create_directories(kLocal);
    }
    void TearDown() override {
        if (pi.hProcess) {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(pi.hProcess, 99);
            }
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
    }
    void centralFile() { fk::test::writeFile(kLocal + "dbpfad.ini", kCentral); }

    void start() {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring exe = exePath(), cmd = L"\"" + exe + L"\"";
        ASSERT_TRUE(CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi));
        WaitForInputIdle(pi.hProcess, 15000);  // start-up done, waiting for input
        ASSERT_TRUE(waitFor([&] {
            return (window = findWindowOf(pi.dwProcessId, L"FollowKelvaro")) != nullptr;
        }));
    }
    void clickStart() { PostMessageW(GetDlgItem(window, kStart), BM_CLICK, 0, 0); }
    // Clicks "Start" and waits until the run has shown "Ende".
    void run() {
        clickStart();
        ASSERT_TRUE(waitFor([&] { return IsWindowVisible(GetDlgItem(window, kEnde)) != FALSE; }));
    }
    std::wstring log() { return textOf(GetDlgItem(window, kLog)); }
    DWORD exitCode() {
        if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) return 12345;
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }

    PROCESS_INFORMATION pi{};
    HWND window = nullptr;
};

std::wstring expectedLog(const wchar_t* a, const wchar_t* b, const wchar_t* c) {
    return std::wstring(L"DBPfad suchen...   ...VORHANDEN!\r\n") +
           L"Dorvant-Assistent installiert ?   ..." + a + L"\r\n" +
           L"Lomer-Assistent 800 installiert ?   ..." + b + L"\r\n" +
           L"Pellinor installiert ?   ..." + c + L"\r\n" +
           L"FollowKelvaro ist abgeschlossen!\r\n"
           L"Ein Click auf 'ENDE' schlie\u00DFt das Programm!\r\n";
}

TEST_F(Adaptation, StartsWithFocusOnStartAndEndsByTheCloseBox) {
    start();
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Follow Kelvaro");
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    EXPECT_TRUE(waitFor([&] {
        return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui) &&
               gui.hwndFocus == GetDlgItem(window, kStart);
    }));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, kEnde)));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0u);
}

TEST_F(Adaptation, EndeAfterARunEndsWithExitCodeZero) {
    centralFile();
    start();
    run();
    PostMessageW(GetDlgItem(window, kEnde), BM_CLICK, 0, 0);
    EXPECT_EQ(exitCode(), 0u);
}

TEST_F(Adaptation, NoCompanionInstalled) {
    centralFile();
    start();
    run();
    EXPECT_EQ(log(), expectedLog(L"NICHT UMGESETZT!", L"NICHT UMGESETZT!", L"NICHT UMGESETZT!"));
}

TEST_F(Adaptation, AllThreeCompanions) {
    centralFile();
    for (const char* c : kCompanions) installCompanion(kProgramFiles, c);
    start();
    run();
    EXPECT_EQ(log(), expectedLog(L"UMGESETZT!", L"UMGESETZT!", L"UMGESETZT!"));
    for (const char* c : kCompanions) {
        EXPECT_EQ(fk::test::readFile(companionFile(kProgramFiles, c)), kCentral) << c;
    }
}

TEST_F(Adaptation, FirstAndThirdCompanionGiveTheSixLineLog) {
    centralFile();
    installCompanion(kProgramFiles, kCompanions[0]);
    installCompanion(kProgramFilesX86, kCompanions[2]);
    start();
    run();
    EXPECT_EQ(log(), expectedLog(L"UMGESETZT!", L"NICHT UMGESETZT!", L"UMGESETZT!"));
    EXPECT_EQ(fk::test::readFile(companionFile(kProgramFilesX86, kCompanions[2])), kCentral);
    EXPECT_FALSE(std::filesystem::exists(kProgramFiles + "Talvorin\\" + kCompanions[1]));
}

TEST_F(Adaptation, CompanionUnderBothProgramFoldersOnlyTheFirstIsReplaced) {
    centralFile();
    installCompanion(kProgramFiles, kCompanions[1]);
    installCompanion(kProgramFilesX86, kCompanions[1]);
    start();
    run();
    EXPECT_EQ(log(), expectedLog(L"NICHT UMGESETZT!", L"UMGESETZT!", L"NICHT UMGESETZT!"));
    EXPECT_EQ(fk::test::readFile(companionFile(kProgramFiles, kCompanions[1])), kCentral);
    EXPECT_EQ(fk::test::readFile(companionFile(kProgramFilesX86, kCompanions[1])), kOld);
}

TEST_F(Adaptation, StartTwiceRepeatsTheWholeRun) {
    centralFile();
    installCompanion(kProgramFiles, kCompanions[0]);
    start();
    run();
    const std::wstring first = log();
    fk::test::writeFile(companionFile(kProgramFiles, kCompanions[0]), kOld);
    clickStart();
    ASSERT_TRUE(waitFor([&] { return log() == first; }));
    EXPECT_EQ(fk::test::readFile(companionFile(kProgramFiles, kCompanions[0])), kCentral);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, kEnde)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, kStart)));
}

TEST_F(Adaptation, WithoutCentralFileTheUserReadsWhyAndTheProgramEnds) {
    for (const char* c : kCompanions) installCompanion(kProgramFiles, c);
    start();
    clickStart();
    HWND box = nullptr;
    ASSERT_TRUE(waitFor([&] {
        return (box = findWindowOf(pi.dwProcessId, L"#32770", L"Follow Kelvaro")) != nullptr;
    }));
    EXPECT_EQ(textOf(GetDlgItem(box, 0xFFFF)),
              L"DBPfad suchen...   ...NICHT VORHANDEN!\r\n"
              L"Diese Programm ist nicht nutzbar und bricht ab!");
    EXPECT_EQ(log(), textOf(GetDlgItem(box, 0xFFFF)));
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(exitCode(), 0u);
    for (const char* c : kCompanions) {
        EXPECT_EQ(fk::test::readFile(companionFile(kProgramFiles, c)), kOld) << c;
    }
}

TEST_F(Adaptation, LockedCompanionIsReportedNotDoneAndTheOthersGoOn) {
    centralFile();
    for (const char* c : kCompanions) installCompanion(kProgramFiles, c);
    HANDLE held = CreateFileA(companionFile(kProgramFiles, kCompanions[1]).c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    start();
    clickStart();
    HWND report = nullptr;
    ASSERT_TRUE(waitFor([&] { return (report = findWindowOf(pi.dwProcessId, L"#32770")) != nullptr; }));
    PostMessageW(GetDlgItem(report, kErrorOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(waitFor([&] { return IsWindowVisible(GetDlgItem(window, kEnde)) != FALSE; }));
    CloseHandle(held);
    EXPECT_EQ(log(), expectedLog(L"UMGESETZT!", L"NICHT UMGESETZT!", L"UMGESETZT!"));
    EXPECT_EQ(fk::test::readFile(companionFile(kProgramFiles, kCompanions[1])), kOld);
    EXPECT_EQ(fk::test::readFile(companionFile(kProgramFiles, kCompanions[2])), kCentral);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(
             kProgramFiles + "Talvorin\\" + kCompanions[1])) {
        ++files;
    }
    EXPECT_EQ(files, 1u);  // no temporary file left behind
}

}  // namespace
