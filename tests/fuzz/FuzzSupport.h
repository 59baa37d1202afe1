// Small helpers shared by the fuzz targets: a scratch file per process for
// readers that only take paths, and a check that fails loudly.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/TempFolder.h"

// Aborts with a message: libFuzzer keeps the input that got here.
#define FUZZ_REQUIRE(condition)                                                                      \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                            \
        }                                                                                            \
    } while (0)

// A file name in a private temporary folder, made once per process; the
// extension decides which decoder the audio loader picks.
// The folder sits in $TMPDIR (default /tmp); the script points that at a
// folder it removes afterwards, since a crash skips any clean-up here.
inline std::string ScratchPath(const char* fileName) {
    static const TempFolder folder("zrb-fuzz");
    if (!folder.Made()) std::abort();
    return folder.Path(fileName);
}

inline void WriteScratch(const std::string& path, const unsigned char* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}

// Reads every byte so that AddressSanitizer sees a block that is shorter
// than claimed; the sum keeps the reads from being optimised away.
inline unsigned TouchBytes(const unsigned char* data, size_t size) {
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i) sum += data[i];
    return sum;
}
