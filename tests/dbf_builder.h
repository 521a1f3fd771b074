// Builds dBase III table files for tests, byte by byte.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fk::test {

struct DbfField {
    std::string name;
    char type;
    uint8_t length;
};

inline std::string dbfBytes(const std::vector<DbfField>& fields,
                            const std::vector<std::string>& records, bool endOfFile = true) {
    uint16_t recordLength = 1;
    for (const auto& f : fields) recordLength = static_cast<uint16_t>(recordLength + f.length);
    const auto headerLength = static_cast<uint16_t>(32 * fields.size() + 33);
    std::string b(32, '\0');
    b[0] = 3;
    b[1] = 110;
    b[2] = 2;
    b[3] = 18;
    const auto n = static_cast<uint32_t>(records.size());
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<char>(n >> (8 * i));
    b[8] = static_cast<char>(headerLength & 0xFF);
    b[9] = static_cast<char>(headerLength >> 8);
    b[10] = static_cast<char>(recordLength & 0xFF);
    b[11] = static_cast<char>(recordLength >> 8);
    for (const auto& f : fields) {
        std::string d(32, '\0');
        d.replace(0, f.name.size(), f.name);
        d[11] = f.type;
        d[16] = static_cast<char>(f.length);
        b += d;
    }
    b += '\x0d';
    for (const auto& r : records) b += r;  // each record: flag byte + fields
    if (endOfFile) b += '\x1a';
    return b;
}

inline std::filesystem::path writeTemp(const std::string& name, const std::string& bytes) {
    const auto path = std::filesystem::temp_directory_path() / ("fk_dbf_" + name);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

inline std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace fk::test
