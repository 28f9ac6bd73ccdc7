#pragma once

#include <cstdio>

// An invariant of the code under test. A violation must stop libFuzzer like a crash does, so it
// keeps the input; the message says which invariant it was.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #condition); \
            __builtin_trap();                                                                      \
        }                                                                                          \
    } while (false)
