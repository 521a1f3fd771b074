// Benchmark (not a test): cfindfile searching a folder tree for "*.txt", beside a
// bare recursive FindFirstFileA walk that finds the same names. Prints matches per
// second for both. usage: find_bench FOLDER\   (run under Wine or on Windows)
#include <windows.h>

#include <cstdio>

#include "best_seconds.h"
#include <string>
#include <vector>

#include "files/cfindfile.h"

namespace {

bool endsWithTxt(const char* name) {
    const std::size_t n = strlen(name);
    return n >= 4 && _stricmp(name + n - 4, ".txt") == 0;
}

// One listing per folder: recurse into folders, count the names ending in .txt.
void bareWalk(const std::string& folder, long& matches) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return;
    std::vector<std::string> subfolders;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (data.cFileName[0] != '.') subfolders.push_back(data.cFileName);
        } else if (endsWithTxt(data.cFileName)) {
            ++matches;
        }
    } while (FindNextFileA(h, &data));
    FindClose(h);
    for (const auto& sub : subfolders) bareWalk(folder + sub + "\\", matches);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: find_bench FOLDER\\\n", stderr);
        return 2;
    }
    const std::string root = argv[1];
    long classMatches = 0;
    const double classSeconds = bestSeconds([&] {
        fk::cfindfile finder;
        finder.Path(root);
        finder.FileSpec("*.txt");
        std::vector<std::string> found;
        finder.FindAll(found);
        classMatches = static_cast<long>(found.size()) - 1;
    });
    long bareMatches = 0;
    const double bareSeconds = bestSeconds([&] {
        bareMatches = 0;
        bareWalk(root, bareMatches);
    });
    std::printf("cfindfile FindAll \"*.txt\": %ld matches, %9.0f matches/s (%.3f s)\n",
                classMatches, classMatches / classSeconds, classSeconds);
    std::printf("bare FindFirstFileA walk:  %ld matches, %9.0f matches/s (%.3f s)\n", bareMatches,
                bareMatches / bareSeconds, bareSeconds);
    std::printf("cfindfile takes %.2f times the bare walk's time\n", classSeconds / bareSeconds);
    return 0;
}
