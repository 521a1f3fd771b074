#include "base/seams.h"

#include <shellapi.h>

#include <vector>

namespace fk {
namespace {

BOOL CALLBACK collectEnabled(HWND hwnd, LPARAM list) {
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    }
    return TRUE;
}

}  // namespace

void runModalLoop(HWND window) {
    const HWND active = GetActiveWindow();
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), collectEnabled, reinterpret_cast<LPARAM>(&disabled));
    std::erase(disabled, window);
    for (HWND w : disabled) EnableWindow(w, FALSE);

    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG msg;
    while (IsWindow(window) && IsWindowVisible(window)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave WM_QUIT for the outer loop
            break;
        }
        if (got < 0) break;
        if (IsDialogMessageW(window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    for (HWND w : disabled) {
        if (IsWindow(w)) EnableWindow(w, TRUE);
    }
    // The window was hidden while the others were still disabled, so none of them took
    // the activation: give it back to the window that had it, so that it takes input.
    if (IsWindow(active) && !GetActiveWindow()) SetForegroundWindow(active);
}

Seams& seams() {
    static Seams s{
        [](unsigned exitCode) { ExitProcess(exitCode); },
        runModalLoop,
        [](HWND owner, const std::wstring& text, const std::wstring& title, UINT type) {
            return MessageBoxW(owner, text.c_str(), title.c_str(), type);
        },
        [](const std::string& link) {
            // The result is not examined: without a mail program nothing happens.
            ShellExecuteA(nullptr, "open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        },
        [] {
            SYSTEMTIME now;
            GetLocalTime(&now);
            return now;
        },
        WritePrivateProfileStringA,
    };
    return s;
}

}  // namespace fk
