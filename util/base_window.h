// One window procedure for the program's windows and dialogs, in the shape of the
// classic Win32 samples' BaseWindow: the object is stored with its window when the
// window is made (WM_NCCREATE for a window, WM_INITDIALOG for a dialog), and from then
// on every message goes to its HandleMessage behind a barrier that no exception
// passes: what a handler throws is reported under the object's procedure label, and
// the message is answered 0 (for a dialog: not handled).
#pragma once

#include <windows.h>

#include "base/epilogue.h"

namespace fk {

class BaseWindow {
public:
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

protected:
    explicit BaseWindow(const Procedure& barrier) : barrier_(barrier) {}
    ~BaseWindow() = default;

    // The procedure of a window class or of a dialog; the creation parameter (of
    // CreateWindowEx or of a dialog's creation) is creationParam().
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void* creationParam() { return this; }

    // A dialog answers TRUE for a message it has handled.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;

    // The window from its creation on; a derived class sets it to nullptr when it lets
    // go of the window, and later messages then take their default way.
    HWND hwnd_ = nullptr;

private:
    static void attach(HWND hwnd, int slot, void* self);
    static BaseWindow* attached(HWND hwnd, int slot);
    LRESULT guarded(UINT msg, WPARAM wp, LPARAM lp);

    const Procedure& barrier_;
};

}  // namespace fk
