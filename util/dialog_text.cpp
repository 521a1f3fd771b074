#include "util/dialog_text.h"

#include "base/runtime_error.h"

namespace fk {

std::string filterForPlatform(std::string_view filter) {
    std::string out;
    out.reserve(filter.size() + 2);
    for (const char c : filter) out += c == '|' ? '\0' : c;
    out.append(2, '\0');
    return out;
}

std::string trimNulls(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

std::string padWithNulls(std::string_view text, std::size_t size) {
    if (text.size() > size) raise(err::InvalidProcedureCall);
    std::string out(text);
    out.resize(size, '\0');
    return out;
}

}  // namespace fk
