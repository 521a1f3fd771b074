#include "files/dbpfad_field.h"

#include "base/runtime_error.h"

namespace fk {
namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

std::string readFirstField(std::string_view content) {
    if (content.empty()) raise(err::InputPastEndOfFile);
    std::size_t at = content.find_first_not_of(' ');
    if (at == std::string_view::npos) return {};
    if (content[at] == '"') {
        const std::size_t start = at + 1;
        std::size_t end = start;
        // An unclosed quote runs to the end of the line.
        while (end < content.size() && content[end] != '"' && !isLineEnd(content[end])) ++end;
        return std::string(content.substr(start, end - start));
    }
    std::size_t end = at;
    while (end < content.size() && content[end] != ',' && !isLineEnd(content[end])) ++end;
    std::string_view field = content.substr(at, end - at);
    const std::size_t last = field.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(field.substr(0, last + 1));
}

}  // namespace fk
