// Thin seams around what tests must be able to drive or observe: ending the
// process, modal display, message boxes, the clock and the INI file class's writes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace fk {

struct Seams {
    // Ends the process at once with the given exit code (ExitProcess).
    std::function<void(unsigned exitCode)> endProcess;
    // Shows a loaded window modally: returns once it is hidden or destroyed.
    std::function<void(HWND window)> runModal;
    // A modal message box (MessageBoxW); returns the button chosen.
    std::function<int(HWND owner, const std::wstring& text, const std::wstring& title, UINT type)>
        messageBox;
    // Hands a link (ANSI code page) to the shell to open (ShellExecuteA, verb "open").
    std::function<void(const std::string& link)> shellOpen;
    // The current local date and time.
    std::function<SYSTEMTIME()> localTime;
    // Writes or deletes in an INI file (WritePrivateProfileStringA); a test fails one
    // write of several to see what an operation leaves.
    std::function<BOOL(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file)> writeProfileString;
};

// The program's seams; tests replace members and restore them with SeamsOverride.
Seams& seams();

// Shows `window` modally on this thread: the thread's other top-level windows take
// no input until it is hidden or destroyed.
void runModalLoop(HWND window);

class SeamsOverride {
public:
    SeamsOverride() : saved_(seams()) {}
    ~SeamsOverride() { seams() = saved_; }
    SeamsOverride(const SeamsOverride&) = delete;
    SeamsOverride& operator=(const SeamsOverride&) = delete;

private:
    Seams saved_;
};

}  // namespace fk
