#include "files/y_work_together.h"

#include <cstdint>
#include <optional>

#include "base/epilogue.h"

namespace fk {
namespace {

constexpr Procedure kNurdatei{"Error in y_work_together: Function nurdatei", "nurdatei"};
constexpr Procedure kNurpfad{"Error in y_work_together: Function nurpfad", "nurpfad"};
constexpr Procedure kPfadHoch{"Error in Dateiroutinen: Function Pfad_hoch", "Pfad_hoch"};

// The 1-based position of the last "\" (0 when there is none). Positions are 16-bit:
// a longer path is an overflow of `procedure`, reported; the result is then absent.
std::optional<int16_t> lastSeparator(const Procedure& procedure, const std::string& path) {
    int16_t length = 0;
    if (!procedure.assign(length, [&] { return toInt16(path.size()); })) return std::nullopt;
    for (int16_t i = length; i >= 1; --i) {
        if (path[static_cast<std::size_t>(i - 1)] == '\\') return i;
    }
    return int16_t{0};
}

// The text before the separator at 1-based position `sep`, ending with one "\".
std::string folderBefore(const std::string& path, int16_t sep) {
    return withTrailingSeparator(
        std::string_view(path).substr(0, static_cast<std::size_t>(sep - 1)));
}

}  // namespace

std::string pathcomplete(std::string& path) {
    path = withTrailingSeparator(path);
    return path;
}

std::string nurdatei(const std::string& path) {
    if (path.empty()) return {};
    const auto sep = lastSeparator(kNurdatei, path);
    return sep ? path.substr(static_cast<std::size_t>(*sep)) : std::string();
}

std::string nurpfad(std::string path) {
    if (path.empty()) return {};
    const auto sep = lastSeparator(kNurpfad, path);
    return sep && *sep > 0 ? folderBefore(path, *sep) : std::string();
}

std::string Pfad_hoch(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    if (path.empty()) return {};
    const auto sep = lastSeparator(kPfadHoch, path);
    if (!sep) return {};
    return *sep == 0 ? path : folderBefore(path, *sep);
}

}  // namespace fk
