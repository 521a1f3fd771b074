// Drives a modal dialog of this thread from a thread timer that fires inside the
// dialog's own message loop: each tick hands the next step the visible dialog.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>

namespace fk::test {

class DialogDriver {
public:
    using Step = std::function<void(HWND dialog)>;
    // The steps replace any that a failed test left.
    DialogDriver(std::initializer_list<Step> steps) { steps_.assign(steps); }
    ~DialogDriver() { KillTimer(nullptr, timer_); }
    bool done() const { return steps_.empty(); }

private:
    static void CALLBACK onTick(HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = FindWindowW(L"#32770", nullptr);  // the test's only top-level dialog
        if (steps_.empty() || !IsWindowVisible(dialog)) return;
        const auto step = std::move(steps_.front());
        steps_.pop_front();
        step(dialog);
    }

    static inline std::deque<Step> steps_;
    UINT_PTR timer_ = SetTimer(nullptr, 0, 40, onTick);
};

}  // namespace fk::test
