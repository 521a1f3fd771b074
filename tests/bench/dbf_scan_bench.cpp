// Benchmark (not a test): a full scan of a generated table of 100,000 records of
// 270 bytes in 15 fields through dbases (Go(-1), then Go(-4), GetData of every
// field), beside a plain sequential read of the same file. Prints records per second.
// usage: dbf_scan_bench TABLE.dbf   (the table is written when missing)
#include <cstdio>

#include "best_seconds.h"
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "util/dbases.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kFields = 15;
constexpr int kFieldLength = 18;  // 15 * 18 + 1 flag byte = 271 bytes per record

void writeTable(const std::string& path) {
    const int recordLength = 1 + kFields * kFieldLength;
    const int headerLength = 32 * kFields + 33;
    std::string b(32, '\0');
    b[0] = 3;
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<char>((kRecords >> (8 * i)) & 0xFF);
    b[8] = static_cast<char>(headerLength & 0xFF);
    b[9] = static_cast<char>(headerLength >> 8);
    b[10] = static_cast<char>(recordLength & 0xFF);
    b[11] = static_cast<char>(recordLength >> 8);
    for (int f = 0; f < kFields; ++f) {
        std::string d(32, '\0');
        const std::string name = "FELD" + std::to_string(f + 1);
        d.replace(0, name.size(), name);
        d[11] = 'C';
        d[16] = kFieldLength;
        b += d;
    }
    b += '\r';
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << b;
    std::string record;
    for (int r = 0; r < kRecords; ++r) {
        record.assign(1, ' ');
        for (int f = 0; f < kFields; ++f) {
            std::string value = "Wert " + std::to_string(r) + "/" + std::to_string(f);
            value.resize(kFieldLength, ' ');
            record += value;
        }
        out << record;
    }
    out << '\x1a';
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : "dbf_scan_bench.dbf";
    if (!std::filesystem::exists(path)) writeTable(path);

    std::size_t checksum = 0;
    const double classSeconds = bestSeconds([&] {
        fk::dbases table;
        table.FileOpen(path);
        table.Go(fk::dbases::kFirst);
        for (int32_t r = 1; r <= table.NoRecords; ++r) {
            for (int f = 1; f <= table.NoFields(); ++f) checksum += table.GetData(f)->size();
            table.Go(fk::dbases::kNext);
        }
    });
    const double plainSeconds = bestSeconds([&] {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        std::vector<char> buffer(1 << 16);
        std::size_t n = 0;
        while ((n = std::fread(buffer.data(), 1, buffer.size(), f)) > 0) checksum += buffer[n - 1];
        std::fclose(f);
    });
    std::printf("table: %s, %d records of %d bytes in %d fields (checksum %zu)\n", path.c_str(),
                kRecords, 1 + kFields * kFieldLength, kFields, checksum);
    std::printf("dbases scan (Go, GetData of every field): %10.0f records/s (%.3f s)\n",
                kRecords / classSeconds, classSeconds);
    std::printf("plain sequential read of the file:        %10.0f records/s (%.3f s)\n",
                kRecords / plainSeconds, plainSeconds);
    return 0;
}
