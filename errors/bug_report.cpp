#include "errors/bug_report.h"

#include <algorithm>

#include "errors/error_entry.h"
#include "files/y_work_together.h"

namespace fk {
namespace {
constexpr std::string_view kBreak = "%0a%0d";  // line feed, carriage return

// A number as text with a leading blank reserved for its sign: 1 gives " 1".
std::string numberWithSignBlank(int number) {
    return number < 0 ? std::to_string(number) : " " + std::to_string(number);
}

// The details come from the error texts and from error.dat, which ordinary users can
// write. Mail handlers pass the link quoted on a command line, so a raw '"' would end
// that quoting and '&', '?' or '#' would start fields of their own (&cc=, ?bcc=).
// Every character that could end the link or one of its fields is percent-encoded;
// everything else, umlauts included, stays as it is.
bool endsLinkOrField(unsigned char c) {
    constexpr std::string_view kDelimiters = "\"&?#%<>";
    const bool control = c < 0x20 || c == 0x7F;
    return control || kDelimiters.find(static_cast<char>(c)) != std::string_view::npos;
}

std::string encodedDetails(std::string_view details) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(details.size());
    for (const char ch : details) {
        const auto c = static_cast<unsigned char>(ch);
        if (endsLinkOrField(c)) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace

// nurdatei's file name, with "/" taken as the separator that the platform takes too.
std::string exeNameOf(std::string_view modulePath) {
    std::string path(modulePath);
    std::replace(path.begin(), path.end(), '/', '\\');
    const std::string name = nurdatei(path);
    return name.substr(0, name.rfind('.'));
}

std::string bugReportLink(std::string_view exeName, int major, int minor, std::string_view details,
                          const std::string& logFolder) {
    std::string body = "ERROR";
    body.append(kBreak);
    body.append("Programmname").append(exeName).append(numberWithSignBlank(major));
    body.append(".").append(numberWithSignBlank(minor)).append(kBreak).append(kBreak);
    body.append(kBreak).append(kBreak);
    body.append(encodedDetails(details));
    body.append(kBreak).append(kBreak);
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
