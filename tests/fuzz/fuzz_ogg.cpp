// Fuzz target: Ogg Vorbis through the file loader the program uses
// (LoadAudioData on an ".ogg" path, stb_vorbis reading the open file), and
// the in-memory form. A decoded block must hold every sample it claims.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "audio/AudioData.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {
void CheckBlock(const unsigned char* block, int length, int channels, int bytesPerSample) {
    FUZZ_REQUIRE(channels > 0 && length >= 0 && bytesPerSample == 2);
    TouchBytes(block, static_cast<size_t>(length) * static_cast<size_t>(channels) * 2);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = ScratchPath("input.ogg");
    WriteScratch(path, data, size);
    int length = 0, channels = 0, bytesPerSample = 0, sampleRate = 0;
    unsigned char* fromFile = LoadAudioData(String(path), length, channels, bytesPerSample, sampleRate);
    if (fromFile) CheckBlock(fromFile, length, channels, bytesPerSample);
    std::free(fromFile);

    DecodedAudio fromMemory;
    if (DecodeOggBytes(data, size, fromMemory))
        CheckBlock(fromMemory.data, fromMemory.length, fromMemory.channels, fromMemory.bytesPerSample);
    std::free(fromMemory.data);
    return 0;
}
