// The texts of the error log: the general-information block and one error entry.
// Texts are in the ANSI code page; lines end with CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fk {

// One of the 21 numbers of file and device errors shown as information, not logged.
bool isExpectedError(int32_t number);

std::string generalInformationBlock(std::string_view appName, std::string_view version,
                                    std::string_view location);

struct ErrorEntryFields {
    int32_t number = 0;
    std::string_view text;
    std::string_view solution;
    uint32_t lastDllError = 0;
    std::string_view source;
    std::string_view procedure;  // the error label
    std::string_view date;
    std::string_view time;
};

std::string composeErrorEntry(const ErrorEntryFields& fields);

// What the central error handler does with one failure, decided without Windows so
// that the rules can be checked on any host.
struct ReportPlan {
    bool informationMode = false;  // the dialog as information box; nothing logged
    bool okEnabled = true;
    std::string solution;
    std::string entry;  // the error entry, shown in the details and logged
    // Information is shown only; an error is also logged.
    bool logged() const { return !informationMode; }
};

// Out of memory (number 7 or the text "Out of Memory") disables "O&K" and forces the
// error mode; an expected number then forces the information mode. `disableOK` and
// `infoOnly` are the caller's requests.
ReportPlan planReport(const ErrorEntryFields& failure, bool disableOK, bool infoOnly);

// The path with a trailing "\" ensured; the argument is not changed.
std::string CorrectPath(const std::string& path);

// "major.minor.revision" of this program.
std::string GetVersion();

}  // namespace fk
