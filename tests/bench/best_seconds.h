// The best of three timed runs, in seconds.
#pragma once

#include <algorithm>
#include <chrono>

template <class F>
double bestSeconds(F&& run) {
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}
