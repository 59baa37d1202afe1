// Offline playback: the same PlayerTick the tracker runs at 50 ticks a second,
// with the frames of each tick rendered right after it.
#include "tools/render/SongRender.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The magic and the three counts that follow it.
constexpr int kSongHeaderLength = 7;
const char kSongMagic[] = "ZRB1";

bool HasSongHeader(const String& text) {
    if (text.Length() < kSongHeaderLength) return false;
    for (int i = 0; i < 4; ++i)
        if (text[i] != static_cast<int>(kSongMagic[i])) return false;
    return true;
}
}  // namespace

bool ReadSongFile(const std::string& path, TrackerState& state, std::string& error) {
    // Non-blocking, so that opening a FIFO does not wait for a writer; only
    // a regular file of a song's size is read at all.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot read song file (" + ErrorText(errno) + ")";
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        error =
            S_ISDIR(info.st_mode) ? "cannot read song file (Is a directory)" : "not a song file (not a regular file)";
        return false;
    }
    if (info.st_size > kMaxSongFileBytes) {
        close(fd);
        error = "not a song file (larger than 1 MB)";
        return false;
    }
    std::string bytes;
    std::vector<char> chunk(1 << 16);
    int readError = 0;
    // The size may still grow while we read: stop one byte past the limit.
    while (static_cast<int64_t>(bytes.size()) <= kMaxSongFileBytes) {
        const ssize_t got = read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) readError = errno;
        if (got <= 0) break;
        bytes.append(chunk.data(), static_cast<size_t>(got));
    }
    close(fd);
    if (readError != 0) {
        error = "cannot read song file (" + ErrorText(readError) + ")";
        return false;
    }
    if (static_cast<int64_t>(bytes.size()) > kMaxSongFileBytes) {
        error = "not a song file (larger than 1 MB)";
        return false;
    }
    if (bytes.empty()) {
        error = "song file is empty";
        return false;
    }
    const String text = DecodeText(bytes);
    if (!HasSongHeader(text)) {
        error = "not a song file";
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
