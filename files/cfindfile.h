// cfindfile: searches a folder and every folder below it for names matching a
// pattern, tells its listeners about each match the moment it is found, and hands
// back the list of found paths. A listener can stop the search.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace fk {

// The events of a search; a listener overrides what it wants to hear.
class cfindfileEvents {
public:
    virtual ~cfindfileEvents() = default;
    virtual void BeginFindFiles() {}
    virtual void EndFindFiles(int32_t& FileCount) { (void)FileCount; }
    // Cancel is false on entry; setting it stops the search after this match.
    virtual void FoundFile(std::string& fileName, bool& Cancel) {
        (void)fileName;
        (void)Cancel;
    }
};

class cfindfile {
public:
    // The start folder; must end with "\" (it is used as it is).
    void Path(const std::string& path) { path_ = path; }
    std::string Path() const { return path_; }
    // The name pattern with the platform's wildcards, e.g. "*.txt".
    void FileSpec(const std::string& pattern) { fileSpec_ = pattern; }
    std::string FileSpec() const { return fileSpec_; }
    bool Searching() const { return searching_; }

    void addListener(cfindfileEvents& listener) { listeners_.push_back(&listener); }
    void removeListener(cfindfileEvents& listener);

    // Runs one search. True when it ran (also when stopped or nothing was found):
    // FileListArray then holds "" at index 0 and the matches from 1 on, depth first.
    // False, with FileListArray untouched, for an empty Path or FileSpec or when
    // called during a running search (which that call stops).
    bool FindAll(std::vector<std::string>& FileListArray);

private:
    using FolderId = std::pair<DWORD, uint64_t>;  // volume serial, file index

    bool RunFind(std::vector<std::string>& list);
    void ScanFolder(const std::string& folder, std::vector<std::string>& list, bool throughLink);
    void CollectMatches(const std::string& folder, std::vector<std::string>& list);
    bool shouldWalk(const std::string& folder, bool throughLink);
    static std::optional<FolderId> identityOf(const std::string& folder);

    std::string path_;
    std::string fileSpec_;
    bool searching_ = false;
    int32_t fileCount_ = 0;
    std::vector<cfindfileEvents*> listeners_;
    std::set<FolderId> visited_;
    std::vector<std::string> walked_;  // folders not yet identified
    bool linkSeen_ = false;
};

}  // namespace fk
