#include "errors/bug_report.h"

#include "errors/error_entry.h"

namespace fk {
namespace {
constexpr std::string_view kBreak = "%0a%0d";  // line feed, carriage return

// A number as text with a leading blank reserved for its sign: 1 gives " 1".
std::string numberWithSignBlank(int number) {
    return number < 0 ? std::to_string(number) : " " + std::to_string(number);
}

}  // namespace

std::string exeNameOf(std::string_view modulePath) {
    const auto sep = modulePath.find_last_of("\\/");
    std::string_view name = sep == std::string_view::npos ? modulePath : modulePath.substr(sep + 1);
    const auto dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string bugReportLink(std::string_view exeName, int major, int minor,
                          std::string_view details, const std::string& logFolder) {
    std::string body = "ERROR";
    body.append(kBreak);
    body.append("Programmname").append(exeName).append(numberWithSignBlank(major));
    body.append(".").append(numberWithSignBlank(minor)).append(kBreak).append(kBreak);
    body.append(kBreak).append(kBreak).append(details).append(kBreak).append(kBreak);
    const std::string subject = std::string(exeName) + " Fehlerbericht !";
    const std::string attachment = CorrectPath(logFolder) + "errorlog.txt";

    std::string link = "mailto:";
    link.append(kBugReportAddress);
    std::string fields = "&Subject=" + subject;
    fields += "&Body=" + body;
    fields += "&Attach=\"" + attachment + "\"";
    return link + fields;
}

}  // namespace fk
