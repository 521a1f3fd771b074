// findfiles: searches a folder tree with cfindfile, printing every match the moment
// it is found and the count at the end; --max N stops the search after N matches.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "files/cfindfile.h"

namespace {

class Printer : public fk::cfindfileEvents {
public:
    explicit Printer(long max) : max_(max) {}
    void FoundFile(std::string& fileName, bool& Cancel) override {
        std::printf("%s\n", fileName.c_str());
        if (max_ > 0 && ++found_ >= max_) Cancel = true;
    }
    void EndFindFiles(int32_t& FileCount) override {
        std::printf("%ld file(s) found\n", static_cast<long>(FileCount));
    }

private:
    long max_;
    long found_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    long max = 0;
    if (argc == 5 && std::string(argv[3]) == "--max") max = std::strtol(argv[4], nullptr, 10);
    if ((argc != 3 && argc != 5) || (argc == 5 && max <= 0)) {
        std::fputs("usage: findfiles FOLDER PATTERN [--max N]\n"
                   "  e.g. findfiles C:\\Daten *.txt --max 10\n",
                   stderr);
        return 2;
    }
    std::string folder = argv[1];
    if (folder.empty() || folder.back() != '\\') folder += '\\';

    fk::cfindfile finder;
    finder.Path(folder);
    finder.FileSpec(argv[2]);
    Printer printer(max);
    finder.addListener(printer);
    std::vector<std::string> found;
    return finder.FindAll(found) ? 0 : 1;
}
