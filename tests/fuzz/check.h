#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property ends the run with a message, so that both the fuzzer and the corpus
// replay report it and keep the input.
#define FUZZ_CHECK(condition, ...)                                                                 \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: %s failed: ", __FILE__, __LINE__, #condition);            \
            std::fprintf(stderr, __VA_ARGS__);                                                     \
            std::fputc('\n', stderr);                                                              \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
