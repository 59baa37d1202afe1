// Builds RIFF/WAVE byte images chunk by chunk for the parser tests, including
// malformed ones, and writes them to temporary files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

class WavBuilder {
public:
    std::vector<unsigned char> bytes;

    WavBuilder& Tag(const char* tag) {
        bytes.insert(bytes.end(), tag, tag + 4);
        return *this;
    }
    WavBuilder& U16(uint32_t value) {
        bytes.push_back(static_cast<unsigned char>(value & 0xFF));
        bytes.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
        return *this;
    }
    WavBuilder& U32(uint32_t value) {
        U16(value & 0xFFFF);
        return U16(value >> 16);
    }
    WavBuilder& Raw(const std::vector<unsigned char>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    WavBuilder& Header() { return Tag("RIFF").U32(0).Tag("WAVE"); }
    // A "fmt " chunk of the given size; sizes over 16 carry filler bytes.
    WavBuilder& Format(int channels, int rate, int bits, uint32_t chunkSize = 16, int formatTag = 1) {
        Tag("fmt ").U32(chunkSize).U16(static_cast<uint32_t>(formatTag)).U16(static_cast<uint32_t>(channels));
        const int blockAlign = channels * bits / 8;
        U32(static_cast<uint32_t>(rate)).U32(static_cast<uint32_t>(rate * blockAlign));
        U16(static_cast<uint32_t>(blockAlign)).U16(static_cast<uint32_t>(bits));
        for (uint32_t i = 16; i < chunkSize; ++i) bytes.push_back(0xEE);
        return *this;
    }
    WavBuilder& Chunk(const char* tag, const std::vector<unsigned char>& body) {
        Tag(tag).U32(static_cast<uint32_t>(body.size()));
        return Raw(body);
    }

    static std::vector<unsigned char> Ramp(size_t count) {
        std::vector<unsigned char> body(count);
        for (size_t i = 0; i < count; ++i) body[i] = static_cast<unsigned char>(i * 7 + 3);
        return body;
    }

    bool WriteTo(const std::string& path) const {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file) return false;
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
        return std::fclose(file) == 0;
    }
};

// A fresh folder under the system temporary folder, one per test process.
inline std::string TestFolder() {
    static const TempFolder folder("zrb_audio");
    return folder.Made() ? folder.Path() : "/tmp";
}
