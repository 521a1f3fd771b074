// HandleError, the error log and the error dialog: with the modal display replaced
// by checks of what it would show, and as the real modal dialog driven from inside
// this process.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "dialog_driver.h"
#include "errors/Z_ErrorFunction.h"
#include "errors/bug_report.h"
#include "base/epilogue.h"
#include "errors/frmError.h"
#include "base/win32_error.h"
#include "files/A_Definitionen.h"
#include "files/Dateiroutinen.h"
#include "test_support.h"
#include "base/encoding.h"
#include "base/seams.h"

namespace fk {
namespace {

constexpr SYSTEMTIME kNow{2026, 12, 0, 6, 21, 42, 29, 0};
constexpr Procedure kDemo{"Error in T: Sub d", "d"};
// The images, buttons and message shown (in id order) in error mode, as loaded, and
// in information mode.
const std::vector<int> kErrorMode{imgImage0, txtMsg, cmdbugreport, cmdOK, cmdExit, cmdDetails};
const std::vector<int> kInformationMode{imgImage2, txtMsg, cmdbugreport, cmdOK, cmdDetails};

class ErrorReport : public ::testing::Test {
protected:
    void SetUp() override {
        lokaler_datenpfad = dir.path();
        seams().localTime = [] { return kNow; };
        installCentralErrorHandler();
    }
    void TearDown() override {
        setReportHandler({});
        lokaler_datenpfad.clear();
    }
    static void press(HWND d, int id) { SendMessageW(GetDlgItem(d, id), BM_CLICK, 0, 0); }
    static std::string text(HWND d, int id) { return narrowAnsi(windowText(GetDlgItem(d, id))); }
    static std::vector<int> visible(HWND d) {
        std::vector<int> ids;
        for (int id = imgImage0; id <= cmdCancel; ++id) {
            if (GetWindowLongW(GetDlgItem(d, id), GWL_STYLE) & WS_VISIBLE) ids.push_back(id);
        }
        return ids;
    }

    SeamsOverride seamsGuard;
    test::TempFolder dir{getappfolder()};  // the log is written only below this folder
};

TEST_F(ErrorReport, TheDialogLoadsAsDesignedClosesItsDetailsAgainAndHidesOnOK) {
    frmError form;
    ASSERT_TRUE(form.Load());
    const HWND d = form.hwnd();
    EXPECT_EQ(windowText(d), L"Fehlerbericht");
    EXPECT_FALSE(IsWindowVisible(d));
    EXPECT_EQ(visible(d), kErrorMode);
    const std::pair<const char*, int> rows[] = {
        // the window's height in twips before each click on the details button
        {"loaded", 1785},
        {"opened", 3375},
        {"closed again", 1785},
    };
    for (const auto& [name, twips] : rows) {
        RECT window;
        GetWindowRect(d, &window);
        EXPECT_EQ(window.bottom - window.top, MulDiv(twips, screenDpi().y, 1440)) << name;
        EXPECT_EQ(text(d, cmdDetails), twips < 2000 ? "D&etails >>" : "<< D&etails") << name;
        press(d, cmdDetails);
    }
    ShowWindow(d, SW_SHOWNA);
    press(d, cmdOK);
    EXPECT_FALSE(IsWindowVisible(d));
}

// Each report reads error.dat afresh and shows its entry, which the log gets unless
// it is an expected error.
TEST_F(ErrorReport, EachKindOfFailureIsLoggedAndShownItsWay) {
    const auto notFound = [] {
        GetFileAttributesW(L"C:\\fehlt\\x");  // a missing folder
        raiseLastError();
    };
    const auto withSolution = [this] {  // its 499 characters, in the ANSI code page
        test::writeFile(dir / "error.dat", "[Errors]\r\n13=" + std::string(497, 'x') + "\xE4\xD6z");
        throw RuntimeError(13, "Falsch");
    };
    const std::string when = "Date: " + regionalDate(kNow) + " Time: " + regionalTime(kNow);
    using Row = std::tuple<const char*, std::function<void()>, std::string, bool>;
    const Row rows[] = {
        // name, the failure, a piece of the entry shown, information mode
        {"expected", notFound, "Error 76: Path not found\r\nLast DLL Error: 3\r\n", 1},
        {"plain", [] { raise(5); }, "Source: Follow_Kelvaro\r\nProcedure: Error in T: Sub d", 0},
        {"solution", withSolution, std::string(497, 'x') + "\xE4\xD6\r\n!==", 0},
        {"dated", [] { raise(5); }, when, 0},
    };
    const Row* row = nullptr;
    std::string log = generalInformationBlock("FollowKelvaro", "1.0.1", dir.path());
    seams().runModal = [&](HWND d) {
        const auto& [name, fail, piece, information] = *std::exchange(row, nullptr);
        const std::string details = text(d, txtDetails);
        log += information ? "" : details + "\r\n\r\n";
        EXPECT_EQ(test::readFile(dir / "Errorlog.txt"), log) << name;
        EXPECT_NE(details.find(piece), std::string::npos) << name;
        EXPECT_EQ(details.find(": " + text(d, txtMsg) + "\r\n"), details.find(": ")) << name;
        EXPECT_EQ(windowText(d), information ? L"Information" : L"Fehler") << name;
        EXPECT_EQ(visible(d), information ? kInformationMode : kErrorMode) << name;
    };
    for (const Row& r : rows) {
        row = &r;
        kDemo.step(std::get<1>(r));
        EXPECT_EQ(row, nullptr) << std::get<0>(r);  // shown once
    }
    EXPECT_EQ(recordedError().number, 0);  // cleared after each report
}

// A failure while a report is shown gets a dialog of its own, then the outer report
// goes on. Failing in every display, the fourth nested report goes to standard error;
// a report that failed on its way before counts for none. A log that cannot be
// written is skipped.
TEST_F(ErrorReport, NestedReportsEndAtTheirLimit) {
    int shown = 0;
    seams().runModal = [&](HWND) {
        ++shown;
        kDemo.step([] { raise(9); });
    };
    seams().localTime = []() -> SYSTEMTIME { throw std::bad_alloc(); };
    kDemo.step([] { raise(5); });  // fails on its way, so nothing is shown
    seams().localTime = [] { return kNow; };
    lokaler_datenpfad = dir / "fehlt\\";
    testing::internal::CaptureStderr();
    kDemo.step([] { raise(5); });
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error in T: Sub d: Error 9: Subscript out of range\n");
    EXPECT_EQ(shown, 3);
}

// The real dialog, owned by the main window, which takes no input while the dialog is
// shown and takes it again after. The bug report leaves the dialog open; Enter, Esc and
// the close box act as "O&K" (one report each). With "O&K" disabled (out of memory)
// they do nothing, nor does the IDOK that Windows sends for Enter when the default
// button is disabled (Wine sends none), and "&Abbruch" ends the program.
TEST_F(ErrorReport, TheRealDialogHoldsItsOwnerSendsTheBugReportAndCloses) {
    FollowKelvaro owner;
    ASSERT_TRUE(owner.create(GetModuleHandleW(nullptr)));
    owner.show(SW_SHOW);
    std::vector<std::string> links;
    std::vector<unsigned> ended;
    seams().shellOpen = [&](const std::string& link) { links.push_back(link); };
    seams().endProcess = [&](unsigned code) { ended.push_back(code); };
    std::string details;
    const auto first = [&](HWND d) {
        EXPECT_FALSE(IsWindowEnabled(owner.hwnd()));
        EXPECT_EQ(GetFocus(), GetDlgItem(d, cmdOK));
        EXPECT_EQ(GetNextDlgTabItem(d, GetDlgItem(d, cmdOK), FALSE), GetDlgItem(d, cmdExit));
        press(d, cmdbugreport);
        EXPECT_TRUE(IsWindowVisible(d));
        details = text(d, txtDetails);
    };
    auto key = [](WPARAM k) { return [k](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, k, 0); }; };
    auto close = [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); };
    auto idok = [](HWND d) { PostMessageW(d, WM_COMMAND, IDOK, 0); };
    const auto exit = [](HWND d) {
        press(d, cmdExit);
        ShowWindow(d, SW_HIDE);  // the test's stand-in for the ended process
    };
    const test::DialogDriver driver{first, key(VK_RETURN), key(VK_ESCAPE), close, key(VK_RETURN),
                                    idok,  key(VK_ESCAPE), close,          exit};
    for (int report = 0; report < 3; ++report) kDemo.step([] { raise(5); });
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
    EXPECT_EQ(GetActiveWindow(), owner.hwnd());
    EXPECT_EQ(links, std::vector{bugReportLink("fk_gui_tests", 1, 0, details, dir.path())});
    kDemo.step([] { raise(err::OutOfMemory); });
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(ended, std::vector<unsigned>{0});
}

// The system's text for a code, on one line: without its line break.
TEST(SystemMessage, IsOnOneLine) {
    EXPECT_EQ(systemMessage(ERROR_FILE_NOT_FOUND), L"File not found");  // Wine's wording
}

}  // namespace
}  // namespace fk
