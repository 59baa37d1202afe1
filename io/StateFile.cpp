// The state file: written with the runtime's UTF-8 encoder, read back through
// the text decoder.
#include "io/StateFile.h"

#include <cstdio>
#include <string>

#include "io/TextFile.h"

namespace {
const char* const kStateFile = "./.korvanthstate";
}

int SaveState(const String& text) {
    FILE* file = std::fopen(kStateFile, "wb");
    if (!file) return -1;
    const std::string bytes = text.ToUtf8();
    const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    // Buffered bytes that fail to reach the file show up only at fclose.
    const bool closed = std::fclose(file) == 0;
    return written == bytes.size() && closed ? 0 : -2;
}

String LoadState() { return LoadString(kStateFile); }
