// The error epilogue: a procedure runs its statements under an error trap; a
// statement that fails is reported with the procedure's error label and name,
// has no effect, and the procedure goes on with its next statement.
#pragma once

#include <functional>
#include <string_view>
#include <utility>

#include "errors/runtime_error.h"

namespace fk {

// Receives every reported failure: the failure, the error label of the procedure
// ("Error in <module>: Sub|Function <name>") and the bare procedure name.
using ReportHandler =
    std::function<void(const Failure&, std::string_view label, std::string_view name)>;

// Replaces the handler that reports go to; returns the previous one. An empty
// handler restores the program's own.
ReportHandler setReportHandler(ReportHandler handler);

// Hands one failure to the current report handler. Never throws.
void reportFailure(const Failure& failure, std::string_view label, std::string_view name) noexcept;

class Procedure {
public:
    constexpr Procedure(std::string_view label, std::string_view name)
        : label_(label), name_(name) {}

    std::string_view label() const { return label_; }
    std::string_view name() const { return name_; }

    // Runs one statement under the trap; true when it ran through, false when it
    // failed and was reported.
    template <class Statement>
    bool step(Statement&& statement) const noexcept {
        try {
            std::forward<Statement>(statement)();
            return true;
        } catch (...) {
            reportFailure(currentFailure(), label_, name_);
            return false;
        }
    }

    // Runs a statement that yields a value; on failure `target` keeps what it held.
    template <class T, class Statement>
    bool assign(T& target, Statement&& statement) const noexcept {
        return step([&] { target = std::forward<Statement>(statement)(); });
    }

private:
    std::string_view label_;
    std::string_view name_;
};

// Ignore-errors mode: a statement that fails is skipped silently.
template <class Statement>
bool quietly(Statement&& statement) noexcept {
    try {
        std::forward<Statement>(statement)();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace fk
