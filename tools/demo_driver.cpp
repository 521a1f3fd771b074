// The eyes of tools/run.sh's demonstration: run under Wine beside the program, it tells
// where the main window's buttons are, so the script can click them with the pointer as a
// user would, and what the progress log shows. It clicks nothing itself: besides reading,
// it only asks the window whether it is idle.
//
//   demo_driver button CAPTION SECONDS  waits until the window shows that button and is
//                                       idle; prints the button's centre on the screen as
//                                       "X Y" (exit 1 when it does not show in time)
//   demo_driver window                  the window's place on the screen as WxH+X+Y
//   demo_driver log                     the text of the progress log, in UTF-8
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "app/main_window.h"
#include "base/encoding.h"
#include "util/controls.h"

namespace {

HWND shownWindow() {
    HWND window = FindWindowW(fk::FollowKelvaro::kClassName, nullptr);
    return IsWindowVisible(window) ? window : nullptr;
}

// The window's button with that caption, once it is visible; null before.
HWND shownButton(const wchar_t* caption) {
    HWND window = shownWindow();
    HWND button = window ? FindWindowExW(window, nullptr, L"Button", caption) : nullptr;
    return IsWindowVisible(button) ? button : nullptr;
}

// The run behind "Start" shows "Ende" before it returns: a message the window answers
// means the handler is done and the window can repaint.
bool waitUntilIdle(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
}

int printButton(const wchar_t* caption, int seconds) {
    HWND button = nullptr;
    for (int i = 0; i < seconds * 10 && !(button = shownButton(caption)); ++i) Sleep(100);
    if (!button || !waitUntilIdle(GetParent(button))) return 1;
    RECT r;
    GetWindowRect(button, &r);
    std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return 0;
}

int printWindow() {
    RECT r;
    if (!GetWindowRect(shownWindow(), &r)) return 1;
    std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    return 0;
}

int printLog() {
    HWND label = GetDlgItem(shownWindow(), fk::LBLablauf);
    if (!label) return 1;
    const std::string text = fk::narrowUtf8(fk::windowText(label));
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // the script reads "\n", not "\r\n"
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"button" && argc == 4) return printButton(argv[2], _wtoi(argv[3]));
    if (command == L"window" && argc == 2) return printWindow();
    if (command == L"log" && argc == 2) return printLog();
    std::fputs("usage: demo_driver button CAPTION SECONDS | window | log\n", stderr);
    return 2;
}
