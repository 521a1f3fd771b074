// The bug-report mail: one mailto link with subject, body and attachment field.
#pragma once

#include <string>
#include <string_view>

namespace fk {

// The maker's bug-report mailbox.
inline constexpr std::string_view kBugReportAddress = "bugreport@talvorin.example";

// Builds the link piece by piece. Nothing is encoded beyond the "%0a%0d" markers:
// the details enter the body unchanged. `logFolder` is the local data folder.
std::string bugReportLink(std::string_view exeName, int major, int minor,
                          std::string_view details, const std::string& logFolder);

// The file name of a path without its folder and extension.
std::string exeNameOf(std::string_view modulePath);

}  // namespace fk
