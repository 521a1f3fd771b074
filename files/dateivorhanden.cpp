#include <windows.h>

#include "errors/epilogue.h"
#include "errors/win32_error.h"
#include "files/y_work_together.h"
#include "util/file_io.h"

namespace fk {
namespace {

constexpr DWORD kFolderBits = FILE_ATTRIBUTE_DIRECTORY | 0x8 /* volume label */;
constexpr DWORD kFileBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                            FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

}  // namespace

bool dateivorhanden(std::string path) {
    bool result = false;
    std::string folder;
    std::string name;
    // Ignore-errors mode throughout: a step that fails leaves the result as it was.
    quietly([&] { path = trimBlanks(path); });
    quietly([&] {
        folder = nurpfad(path);
        pathcomplete(folder);
    });
    quietly([&] { name = trimBlanks(nurdatei(path)); });
    if (name.empty()) {
        quietly([&] {
            const DWORD attributes = GetFileAttributesA(folder.c_str());
            captureLastError();
            if (attributes != INVALID_FILE_ATTRIBUTES) result = (attributes & kFolderBits) != 0;
        });
        return result;
    }
    if (!listsPlainFile(path)) return false;
    result = true;
    quietly([&] {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        captureLastError();
        // A wildcard pattern has no attributes of its own: the result stays true.
        if (attributes != INVALID_FILE_ATTRIBUTES) result = (attributes & kFileBits) != 0;
    });
    return result;
}

}  // namespace fk
