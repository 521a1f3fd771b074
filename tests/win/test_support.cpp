#include "test_support.h"

#include <fstream>
#include <stdexcept>

namespace fk::test {

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::string& base) {
    static unsigned counter = 0;
    const fs::path folder = base.empty() ? fs::temp_directory_path() : fs::path(base);
    const auto name = std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
    path_ = (folder / ("fk_" + name)).string() + "\\";
    removeTree(path_);
    makeFolder(path_);
}

void removeTree(const fs::path& path) {
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(path, ec)) {
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    fs::remove_all(path, ec);
}

void writeFile(const std::string& path, std::string_view bytes, DWORD attributes) {
    if (!(std::ofstream(path, std::ios::binary) << bytes)) throw std::runtime_error(path);
    if (attributes != 0) SetFileAttributesA(path.c_str(), attributes);
}

std::string readFile(const std::string& path) {
    return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
}

void makeFolder(const std::string& path) {
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        throw std::runtime_error(path);
    }
}

}  // namespace fk::test
