// The bug-report mail: one mailto link with subject, body and attachment field.
#pragma once

#include <string>
#include <string_view>

namespace fk {

// The maker's bug-report mailbox.
inline constexpr std::string_view kBugReportAddress = "bugreport@talvorin.example";

// Builds the link piece by piece. In the details, the characters that could end the link
// or one of its fields ('"', '&', '?', '#', '%', '<', '>' and control characters, the
// details' own CR LF among them) are percent-encoded; everything else enters the body
// unchanged. `logFolder` is the local data folder.
std::string bugReportLink(std::string_view exeName, int major, int minor, std::string_view details,
                          const std::string& logFolder);

// The file name of a path without its folder and extension.
std::string exeNameOf(std::string_view modulePath);

}  // namespace fk
