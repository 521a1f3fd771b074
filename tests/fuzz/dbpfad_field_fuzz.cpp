// Fuzzes the first-field reader of dbpfad.ini: it must never crash, and what it
// returns must be a piece of the first line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/runtime_error.h"
#include "files/dbpfad_field.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    try {
        const std::string field = fk::readFirstField(content);
        const std::string_view firstLine = content.substr(0, content.find_first_of("\r\n"));
        if (firstLine.find(field) == std::string_view::npos) __builtin_trap();
        if (field.find_first_of("\r\n") != std::string::npos) __builtin_trap();
    } catch (const fk::RuntimeError& e) {
        // Only an empty file has no field.
        if (size != 0 || e.number() != 62) __builtin_trap();
    }
    return 0;
}
