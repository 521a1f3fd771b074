// The central error handler: every reported failure ends up here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "errors/error_entry.h"
#include "errors/runtime_error.h"

namespace fk {

// Looks up a solution text in "error.dat", keeps the error log "Errorlog.txt",
// appends the error entry (unless the number is an expected file or device error)
// and shows frmError modally. Returns when the user has closed the dialog.
void HandleError(int32_t& lErrNum, std::string& sErrText, std::string& sErrLocation,
                 bool& bDisableOK, std::string& sSolution, bool& bInfoOnly);

// The steps of a report before anything is shown: the solution text from
// "error.dat", the error log with its general-information block, and the plan.
ReportPlan prepareReport(int32_t number, const std::string& text, const std::string& location,
                         bool disableOK, bool infoOnly, const Failure& recorded);

// One value of a profile file, at most 499 characters.
std::string ReadIniFile(std::string sIniFile, std::string sSection, std::string sKey,
                        std::string sDefault);

// Sends the reports of the error epilogue to HandleError.
void installCentralErrorHandler();

// The current date or time in the user's regional short-date and time formats.
std::string regionalDate(const SYSTEMTIME& t);
std::string regionalTime(const SYSTEMTIME& t);

}  // namespace fk
