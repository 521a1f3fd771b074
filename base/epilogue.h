// The error epilogue. A procedure names itself once (error label and bare name)
// and runs each statement that can fail through `step` or `assign`. When such a
// statement fails, the failure is reported with the procedure's label and name, the
// statement has no effect (an assignment's target keeps its value), and the
// procedure goes on with its next statement. Statements that cannot fail stay
// plain code.
#pragma once

#include <functional>
#include <string_view>
#include <utility>

#include "base/runtime_error.h"

namespace fk {

// Receives every reported failure: the failure, the error label of the procedure
// ("Error in <module>: Sub|Function <name>") and the bare procedure name.
using ReportHandler =
    std::function<void(const Failure&, std::string_view label, std::string_view name)>;

// Replaces the handler that reports go to; returns the previous one. An empty
// handler restores the default, which writes reports to standard error.
ReportHandler setReportHandler(ReportHandler handler);

// Hands one failure to the current report handler. Never throws.
void reportFailure(const Failure& failure, std::string_view label, std::string_view name) noexcept;

class Procedure {
public:
    constexpr Procedure(std::string_view label, std::string_view name)
        : label_(label), name_(name) {}

    // Runs one statement that can fail; true when it ran through, false when it
    // failed and was reported.
    template <class Statement, class... Args>
    bool step(Statement&& statement, Args&&... args) const noexcept {
        try {
            std::invoke(std::forward<Statement>(statement), std::forward<Args>(args)...);
            return true;
        } catch (...) {
            reportFailure(currentFailure(), label_, name_);
            return false;
        }
    }

    // `target` = the statement's result; on failure `target` keeps what it held.
    template <class T, class Statement, class... Args>
    bool assign(T& target, Statement&& statement, Args&&... args) const noexcept {
        return step([&] {
            target = std::invoke(std::forward<Statement>(statement), std::forward<Args>(args)...);
        });
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
