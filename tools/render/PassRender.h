// Offline playback as float frames, with the repeat of a song's passes taken
// from memory once it is proven: when the player and every oscillator start a
// pass exactly as they started the one before, every later pass sounds the
// same, sample for sample, so it is copied instead of mixed again.
#pragma once

#include <cstdint>
#include <functional>

#include "tools/render/SongRender.h"

class gxtkAudio;

namespace render {
// Receives each stretch of interleaved stereo float frames (full scale +-1).
using FloatFrameSink = std::function<bool(const float* interleavedStereo, int frames)>;

struct PassRenderFigures {
    int passesMixed = 0;   // passes the mixer rendered
    int passesCopied = 0;  // passes repeated from the kept one
};

// Plays the song from its start for plan.SongTicks() ticks, then the tail,
// through the loopback driver `audio`. The state must be freshly loaded.
// False when the driver or the sink fails.
bool RenderSongFrames(TrackerState& state, gxtkAudio& audio, const RenderPlan& plan, const FloatFrameSink& sink,
                      const TickObserver& observer = nullptr, PassRenderFigures* figures = nullptr);
}  // namespace render
