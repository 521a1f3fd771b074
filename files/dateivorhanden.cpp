#include <windows.h>

#include <cstdint>
#include <optional>

#include "base/epilogue.h"
#include "base/win32_error.h"
#include "files/Dateiroutinen.h"
#include "files/y_work_together.h"
#include "util/file_io.h"

namespace fk {
namespace {

constexpr DWORD kFolderBits = FILE_ATTRIBUTE_DIRECTORY | 0x8 /* volume label */;
constexpr DWORD kFileBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                            FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

bool exists(std::string path) {
    path = trimBlanks(path);
    std::string folder = nurpfad(path);
    pathcomplete(folder);
    const std::string name = trimBlanks(nurdatei(path));
    // Beyond 16-bit positions neither part could be computed (both reported above).
    if (path.size() > INT16_MAX) return false;
    if (name.empty()) {
        const auto attributes = attributesOf(folder);
        return attributes && (*attributes & kFolderBits) != 0;
    }
    if (!listsPlainFile(path)) return false;
    // A wildcard pattern has no attributes of its own: the result stays true.
    const auto attributes = attributesOf(path);
    return !attributes || (*attributes & kFileBits) != 0;
}

}  // namespace

std::optional<uint32_t> attributesOf(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    captureLastError();
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

bool dateivorhanden(std::string path) {
    // Ignore-errors mode: a failure yields false and is not reported.
    bool result = false;
    quietly([&] { result = exists(std::move(path)); });
    return result;
}

}  // namespace fk
