#include "files/cfindfile.h"

#include <algorithm>
#include <optional>

#include "base/epilogue.h"
#include "base/handles.h"
#include "base/win32_error.h"

namespace fk {
namespace {

std::string nameOf(const WIN32_FIND_DATAA& data) {
    return std::string(data.cFileName, strnlen(data.cFileName, MAX_PATH));
}

}  // namespace

void cfindfile::removeListener(cfindfileEvents& listener) {
    std::erase(listeners_, &listener);
}

bool cfindfile::FindAll(std::vector<std::string>& FileListArray) {
    std::vector<std::string> working{""};
    if (!RunFind(working)) return false;
    FileListArray = std::move(working);
    return true;
}

bool cfindfile::RunFind(std::vector<std::string>& list) {
    if (searching_) {
        searching_ = false;  // a call during a running search stops it and starts nothing
        return false;
    }
    if (fileSpec_.empty() || path_.empty()) return false;
    searching_ = true;
    visited_.clear();
    walked_.clear();
    linkSeen_ = false;
    // Ignore-errors mode: a failure ends the step it happened in, the search closes.
    quietly([&] {
        for (auto* l : std::vector(listeners_)) l->BeginFindFiles();
    });
    quietly([&] { ScanFolder(path_, list, false); });
    searching_ = false;
    fileCount_ = static_cast<int32_t>(list.size() - 1);
    quietly([&] {
        for (auto* l : std::vector(listeners_)) l->EndFindFiles(fileCount_);
    });
    return true;
}

std::optional<cfindfile::FolderId> cfindfile::identityOf(const std::string& folder) {
    FileHandle dir(CreateFileA(folder.c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    captureLastError();
    BY_HANDLE_FILE_INFORMATION info{};
    if (!dir || !GetFileInformationByHandle(dir.get(), &info)) return std::nullopt;
    return FolderId{info.dwVolumeSerialNumber,
                    (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// A folder reached again through a link or junction is not walked again, so a link
// cycle cannot make the search run forever; a folder reached by its own path is always
// walked. Only a link can lead to a folder twice, so folders are identified (one more
// open each) only once the walk has met a link; the paths walked before are kept and
// identified then.
bool cfindfile::shouldWalk(const std::string& folder, bool throughLink) {
    if (!linkSeen_) {
        walked_.push_back(folder);
        return true;
    }
    for (const std::string& earlier : walked_) {
        if (const auto id = identityOf(earlier)) visited_.insert(*id);
    }
    walked_.clear();
    const auto id = identityOf(folder);
    const bool first = !id || visited_.insert(*id).second;
    return first || !throughLink;
}

void cfindfile::ScanFolder(const std::string& folder, std::vector<std::string>& list,
                           bool throughLink) {
    if (!searching_ || !shouldWalk(folder, throughLink)) return;
    std::vector<std::pair<std::string, bool>> subfolders;  // name, is a link
    int16_t count = 0;  // 16-bit: more than 32,767 subfolders is an overflow
    WIN32_FIND_DATAA data{};
    FindHandle listing(FindFirstFileA((folder + "*.*").c_str(), &data));
    captureLastError();
    if (listing) {
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.cFileName[0] != '.') {
                const bool link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
                linkSeen_ = linkSeen_ || link;
                count = toInt16(count + 1LL);
                subfolders.emplace_back(nameOf(data), link);
            }
        } while (FindNextFileA(listing.get(), &data));
        captureLastError();
    }
    listing.reset();  // one listing open per level at most
    CollectMatches(folder, list);
    for (const auto& [sub, link] : subfolders) {
        ScanFolder(folder + sub + "\\", list, throughLink || link);
    }
}

void cfindfile::CollectMatches(const std::string& folder, std::vector<std::string>& list) {
    WIN32_FIND_DATAA data{};
    FindHandle matches(FindFirstFileA((folder + fileSpec_).c_str(), &data));
    captureLastError();
    if (!matches) return;
    do {
        if (!searching_) return;
        list.push_back(folder + nameOf(data));
        std::string fileName = list.back();  // listeners get a copy
        bool cancel = false;
        for (auto* l : std::vector(listeners_)) l->FoundFile(fileName, cancel);
        searching_ = !cancel;
    } while (FindNextFileA(matches.get(), &data));
    captureLastError();
}

}  // namespace fk
