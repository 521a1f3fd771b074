// HandleError, the error log and the error dialog: with the modal display replaced
// by a recorder, and as the real modal dialog driven from inside this process.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "dialog_driver.h"
#include "errors/Z_ErrorFunction.h"
#include "errors/bug_report.h"
#include "base/epilogue.h"
#include "errors/error_entry.h"
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
constexpr Procedure kDemo{"Error in FollowKelvaro: Sub demo", "demo"};
// The images and buttons shown (in id order) in error and in information mode.
const std::vector<int> kErrorMode{imgImage0, cmdbugreport, cmdOK, cmdExit, cmdDetails};
const std::vector<int> kInformationMode{imgImage2, cmdbugreport, cmdOK, cmdDetails};

void press(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

class ErrorReport : public ::testing::Test {
protected:
    void SetUp() override {
        lokaler_datenpfad = dir.path();
        seams().localTime = [] { return kNow; };
        seams().endProcess = [this](unsigned code) { ended.push_back(code); };
        seams().shellOpen = [this](const std::string& link) { links.push_back(link); };
        installCentralErrorHandler();
    }
    void TearDown() override { setReportHandler({}), lokaler_datenpfad.clear(); }
    std::string entry(int32_t number, const std::string& text, const std::string& solution = "",
                      uint32_t dll = 0) {
        return composeErrorEntry({number, text, solution, dll, "Follow_Kelvaro",
                                  "Error in FollowKelvaro: Sub demo", regionalDate(kNow),
                                  regionalTime(kNow)}) +
               "\r\n\r\n";
    }

    SeamsOverride seamsGuard;
    test::TempFolder dir{getappfolder()};  // the log is written only below this folder
    std::vector<unsigned> ended;
    std::vector<std::string> links;
};

// What the dialog shows, recorded instead of shown: caption, message, details, the
// images and buttons shown (in id order), whether "O&K" is enabled.
struct Shown {
    std::wstring caption, message, details;
    std::vector<int> visible;
    bool okEnabled;
};

// A nested report (a failure while a dialog is shown) gets a dialog of its own, then
// the outer report goes on. Reports that fail on their way silence no later one. A log
// that cannot be written is skipped.
TEST_F(ErrorReport, EachKindOfFailureIsLoggedAndShownItsWay) {
    std::vector<Shown> shown;
    std::function<void()> duringDisplay;
    seams().runModal = [&](HWND d) {
        auto text = [d](int id) { return windowText(GetDlgItem(d, id)); };
        shown.push_back({windowText(d),
                         text(txtMsg),
                         text(txtDetails),
                         {},
                         !!IsWindowEnabled(GetDlgItem(d, cmdOK))});
        for (int id = imgImage0; id <= cmdCancel; ++id) {
            const bool visible = GetWindowLongW(GetDlgItem(d, id), GWL_STYLE) & WS_VISIBLE;
            if (id != txtMsg && visible) shown.back().visible.push_back(id);
        }
        if (duringDisplay) std::exchange(duringDisplay, nullptr)();
    };
    const auto nested = [&] {
        duringDisplay = [] {
            kDemo.step([] { SetLastError(ERROR_ACCESS_DENIED), captureLastError(), raise(9); });
        };
        raise(5);
    };
    const auto afterFailures = [] {  // three are enough to silence a leaking count
        seams().localTime = []() -> SYSTEMTIME { throw std::bad_alloc(); };
        for (int report = 0; report < 3; ++report) kDemo.step([] { raise(5); });
        seams().localTime = [] { return kNow; }, raise(5);
    };
    const std::tuple<const char*, std::function<void()>, std::string, bool> rows[] = {
        // name, the failure, the entries appended ("" for the information box), "O&K" enabled
        {"plain", [] { raise(5); }, entry(5, "Invalid procedure call or argument"), true},
        {"a solution", [] { throw RuntimeError(13, "Falsch"); }, entry(13, "Falsch", "Neu"), true},
        {"expected", [] { GetFileAttributesW(L"C:\\fehlt"), raiseLastError(); }, "", true},
        {"out of memory", [] { throw std::bad_alloc(); }, entry(7, "Out of memory"), false},
        {"text", [] { throw RuntimeError(5, "Out of Memory"); }, entry(5, "Out of Memory"), false},
        {"after failures", afterFailures, entry(5, "Invalid procedure call or argument"), true},
        {"nested", nested,
         entry(5, "Invalid procedure call or argument") +
             entry(9, "Subscript out of range", "", ERROR_ACCESS_DENIED),
         true},
    };
    setLastDllError(0);  // the regional date and time above asked the system too
    std::string expected =
        "===================== General Information =====================\r\nAppName: FollowKelvaro"
        "\r\nVersion: 1.0.1\r\nLocation: " +
        dir.path() + "\r\n===================== End General Information =================\r\n\r\n";
    for (const auto& [name, fail, logged, okEnabled] : rows) {
        if (logged.find("Neu") != std::string::npos) {  // solutions are read at every report
            test::writeFile(dir / "error.dat", "[Errors]\r\n13=Neu\r\n");
        }
        kDemo.step(fail);
        EXPECT_EQ(test::readFile(dir / "Errorlog.txt"), expected += logged) << name;
        EXPECT_EQ(shown.back().caption, logged.empty() ? L"Information" : L"Fehler") << name;
        EXPECT_EQ(shown.back().visible, logged.empty() ? kInformationMode : kErrorMode) << name;
        EXPECT_EQ(shown.back().okEnabled, okEnabled) << name;
    }
    EXPECT_EQ(shown[1].message + shown.back().message, L"FalschSubscript out of range");
    EXPECT_EQ(narrowAnsi(shown[1].details) + "\r\n\r\n", std::get<2>(rows[1]));
    EXPECT_NE(shown[2].details.find(L"Error 53: File not found\r\nLast DLL Error: 2\r\n"),
              std::wstring::npos);
    EXPECT_EQ(recordedError().number, 0);  // cleared after each report
    lokaler_datenpfad = dir / "fehlt\\";
    kDemo.step([] { raise(5); });
    EXPECT_EQ(shown.size(), std::size(rows) + 2);
}

// The real dialog: "D&etails" switches the window's height, the bug report leaves it
// open; Enter, Esc and the close box act as "O&K" (one report each). With "O&K"
// disabled they do nothing, and "&Abbruch" ends the program.
TEST_F(ErrorReport, TheRealDialogExpandsSendsTheBugReportAndCloses) {
    const Dpi dpi = screenDpi();
    std::wstring details;
    bool stillOpen = false;
    auto key = [](WPARAM k) { return [k](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, k, 0); }; };
    auto close = [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); };
    test::DialogDriver driver;
    driver
        .then([&](HWND d) {
            EXPECT_EQ(GetFocus(), GetDlgItem(d, cmdOK));
            EXPECT_EQ(GetNextDlgTabItem(d, GetDlgItem(d, cmdOK), FALSE), GetDlgItem(d, cmdExit));
            for (int twips : {1785, 3375, 1785}) {  // the window's height, collapsed and expanded
                RECT window;
                GetWindowRect(d, &window);
                EXPECT_EQ(window.bottom - window.top, MulDiv(twips, dpi.y, 1440));
                EXPECT_EQ(windowText(GetDlgItem(d, cmdDetails)),
                          twips < 2000 ? L"D&etails >>" : L"<< D&etails");
                press(d, cmdDetails);
            }
            press(d, cmdbugreport);
            details = windowText(GetDlgItem(d, txtDetails));
        })
        .then(key(VK_RETURN))
        .then(key(VK_ESCAPE))
        .then(close);
    for (int report = 0; report < 3; ++report) kDemo.step([] { raise(5); });
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(links,
              std::vector{bugReportLink("fk_gui_tests", 1, 0, narrowAnsi(details), dir.path())});
    driver.then(key(VK_RETURN)).then(key(VK_ESCAPE)).then(close).then([&](HWND d) {
        stillOpen = IsWindowVisible(d) != FALSE;
        press(d, cmdExit);
        ShowWindow(d, SW_HIDE);  // the test's stand-in for the ended process
    });
    kDemo.step([] { raise(err::OutOfMemory); });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(ended, std::vector<unsigned>{0});
}

}  // namespace
}  // namespace fk
