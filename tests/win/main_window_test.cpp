// The main window in this process, and the resources of the built program.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "test_support.h"
#include "util/encoding.h"
#include "util/seams.h"

namespace fk {
namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        seams().endProcess = [this](unsigned code) { endCodes.push_back(code); };
        seams().messageBox = [this](HWND, const std::wstring& text, const std::wstring&, UINT) {
            boxes.push_back(text);
            return IDOK;
        };
        ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
        window.show(SW_SHOWNORMAL);
        test::pumpMessages(50);
    }
    HWND ctl(int id) { return window.control(static_cast<MainControl>(id)); }
    void press(WPARAM vk) {
        MSG msg{GetFocus(), WM_KEYDOWN, vk, 0, 0, {}};
        IsDialogMessageW(window.hwnd(), &msg);
    }

    SeamsOverride seamsGuard;
    std::vector<unsigned> endCodes;
    std::vector<std::wstring> boxes;
    FollowKelvaro window;
};

// Every row becomes a control at its twips converted with the real DPI, inside its
// parent, with its caption, font height and start visibility; the window's children
// follow the tab indices.
TEST_F(MainWindow, ControlsFollowTheirTableAtTheRealDpi) {
    const Dpi dpi = screenDpi();
    auto px = [](int twips, int perInch) -> LONG { return MulDiv(twips, perInch, 1440); };
    RECT client;
    GetClientRect(window.hwnd(), &client);
    EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(px(10680, dpi.x), px(8340, dpi.y)));
    EXPECT_EQ(windowText(window.hwnd()), L"Follow Kelvaro");
    std::map<int, HWND> byTabIndex;
    for (const ControlSpec& row : mainWindowControls()) {
        HWND c = ctl(row.id), parent = row.parent ? ctl(row.parent) : window.hwnd();
        ASSERT_EQ(GetParent(c), parent) << row.id;
        RECT r, inner;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        GetClientRect(parent, &inner);
        const SIZE size = row.id == imgbanner ? SIZE{500, 70}  // the bitmap's natural size
                                              : SIZE{px(row.at.width, dpi.x), px(row.at.height, dpi.y)};
        EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right - r.left, r.bottom - r.top}),
                  std::vector<LONG>({px(row.at.left, dpi.x), px(row.at.top, dpi.y), size.cx, size.cy})) << row.id;
        EXPECT_TRUE(r.right <= inner.right && r.bottom <= inner.bottom) << row.id;
        EXPECT_EQ(IsWindowVisible(c) != FALSE, row.visible) << row.id;
        if (row.id != picweiss && row.id != imgbanner) { EXPECT_EQ(windowText(c), widenUtf8(row.caption)) << row.id; }
        LOGFONTW lf{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        if (row.font.face) { EXPECT_EQ(lf.lfHeight, -MulDiv(row.font.centipoints, dpi.y, 7200)) << row.id; }
        if (row.parent == 0) { EXPECT_TRUE(byTabIndex.emplace(row.tabIndex, c).second) << row.id; }
    }
    HWND child = GetWindow(window.hwnd(), GW_CHILD);
    for (const auto& [tabIndex, control] : byTabIndex) {
        EXPECT_EQ(child, control) << tabIndex;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    HDC dc = GetDC(ctl(lblTITEL0));  // the title strip is white
    SendMessageW(ctl(picweiss), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ctl(lblTITEL0)));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    ReleaseDC(ctl(lblTITEL0), dc);
}

TEST_F(MainWindow, EnterPressesTheFocusedButtonEscDoesNothingTabReachesEndeOnceShown) {
    press(VK_ESCAPE);
    EXPECT_EQ(GetNextDlgTabItem(window.hwnd(), ctl(cmdStart), FALSE), ctl(cmdStart));
    ShowWindow(ctl(cmdWEITER), SW_SHOW);
    EXPECT_EQ(GetNextDlgTabItem(window.hwnd(), ctl(cmdStart), FALSE), ctl(cmdWEITER));
    SetFocus(ctl(cmdWEITER));
    press(VK_RETURN);
    EXPECT_EQ(endCodes, std::vector<unsigned>{0});
    EXPECT_FALSE(IsWindowVisible(ctl(LBLablauf)));
    // On "Start" Enter starts a run (here it ends for want of a central dbpfad.ini).
    ShowWindow(ctl(cmdWEITER), SW_HIDE);
    SetFocus(ctl(cmdStart));
    press(VK_RETURN);
    EXPECT_TRUE(IsWindowVisible(ctl(LBLablauf)));
    EXPECT_EQ(boxes, std::vector<std::wstring>{windowText(ctl(LBLablauf))});
}

std::string resourceOf(HMODULE module, LPCWSTR type, int id) {
    HRSRC r = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    return r ? std::string(static_cast<const char*>(LockResource(LoadResource(module, r))), SizeofResource(module, r))
             : std::string();
}

TEST(Program, CarriesTheEmptyTableTemplates) {
    HMODULE exe = LoadLibraryExW(test::exePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    // Empty tables: version 3, no records, their record and header lengths, the field
    // lengths adding up, and the end bytes 13, 26, 0, 0.
    const int templates[][3] = {{101, 269, 481}, {102, 2881, 2401}, {103, 260, 8161}, {104, 3461, 1921}};
    for (const auto [id, recordLength, headerLength] : templates) {
        const std::string b = resourceOf(exe, RT_RCDATA, id);
        ASSERT_EQ(b.size(), headerLength + 3u) << id;
        auto at = [&](std::size_t i) { return static_cast<unsigned char>(b[i]); };
        int sum = 1;
        for (int f = 48; f < headerLength; f += 32) sum += at(f);
        EXPECT_EQ(std::vector<int>({at(0), at(4) | at(5) | at(6) | at(7), at(8) | at(9) << 8, at(10) | at(11) << 8, sum}),
                  std::vector<int>({3, 0, headerLength, recordLength, recordLength})) << id;
        EXPECT_EQ(b.substr(b.size() - 4), std::string("\x0d\x1a\0\0", 4)) << id;
    }
    FreeLibrary(exe);
}

}  // namespace
}  // namespace fk
