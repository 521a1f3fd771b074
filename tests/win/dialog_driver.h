// Drives a modal dialog of this thread from a thread timer that fires inside the
// dialog's own message loop: each tick runs the next step on the visible dialog.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

namespace fk::test {

class DialogDriver {
public:
    using Step = std::function<void(HWND dialog)>;

    DialogDriver() {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 40, onTick);
    }
    ~DialogDriver() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    DialogDriver& then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    bool done() const { return steps_.empty(); }

    // The visible dialog (class #32770) of this thread, or nullptr.
    static HWND visibleDialog() {
        HWND found = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM out) -> BOOL {
                wchar_t cls[16] = {};
                GetClassNameW(hwnd, cls, 16);
                if (std::wstring(cls) == L"#32770" && IsWindowVisible(hwnd)) {
                    *reinterpret_cast<HWND*>(out) = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

private:
    static void CALLBACK onTick(HWND, UINT, UINT_PTR, DWORD) {
        DialogDriver* self = current_;
        if (!self || self->steps_.empty()) return;
        HWND dialog = visibleDialog();
        if (!dialog) return;
        Step step = std::move(self->steps_.front());
        self->steps_.pop_front();
        step(dialog);
    }

    static inline DialogDriver* current_ = nullptr;
    UINT_PTR timer_ = 0;
    std::deque<Step> steps_;
};

}  // namespace fk::test
