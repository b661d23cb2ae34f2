#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The entry point of every harness. libFuzzer calls it with its inputs; the replay test calls it
// with each file of the kept corpus.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// A property that must hold for every input. A broken one ends the run like a crash, so that the
// fuzzer keeps the input and the replay of the corpus fails.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

inline QByteArray fuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}
