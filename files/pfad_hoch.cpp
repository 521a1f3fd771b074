#include <cstdint>

#include "errors/epilogue.h"
#include "files/Dateiroutinen.h"
#include "files/y_work_together.h"

namespace fk {
namespace {
constexpr Procedure kPfadHoch{"Error in Dateiroutinen: Function Pfad_hoch", "Pfad_hoch"};
}

std::string Pfad_hoch(std::string path) {
    std::string result;
    if (!path.empty() && path.back() == '\\') path.pop_back();
    if (path.empty()) return result;
    int16_t length = 0;
    // Positions are 16-bit: a longer path is an overflow, reported; nothing is computed.
    if (!kPfadHoch.assign(length, [&] { return toInt16(path.size()); })) return result;
    const int16_t sep = lastSeparator(path, length);
    kPfadHoch.assign(result, [&] { return sep == 0 ? path : folderBefore(path, sep); });
    return result;
}

}  // namespace fk
