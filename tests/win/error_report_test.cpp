// HandleError with the modal display replaced by a recorder: what is logged and
// how the dialog is set up for each kind of report.
#include <gtest/gtest.h>

#include <vector>

#include "errors/Z_ErrorFunction.h"
#include "errors/epilogue.h"
#include "errors/frmError.h"
#include "errors/win32_error.h"
#include "files/A_Definitionen.h"
#include "files/Dateiroutinen.h"
#include "files/y_work_together.h"
#include "test_support.h"
#include "util/seams.h"

namespace fk {
namespace {

struct Shown {
    std::wstring caption, message, details;
    std::vector<int> visible;  // visible controls among buttons and images
    bool okEnabled;
};

std::wstring text(HWND hwnd) {
    std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    s.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, s.data(), static_cast<int>(s.size()))));
    return s;
}

Shown snapshot(HWND dialog) {
    Shown s{text(dialog), text(GetDlgItem(dialog, txtMsg)), text(GetDlgItem(dialog, txtDetails)),
            {}, IsWindowEnabled(GetDlgItem(dialog, cmdOK)) != FALSE};
    for (int id : {imgImage0, imgImage1, imgImage2, cmdOK, cmdExit, cmdDetails, cmdYes, cmdNo,
                   cmdCancel, cmdbugreport}) {
        if (GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) s.visible.push_back(id);
    }
    return s;
}

constexpr SYSTEMTIME kNow{2026, 12, 0, 6, 21, 42, 29, 0};
constexpr Procedure kDemo{"Error in FollowKelvaro: Sub demo", "demo"};

class ErrorReport : public ::testing::Test {
protected:
    void SetUp() override {
        lokaler_datenpfad = dir.path();
        seams().runModal = [this](HWND dialog) {
            shown.push_back(snapshot(dialog));
            if (duringDisplay) duringDisplay();
        };
        seams().localTime = [] { return kNow; };
        installCentralErrorHandler();
    }
    void TearDown() override {
        setReportHandler({});
        lokaler_datenpfad.clear();
    }
    std::string log() { return test::readFile(dir / "Errorlog.txt"); }
    std::string entry(const std::string& firstLine, const std::string& solution = "",
                      uint32_t dll = 0) {
        std::string e = firstLine + "\r\n";
        if (!solution.empty()) {
            e += "!============Error Information/Solution =============!\r\n" + solution +
                 "\r\n!============End of Information/Solution ============!\r\n";
        }
        return e + "Last DLL Error: " + std::to_string(dll) +
               "\r\nError Source: Follow_Kelvaro\r\nProcedure: Error in FollowKelvaro: Sub "
               "demo\r\nDate: " + regionalDate(kNow) + " Time: " + regionalTime(kNow) + "\r\n";
    }
    std::string block() {
        return "===================== General Information =====================\r\n"
               "AppName: FollowKelvaro\r\nVersion: 1.0.1\r\nLocation: " +
               dir.path() +
               "\r\n===================== End General Information =================\r\n\r\n";
    }

    SeamsOverride seamsGuard;
    test::TempFolder dir;
    std::vector<Shown> shown;
    std::function<void()> duringDisplay;
};

TEST_F(ErrorReport, FirstReportCreatesTheLogLaterOnesOnlyAppend) {
    kDemo.step([] { raise(err::InvalidProcedureCall); });
    kDemo.step([] { throw RuntimeError(13, "Type mismatch"); });
    const std::string first = entry("Error 5: Invalid procedure call or argument");
    const std::string second = entry("Error 13: Type mismatch");
    EXPECT_EQ(log(), block() + first + "\r\n\r\n" + second + "\r\n\r\n");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, L"Fehler");
    EXPECT_EQ(shown[0].message, L"Invalid procedure call or argument");
    EXPECT_EQ(shown[0].details.size(), first.size());
    EXPECT_EQ(shown[0].visible,
              (std::vector<int>{imgImage0, cmdOK, cmdExit, cmdDetails, cmdbugreport}));
    EXPECT_TRUE(shown[0].okEnabled);
}

TEST_F(ErrorReport, ExpectedErrorsAreInformationOnlyAndNotLogged) {
    kDemo.step([] { raise(err::FileNotFound); });
    EXPECT_EQ(log(), block());  // only the block, no entry
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, L"Information");
    EXPECT_EQ(shown[0].visible, (std::vector<int>{imgImage2, cmdOK, cmdDetails, cmdbugreport}));
}

TEST_F(ErrorReport, ErrorZeroIsAnInformationMessageInErrorMode) {
    kDemo.step([] { throw RuntimeError(0, "Nur ein Hinweis"); });
    EXPECT_EQ(log(), block() + entry("Information Message : Nur ein Hinweis") + "\r\n\r\n");
    EXPECT_EQ(shown.at(0).caption, L"Fehler");
}

TEST_F(ErrorReport, OutOfMemoryDisablesOkAndIsAlwaysLogged) {
    kDemo.step([] { throw std::bad_alloc(); });
    kDemo.step([] { throw RuntimeError(5, "Out of Memory"); });
    int32_t n = 7;
    std::string t = "Out of memory", where = "Error in FollowKelvaro: Sub demo", sol = "demo";
    bool disable = false, infoOnly = true;
    recordedError() = {7, t, "Follow_Kelvaro", 0};
    HandleError(n, t, where, disable, sol, infoOnly);
    EXPECT_TRUE(disable);
    EXPECT_FALSE(infoOnly);
    ASSERT_EQ(shown.size(), 3u);
    for (const auto& s : shown) {
        EXPECT_FALSE(s.okEnabled);
        EXPECT_EQ(s.caption, L"Fehler");
    }
    EXPECT_EQ(log(), block() + entry("Error 7: Out of memory") + "\r\n\r\n" +
                         entry("Error 5: Out of Memory") + "\r\n\r\n" +
                         entry("Error 7: Out of memory") + "\r\n\r\n");
}

TEST_F(ErrorReport, SolutionTextsComeFromErrorDatReadAfresh) {
    test::writeFile(dir / "error.dat", "[Errors]\r\n5=Neu starten\r\n-5=Minus f\xFCnf\r\n");
    kDemo.step([] { raise(5); });
    test::writeFile(dir / "error.dat", "[Errors]\r\n5=Anders\r\n-5=Minus f\xFCnf\r\n");
    kDemo.step([] { raise(5); });
    kDemo.step([] { throw RuntimeError(-5, "negativ"); });
    EXPECT_EQ(log(), block() + entry("Error 5: Invalid procedure call or argument", "Neu starten") +
                         "\r\n\r\n" +
                         entry("Error 5: Invalid procedure call or argument", "Anders") +
                         "\r\n\r\n" + entry("Error -5: negativ", "Minus f\xFCnf") + "\r\n\r\n");
}

TEST_F(ErrorReport, LastDllErrorOfTheFailingCall) {
    kDemo.step([&] {
        if (GetFileAttributesA((dir / "fehlt.txt").c_str()) == INVALID_FILE_ATTRIBUTES) {
            raiseLastError();
        }
    });
    EXPECT_EQ(log(), block());  // 53 is an expected error: shown, not logged
    EXPECT_EQ(shown.at(0).caption, L"Information");
    EXPECT_NE(shown.at(0).details.find(L"Last DLL Error: 2\r\n"), std::wstring::npos);
}

TEST_F(ErrorReport, PathHelpersReportThroughTheCentralHandler) {
    nurdatei(std::string(40000, 'x'));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(log().find("Error 6: Overflow\r\nLast DLL Error: "), std::string::npos);
    EXPECT_NE(log().find("Procedure: Error in y_work_together: Function nurdatei\r\n"),
              std::string::npos);
}

TEST_F(ErrorReport, UnwritableLogIsSkippedAndTheDialogStillShows) {
    lokaler_datenpfad = dir / "fehlt\\";
    kDemo.step([] { raise(5); });
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_FALSE(dateivorhanden(dir / "fehlt\\Errorlog.txt"));

    lokaler_datenpfad = dir.path();
    kDemo.step([] { raise(5); });  // creates the log
    const std::string before = log();
    HANDLE held = CreateFileA((dir / "Errorlog.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    kDemo.step([] { raise(5); });
    CloseHandle(held);
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_EQ(log(), before);
}

TEST_F(ErrorReport, EmptyDataFolderMeansTheRootOfTheCurrentDrive) {
    lokaler_datenpfad.clear();
    wchar_t saved[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, saved);
    SetCurrentDirectoryA(dir.path().c_str());  // a folder on drive C:
    DeleteFileA("C:\\Errorlog.txt");
    kDemo.step([] { raise(5); });
    const std::string rootLog = test::readFile("C:\\Errorlog.txt");
    DeleteFileA("C:\\Errorlog.txt");
    SetCurrentDirectoryW(saved);
    const std::string head =
        "===================== General Information =====================\r\n"
        "AppName: FollowKelvaro\r\nVersion: 1.0.1\r\nLocation: \r\n";
    EXPECT_EQ(rootLog.substr(0, head.size()), head);
    EXPECT_NE(rootLog.find("Error 5: "), std::string::npos);
}

TEST_F(ErrorReport, NestedReportGetsItsOwnDialogThenTheOuterGoesOn) {
    duringDisplay = [this] {
        duringDisplay = nullptr;
        kDemo.step([] {
            SetLastError(ERROR_ACCESS_DENIED);
            captureLastError();
            throw RuntimeError(9, "Subscript out of range");
        });
    };
    kDemo.step([] { raise(5); });
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].message, L"Invalid procedure call or argument");
    EXPECT_EQ(shown[1].message, L"Subscript out of range");
    EXPECT_EQ(log(), block() + entry("Error 5: Invalid procedure call or argument") +
                         "\r\n\r\n" + entry("Error 9: Subscript out of range", "", 5) + "\r\n\r\n");
    EXPECT_EQ(recordedError().number, 0);  // cleared after the report
}

}  // namespace
}  // namespace fk
