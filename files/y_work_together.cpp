#include "files/y_work_together.h"

#include <cstdint>

#include "errors/epilogue.h"

namespace fk {
namespace {

constexpr Procedure kPathcomplete{"Error in y_work_together: Function pathcomplete",
                                  "pathcomplete"};
constexpr Procedure kNurdatei{"Error in y_work_together: Function nurdatei", "nurdatei"};
constexpr Procedure kNurpfad{"Error in y_work_together: Function nurpfad", "nurpfad"};

}  // namespace

int16_t lastSeparator(const std::string& path, int16_t length) {
    for (int16_t i = length; i >= 1; --i) {
        if (path[static_cast<std::size_t>(i - 1)] == '\\') return i;
    }
    return 0;
}

std::string folderBefore(const std::string& path, int16_t sep) {
    std::string folder = path.substr(0, static_cast<std::size_t>(sep - 1));
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

std::string pathcomplete(std::string& path) {
    std::string result;
    kPathcomplete.step([&] {
        if (path.empty() || path.back() != '\\') path += '\\';
    });
    kPathcomplete.assign(result, [&] { return path; });
    return result;
}

std::string nurdatei(const std::string& path) {
    std::string result;
    if (path.empty()) return result;
    int16_t length = 0;
    // Positions are 16-bit: a longer path is an overflow, reported; nothing is computed.
    if (!kNurdatei.assign(length, [&] { return toInt16(path.size()); })) return result;
    const int16_t sep = lastSeparator(path, length);
    kNurdatei.assign(result, [&] {
        return sep == 0 ? path : path.substr(static_cast<std::size_t>(sep));
    });
    return result;
}

std::string nurpfad(std::string path) {
    std::string result;
    if (path.empty()) return result;
    int16_t length = 0;
    if (!kNurpfad.assign(length, [&] { return toInt16(path.size()); })) return result;
    const int16_t sep = lastSeparator(path, length);
    if (sep == 0) return result;  // no folder part
    kNurpfad.assign(result, [&] { return folderBefore(path, sep); });
    return result;
}

}  // namespace fk
