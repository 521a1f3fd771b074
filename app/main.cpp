// Start-up: the main window is the program's start-up object; creating and
// showing it is all that happens at start.
#include <windows.h>

#include <commctrl.h>

#include "app/main_window.h"
#include "errors/Z_ErrorFunction.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    fk::installCentralErrorHandler();

    fk::FollowKelvaro window;
    if (!window.create(instance)) return 1;
    window.onDestroyed = [] { PostQuitMessage(0); };
    window.show(showCommand);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window.hwnd(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
