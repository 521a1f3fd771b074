#include "base/runtime_error.h"

#include <array>
#include <limits>
#include <new>
#include <utility>

namespace fk {
namespace {

struct Message {
    int32_t number;
    std::string_view text;
};

constexpr std::array kMessages{
    Message{3, "Return without GoSub"},
    Message{5, "Invalid procedure call or argument"},
    Message{6, "Overflow"},
    Message{7, "Out of memory"},
    Message{9, "Subscript out of range"},
    Message{10, "This array is fixed or temporarily locked"},
    Message{11, "Division by zero"},
    Message{13, "Type mismatch"},
    Message{14, "Out of string space"},
    Message{28, "Out of stack space"},
    Message{35, "Sub or Function not defined"},
    Message{48, "Error in loading DLL"},
    Message{51, "Internal error"},
    Message{52, "Bad file name or number"},
    Message{53, "File not found"},
    Message{54, "Bad file mode"},
    Message{55, "File already open"},
    Message{57, "Device I/O error"},
    Message{58, "File already exists"},
    Message{59, "Bad record length"},
    Message{61, "Disk full"},
    Message{62, "Input past end of file"},
    Message{63, "Bad record number"},
    Message{67, "Too many files"},
    Message{68, "Device unavailable"},
    Message{70, "Permission denied"},
    Message{71, "Disk not ready"},
    Message{74, "Can't rename with different drive"},
    Message{75, "Path/File access error"},
    Message{76, "Path not found"},
    Message{91, "Object variable or With block variable not set"},
    Message{321, "Invalid file format"},
};

}  // namespace

std::string_view standardMessage(int32_t number) {
    for (const auto& m : kMessages) {
        if (m.number == number) return m.text;
    }
    return "Application-defined or object-defined error";
}

RuntimeError::RuntimeError(int32_t number)
    : RuntimeError(number, std::string(standardMessage(number))) {}

RuntimeError::RuntimeError(int32_t number, std::string description, std::string source)
    : number_(number), description_(std::move(description)), source_(std::move(source)) {}

void raise(int32_t number) {
    throw RuntimeError(number);
}

int32_t runtimeNumberFromSystemError(uint32_t code, int32_t fallback) {
    struct Pair {
        uint32_t code;
        int32_t number;
    };
    static constexpr Pair kMap[] = {
        {2, err::FileNotFound},           // ERROR_FILE_NOT_FOUND
        {3, err::PathNotFound},           // ERROR_PATH_NOT_FOUND
        {4, err::TooManyFiles},           // ERROR_TOO_MANY_OPEN_FILES
        {5, err::PathFileAccessError},    // ERROR_ACCESS_DENIED
        {6, err::BadFileNameOrNumber},    // ERROR_INVALID_HANDLE
        {8, err::OutOfMemory},            // ERROR_NOT_ENOUGH_MEMORY
        {14, err::OutOfMemory},           // ERROR_OUTOFMEMORY
        {15, err::DeviceUnavailable},     // ERROR_INVALID_DRIVE
        {21, err::DiskNotReady},          // ERROR_NOT_READY
        {23, err::DeviceIoError},         // ERROR_CRC
        {29, err::DeviceIoError},         // ERROR_WRITE_FAULT
        {30, err::DeviceIoError},         // ERROR_READ_FAULT
        {32, err::PermissionDenied},      // ERROR_SHARING_VIOLATION
        {33, err::PermissionDenied},      // ERROR_LOCK_VIOLATION
        {38, err::InputPastEndOfFile},    // ERROR_HANDLE_EOF
        {39, err::DiskFull},              // ERROR_HANDLE_DISK_FULL
        {53, err::PathNotFound},          // ERROR_BAD_NETPATH
        {67, err::PathNotFound},          // ERROR_BAD_NET_NAME
        {80, err::FileAlreadyExists},     // ERROR_FILE_EXISTS
        {87, err::InvalidProcedureCall},  // ERROR_INVALID_PARAMETER
        {112, err::DiskFull},             // ERROR_DISK_FULL
        {123, err::BadFileNameOrNumber},  // ERROR_INVALID_NAME
        {161, err::BadFileNameOrNumber},  // ERROR_BAD_PATHNAME
        {183, err::FileAlreadyExists},    // ERROR_ALREADY_EXISTS
        {1117, err::DeviceIoError},       // ERROR_IO_DEVICE
    };
    for (const auto& p : kMap) {
        if (p.code == code) return p.number;
    }
    return fallback;
}

namespace {
uint32_t g_lastDllError = 0;
}

uint32_t lastDllError() noexcept {
    return g_lastDllError;
}
void setLastDllError(uint32_t code) noexcept {
    g_lastDllError = code;
}

Failure& recordedError() {
    static Failure recorded;
    return recorded;
}

Failure currentFailure() noexcept {
    const uint32_t dll = g_lastDllError;
    try {
        throw;
    } catch (const RuntimeError& e) {
        return {e.number(), e.description(), e.source(), dll};
    } catch (const std::bad_alloc&) {
        return {err::OutOfMemory, std::string(standardMessage(err::OutOfMemory)),
                std::string(kProgramSource), dll};
    } catch (const std::exception& e) {
        return {err::InvalidProcedureCall, e.what(), std::string(kProgramSource), dll};
    } catch (...) {
        return {err::InvalidProcedureCall, std::string(standardMessage(err::InvalidProcedureCall)),
                std::string(kProgramSource), dll};
    }
}

int16_t toInt16(long long value) {
    if (value < std::numeric_limits<int16_t>::min() ||
        value > std::numeric_limits<int16_t>::max()) {
        raise(err::Overflow);
    }
    return static_cast<int16_t>(value);
}

int16_t toInt16(std::size_t value) {
    if (value > static_cast<std::size_t>(std::numeric_limits<int16_t>::max())) {
        raise(err::Overflow);
    }
    return static_cast<int16_t>(value);
}

}  // namespace fk
