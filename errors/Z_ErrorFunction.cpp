#include "errors/Z_ErrorFunction.h"

#include <cstdio>

#include "base/epilogue.h"
#include "base/seams.h"
#include "base/win32_error.h"
#include "errors/error_entry.h"
#include "errors/error_log.h"
#include "errors/frmError.h"
#include "files/A_Definitionen.h"
#include "files/Dateiroutinen.h"
#include "util/clsIniRW.h"
#include "util/file_io.h"

namespace fk {
namespace {

// A failure while a report is prepared or shown is reported in a dialog of its own
// and the outer report then goes on. Past this depth (a failure that repeats in every
// nested report) reports are written to standard error instead, so nesting ends.
constexpr int kMaxNestedReports = 3;
int g_reportDepth = 0;

// Counts one report as running for as long as it lives, so a report that fails on
// its way (out of memory while it is prepared or shown) is not counted for ever.
class ReportDepth {
public:
    ReportDepth() { ++g_reportDepth; }
    ~ReportDepth() { --g_reportDepth; }
    ReportDepth(const ReportDepth&) = delete;
    ReportDepth& operator=(const ReportDepth&) = delete;
};

std::string formatted(const SYSTEMTIME& t, bool date) {
    char buffer[128] = {};
    const int n = date ? GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, buffer,
                                        sizeof buffer)
                       : GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, nullptr, buffer, sizeof buffer);
    captureLastError();
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n - 1)) : std::string();
}

void reportThroughHandleError(const Failure& failure, std::string_view label,
                              std::string_view name) {
    recordedError() = failure;
    int32_t number = failure.number;
    std::string text = failure.description;
    std::string location(label);
    bool disableOK = false;
    std::string solution(name);
    bool infoOnly = false;
    HandleError(number, text, location, disableOK, solution, infoOnly);
}

}  // namespace

std::string regionalDate(const SYSTEMTIME& t) {
    return formatted(t, true);
}
std::string regionalTime(const SYSTEMTIME& t) {
    return formatted(t, false);
}

// Only 500 characters are offered, once: longer values come back cut.
std::string ReadIniFile(std::string sIniFile, std::string sSection, std::string sKey,
                        std::string sDefault) {
    return profileValue(sIniFile, sSection, sKey, sDefault, 500, 500);
}

namespace {

// error.dat lies where ordinary users can write: its text is taken only from the data
// folder's own file, held open (others may only read it) while the profile function
// reads it by name. Anything else gives no solution text.
std::string solutionText(int32_t number) {
    const std::string path = CorrectPath(lokaler_datenpfad) + "error.dat";
    std::string solution;
    quietly([&] {
        const FileHandle held = openOwnFile(dataFolderFile(path));
        solution = ReadIniFile(path, "Errors", std::to_string(number), "");
    });
    return solution;
}

}  // namespace

ReportPlan prepareReport(const Failure& failure, std::string_view label, bool disableOK,
                         bool infoOnly) {
    // lokaler_datenpfad: written by hole_programmgrundverzeichnis.
    const std::string solution = solutionText(failure.number);
    ensureErrorLog();
    const SYSTEMTIME now = seams().localTime();
    return planReport({failure.number, failure.description, solution, failure.lastDllError,
                       failure.source, label, regionalDate(now), regionalTime(now)},
                      disableOK, infoOnly);
}

void endReport() {
    recordedError() = {};  // and with it its last DLL error
    setLastDllError(0);
}

// The dialog's way of a report: the epilogue's parameters become the failure, whose
// prepared report the dialog logs (unless it is an expected error) and shows.
void HandleError(int32_t& lErrNum, std::string& sErrText, std::string& sErrLocation,
                 bool& bDisableOK, std::string& sSolution, bool& bInfoOnly) {
    if (g_reportDepth >= kMaxNestedReports) {
        std::fprintf(stderr, "%s: Error %ld: %s\n", sErrLocation.c_str(),
                     static_cast<long>(lErrNum), sErrText.c_str());
        return;
    }
    const ReportDepth depth;
    Failure failure = recordedError();  // its source and last DLL error
    failure.number = lErrNum;
    failure.description = sErrText;
    frmError form;
    const bool loaded = form.Load();
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    const ReportPlan plan = prepareReport(failure, sErrLocation, bDisableOK, bInfoOnly);
    sSolution = plan.solution;
    bDisableOK = !plan.okEnabled;
    bInfoOnly = plan.informationMode;
    std::string entry = plan.entry;
    if (plan.logged()) form.WritetoLog(entry);
    if (loaded) form.showReport(plan, form.ChangeErrMsg(lErrNum, sErrText, sErrLocation));
    form.Unload();
    endReport();
}

void installCentralErrorHandler() {
    setReportHandler(reportThroughHandleError);
}

}  // namespace fk
