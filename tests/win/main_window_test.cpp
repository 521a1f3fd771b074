#include <gtest/gtest.h>

#include <vector>

#include "app/main_window.h"
#include "test_support.h"
#include "util/encoding.h"
#include "util/seams.h"

namespace fk {
namespace {

// The window as designed, written down independently of the program's own table.
struct Expected {
    MainControl id;
    MainControl parent;  // 0: the window
    int left, top, width, height;
    const char* caption;
    int centipoints;  // 0: no font
    bool visible;
};

constexpr const char* kExplanation =
    "Dieses kleine Programm passt die Datenpfade vom \r\n"
    "Dorvant-Assistenten und dem Lomer-Assistenten sowie \r\n"
    "Pellinor an die Installation von Kelvaro ab 2.71 an.\r\n"
    "Bitte klicken Sie auf <Start>!";

const Expected kExpected[] = {
    {cmdWEITER, MainControl{}, 8610, 7410, 2025, 705, "Ende", 1800, false},
    {cmdStart, MainControl{}, 8610, 2820, 2025, 705, "Start", 1800, true},
    {picweiss, MainControl{}, 90, 90, 10545, 1155, "", 0, true},
    {imgbanner, picweiss, 2910, 0, 7500, 1050, "", 0, true},
    {lblTITEL0, picweiss, 0, 0, 2805, 435, "Follow Kelvaro", 1575, true},
    {LBLablauf, MainControl{}, 90, 3720, 8145, 4335, "", 1425, false},
    {lblTITEL1, MainControl{}, 90, 1410, 8115, 2085, kExplanation, 1425, true},
};

std::wstring textOf(HWND hwnd) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(hwnd, buffer, 1024);
    return buffer;
}

RECT rectInParent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        seams().endProcess = [this](unsigned code) { endCodes.push_back(code); };
        ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
        window.show(SW_SHOWNORMAL);
        test::pumpMessages(50);
    }
    HWND ctl(MainControl id) { return window.control(id); }

    SeamsOverride seamsGuard;
    std::vector<unsigned> endCodes;
    FollowKelvaro window;
    const Dpi dpi = screenDpi();
};

TEST_F(MainWindow, ControlsSitAtTheirTwipsRectanglesAtTheRealDpi) {
    for (const auto& e : kExpected) {
        SCOPED_TRACE(e.id);
        HWND hwnd = ctl(e.id);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(GetParent(hwnd), e.parent ? ctl(e.parent) : window.hwnd());
        const RECT r = rectInParent(hwnd);
        EXPECT_EQ(r.left, MulDiv(e.left, dpi.x, 1440));
        EXPECT_EQ(r.top, MulDiv(e.top, dpi.y, 1440));
        if (e.id == imgbanner) {
            // The image shows the bitmap at its natural size.
            EXPECT_EQ(r.right - r.left, 500);
            EXPECT_EQ(r.bottom - r.top, 70);
        } else {
            EXPECT_EQ(r.right - r.left, MulDiv(e.width, dpi.x, 1440));
            EXPECT_EQ(r.bottom - r.top, MulDiv(e.height, dpi.y, 1440));
        }
    }
    RECT client;
    GetClientRect(window.hwnd(), &client);
    EXPECT_EQ(client.right, MulDiv(10680, dpi.x, 1440));
    EXPECT_EQ(client.bottom, MulDiv(8340, dpi.y, 1440));
}

TEST_F(MainWindow, CaptionsFontsAndVisibility) {
    EXPECT_EQ(textOf(window.hwnd()), L"Follow Kelvaro");
    EXPECT_EQ(std::string(kExplanation).size(), 188u);
    for (const auto& e : kExpected) {
        SCOPED_TRACE(e.id);
        HWND hwnd = ctl(e.id);
        if (e.id != imgbanner && e.id != picweiss) {
            EXPECT_EQ(textOf(hwnd), widenUtf8(e.caption));
        }
        EXPECT_EQ(IsWindowVisible(hwnd) != FALSE, e.visible);
        if (e.centipoints == 0) continue;
        auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTW lf{};
        GetObjectW(font, sizeof lf, &lf);
        EXPECT_EQ(lf.lfHeight, -MulDiv(e.centipoints, dpi.y, 7200));
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
        // The face asked for is one the system really has, so nothing is substituted.
        HDC dc = GetDC(hwnd);
        HGDIOBJ old = SelectObject(dc, font);
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, face);
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        EXPECT_STREQ(face, lf.lfFaceName);
    }
}

TEST_F(MainWindow, TitleStripIsWhite) {
    HDC dc = GetDC(ctl(lblTITEL0));
    auto brush = SendMessageW(ctl(picweiss), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(ctl(lblTITEL0)));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    ReleaseDC(ctl(lblTITEL0), dc);
    LOGBRUSH lb{};
    GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, RGB(255, 255, 255));
}

TEST_F(MainWindow, TabOrderFollowsTheTabIndicesAndFocusStartsOnStart) {
    EXPECT_EQ(GetFocus(), ctl(cmdStart));
    std::vector<HWND> order;
    for (HWND c = GetWindow(window.hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        order.push_back(c);
    }
    const std::vector<HWND> expected = {ctl(lblTITEL1), ctl(LBLablauf), ctl(cmdStart),
                                        ctl(cmdWEITER), ctl(picweiss)};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(GetWindow(ctl(picweiss), GW_CHILD), ctl(lblTITEL0));
    // While "Ende" is hidden, Tab stays on "Start"; once shown, Tab reaches it.
    EXPECT_EQ(GetNextDlgTabItem(window.hwnd(), ctl(cmdStart), FALSE), ctl(cmdStart));
    ShowWindow(ctl(cmdWEITER), SW_SHOW);
    EXPECT_EQ(GetNextDlgTabItem(window.hwnd(), ctl(cmdStart), FALSE), ctl(cmdWEITER));
}

TEST_F(MainWindow, EndeEndsTheProgramWithExitCodeZero) {
    ShowWindow(ctl(cmdWEITER), SW_SHOW);
    SendMessageW(ctl(cmdWEITER), BM_CLICK, 0, 0);
    EXPECT_EQ(endCodes, std::vector<unsigned>{0});
}

TEST_F(MainWindow, EnterPressesTheFocusedButtonAndEscDoesNothing) {
    std::vector<std::wstring> boxes;
    seams().messageBox = [&](HWND, const std::wstring& text, const std::wstring&, UINT) {
        boxes.push_back(text);
        return IDOK;
    };
    auto press = [&](WPARAM vk) {
        MSG msg{GetFocus(), WM_KEYDOWN, vk, 0, 0, {}};
        IsDialogMessageW(window.hwnd(), &msg);
    };
    press(VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(ctl(LBLablauf)));
    EXPECT_TRUE(endCodes.empty());

    ShowWindow(ctl(cmdWEITER), SW_SHOW);
    SetFocus(ctl(cmdWEITER));
    press(VK_RETURN);
    EXPECT_EQ(endCodes, std::vector<unsigned>{0});

    // On "Start" Enter starts a run (here it ends for want of a central dbpfad.ini).
    ShowWindow(ctl(cmdWEITER), SW_HIDE);
    SetFocus(ctl(cmdStart));
    press(VK_RETURN);
    EXPECT_TRUE(IsWindowVisible(ctl(LBLablauf)));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].substr(0, 17), L"DBPfad suchen... ");
}

TEST_F(MainWindow, ProgressLogKeepsUmlautsAndLineBreaks) {
    window.setLog("DBPfad suchen... ");
    window.appendLog("  ...VORHANDEN!\r\n");
    window.appendLog("Ein Click auf 'ENDE' schließt das Programm!\r\n");
    EXPECT_EQ(window.log(),
              "DBPfad suchen...   ...VORHANDEN!\r\nEin Click auf 'ENDE' schließt das Programm!\r\n");
    EXPECT_EQ(textOf(ctl(LBLablauf)),
              L"DBPfad suchen...   ...VORHANDEN!\r\nEin Click auf 'ENDE' schlie\u00DFt das "
              L"Programm!\r\n");
}

}  // namespace
}  // namespace fk
