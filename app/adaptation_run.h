// The adaptation run, shared by the window program and the console program: whatever
// implements RunHost shows what the run tells its user.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fk {

// The run's host: the window or the console program. It keeps the progress log (UTF-8
// pieces, lines end with CR LF) and shows the one message box of the data path
// resolution; the run itself raises no window.
class RunHost {
public:
    virtual ~RunHost() = default;
    virtual void setLog(std::string_view text) = 0;
    virtual void appendLog(std::string_view text) = 0;
    // A modal message box: text, title and its MB_* type (the buttons and the icon).
    virtual void messageBox(const std::wstring& text, const std::wstring& title, unsigned type) = 0;
    // A companion's dbpfad.ini that is there as a file but not taken (hidden, system,
    // or neither archive nor read-only), with its attributes: nothing tells that the
    // companion follows. The window's log keeps to its answers and says nothing.
    virtual void notTaken(const std::string& /*file*/, uint32_t /*attributes*/) {}
};

// How a run ended; also the console program's exit code.
enum class RunOutcome : int {
    AllFollow = 0,        // every installed companion's dbpfad.ini holds the central bytes
    SomeDoNotFollow = 1,  // at least one does not (could not be adapted, or --check)
    CentralMissing = 2,   // no central dbpfad.ini: nothing was changed
};

// Finds the central dbpfad.ini and copies it over each installed companion's; with
// `checkOnly` nothing is changed and each companion is only examined. Without the
// central file the log ends with the abort text and nothing else happens.
RunOutcome adaptationRun(RunHost& host, bool checkOnly);

// Handles one companion program; true when it is not installed or its dbpfad.ini
// holds the central bytes afterwards. A dbpfad.ini that is there but not taken is
// answered as not done, told to the host's notTaken, and the result is false.
bool testeaufprogramm(RunHost& host, const std::string& ordner, bool checkOnly);

}  // namespace fk
