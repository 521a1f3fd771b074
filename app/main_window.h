// The main window "Follow Kelvaro": explanation, "Start", progress log, "Ende".
#pragma once

#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "app/adaptation_run.h"
#include "util/base_window.h"
#include "util/controls.h"

namespace fk {

// Control ids start above the dialog command ids (IDOK 1, IDCANCEL 2, ...), which
// Enter and Esc produce.
enum MainControl : int {
    cmdWEITER = 101,
    cmdStart,
    picweiss,
    imgbanner,
    lblTITEL0,  // lblTITEL(0): the title in the white strip
    LBLablauf,
    lblTITEL1,  // lblTITEL(1): the explanation
};

// The window's controls, in the order the window defines them.
std::span<const ControlSpec> mainWindowControls();

inline constexpr int kMainClientWidthTwips = 10680;
inline constexpr int kMainClientHeightTwips = 8340;

class FollowKelvaro : public RunHost, public BaseWindow {
public:
    static constexpr const wchar_t* kClassName = L"FollowKelvaro";

    FollowKelvaro();
    ~FollowKelvaro() override;

    // Creates the window with its controls (not yet shown); false when that failed.
    bool create(HINSTANCE instance);
    // Shows the window and puts the keyboard focus on "Start".
    void show(int showCommand);

    HWND control(MainControl id) const { return controls_.get(id); }

    // The progress log (UTF-8 here), shown as the caption of LBLablauf.
    void setLog(std::string_view text) override;
    void appendLog(std::string_view text) override;
    // A message box owned by the window.
    void messageBox(const std::wstring& text, const std::wstring& title, unsigned type) override;

    // Called once the window is gone (the program's message loop ends there).
    std::function<void()> onDestroyed;

    void Form_Load();
    // The adaptation run: copies the central dbpfad.ini over each companion's.
    void cmdStart_Click();
    void cmdWEITER_Click();

private:
    // Without the central dbpfad.ini: the log in a message box, then the program ends.
    void endForMissingDataPath();
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void onCommand(int id, int code);
    void onEnter();
    void onActivate(WPARAM wp);

    HWND lastFocus_ = nullptr;
    ControlSet controls_;
    std::string log_;
};

}  // namespace fk
