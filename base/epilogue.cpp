#include "base/epilogue.h"

#include <cstdio>

namespace fk {
namespace {

// Until the program installs its central handler (and in the portable build),
// reports are written to standard error.
void writeToStandardError(const Failure& failure, std::string_view label, std::string_view) {
    std::fprintf(stderr, "%.*s: Error %ld: %s\n", static_cast<int>(label.size()), label.data(),
                 static_cast<long>(failure.number), failure.description.c_str());
}

ReportHandler& currentHandler() {
    static ReportHandler handler = writeToStandardError;
    return handler;
}

}  // namespace

ReportHandler setReportHandler(ReportHandler handler) {
    if (!handler) handler = writeToStandardError;
    return std::exchange(currentHandler(), std::move(handler));
}

void reportFailure(const Failure& failure, std::string_view label, std::string_view name) noexcept {
    try {
        currentHandler()(failure, label, name);
    } catch (...) {
        // A report must never take the reporting procedure down with it.
    }
}

}  // namespace fk
