// Fuzz target: the WAV parser, in memory and through the file loader the
// program uses (LoadAudioData on a ".wav" path). Both forms must agree, and a
// decoded block must hold every byte its frame count claims.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "audio/AudioData.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedAudio fromMemory;
    const bool memoryOk = DecodeWavBytes(data, size, fromMemory);

    static const std::string path = ScratchPath("input.wav");
    WriteScratch(path, data, size);
    int length = -7, channels = -7, bytesPerSample = -7, sampleRate = -7;
    unsigned char* fromFile = LoadAudioData(String(path), length, channels, bytesPerSample, sampleRate);

    FUZZ_REQUIRE(memoryOk == (fromFile != nullptr));
    if (memoryOk) {
        FUZZ_REQUIRE(fromMemory.channels > 0 && fromMemory.bytesPerSample > 0 && fromMemory.length >= 0);
        const size_t bytes = static_cast<size_t>(fromMemory.length) * static_cast<size_t>(fromMemory.channels) *
                             static_cast<size_t>(fromMemory.bytesPerSample);
        FUZZ_REQUIRE(bytes <= size);
        TouchBytes(fromMemory.data, bytes);
        FUZZ_REQUIRE(length == fromMemory.length && channels == fromMemory.channels &&
                     bytesPerSample == fromMemory.bytesPerSample && sampleRate == fromMemory.sampleRate);
        FUZZ_REQUIRE(std::memcmp(fromFile, fromMemory.data, bytes) == 0);
    } else {
        // A refused file leaves the caller's outputs alone.
        FUZZ_REQUIRE(length == -7 && channels == -7 && bytesPerSample == -7 && sampleRate == -7);
    }
    std::free(fromMemory.data);
    std::free(fromFile);
    return 0;
}
