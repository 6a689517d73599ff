// What every fuzz target does when an invariant fails: say which, then abort,
// so that libFuzzer keeps the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "invariant failed: %s\n", what);
    std::abort();
}
