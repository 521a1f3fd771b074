// Drives a modal dialog of this thread from a thread timer that fires inside the
// dialog's own message loop: each tick runs the next step on the visible dialog.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>

namespace fk::test {

class DialogDriver {
public:
    using Step = std::function<void(HWND dialog)>;

    DialogDriver() : timer_(SetTimer(nullptr, 0, 40, onTick)) { current_ = this; }
    ~DialogDriver() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    DialogDriver& then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    bool done() const { return steps_.empty(); }

    // The visible dialog (class #32770) of this thread, or nullptr.
    static HWND visibleDialog() {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), [](HWND hwnd, LPARAM out) -> BOOL {
            wchar_t cls[8] = {};
            GetClassNameW(hwnd, cls, 8);
            if (wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
            *reinterpret_cast<HWND*>(out) = hwnd;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&found));
        return found;
    }

private:
    static void CALLBACK onTick(HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = visibleDialog();
        if (!current_ || current_->steps_.empty() || !dialog) return;
        Step step = std::move(current_->steps_.front());
        current_->steps_.pop_front();
        step(dialog);
    }

    static inline DialogDriver* current_ = nullptr;
    UINT_PTR timer_;
    std::deque<Step> steps_;
};

}  // namespace fk::test
