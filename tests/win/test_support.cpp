#include "test_support.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fk::test {

TempFolder::TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    do {
        path_ = std::string(base) + "fk_test_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(++counter) + "\\";
    } while (!CreateDirectoryA(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TempFolder::~TempFolder() { removeTree(path_); }

void removeTree(const std::filesystem::path& path) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ec)) {
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(path, ec);
}

void writeFile(const std::string& path, std::string_view bytes, DWORD attributes) {
    if (!(std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes)) {
        throw std::runtime_error("cannot write " + path);
    }
    if (attributes != 0) SetFileAttributesA(path.c_str(), attributes);
}

std::string readFile(const std::string& path) {
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

void makeFolder(const std::string& path) {
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        throw std::runtime_error("cannot create " + path);
    }
}

void pumpMessages(DWORD ms) {
    for (const DWORD end = GetTickCount() + ms; static_cast<LONG>(end - GetTickCount()) > 0; Sleep(10)) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
}

}  // namespace fk::test
