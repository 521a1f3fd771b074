#include "errors/error_entry.h"

#include <algorithm>
#include <array>

#include "base/runtime_error.h"
#include "base/text.h"
#include "resources/version.h"

namespace fk {
namespace {

// Tested in this order; 55, 66, 73, 74 and 75 are deliberately not among them.
constexpr std::array<int32_t, 21> kExpected{32755, 52, 53, 76, 54, 56, 57, 58, 59, 60, 61,
                                            62,    63, 64, 65, 67, 68, 69, 70, 71, 72};

constexpr std::string_view kCrLf = "\r\n";

}  // namespace

bool isExpectedError(int32_t number) {
    return std::find(kExpected.begin(), kExpected.end(), number) != kExpected.end();
}

std::string generalInformationBlock(std::string_view appName, std::string_view version,
                                    std::string_view location) {
    std::string block;
    block.append("===================== General Information =====================").append(kCrLf);
    block.append("AppName: ").append(appName).append(kCrLf);
    block.append("Version: ").append(version).append(kCrLf);
    block.append("Location: ").append(location).append(kCrLf);
    block.append("===================== End General Information =================").append(kCrLf);
    block.append(kCrLf);
    return block;
}

std::string composeErrorEntry(const ErrorEntryFields& f) {
    std::string entry;
    if (f.number == 0) {
        entry.append("Information Message : ").append(f.text);
    } else {
        entry.append("Error ").append(std::to_string(f.number)).append(": ").append(f.text);
    }
    entry.append(kCrLf);
    if (!f.solution.empty()) {
        entry.append("!============Error Information/Solution =============!").append(kCrLf);
        entry.append(f.solution).append(kCrLf);
        entry.append("!============End of Information/Solution ============!").append(kCrLf);
    }
    entry.append("Last DLL Error: ").append(std::to_string(f.lastDllError)).append(kCrLf);
    entry.append("Error Source: ").append(f.source).append(kCrLf);
    entry.append("Procedure: ").append(f.procedure).append(kCrLf);
    entry.append("Date: ").append(f.date).append(" Time: ").append(f.time).append(kCrLf);
    return entry;
}

ReportPlan planReport(const ErrorEntryFields& failure, bool disableOK, bool infoOnly) {
    if (failure.text == "Out of Memory" || failure.number == err::OutOfMemory) {
        disableOK = true;
        infoOnly = false;
    }
    if (isExpectedError(failure.number)) infoOnly = true;
    return {infoOnly, !disableOK, std::string(failure.solution), composeErrorEntry(failure)};
}

std::string CorrectPath(const std::string& path) {
    return withTrailingSeparator(path);
}

std::string GetVersion() {
    return std::to_string(FK_VERSION_MAJOR) + "." + std::to_string(FK_VERSION_MINOR) + "." +
           std::to_string(FK_VERSION_REVISION);
}

}  // namespace fk
