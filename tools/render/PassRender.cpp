// Pass by pass rendering. A pass is copied only when the proof holds: the
// player fields that PlayerTick reads and writes and the oscillators' sources
// all match the start of the previous pass, and the ticks of a pass cut the
// same frame counts every time (the pass is a whole number of frames long).
// Whatever does not hold is mixed in full, exactly as before.
#include "tools/render/PassRender.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "audio/gxtkAudio.h"
#include "player/Modulation.h"
#include "player/Player.h"
#include "song/InstrumentValues.h"
#include "tools/render/SourceSnapshot.h"

namespace render {
namespace {
// The largest pass kept for copying: 128 MiB of float frames (about six
// minutes at 44100 Hz). Longer passes are always mixed.
constexpr int64_t kMaxKeptSamples = int64_t{32} << 20;

template <typename T>
bool SameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Everything PlayerTick and RunModulation carry from one tick to the next,
// in a form where states that behave alike from here on compare equal:
// - The counters of a voice only meet values up to three times the largest
//   SPD or SWP value (equality tests, halves, limits), so beyond that bound
//   they all act alike until the next note-on resets them. An idle channel's
//   counters would otherwise grow forever and no pass would ever repeat.
// - The note, arpeggio offset and slide of a channel whose oscillators are
//   both stopped only reach the rates of stopped sources; the next note-on
//   resets them before its first mix.
struct PlayerSnapshot {
    int tickCounter, playRow, patternBase, currentPosition;
    std::array<VoiceState, tracker::kChannels> voices;
    std::array<int, tracker::kChannels> rowInstrument, rowOctave, instrument, octave, e2pAmount, arpSpeed, pwmPeriod,
        pwmDirection;
    std::array<float, tracker::kChannels> channelVolumeScale, volume, pwmDepth, e2pEnvelope;
    std::array<c_Sound*, tracker::kChannels> oscA, oscB;

    explicit PlayerSnapshot(const TrackerState& s)
        : tickCounter(s.tickCounter),
          playRow(s.playRow),
          patternBase(s.patternBase),
          currentPosition(s.currentPosition),
          voices(s.voices),
          rowInstrument(s.rowInstrument),
          rowOctave(s.rowOctave),
          instrument(s.instrument),
          octave(s.octave),
          e2pAmount(s.e2pAmount),
          arpSpeed(s.arpSpeed),
          pwmPeriod(s.pwmPeriod),
          pwmDirection(s.pwmDirection),
          channelVolumeScale(s.channelVolumeScale),
          volume(s.volume),
          pwmDepth(s.pwmDepth),
          e2pEnvelope(s.e2pEnvelope),
          oscA(s.oscA),
          oscB(s.oscB) {}

    void Normalise(int counterBound, const OscillatorSnapshot& oscillators) {
        for (size_t c = 0; c < voices.size(); ++c) {
            VoiceState& voice = voices[c];
            voice.arpCounter = std::min(voice.arpCounter, counterBound);
            voice.pwmCounter = std::min(voice.pwmCounter, counterBound);
            voice.noteTicks = std::min(voice.noteTicks, counterBound);
            if (!IsPlaying(oscillators[c]) && !IsPlaying(oscillators[c + tracker::kChannels])) {
                voice.note = 0.0f;
                voice.arpOffset = 0.0f;
                voice.slide = 0.0f;
            }
        }
    }

    bool operator==(const PlayerSnapshot& o) const {
        return tickCounter == o.tickCounter && playRow == o.playRow && patternBase == o.patternBase &&
               currentPosition == o.currentPosition && SameBits(voices, o.voices) && rowInstrument == o.rowInstrument &&
               rowOctave == o.rowOctave && instrument == o.instrument && octave == o.octave &&
               e2pAmount == o.e2pAmount && arpSpeed == o.arpSpeed && pwmPeriod == o.pwmPeriod &&
               pwmDirection == o.pwmDirection && SameBits(channelVolumeScale, o.channelVolumeScale) &&
               SameBits(volume, o.volume) && SameBits(pwmDepth, o.pwmDepth) && SameBits(e2pEnvelope, o.e2pEnvelope) &&
               oscA == o.oscA && oscB == o.oscB;
    }
};

// Beyond this a counter's value no longer matters (see Normalise): the
// counters meet SPD and SWP times at most three.
int CounterBound(const TrackerState& state) {
    int largest = 0;
    for (int number = 0; number < tracker::kInstrumentTableSlots; ++number) {
        const InstrumentValues in = ReadInstrument(state, number);
        largest = std::max({largest, in.speed, in.sweep});
    }
    return 3 * largest + 2;
}

struct PassStart {
    PlayerSnapshot player;
    OscillatorSnapshot oscillators;
};
}  // namespace

bool RenderSongFrames(TrackerState& state, gxtkAudio& audio, const RenderPlan& plan, const FloatFrameSink& sink,
                      const TickObserver& observer, PassRenderFigures* figures) {
    PassRenderFigures counted;
    const int64_t longestTick = plan.FramesBefore(1) + 1;
    std::vector<float> frames(static_cast<size_t>(longestTick) * 2);
    const int64_t passSamples = plan.FramesBefore(plan.passTicks) * 2;
    const bool wholeFrames = (plan.passTicks * plan.sampleRate) % kTicksPerSecond == 0;
    const bool mayCopy = plan.loops > 2 && wholeFrames && passSamples <= kMaxKeptSamples;
    const int counterBound = CounterBound(state);
    std::vector<float> kept;
    if (mayCopy) kept.reserve(static_cast<size_t>(passSamples));
    std::vector<PassStart> starts;  // at most the previous pass's and this one's
    int64_t tick = 0;

    auto mixTick = [&](bool playRows) {
        if (playRows)
            PlayerTick(state, audio);
        else
            RunModulation(state, audio);
        const int count = static_cast<int>(plan.FramesBefore(tick + 1) - plan.FramesBefore(tick));
        if (!audio.RenderFloatFrames(frames.data(), count)) return false;
        ++tick;
        return true;
    };

    StartPlayback(state, audio);
    for (int pass = 0; pass < plan.loops; ++pass) {
        if (mayCopy) {
            PassStart start{PlayerSnapshot(state), {}};
            if (!TakeOscillatorSnapshot(audio, start.oscillators)) {
                starts.clear();
            } else {
                start.player.Normalise(counterBound, start.oscillators);
                const bool repeats = !starts.empty() && starts.back().player == start.player &&
                                     SameSnapshot(starts.back().oscillators, start.oscillators);
                if (repeats && static_cast<int64_t>(kept.size()) == passSamples) {
                    // This pass and every later one start alike, so each sounds as the kept one; the
                    // state here is also the state after the last of them, where the tail begins.
                    for (; pass < plan.loops; ++pass) {
                        constexpr size_t chunk = size_t{1} << 16;
                        for (size_t at = 0; at < kept.size(); at += chunk) {
                            const size_t n = std::min(chunk, kept.size() - at);
                            if (!sink(kept.data() + at, static_cast<int>(n / 2))) return false;
                        }
                        tick += plan.passTicks;
                        ++counted.passesCopied;
                        if (observer) observer(tick);
                    }
                    break;
                }
                starts.assign(1, start);
            }
            kept.clear();
        }
        for (int64_t t = 0; t < plan.passTicks; ++t) {
            const int64_t before = tick;
            if (!mixTick(true)) return false;
            const int count = static_cast<int>(plan.FramesBefore(tick) - plan.FramesBefore(before));
            if (mayCopy) kept.insert(kept.end(), frames.begin(), frames.begin() + count * 2);
            if (!sink(frames.data(), count)) return false;
            if (observer) observer(tick);
        }
        ++counted.passesMixed;
    }
    for (int64_t t = 0; t < kTailTicks; ++t) {
        const int64_t before = tick;
        if (!mixTick(false)) return false;
        if (!sink(frames.data(), static_cast<int>(plan.FramesBefore(tick) - plan.FramesBefore(before)))) return false;
        if (observer) observer(tick);
    }
    if (figures) *figures = counted;
    return true;
}
}  // namespace render
