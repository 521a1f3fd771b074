#include "util/base_window.h"

namespace fk {

void BaseWindow::attach(HWND hwnd, int slot, void* self) {
    static_cast<BaseWindow*>(self)->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, slot, reinterpret_cast<LONG_PTR>(self));
}

// The object of a window, as long as it holds the window.
BaseWindow* BaseWindow::attached(HWND hwnd, int slot) {
    auto* self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(hwnd, slot));
    return self && self->hwnd_ == hwnd ? self : nullptr;
}

// The barrier: what the handler throws is reported, and the message is answered 0.
LRESULT BaseWindow::guarded(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    barrier_.assign(result, [&] { return HandleMessage(msg, wp, lp); });
    return result;
}

LRESULT CALLBACK BaseWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        attach(hwnd, GWLP_USERDATA, reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    }
    BaseWindow* self = attached(hwnd, GWLP_USERDATA);
    return self ? self->guarded(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

INT_PTR CALLBACK BaseWindow::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) attach(hwnd, DWLP_USER, reinterpret_cast<void*>(lp));
    BaseWindow* self = attached(hwnd, DWLP_USER);
    return self ? self->guarded(msg, wp, lp) : FALSE;
}

}  // namespace fk
