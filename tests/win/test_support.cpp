#include "test_support.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fk::test {

TempFolder::TempFolder(const std::string& base) {
    static unsigned counter = 0;
    const auto name =
        "fk_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
    const auto folder =
        base.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(base);
    path_ = (folder / name).string() + "\\";
    removeTree(path_);
    makeFolder(path_);
}

TempFolder::~TempFolder() {
    removeTree(path_);
}

void removeTree(const std::filesystem::path& path) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ec)) {
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(path, ec);
}

void writeFile(const std::string& path, std::string_view bytes, DWORD attributes) {
    if (!(std::ofstream(path, std::ios::binary) << bytes)) throw std::runtime_error(path);
    if (attributes != 0) SetFileAttributesA(path.c_str(), attributes);
}

std::string readFile(const std::string& path) {
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

void makeFolder(const std::string& path) {
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        throw std::runtime_error(path);
    }
}

}  // namespace fk::test
