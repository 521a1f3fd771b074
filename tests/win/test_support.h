// Helpers for tests against the real platform under Wine.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace fk::test {

// Removes a folder tree, read-only files included; a missing one is no error.
void removeTree(const std::filesystem::path& path);

// A fresh folder under `base` (the temporary folder when empty), removed with everything
// in it at the end.
class TempFolder {
public:
    explicit TempFolder(const std::string& base = "");
    ~TempFolder() { removeTree(path_); }
    // The folder with a trailing "\", in the ANSI code page.
    const std::string& path() const { return path_; }
    std::string operator/(std::string_view name) const { return path_ + std::string(name); }

private:
    std::string path_;
};

void writeFile(const std::string& path, std::string_view bytes, DWORD attributes = 0);
std::string readFile(const std::string& path);
void makeFolder(const std::string& path);

#ifdef FK_EXE_PATH
// The built FollowKelvaro.exe, as a Windows path.
inline std::wstring exePath() {
    return std::filesystem::path(FK_EXE_PATH).make_preferred().wstring();
}
#endif

}  // namespace fk::test
