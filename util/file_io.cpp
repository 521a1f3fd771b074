#include "util/file_io.h"

#include <windows.h>

#include "base/encoding.h"
#include "base/epilogue.h"
#include "base/handles.h"
#include "base/text.h"
#include "base/win32_error.h"

#include <utility>
#include <vector>

namespace fk {
namespace {

// For opens that only look at a file: whoever else has it open must not make them fail.
constexpr DWORD kAnySharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool writeAll(const FileHandle& file, std::string_view bytes) {
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    captureLastError();
    return ok && written == bytes.size();
}

// Deletes a temporary file unless it has been consumed.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& path() const { return path_; }
    void consumed() { path_.clear(); }

private:
    std::string path_;
};

// The folder part of a path, as nurpfad gives it but for what the file layer needs:
// no 16-bit limit and no report (full paths may be longer, and the layer reports
// through its callers), and the current folder ".\" for a bare name, as a folder to
// make a temporary file in.
std::string folderOf(const std::string& path) {
    const auto sep = path.rfind('\\');
    return sep == std::string::npos ? std::string(".\\") : path.substr(0, sep + 1);
}

// Writes the bytes to the existing file at `path` and gives it the access rights in
// `rights` (a security descriptor as daclOf returns it).
void writeDurably(const std::string& path, std::string_view bytes,
                  const std::vector<BYTE>& rights) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE | WRITE_DAC, 0, nullptr,
                                TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) raiseLastError();
    captureLastError();
    // The descriptor is only read, though the platform's parameter is not const.
    auto* descriptor = const_cast<BYTE*>(rights.data());
    if (!SetKernelObjectSecurity(file.get(), DACL_SECURITY_INFORMATION, descriptor)) {
        raiseLastError();
    }
    captureLastError();
    if (!writeAll(file, bytes)) raiseLastError(err::DeviceIoError);
    if (!FlushFileBuffers(file.get())) raiseLastError(err::DeviceIoError);
    captureLastError();
}

// The access rights (DACL, with its inheritance flags) of the file the path leads to,
// as a self-relative security descriptor.
std::vector<BYTE> daclOf(const std::string& path) {
    const FileHandle file(CreateFileA(path.c_str(), READ_CONTROL, kAnySharing, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) raiseLastError();
    captureLastError();
    DWORD size = 0;  // the first call only tells the size
    GetKernelObjectSecurity(file.get(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<BYTE> rights(size);
    if (!GetKernelObjectSecurity(file.get(), DACL_SECURITY_INFORMATION, rights.data(), size,
                                 &size)) {
        raiseLastError();
    }
    captureLastError();
    return rights;
}

}  // namespace

FileHandle openForReading(const std::string& path, DWORD sharing) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) raiseLastError();
    captureLastError();
    return file;
}

std::string readToEnd(const FileHandle& file, std::size_t atMost) {
    if (!file) raise(err::BadFileNameOrNumber);
    std::string content;
    char buffer[64 * 1024];
    DWORD got = 0;
    while (content.size() <= atMost) {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            raiseLastError(err::DeviceIoError);
        }
        captureLastError();
        if (got == 0) break;
        content.append(buffer, got);
    }
    return content;
}

namespace {

[[noreturn]] void refuseAccess(DWORD why) {
    setLastDllError(why);
    raise(err::PathFileAccessError);
}

// The path of an open file with every link on its way resolved, in the system's device
// form ("\Device\HarddiskVolume2\..."). Only such paths are compared with each other,
// and that form exists for every volume: the drive-letter form fails for a volume that
// is mounted into a folder and has no letter.
std::string finalPathOf(const FileHandle& file) {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetFinalPathNameByHandleA(file.get(), path.data(),
                                                  static_cast<DWORD>(path.size()), VOLUME_NAME_NT);
        if (n == 0) raiseLastError();
        captureLastError();
        const bool fits = n < path.size();  // else n is the size it needs
        path.resize(n);
        if (fits) return path;
    }
}

}  // namespace

std::string fullPathOf(const std::string& path) {
    std::string full(MAX_PATH, '\0');
    DWORD n;  // the length, or when the buffer is too small the size it needs
    while ((n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(),
                                 nullptr)) >= full.size()) {
        full.resize(n);
    }
    captureLastError();
    full.resize(n);  // 0 when the path cannot be made full
    return full;
}

namespace {

// The final path of a folder, with a trailing separator, taken from a handle of the folder.
std::string finalFolderPathOf(const std::string& folder) {
    const FileHandle handle(CreateFileA(folder.c_str(), FILE_READ_ATTRIBUTES, kAnySharing, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) raiseLastError();
    captureLastError();
    return withTrailingSeparator(finalPathOf(handle));
}

// Where the file named by `own.path` is when only the links above and at `own.root`
// are followed: the root folder's final path, taken from a handle of the folder, and
// the rest of the path. A path that does not lie below the root is refused.
std::string finalPathBelowRoot(const OwnFile& own) {
    const std::string root = fullPathOf(withTrailingSeparator(own.root));
    const std::string path = fullPathOf(own.path);
    if (root.empty() || path.empty()) raiseLastError();
    if (own.root.empty() || path.size() <= root.size() ||
        !equalIgnoringCase(path.substr(0, root.size()), root)) {
        refuseAccess(ERROR_ACCESS_DENIED);
    }
    return finalFolderPathOf(root) + path.substr(root.size());
}

}  // namespace

void requireOwnFile(const FileHandle& file, const OwnFile& own) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) raiseLastError();
    captureLastError();
    const bool plain = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    if (!plain || info.nNumberOfLinks != 1 ||
        !equalIgnoringCase(finalPathOf(file), finalPathBelowRoot(own))) {
        refuseAccess(ERROR_ACCESS_DENIED);
    }
}

FileHandle openOwnFile(const OwnFile& own) {
    FileHandle file = openForReading(own.path);
    requireOwnFile(file, own);
    return file;
}

std::string readAtMost(const FileHandle& file, std::size_t atMost) {
    std::string content = readToEnd(file, atMost);
    if (content.size() > atMost) refuseAccess(ERROR_FILE_TOO_LARGE);
    return content;
}

std::string readOwnFile(const OwnFile& own, std::size_t atMost) {
    return readAtMost(openOwnFile(own), atMost);
}

namespace {

// The folder that `own.path` lies in must be where the rule expects it, so that a file
// made there cannot land elsewhere. Links at the root itself are followed.
void requireOwnFolder(const OwnFile& own) {
    const std::string folder = folderOf(fullPathOf(own.path));
    if (equalIgnoringCase(folder, fullPathOf(withTrailingSeparator(own.root)))) return;
    if (!equalIgnoringCase(finalFolderPathOf(folder), finalPathBelowRoot({own.root, folder}))) {
        refuseAccess(ERROR_ACCESS_DENIED);
    }
}

// Marks a file this run has just made for deletion when its handle closes.
void removeOnClose(const FileHandle& file) {
    FILE_DISPOSITION_INFO dispose{TRUE};
    SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose);
    captureLastError();
}

}  // namespace

bool appendToOwnFile(const OwnFile& own, std::string_view bytes) {
    return quietly([&] {
        const FileHandle file(CreateFileA(own.path.c_str(), FILE_APPEND_DATA | READ_CONTROL,
                                          FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) raiseLastError();
        captureLastError();
        requireOwnFile(file, own);
        if (!writeAll(file, bytes)) raiseLastError(err::DeviceIoError);
    });
}

bool createOwnFile(const OwnFile& own, std::string_view bytes) {
    return quietly([&] {
        requireOwnFolder(own);
        // The flag opens a link standing at the name itself, so CREATE_NEW fails on it
        // instead of creating the file it points to.
        const FileHandle file(
            CreateFileA(own.path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file) raiseLastError();
        captureLastError();
        if (!quietly([&] { requireOwnFile(file, own); })) {
            removeOnClose(file);
            refuseAccess(ERROR_ACCESS_DENIED);
        }
        if (!writeAll(file, bytes)) raiseLastError(err::DeviceIoError);
    });
}

namespace {

// True when the file can be read (whoever else has it open) and holds exactly `bytes`.
bool holdsBytes(const std::string& path, std::string_view bytes) {
    bool same = false;
    quietly([&] { same = readToEnd(openForReading(path, kAnySharing)) == bytes; });
    return same;
}

}  // namespace

bool holdsCopyOf(const OwnFile& source, const std::string& target) {
    return holdsBytes(target, readOwnFile(source, kMaxCopySourceBytes));
}

// The new file takes the old one's rights before it is moved into place, so no reader
// ever finds it with other rights or other bytes. The rights are copied as they are
// (SetKernelObjectSecurity), inherited entries included, because the new file lives
// in the same folder. ReplaceFileA, which keeps rights on Windows, is not used: it is
// not one step (a failure can leave the old file under another name), and Wine's
// moves the file without its rights.
void replaceWithCopy(const OwnFile& source, const std::string& target) {
    const std::string bytes = readOwnFile(source, kMaxCopySourceBytes);
    if (holdsBytes(target, bytes)) return;  // a copy already: nothing is written
    const DWORD attributes = GetFileAttributesA(target.c_str());
    captureLastError();
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        refuseAccess(ERROR_ACCESS_DENIED);
    }
    const std::vector<BYTE> rights = daclOf(target);
    char name[MAX_PATH] = {};
    if (!GetTempFileNameA(folderOf(target).c_str(), "fk", 0, name)) raiseLastError();
    captureLastError();
    TemporaryFile temporary(name);
    writeDurably(temporary.path(), bytes, rights);
    if (!MoveFileExA(temporary.path().c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        raiseLastError();
    }
    captureLastError();
    temporary.consumed();
}

bool listsPlainFile(const std::string& pattern) {
    constexpr DWORD kNotListed = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                 FILE_ATTRIBUTE_SYSTEM | 0x8 /* volume label */;
    WIN32_FIND_DATAA data{};
    FindHandle find(FindFirstFileA(pattern.c_str(), &data));
    captureLastError();
    if (!find) return false;
    do {
        if ((data.dwFileAttributes & kNotListed) == 0) return true;
    } while (FindNextFileA(find.get(), &data));
    captureLastError();
    return false;
}

void createFolder(const std::string& path) {
    if (!CreateDirectoryA(path.c_str(), nullptr)) raiseLastError();
    captureLastError();
}

}  // namespace fk
