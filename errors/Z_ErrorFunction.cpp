#include "errors/Z_ErrorFunction.h"

#include <cstdio>

#include "errors/epilogue.h"
#include "errors/error_entry.h"
#include "errors/frmError.h"
#include "errors/win32_error.h"
#include "files/A_Definitionen.h"
#include "files/y_work_together.h"
#include "resources/version.h"
#include "util/file_io.h"
#include "util/seams.h"

namespace fk {
namespace {

constexpr Procedure kReadIniFile{"Error in Z_ErrorFunction: Function ReadIniFile", "ReadIniFile"};

// A failure while a report is prepared or shown is reported in a dialog of its own
// and the outer report then goes on. Past this depth (a failure that repeats in every
// nested report) reports are written to standard error instead, so nesting ends.
constexpr int kMaxNestedReports = 3;
int g_reportDepth = 0;

std::string formatted(const SYSTEMTIME& t, bool date) {
    char buffer[128] = {};
    const int n = date ? GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr,
                                        buffer, sizeof buffer)
                       : GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, nullptr, buffer,
                                        sizeof buffer);
    captureLastError();
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n - 1)) : std::string();
}

void ensureLogWithGeneralInformation(const std::string& logFolder) {
    const std::string log = logFolder + "Errorlog.txt";
    if (dateivorhanden(log)) return;
    // Only a new file gets the block; a log that cannot be created is skipped.
    createFileWith(log, generalInformationBlock(FK_APP_TITLE, GetVersion(), lokaler_datenpfad));
}

void switchToInformationMode(frmError& form) {
    form.setVisible(imgImage0, false);
    form.setVisible(imgImage1, false);
    form.setVisible(imgImage2, true);
    form.setVisible(cmdExit, false);
    form.setCaption("Information");
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

std::string regionalDate(const SYSTEMTIME& t) { return formatted(t, true); }
std::string regionalTime(const SYSTEMTIME& t) { return formatted(t, false); }

std::string ReadIniFile(std::string sIniFile, std::string sSection, std::string sKey,
                        std::string sDefault) {
    std::string result;
    kReadIniFile.step([&] {
        std::string buffer(5000, '\0');
        // Only 500 of the 5000 characters are offered: longer values come back cut.
        const DWORD n = GetPrivateProfileStringA(sSection.c_str(), sKey.c_str(),
                                                 sDefault.c_str(), buffer.data(), 500,
                                                 sIniFile.c_str());
        captureLastError();
        result = buffer.substr(0, n);
    });
    return result;
}

void HandleError(int32_t& lErrNum, std::string& sErrText, std::string& sErrLocation,
                 bool& bDisableOK, std::string& sSolution, bool& bInfoOnly) {
    if (g_reportDepth >= kMaxNestedReports) {
        std::fprintf(stderr, "%s: Error %ld: %s\n", sErrLocation.c_str(),
                     static_cast<long>(lErrNum), sErrText.c_str());
        return;
    }
    ++g_reportDepth;
    const Failure recorded = recordedError();

    frmError form;
    const bool loaded = form.Load();
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    if (sErrText == "Out of Memory") {
        bDisableOK = true;
        bInfoOnly = false;
    }
    if (lErrNum == err::OutOfMemory) {
        bDisableOK = true;
        bInfoOnly = false;
    }
    const std::string logFolder = CorrectPath(lokaler_datenpfad);
    sSolution = ReadIniFile(logFolder + "error.dat", "Errors", std::to_string(lErrNum), "");
    ensureLogWithGeneralInformation(logFolder);

    const SYSTEMTIME now = seams().localTime();
    const std::string date = regionalDate(now);
    const std::string time = regionalTime(now);
    std::string entry = composeErrorEntry({lErrNum, sErrText, sSolution, recorded.lastDllError,
                                           recorded.source, sErrLocation, date, time});
    if (loaded) {
        form.setControlText(txtDetails, entry);
        bool yesNo = false;
        form.SetForm(yesNo);
    }
    if (isExpectedError(lErrNum)) bInfoOnly = true;
    if (bInfoOnly) {
        if (loaded) switchToInformationMode(form);
    } else {
        form.WritetoLog(entry);
    }
    if (loaded) {
        if (bDisableOK) EnableWindow(form.control(cmdOK), FALSE);
        form.setControlText(txtMsg, form.ChangeErrMsg(lErrNum, sErrText, sErrLocation));
        form.Show();
    }
    form.Unload();
    // Clearing the recorded error also clears its last DLL error.
    recordedError() = {};
    setLastDllError(0);
    --g_reportDepth;
}

void installCentralErrorHandler() { setReportHandler(reportThroughHandleError); }

}  // namespace fk
