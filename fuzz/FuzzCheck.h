#pragma once
// A check that stops the fuzz run with a message, so that libFuzzer keeps the
// input that broke an invariant as a crash.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                                   \
    do {                                                                                                   \
        if (!(cond)) {                                                                                     \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);                   \
            std::abort();                                                                                  \
        }                                                                                                  \
    } while (0)
