// Offline playback of a song: loading the file and the waveforms, working out
// how long one pass through the order list lasts, and driving the player tick
// by tick while a frame source renders each tick's share of the sound.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "audio/AudioDevice.h"
#include "song/TrackerState.h"

namespace render {
constexpr int kTicksPerSecond = 50;
// After the last pass: one second in which no row starts but the modulation
// runs on, so sounding notes decay as they would in the tracker.
constexpr int64_t kTailTicks = kTicksPerSecond;
// Every position of the order list at the slowest editor speed. Only a damaged
// song file (a speed far above 16) can need more; its pass is cut here.
constexpr int64_t kMaxPassTicks = int64_t{tracker::kPositions} * tracker::kRowsPerPattern * 16;

// The largest song file read: far above the largest song (256 patterns, about
// 132 KB), far below what would stall the tool.
constexpr int64_t kMaxSongFileBytes = int64_t{1} << 20;

// Reads a song file at any path with the tracker's text decoding and song
// decoder, over an empty song. False with `error` when the file can't be read,
// is empty, is not a regular file, is over kMaxSongFileBytes, or does not
// begin with the song magic and the header's counts ("not a song file").
bool ReadSongFile(const std::string& path, TrackerState& state, std::string& error);

// Loads the eight waveforms from the data folder into state.waveBank. False
// with `error` naming the first file that can't be loaded.
bool LoadWaveBank(TrackerState& state, AudioDevice& audio, std::string& error);

// The transport as the play-from-start command leaves it.
void StartPlayback(TrackerState& state, AudioDevice& audio);

// True right after the row step that took playback back to position 0, row 0.
bool WrappedToStart(const TrackerState& state);

struct RenderPlan {
    int64_t passTicks = 0;  // ticks of one pass
    bool passCut = false;   // the pass met kMaxPassTicks before wrapping
    int loops = 1;
    int sampleRate = 44100;

    int64_t SongTicks() const { return passTicks * loops; }
    int64_t TotalTicks() const { return SongTicks() + kTailTicks; }
    // Frames before tick `tick` starts; ticks share the frames evenly even
    // when the rate is not a multiple of 50.
    int64_t FramesBefore(int64_t tick) const { return tick * sampleRate / kTicksPerSecond; }
    int64_t TotalFrames() const { return FramesBefore(TotalTicks()); }
};

// Plays a copy of the song over a silent driver to count one pass's ticks.
RenderPlan PlanRender(const TrackerState& song, int loops, int sampleRate);

// Renders `frames` interleaved stereo frames of what the driver is playing.
using FrameSource = std::function<bool(int16_t* interleavedStereo, int frames)>;
// Receives each tick's frames; false stops the render.
using FrameSink = std::function<bool(const int16_t* interleavedStereo, int frames)>;
// Told after each tick how many ticks are done.
using TickObserver = std::function<void(int64_t ticksDone)>;

// Plays the song from its start for plan.SongTicks() ticks, then the tail.
// The state must be freshly loaded; the driver is the one `source` renders.
// False when the source or the sink fails.
bool RenderSong(TrackerState& state, AudioDevice& audio, const RenderPlan& plan, const FrameSource& source,
                const FrameSink& sink, const TickObserver& observer = nullptr);
}  // namespace render
