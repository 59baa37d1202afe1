// Offline playback: the same PlayerTick the tracker runs at 50 ticks a second,
// with the frames of each tick rendered right after it.
#include "tools/render/SongRender.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "audio/SilentAudio.h"
#include "io/TextFile.h"
#include "player/Modulation.h"
#include "player/Player.h"
#include "player/StartUp.h"
#include "song/SongFile.h"
#include "song/SongModel.h"

namespace render {
namespace {
std::string ErrorText(int code) { return code != 0 ? std::strerror(code) : "read error"; }
}  // namespace

bool ReadSongFile(const std::string& path, TrackerState& state, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "cannot read song file (" + ErrorText(errno) + ")";
        return false;
    }
    std::string bytes;
    std::vector<char> chunk(1 << 16);
    size_t got = 0;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), file)) > 0) bytes.append(chunk.data(), got);
    const bool failed = std::ferror(file) != 0;
    const int readError = errno;
    std::fclose(file);
    if (failed) {
        error = "cannot read song file (" + ErrorText(readError) + ")";
        return false;
    }
    const String text = DecodeText(bytes);
    if (text.Empty()) {
        error = "song file is empty";
        return false;
    }
    BuildEmptySong(state);
    DecodeSongText(state, text);
    return true;
}

bool LoadWaveBank(TrackerState& state, AudioDevice& audio, std::string& error) {
    for (int slot = 0; slot < tracker::kWaveforms; ++slot) {
        state.waveBank[static_cast<size_t>(slot)] = LoadSound(audio, kWaveformFiles[slot]);
        if (!state.waveBank[static_cast<size_t>(slot)]) {
            error = std::string("cannot load waveform data/") + kWaveformFiles[slot];
            return false;
        }
    }
    return true;
}

void StartPlayback(TrackerState& state, AudioDevice& audio) {
    StopAllVoices(audio);
    state.transportState = tracker::kPlaying;
    state.tickCounter = 0;
    state.playRow = 0;
    state.currentPosition = 0;
    state.patternBase = state.positions[0] * tracker::kRowsPerPattern;
}

bool WrappedToStart(const TrackerState& state) {
    return state.tickCounter == 0 && state.playRow == 0 && state.currentPosition == 0;
}

RenderPlan PlanRender(const TrackerState& song, int loops, int sampleRate) {
    RenderPlan plan;
    plan.loops = loops;
    plan.sampleRate = sampleRate;
    TrackerState state = song;
    SilentAudio silent;
    StartPlayback(state, silent);
    while (plan.passTicks < kMaxPassTicks) {
        PlayerTick(state, silent);
        ++plan.passTicks;
        if (WrappedToStart(state)) return plan;
    }
    plan.passCut = true;
    return plan;
}

bool RenderSong(TrackerState& state, AudioDevice& audio, const RenderPlan& plan, const FrameSource& source,
                const FrameSink& sink, const TickObserver& observer) {
    const int64_t longestTick = plan.FramesBefore(1) + 1;
    std::vector<int16_t> frames(static_cast<size_t>(longestTick) * 2);
    StartPlayback(state, audio);
    for (int64_t tick = 0; tick < plan.TotalTicks(); ++tick) {
        if (tick < plan.SongTicks())
            PlayerTick(state, audio);
        else
            RunModulation(state, audio);
        const int count = static_cast<int>(plan.FramesBefore(tick + 1) - plan.FramesBefore(tick));
        if (!source(frames.data(), count) || !sink(frames.data(), count)) return false;
        if (observer) observer(tick + 1);
    }
    return true;
}
}  // namespace render
