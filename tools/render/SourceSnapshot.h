// What decides the next samples of the player's oscillators: each source's
// state, buffer, loop flag, gain, pitch and exact read position (with its
// fraction). Two equal snapshots taken between two mixes mean the mixer will
// produce the same samples from both.
#pragma once

#include <array>
#include <cstdint>

class gxtkAudio;

namespace render {
struct SourceSnapshot {
    int state = 0;
    int buffer = 0;
    int looping = 0;
    float gain = 0;
    float pitch = 0;
    int64_t position = 0;  // 32.32 fixed point sample offset
};

// Audio channels 1..8: oscillators A and B of the four tracker channels.
using OscillatorSnapshot = std::array<SourceSnapshot, 8>;

// False when the library cannot report exact positions; then nothing can be
// proven and every pass must be mixed.
bool TakeOscillatorSnapshot(gxtkAudio& audio, OscillatorSnapshot& snapshot);

// Two stopped sources are alike whatever their other values: starting one
// sets its buffer and position, and the player sets gain and pitch before the
// next mix.
bool SameSnapshot(const OscillatorSnapshot& a, const OscillatorSnapshot& b);

// Playing or paused: a source whose position and values still matter.
bool IsPlaying(const SourceSnapshot& source);
}  // namespace render
