// Decoding sound files into interleaved PCM in memory: RIFF/WAVE with our own
// parser (over a file or a byte buffer) and Ogg Vorbis through stb_vorbis.
#pragma once

#include <cstddef>
#include <cstdio>

#include "runtime/String.h"

// Decoded PCM: a block from malloc (the caller frees it) of
// length × channels × bytesPerSample bytes, in the file's byte order and
// signedness (WAV 8-bit unsigned / 16-bit little-endian, Ogg 16-bit native).
struct DecodedAudio {
    unsigned char* data = nullptr;
    int length = 0;  // sample frames
    int channels = 0;
    int bytesPerSample = 0;
    int sampleRate = 0;
};

// Opens the path (data-path scheme or real path) and decodes by its extension,
// ".wav" or ".ogg" in any case; none for anything else or on any failure.
unsigned char* LoadAudioData(const String& path, int& length, int& channels, int& bytesPerSample, int& sampleRate);

// WAV from an open file, from its current position. False (and no block) on
// any failure.
bool DecodeWavFile(FILE* file, DecodedAudio& out);
// WAV from bytes in memory; the same rules as the file form.
bool DecodeWavBytes(const unsigned char* bytes, size_t size, DecodedAudio& out);
// Ogg Vorbis from an open file (left open) or from bytes in memory.
bool DecodeOggFile(FILE* file, DecodedAudio& out);
bool DecodeOggBytes(const unsigned char* bytes, size_t size, DecodedAudio& out);
