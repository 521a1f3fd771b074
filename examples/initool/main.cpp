// initool: the INI file class from the command line. One result per line;
// failures go to standard error and give a non-zero exit code.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "errors/epilogue.h"
#include "util/clsIniRW.h"
#include "util/encoding.h"
#include "util/seams.h"

namespace {

const char* const kUsage =
    "usage: initool FILE COMMAND [ARGS]\n"
    "  sections                        list the sections\n"
    "  keys SECTION                    list the keys of a section as key=value\n"
    "  get SECTION KEY                 print a value\n"
    "  set SECTION KEY VALUE           write a value\n"
    "  delete SECTION KEY              delete a key\n"
    "  delete-section SECTION          delete a section\n"
    "  find-key KEY                    sections that hold the key\n"
    "  find-value VALUE [SECTION]      keys holding the value (as SECTION/KEY without SECTION)\n"
    "  rename-section SECTION NEW      give a section a new name\n"
    "  rename-key SECTION KEY NEW      give a key a new name\n";

bool g_failed = false;

void complain(const std::string& text) {
    std::fprintf(stderr, "initool: %s\n", text.c_str());
    g_failed = true;
}

void printLines(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        if (!line.empty()) std::printf("%s\n", line.c_str());
    }
}

int fail(const std::string& text) {
    complain(text);
    return 1;
}

int run(fk::clsIniRW& ini, const std::string& command, const std::vector<std::string>& a) {
    auto need = [&](std::size_t n) { return a.size() == n; };
    if (command == "sections" && need(0)) {
        if (auto list = ini.GetAllSections()) printLines(*list);
    } else if (command == "keys" && need(1)) {
        const fk::KeyValueTable rows = ini.GetAllKeysValuesInSection(a[0]);
        if (rows && !(*rows)[0][0].empty()) {
            for (const auto& [key, value] : *rows) std::printf("%s=%s\n", key.c_str(), value.c_str());
        }
    } else if (command == "get" && need(2)) {
        const std::string value = ini.GetValue(a[0], a[1]);
        if (!g_failed) std::printf("%s\n", value.c_str());
    } else if (command == "set" && need(3)) {
        if (!ini.WriteData(a[0], a[1], a[2])) return fail("cannot write " + a[0] + "/" + a[1]);
    } else if (command == "delete" && need(2)) {
        if (!ini.DeleteData(a[0], a[1])) return fail("cannot delete " + a[0] + "/" + a[1]);
    } else if (command == "delete-section" && need(1)) {
        if (!ini.DeleteData(a[0], std::nullopt)) return fail("cannot delete " + a[0]);
    } else if (command == "find-key" && need(1)) {
        if (auto list = ini.FindKeyInFile(a[0])) printLines(*list);
    } else if (command == "find-value" && need(2)) {
        if (auto list = ini.FindValueInSection(a[1], a[0])) printLines(*list);
    } else if (command == "find-value" && need(1)) {
        const fk::SectionKeyTable rows = ini.FindValueInFile(a[0]);
        if (rows && !(*rows)[0][0].empty()) {
            for (const auto& [section, key] : *rows) {
                std::printf("%s/%s\n", section.c_str(), key.c_str());
            }
        }
    } else if (command == "rename-section" && need(2)) {
        if (!ini.RenameSection(a[0], a[1])) return fail("cannot rename " + a[0]);
    } else if (command == "rename-key" && need(3)) {
        if (!ini.RenameKey(a[0], a[1], a[2])) return fail("cannot rename " + a[0] + "/" + a[1]);
    } else {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return g_failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // Failures are written to standard error instead of being shown in boxes.
    fk::setReportHandler([](const fk::Failure& f, std::string_view label, std::string_view) {
        complain(std::string(label) + ": Error " + std::to_string(f.number) + ": " +
                 f.description);
    });
    fk::seams().messageBox = [](HWND, const std::wstring& text, const std::wstring&, UINT) {
        complain(fk::narrowAnsi(text));
        return IDOK;
    };
    fk::clsIniRW ini;
    ini.File_Name(argv[1]);
    if (!ini.FileOpen()) return fail(std::string("cannot use ") + argv[1] + " (not writable)");
    try {
        return run(ini, argv[2], std::vector<std::string>(argv + 3, argv + argc));
    } catch (const fk::RuntimeError& e) {
        return fail("Error " + std::to_string(e.number()) + ": " + e.description());
    }
}
