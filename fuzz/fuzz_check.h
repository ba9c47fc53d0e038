// A property a fuzz target checks on every input. A broken one is reported and aborts, and
// libFuzzer keeps the input that broke it as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void fuzzRequire(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "fuzz property broken: %s\n", property);
        std::abort();
    }
}
