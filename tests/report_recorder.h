// Collects the failures reported while it lives, instead of showing them.
#pragma once

#include <string>
#include <vector>

#include "base/epilogue.h"

namespace fk::test {

struct Report {
    int32_t number;
    std::string description, label, name;
};

class ReportRecorder {
public:
    ReportRecorder() : previous_(setReportHandler([this](auto&&... r) { record(r...); })) {}
    ~ReportRecorder() { setReportHandler(previous_); }

    std::vector<Report> reports;

private:
    void record(const Failure& f, std::string_view label, std::string_view name) {
        reports.push_back({f.number, f.description, std::string(label), std::string(name)});
    }
    ReportHandler previous_;
};

}  // namespace fk::test
