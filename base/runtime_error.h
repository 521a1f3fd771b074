// The runtime error model: every failure carries a classic runtime error number,
// its message text and the name of the component it arose in.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace fk {

// Source recorded with failures of the program's own statements.
inline constexpr std::string_view kProgramSource = "Follow_Kelvaro";

namespace err {
inline constexpr int32_t InvalidProcedureCall = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t BadFileNameOrNumber = 52;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t BadFileMode = 54;
inline constexpr int32_t FileAlreadyOpen = 55;
inline constexpr int32_t DeviceIoError = 57;
inline constexpr int32_t FileAlreadyExists = 58;
inline constexpr int32_t DiskFull = 61;
inline constexpr int32_t InputPastEndOfFile = 62;
inline constexpr int32_t BadRecordNumber = 63;
inline constexpr int32_t TooManyFiles = 67;
inline constexpr int32_t DeviceUnavailable = 68;
inline constexpr int32_t PermissionDenied = 70;
inline constexpr int32_t DiskNotReady = 71;
inline constexpr int32_t PathFileAccessError = 75;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t InvalidFileFormat = 321;
}  // namespace err

class RuntimeError : public std::exception {
public:
    explicit RuntimeError(int32_t number);
    RuntimeError(int32_t number, std::string description,
                 std::string source = std::string(kProgramSource));

    int32_t number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }
    const std::string& source() const noexcept { return source_; }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    int32_t number_;
    std::string description_;
    std::string source_;
};

[[noreturn]] void raise(int32_t number);

// The runtime error number for a Windows system error code; `fallback` for codes
// that have no closer match.
int32_t runtimeNumberFromSystemError(uint32_t code, int32_t fallback = err::PathFileAccessError);

// What a failure reports: number, message text, source, and the last system error
// code as it stood when the failure was raised.
struct Failure {
    int32_t number = 0;
    std::string description;
    std::string source;
    uint32_t lastDllError = 0;
};

// The last system error code captured after the program's most recent system call
// (0 before any); set by the Windows layer.
uint32_t lastDllError() noexcept;
void setLastDllError(uint32_t code) noexcept;

// The recorded error: the failure being reported, cleared when its report is done.
Failure& recordedError();

// Converts the exception in flight into a failure: runtime errors keep their number,
// an allocation failure is "Out of memory", any other exception "Invalid procedure
// call or argument" with its text. Call only inside a catch block.
Failure currentFailure() noexcept;

// A position or count of the 16-bit world; a value beyond its range is an overflow.
int16_t toInt16(std::size_t value);
int16_t toInt16(long long value);

}  // namespace fk
