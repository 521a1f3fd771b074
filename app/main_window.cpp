#include "app/main_window.h"

#include <windowsx.h>

#include "base/encoding.h"
#include "base/epilogue.h"
#include "base/seams.h"
#include "base/win32_error.h"
#include "resources/resource_ids.h"

namespace fk {
namespace {

constexpr Procedure kFormLoad{"Error in Preinstall: Sub Form_Load", "Form_Load"};
constexpr Procedure kWindowProc{"Error in Preinstall: Sub WindowProc", "WindowProc"};

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

void registerWindowClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, FollowKelvaro::kClassName, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON),
                                             GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = FollowKelvaro::kClassName;
    if (!RegisterClassExW(&wc)) raiseLastError(err::InvalidProcedureCall);
}

// Outer window size for the client area of the window's table, at the real DPI.
SIZE windowSizeFor(Dpi dpi) {
    RECT r{0, 0, twipsToPixels(kMainClientWidthTwips, dpi.x),
           twipsToPixels(kMainClientHeightTwips, dpi.y)};
    AdjustWindowRectEx(&r, kWindowStyle, FALSE, 0);
    return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

FollowKelvaro::FollowKelvaro() : BaseWindow(kWindowProc) {}

FollowKelvaro::~FollowKelvaro() {
    if (hwnd_) {
        onDestroyed = nullptr;
        DestroyWindow(hwnd_);
    }
}

bool FollowKelvaro::create(HINSTANCE instance) {
    const bool created = kFormLoad.step([&] {
        registerWindowClass(instance, WindowProc);
        const Dpi dpi = screenDpi();
        const SIZE size = windowSizeFor(dpi);
        const std::wstring title = widenUtf8("Follow Kelvaro");
        HWND hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, title.c_str(), kWindowStyle,
                                    CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr,
                                    nullptr, instance, creationParam());
        if (!hwnd) raiseLastError(err::InvalidProcedureCall);
        controls_.create(hwnd_, instance, mainWindowControls(), dpi);
    });
    if (created) Form_Load();
    return hwnd_ != nullptr;
}

void FollowKelvaro::show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    if (HWND first = controls_.firstFocusable()) SetFocus(first);
}

void FollowKelvaro::setLog(std::string_view text) {
    log_ = text;
    SetWindowTextW(control(LBLablauf), widenUtf8(log_).c_str());
}

void FollowKelvaro::appendLog(std::string_view text) {
    setLog(log_ + std::string(text));
}

void FollowKelvaro::messageBox(const std::wstring& text, const std::wstring& title, unsigned type) {
    seams().messageBox(hwnd_, text, title, type);
}

// Nothing to set up: the control table gives the window its start state.
void FollowKelvaro::Form_Load() {}

void FollowKelvaro::cmdWEITER_Click() {
    seams().endProcess(0);
}

void FollowKelvaro::cmdStart_Click() {
    ShowWindow(control(LBLablauf), SW_SHOW);
    if (adaptationRun(*this, false) == RunOutcome::CentralMissing) {
        endForMissingDataPath();
        return;
    }
    ShowWindow(control(cmdWEITER), SW_SHOW);
}

// Without the central dbpfad.ini the program cannot work: the log says why, the
// user reads it in a message box, then the program ends.
void FollowKelvaro::endForMissingDataPath() {
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    messageBox(widenUtf8(log_), L"Follow Kelvaro", MB_OK | MB_ICONERROR);
    seams().endProcess(0);
}

void FollowKelvaro::onCommand(int id, int code) {
    if (id == IDOK) onEnter();  // Esc (IDCANCEL) has no role here
    if (code != BN_CLICKED) return;
    if (id == cmdStart) cmdStart_Click();
    if (id == cmdWEITER) cmdWEITER_Click();
}

// Enter presses the focused button, as the Space bar does.
void FollowKelvaro::onEnter() {
    HWND focus = GetFocus();
    if (focus == control(cmdStart)) cmdStart_Click();
    if (focus == control(cmdWEITER) && IsWindowVisible(focus)) cmdWEITER_Click();
}

void FollowKelvaro::onActivate(WPARAM wp) {
    // Keep the keyboard focus on the control that had it when the window is re-activated.
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    } else {
        HWND target =
            lastFocus_ && IsWindowVisible(lastFocus_) ? lastFocus_ : controls_.firstFocusable();
        if (target) SetFocus(target);
    }
}

LRESULT FollowKelvaro::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            onCommand(GET_WM_COMMAND_ID(wp, lp), GET_WM_COMMAND_CMD(wp, lp));
            return 0;
        case WM_CTLCOLORSTATIC:
            if (HBRUSH brush =
                    controls_.background(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp))) {
                return reinterpret_cast<LRESULT>(brush);
            }
            break;
        case WM_ACTIVATE:
            onActivate(wp);
            return 0;
        case WM_DESTROY:
            hwnd_ = nullptr;
            if (onDestroyed) onDestroyed();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace fk
