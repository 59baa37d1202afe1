// The per-tick modulation stage of the player: envelope, arpeggio, PWM sweep,
// slides and pitch, turned into a gain and a rate for audio channels 1..8.
#pragma once

#include "audio/AudioDevice.h"
#include "song/TrackerState.h"

namespace player {
// K = 2^(1/12) rounded to single precision.
float SemitoneRatio();
}  // namespace player

// Runs once per tick after the row step; calls SetVolume and SetRate only.
void RunModulation(TrackerState& state, AudioDevice& audio);
