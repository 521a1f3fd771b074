// HandleError, the error log and the error dialog: with the modal display replaced
// by a recorder, and as the real modal dialog driven from inside this process.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "dialog_driver.h"
#include "errors/Z_ErrorFunction.h"
#include "errors/bug_report.h"
#include "errors/epilogue.h"
#include "errors/frmError.h"
#include "errors/win32_error.h"
#include "files/A_Definitionen.h"
#include "files/Dateiroutinen.h"
#include "test_support.h"
#include "util/encoding.h"
#include "util/seams.h"

namespace fk {
namespace {

constexpr SYSTEMTIME kNow{2026, 12, 0, 6, 21, 42, 29, 0};
constexpr Procedure kDemo{"Error in FollowKelvaro: Sub demo", "demo"};
// The images, buttons and message shown (in id order) in error mode (as loaded) and
// in information mode.
const std::vector<int> kErrorMode{imgImage0, txtMsg, cmdbugreport, cmdOK, cmdExit, cmdDetails};
const std::vector<int> kInformationMode{imgImage2, txtMsg, cmdbugreport, cmdOK, cmdDetails};

// What a display shows, recorded instead of shown.
struct Shown {
    std::wstring caption, message, details;
    std::vector<int> visible;
    bool okEnabled;
};

class ErrorReport : public ::testing::Test {
protected:
    void SetUp() override {
        lokaler_datenpfad = dir.path();
        seams().localTime = [] { return kNow; };
        seams().endProcess = [this](unsigned code) { ended.push_back(code); };
        seams().shellOpen = [this](const std::string& link) { links.push_back(link); };
        installCentralErrorHandler();
    }
    void TearDown() override {
        setReportHandler({});
        lokaler_datenpfad.clear();
    }
    static void press(HWND d, int id) { SendMessageW(GetDlgItem(d, id), BM_CLICK, 0, 0); }
    static std::vector<int> visible(HWND d) {
        std::vector<int> ids;
        for (int id = imgImage0; id <= cmdCancel; ++id) {
            if (GetWindowLongW(GetDlgItem(d, id), GWL_STYLE) & WS_VISIBLE) ids.push_back(id);
        }
        return ids;
    }
    // Records each display instead of showing it, then runs `duringDisplay`.
    void recordDisplays() {
        seams().runModal = [this](HWND d) {
            auto text = [d](int id) { return windowText(GetDlgItem(d, id)); };
            const bool okEnabled = IsWindowEnabled(GetDlgItem(d, cmdOK));
            shown.push_back({windowText(d), text(txtMsg), text(txtDetails), visible(d), okEnabled});
            if (duringDisplay) duringDisplay();
        };
    }

    SeamsOverride seamsGuard;
    test::TempFolder dir{getappfolder()};  // the log is written only below this folder
    std::vector<unsigned> ended;
    std::vector<std::string> links;
    std::vector<Shown> shown;
    std::function<void()> duringDisplay;
};

TEST_F(ErrorReport, TheDialogLoadsAsDesignedClosesItsDetailsAgainAndHidesOnOK) {
    frmError form;
    ASSERT_TRUE(form.Load());
    const HWND d = form.hwnd();
    EXPECT_EQ(windowText(d), L"Fehlerbericht");
    EXPECT_FALSE(IsWindowVisible(d));
    EXPECT_EQ(visible(d), kErrorMode);
    const std::tuple<const char*, const wchar_t*, int> rows[] = {
        // before each click: the details button's caption, the window's height in twips
        {"loaded", L"D&etails >>", 1785},
        {"opened", L"<< D&etails", 3375},
        {"closed again", L"D&etails >>", 1785},
    };
    for (const auto& [name, caption, twips] : rows) {
        RECT window;
        GetWindowRect(d, &window);
        EXPECT_EQ(window.bottom - window.top, MulDiv(twips, screenDpi().y, 1440)) << name;
        EXPECT_EQ(windowText(GetDlgItem(d, cmdDetails)), caption) << name;
        press(d, cmdDetails);
    }
    ShowWindow(d, SW_SHOWNA);
    press(d, cmdOK);
    EXPECT_FALSE(IsWindowVisible(d));
}

// Reports that fail on their way silence no later one. A log that cannot be written
// is skipped.
TEST_F(ErrorReport, EachKindOfFailureIsLoggedAndShownItsWay) {
    recordDisplays();
    const auto notFound = [] {
        GetFileAttributesW(L"C:\\fehlt");
        raiseLastError();
    };
    const auto withSolution = [this] {  // error.dat is read at every report
        test::writeFile(dir / "error.dat",
                        "[Errors]\r\n13=" + std::string(497, 'x') + "\xE4\xD6\xDFy");
        throw RuntimeError(13, "Falsch");
    };
    const auto afterFailures = [] {  // three are enough to silence a leaking count
        seams().localTime = []() -> SYSTEMTIME { throw std::bad_alloc(); };
        for (int report = 0; report < 3; ++report) kDemo.step([] { raise(5); });
        seams().localTime = [] { return kNow; };
        raise(5);
    };
    const std::tuple<const char*, std::function<void()>, const char*, bool, bool> rows[] = {
        // name, the failure, how the entry begins, information mode, "O&K" enabled
        {"expected", notFound, "Error 53: File not found\r\nLast DLL Error: 2\r\n", true, true},
        {"plain", [] { raise(5); }, "Error 5: Invalid procedure call or argument\r\n", false, true},
        {"solution", withSolution, "Error 13: Falsch\r\n!====", false, true},
        {"out of memory", [] { throw std::bad_alloc(); }, "Error 7: Out of memory\r\n", false,
         false},
        {"after failures", afterFailures, "Error 5: Invalid procedure call", false, true},
    };
    std::string log = generalInformationBlock("FollowKelvaro", "1.0.1", dir.path());
    for (const auto& [name, fail, begins, information, okEnabled] : rows) {
        kDemo.step(fail);
        const Shown& s = shown.back();
        log += information ? "" : narrowAnsi(s.details) + "\r\n\r\n";
        EXPECT_EQ(test::readFile(dir / "Errorlog.txt"), log) << name;
        EXPECT_EQ(narrowAnsi(s.details).find(begins), 0u) << name;
        EXPECT_EQ(s.caption, information ? L"Information" : L"Fehler") << name;
        EXPECT_EQ(s.visible, information ? kInformationMode : kErrorMode) << name;
        EXPECT_EQ(s.okEnabled, okEnabled) << name;
    }
    EXPECT_EQ(shown[1].message, L"Invalid procedure call or argument");
    EXPECT_NE(narrowAnsi(shown[1].details)
                  .find("Source: Follow_Kelvaro\r\nProcedure: Error in FollowKelvaro: Sub demo\r\n"
                        "Date: " +
                        regionalDate(kNow) + " Time: " + regionalTime(kNow) + "\r\n"),
              std::string::npos);
    // The solution to its 499th character, in the ANSI code page.
    EXPECT_NE(shown[2].details.find(std::wstring(497, L'x') + L"äÖ\r\n!="), std::wstring::npos);
    EXPECT_EQ(recordedError().number, 0);  // cleared after each report
    lokaler_datenpfad = dir / "fehlt\\";
    kDemo.step([] { raise(5); });
    EXPECT_EQ(shown.size(), std::size(rows) + 1);
}

// A failure while a report is shown gets a dialog of its own, then the outer report
// goes on. Failing in every display, the fourth nested report goes to standard error.
TEST_F(ErrorReport, NestedReportsEndAtTheirLimit) {
    recordDisplays();
    duringDisplay = [] { kDemo.step([] { raise(9); }); };
    testing::internal::CaptureStderr();
    kDemo.step([] { raise(5); });
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error in FollowKelvaro: Sub demo: Error 9: Subscript out of range\n");
    EXPECT_EQ(shown.size(), 3u);
}

// The real dialog, owned by the main window, which takes no input while the dialog is
// shown and takes it again after. The bug report leaves the dialog open; Enter, Esc and
// the close box act as "O&K" (one report each). With "O&K" disabled they do nothing,
// and "&Abbruch" ends the program.
TEST_F(ErrorReport, TheRealDialogHoldsItsOwnerSendsTheBugReportAndCloses) {
    FollowKelvaro owner;
    ASSERT_TRUE(owner.create(GetModuleHandleW(nullptr)));
    owner.show(SW_SHOW);
    std::wstring details;
    auto key = [](WPARAM k) { return [k](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, k, 0); }; };
    auto close = [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); };
    const auto first = [&](HWND d) {
        EXPECT_FALSE(IsWindowEnabled(owner.hwnd()));
        EXPECT_EQ(GetFocus(), GetDlgItem(d, cmdOK));
        EXPECT_EQ(GetNextDlgTabItem(d, GetDlgItem(d, cmdOK), FALSE), GetDlgItem(d, cmdExit));
        press(d, cmdbugreport);
        details = windowText(GetDlgItem(d, txtDetails));
    };
    const auto exit = [](HWND d) {
        press(d, cmdExit);
        ShowWindow(d, SW_HIDE);  // the test's stand-in for the ended process
    };
    const test::DialogDriver driver{first,          key(VK_RETURN), key(VK_ESCAPE), close,
                                    key(VK_RETURN), key(VK_ESCAPE), close,          exit};
    for (int report = 0; report < 3; ++report) kDemo.step([] { raise(5); });
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
    EXPECT_EQ(GetActiveWindow(), owner.hwnd());
    EXPECT_EQ(links,
              std::vector{bugReportLink("fk_gui_tests", 1, 0, narrowAnsi(details), dir.path())});
    kDemo.step([] { raise(err::OutOfMemory); });
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(ended, std::vector<unsigned>{0});
}

}  // namespace
}  // namespace fk
