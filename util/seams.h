// Thin seams around what tests must be able to drive or observe: ending the
// process (and later modal display, message boxes, the shell).
#pragma once

#include <functional>

namespace fk {

struct Seams {
    // Ends the process at once with the given exit code (ExitProcess).
    std::function<void(unsigned exitCode)> endProcess;
};

// The program's seams; tests replace members and restore them with SeamsOverride.
Seams& seams();

class SeamsOverride {
public:
    SeamsOverride() : saved_(seams()) {}
    ~SeamsOverride() { seams() = saved_; }
    SeamsOverride(const SeamsOverride&) = delete;
    SeamsOverride& operator=(const SeamsOverride&) = delete;

private:
    Seams saved_;
};

}  // namespace fk
