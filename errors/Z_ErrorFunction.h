// The central error handler: every reported failure ends up here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/runtime_error.h"
#include "errors/error_entry.h"

namespace fk {

// Looks up a solution text in "error.dat", keeps the error log "Errorlog.txt",
// appends the error entry (unless the number is an expected file or device error)
// and shows frmError modally. Returns when the user has closed the dialog.
void HandleError(int32_t& lErrNum, std::string& sErrText, std::string& sErrLocation,
                 bool& bDisableOK, std::string& sSolution, bool& bInfoOnly);

// The report of one failure before anything is shown, shared by the dialog and the
// console program: the solution text from "error.dat", the error log with its
// general-information block, and the plan (mode, "O&K", the entry). `label` is the
// failing procedure's error label; `disableOK` and `infoOnly` are the caller's requests.
ReportPlan prepareReport(const Failure& failure, std::string_view label, bool disableOK = false,
                         bool infoOnly = false);

// The end of every report: clears the recorded error and its last DLL error.
void endReport();

// One value of a profile file, at most 499 characters.
std::string ReadIniFile(std::string sIniFile, std::string sSection, std::string sKey,
                        std::string sDefault);

// Sends the reports of the error epilogue to HandleError.
void installCentralErrorHandler();

// The current date or time in the user's regional short-date and time formats.
std::string regionalDate(const SYSTEMTIME& t);
std::string regionalTime(const SYSTEMTIME& t);

}  // namespace fk
