// The real FollowKelvaro.exe: its resources, and the program started and driven from outside.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "resources/version.h"

namespace fk {
namespace {

const wchar_t* exePath() {
    static const std::wstring path = [] {
        std::wstring p = L"" FK_EXE_PATH;
        for (auto& c : p) c = c == L'/' ? L'\\' : c;
        return p;
    }();
    return path.c_str();
}

class ExeResources : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryExW(exePath(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr) << GetLastError();
    }
    void TearDown() override { FreeLibrary(module); }

    std::string resource(LPCWSTR type, int id) {
        HRSRC r = FindResourceW(module, MAKEINTRESOURCEW(id), type);
        if (!r) return {};
        auto* data = static_cast<const char*>(LockResource(LoadResource(module, r)));
        return std::string(data, SizeofResource(module, r));
    }
    HMODULE module = nullptr;
};

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(ExeResources, IconHasFourSizes) {
    const std::string group = resource(RT_GROUP_ICON, IDI_APP);
    ASSERT_GE(group.size(), 6u);
    const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    ASSERT_EQ(count, 4);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        GroupIconEntry e;
        memcpy(&e, group.data() + 6 + i * sizeof e, sizeof e);
        sizes.push_back(e.width == 0 ? 256 : e.width);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 128}));
}

TEST_F(ExeResources, BannerIs500By70WithA256ColourPalette) {
    const std::string bmp = resource(RT_BITMAP, IDB_BANNER);
    ASSERT_GE(bmp.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER h;
    memcpy(&h, bmp.data(), sizeof h);
    EXPECT_EQ(h.biWidth, 500);
    EXPECT_EQ(h.biHeight, 70);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(h.biClrUsed == 0 ? 256u : h.biClrUsed, 256u);
    EXPECT_EQ(bmp.size(), sizeof h + 256 * 4 + 500 * 70);
}

TEST_F(ExeResources, ManifestAsksForCommonControlsDpiAwarenessAndHighestAvailable) {
    const std::string manifest = resource(RT_MANIFEST, 1);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("level=\"highestAvailable\""), std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
}

TEST(ExeVersion, IsOnePointZeroPointOne) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exePath(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(exePath(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 1));
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040704B0\\FileVersion",
                               reinterpret_cast<void**>(&text), &len));
    EXPECT_STREQ(text, L"" FK_VERSION_TEXT);
    EXPECT_STREQ(text, L"1.0.1");
}

// The program started as a process of its own, found by its window.
class RunningProgram : public ::testing::Test {
protected:
    void SetUp() override {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring cmd = L"\"" + std::wstring(exePath()) + L"\"";
        ASSERT_TRUE(CreateProcessW(exePath(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi));
        WaitForInputIdle(pi.hProcess, 10000);
        for (int i = 0; i < 200 && !window; ++i) {
            EnumWindows(findOwnWindow, reinterpret_cast<LPARAM>(this));
            if (!window) Sleep(25);
        }
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 99);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    static BOOL CALLBACK findOwnWindow(HWND hwnd, LPARAM self) {
        auto* t = reinterpret_cast<RunningProgram*>(self);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        wchar_t cls[64] = {};
        GetClassNameW(hwnd, cls, 64);
        if (pid != t->pi.dwProcessId || std::wstring(cls) != FollowKelvaro::kClassName) return TRUE;
        t->window = hwnd;
        return FALSE;
    }
    DWORD exitCodeAfterEnd() {
        if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) return 12345;
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }
    PROCESS_INFORMATION pi{};
    HWND window = nullptr;
};

TEST_F(RunningProgram, StartsWithFocusOnStartAndEndsByTheCloseBox) {
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Follow Kelvaro");
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui));
    EXPECT_EQ(gui.hwndFocus, GetDlgItem(window, cmdStart));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, cmdWEITER)));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodeAfterEnd(), 0u);
}

TEST_F(RunningProgram, EndeEndsTheProgramWithExitCodeZero) {
    HWND ende = GetDlgItem(window, cmdWEITER);
    ShowWindow(ende, SW_SHOW);
    PostMessageW(ende, BM_CLICK, 0, 0);
    EXPECT_EQ(exitCodeAfterEnd(), 0u);
}

}  // namespace
}  // namespace fk
