#include "util/file_io.h"

#include <windows.h>

#include "errors/win32_error.h"
#include "util/handles.h"

namespace fk {
namespace {

bool writeAll(const FileHandle& file, std::string_view bytes) {
    DWORD written = 0;
    const BOOL ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                              &written, nullptr);
    captureLastError();
    return ok && written == bytes.size();
}

}  // namespace

bool appendToFile(const std::string& path, std::string_view bytes) {
    FileHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    captureLastError();
    return file && writeAll(file, bytes);
}

bool createFileWith(const std::string& path, std::string_view bytes) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    captureLastError();
    return file && writeAll(file, bytes);
}

}  // namespace fk
