// Fuzzes the table class on arbitrary file bytes: open, position, read and write
// fields, append. It must never crash or hang, and never write outside the records
// (plus the one appended record) and the record count of the header.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "base/runtime_error.h"
#include "util/dbases.h"

namespace {

const std::string& scratchPath() {
    static const std::string path = "/tmp/fk_dbases_fuzz_" + std::to_string(getpid()) + ".dbf";
    return path;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void exercise(fk::dbases& table) {
    const int32_t records = table.NoRecords;
    try {
        table.Go(fk::dbases::kFirst);
        for (int32_t i = 0; i < records && i < 64; ++i) {
            for (int f = 0; f <= table.NoFields(); ++f) (void)table.GetData(f);
            table.WriteData(1, "fuzz");
            table.upd();
            table.Go(fk::dbases::kNext);
        }
    } catch (const fk::RuntimeError&) {
    }
    try {
        table.Go(fk::dbases::kAppend);
        table.WriteData(std::string("  x "), "y");
        table.upd();
        table.Go(fk::dbases::kPrevious);
        table.Go(fk::dbases::kLast);
    } catch (const fk::RuntimeError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = scratchPath();
    const std::string original(reinterpret_cast<const char*>(data), size);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << original;

    fk::dbases table;
    try {
        table.FileOpen(path);
    } catch (const fk::RuntimeError&) {
        if (readAll(path) != original) __builtin_trap();  // a refused file stays untouched
        return 0;
    }
    // The records start at the header length (bytes 8-9), which an open table has checked
    // to be at least 32 * fields + 33.
    const auto first = static_cast<std::size_t>(static_cast<uint8_t>(original[8]) |
                                                static_cast<uint8_t>(original[9]) << 8);
    const auto length = static_cast<std::size_t>(table.Recordlength);
    const auto end = first + (static_cast<std::size_t>(table.NoRecords) + 1) * length;
    exercise(table);
    table.FileClose();

    const std::string after = readAll(path);
    // Outside the count (bytes 4-7) the header is as it was ...
    if (after.compare(0, 4, original, 0, 4) != 0) __builtin_trap();
    if (after.compare(8, first - 8, original, 8, first - 8) != 0) __builtin_trap();
    // ... the file grew at most by the appended record, and bytes past it are untouched.
    if (after.size() > std::max(original.size(), end)) __builtin_trap();
    if (original.size() > end && after.compare(end, std::string::npos, original, end) != 0) {
        __builtin_trap();
    }
    return 0;
}
