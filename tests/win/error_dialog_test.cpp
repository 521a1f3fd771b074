// The real modal error dialog, driven from inside the test process.
#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "errors/Z_ErrorFunction.h"
#include "errors/epilogue.h"
#include "errors/frmError.h"
#include "files/A_Definitionen.h"
#include "test_support.h"
#include "util/controls.h"
#include "util/encoding.h"
#include "util/seams.h"

namespace fk {
namespace {

constexpr Procedure kDemo{"Error in FollowKelvaro: Sub demo", "demo"};

int heightOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

std::wstring text(HWND hwnd) {
    wchar_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

void press(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void key(HWND dialog, WPARAM vk) {
    HWND focus = GetFocus();
    PostMessageW(focus ? focus : dialog, WM_KEYDOWN, vk, 0);
    PostMessageW(focus ? focus : dialog, WM_KEYUP, vk, 0xC0000000);
}

class ErrorDialog : public ::testing::Test {
protected:
    void SetUp() override {
        lokaler_datenpfad = dir.path();
        seams().endProcess = [this](unsigned code) { ended.push_back(code); };
        seams().shellOpen = [this](const std::string& link) { links.push_back(link); };
        installCentralErrorHandler();
    }
    void TearDown() override {
        setReportHandler({});
        lokaler_datenpfad.clear();
    }
    // Reports one failure through the epilogue; returns when the dialog is closed.
    void report(int32_t number) {
        kDemo.step([&] { raise(number); });
    }
    int twipsY(int twips) { return MulDiv(twips, dpi.y, 1440); }

    SeamsOverride seamsGuard;
    test::TempFolder dir;
    std::vector<unsigned> ended;
    std::vector<std::string> links;
    const Dpi dpi = screenDpi();
};

TEST_F(ErrorDialog, ErrorModeLayoutDetailsToggleAndBugReport) {
    std::wstring details;
    test::DialogDriver driver;
    driver
        .then([&](HWND d) {
            EXPECT_EQ(text(d), L"Fehler");
            EXPECT_EQ(heightOf(d), twipsY(1785));
            EXPECT_EQ(text(GetDlgItem(d, cmdOK)), L"O&K");
            EXPECT_EQ(text(GetDlgItem(d, cmdExit)), L"&Abbruch");
            EXPECT_EQ(text(GetDlgItem(d, cmdbugreport)), L"Bugreport per E-Mail senden");
            EXPECT_EQ(text(GetDlgItem(d, txtMsg)), L"Invalid procedure call or argument");
            EXPECT_EQ(LOWORD(SendMessageW(d, DM_GETDEFID, 0, 0)), cmdOK);
            EXPECT_EQ(GetFocus(), GetDlgItem(d, cmdOK));
            press(d, cmdDetails);
        })
        .then([&](HWND d) {
            EXPECT_EQ(heightOf(d), twipsY(3375));
            EXPECT_EQ(text(GetDlgItem(d, cmdDetails)), L"<< D&etails");
            press(d, cmdDetails);
        })
        .then([&](HWND d) {
            EXPECT_EQ(heightOf(d), twipsY(1785));
            EXPECT_EQ(text(GetDlgItem(d, cmdDetails)), L"D&etails >>");
            press(d, cmdbugreport);
            press(d, cmdbugreport);  // two mails; the dialog stays open
            EXPECT_TRUE(IsWindowVisible(d));
            details = text(GetDlgItem(d, txtDetails));
        })
        .then([&](HWND d) { press(d, cmdOK); });
    report(5);
    EXPECT_TRUE(driver.done());
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0], links[1]);
    // The running program here is the test executable.
    const std::string head =
        "mailto:bugreport@talvorin.example&Subject=fk_gui_tests Fehlerbericht !"
        "&Body=ERROR%0a%0dProgrammnamefk_gui_tests 1. 0%0a%0d%0a%0d%0a%0d%0a%0d";
    ASSERT_EQ(links[0].substr(0, head.size()), head);
    EXPECT_EQ(links[0].substr(head.size()),
              narrowAnsi(details) + "%0a%0d%0a%0d&Attach=\"" + dir.path() + "errorlog.txt\"");
    EXPECT_NE(details.find(L"Error 5: Invalid procedure call or argument\r\n"), std::wstring::npos);
    EXPECT_EQ(test::DialogDriver::visibleDialog(), nullptr);
}

TEST_F(ErrorDialog, EnterEscAndTheCloseBoxActAsOk) {
    for (WPARAM vk : {VK_RETURN, VK_ESCAPE}) {
        test::DialogDriver driver;
        driver.then([&](HWND d) { key(d, vk); });
        report(5);
        EXPECT_TRUE(driver.done());
    }
    test::DialogDriver driver;
    driver.then([](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); });
    report(5);
    EXPECT_TRUE(driver.done());
    EXPECT_TRUE(ended.empty());
}

TEST_F(ErrorDialog, WithOkDisabledEnterAndEscDoNothingAndAbbruchEnds) {
    test::DialogDriver driver;
    bool stillOpen = false;
    driver.then([&](HWND d) {
              EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, cmdOK)));
              key(d, VK_RETURN);
              key(d, VK_ESCAPE);
              PostMessageW(d, WM_CLOSE, 0, 0);
          })
        .then([&](HWND) {})  // a tick later the keys have been handled
        .then([&](HWND d) {
            stillOpen = IsWindowVisible(d) != FALSE;
            press(d, cmdExit);
            EXPECT_EQ(ended, std::vector<unsigned>{0});
            ShowWindow(d, SW_HIDE);  // the test's stand-in for the ended process
        });
    report(7);
    EXPECT_TRUE(stillOpen);
}

TEST_F(ErrorDialog, InformationModeHasNoAbbruch) {
    test::DialogDriver driver;
    driver.then([&](HWND d) {
        EXPECT_EQ(text(d), L"Information");
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, cmdExit)));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, cmdOK)));
        press(d, cmdOK);
    });
    report(53);
    EXPECT_TRUE(driver.done());
}

TEST_F(ErrorDialog, QuestionModeAndItsAnswers) {
    const std::pair<int, int32_t> answers[] = {{cmdYes, 1}, {cmdNo, 3}, {cmdCancel, -1}};
    for (auto [button, result] : answers) {
        frmError form;
        ASSERT_TRUE(form.Load());
        bool yesNo = true;
        form.SetForm(yesNo);
        HWND d = form.hwnd();
        EXPECT_EQ(text(d), L"Frage");
        std::vector<int> visible;
        for (int id : {imgImage0, imgImage1, imgImage2, cmdOK, cmdExit, cmdDetails, cmdYes, cmdNo,
                       cmdCancel, cmdbugreport}) {
            if (GetWindowLongW(GetDlgItem(d, id), GWL_STYLE) & WS_VISIBLE) visible.push_back(id);
        }
        EXPECT_EQ(visible, (std::vector<int>{imgImage1, cmdYes, cmdNo, cmdCancel}));
        EXPECT_EQ(LOWORD(SendMessageW(d, DM_GETDEFID, 0, 0)), cmdYes);
        EXPECT_EQ(GetNextDlgTabItem(d, nullptr, FALSE), GetDlgItem(d, cmdYes));
        test::DialogDriver driver;
        driver.then([button = button](HWND dlg) { press(dlg, button); });
        form.Show();
        EXPECT_EQ(form.Result, result);
    }
}

TEST_F(ErrorDialog, ControlsAtTheirTwipsPositionsWithTahoma) {
    frmError form;
    ASSERT_TRUE(form.Load());
    const bool tahomaInstalled = [] {
        HDC dc = GetDC(nullptr);
        LOGFONTW q{};
        q.lfCharSet = DEFAULT_CHARSET;
        wcscpy(q.lfFaceName, L"Tahoma");
        bool found = false;
        EnumFontFamiliesExW(
            dc, &q,
            [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM p) -> int {
                *reinterpret_cast<bool*>(p) = true;
                return 0;
            },
            reinterpret_cast<LPARAM>(&found), 0);
        ReleaseDC(nullptr, dc);
        return found;
    }();
    struct {
        int id, left, top, width, height;
    } const expected[] = {{txtMsg, 720, 120, 3615, 615},     {cmdbugreport, 120, 720, 3615, 615},
                          {cmdOK, 4440, 160, 1200, 330},     {cmdExit, 4440, 525, 1200, 330},
                          {cmdDetails, 4440, 1005, 1200, 330}, {cmdYes, 4560, 160, 1092, 330},
                          {cmdNo, 4560, 530, 1092, 330},     {cmdCancel, 4440, 1020, 1092, 330},
                          {txtDetails, 120, 1440, 5535, 1455}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.id);
        HWND c = GetDlgItem(form.hwnd(), e.id);
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, MulDiv(e.left, dpi.x, 1440));
        EXPECT_EQ(r.top, MulDiv(e.top, dpi.y, 1440));
        EXPECT_EQ(r.right - r.left, MulDiv(e.width, dpi.x, 1440));
        EXPECT_EQ(r.bottom - r.top, MulDiv(e.height, dpi.y, 1440));
        LOGFONTW lf{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        if (e.id == cmdbugreport) {
            EXPECT_EQ(SendMessageW(c, WM_GETFONT, 0, 0),
                      SendMessageW(form.hwnd(), WM_GETFONT, 0, 0));  // the dialog's own font
        } else {
            // Tahoma, or a similar face where Tahoma is not installed.
            if (tahomaInstalled) {
                EXPECT_EQ(std::wstring(lf.lfFaceName), L"Tahoma");
            }
            EXPECT_EQ(lf.lfHeight, -MulDiv(825, dpi.y, 7200));
            EXPECT_EQ(lf.lfWeight, FW_NORMAL);
        }
    }
    RECT client;
    GetClientRect(form.hwnd(), &client);
    EXPECT_EQ(client.right, MulDiv(5745, dpi.x, 1440));
    // Tab order: O&K, &Abbruch, D&etails, ... (the message is skipped).
    HWND d = form.hwnd();
    EXPECT_EQ(GetNextDlgTabItem(d, GetDlgItem(d, cmdOK), FALSE), GetDlgItem(d, cmdExit));
    EXPECT_EQ(GetNextDlgTabItem(d, GetDlgItem(d, cmdExit), FALSE), GetDlgItem(d, cmdDetails));
}

}  // namespace
}  // namespace fk
