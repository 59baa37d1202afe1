// The modulation stage. Everything is single-precision except the power
// function; each step runs for all four channels before the next, so the
// driver sees the calls in a fixed order.
#include "player/Modulation.h"

#include <cmath>

#include "player/Player.h"
#include "song/InstrumentValues.h"
#include "song/SongModel.h"

namespace {
using tracker::kChannels;

// Oscillator A of channel c is audio channel c + 1, oscillator B c + 5.
int OscillatorA(int c) { return c + 1; }
int OscillatorB(int c) { return c + 5; }
}  // namespace

namespace player {
float SemitoneRatio() {
    static const float ratio = static_cast<float>(std::pow(2.0, 1.0 / 12.0));
    return ratio;
}
}  // namespace player

float PitchBase(float exponent) {
    return static_cast<float>(std::pow(static_cast<double>(player::SemitoneRatio()), static_cast<double>(exponent)));
}

void RunModulation(TrackerState& state, AudioDevice& audio) {
    InstrumentValues instrument[kChannels];
    for (int c = 0; c < kChannels; ++c) instrument[c] = ReadInstrument(state, state.instrument[c]);
    float gain[kChannels];

    // 1. Envelope: the gain falls by 0.125 / ENV per tick until the envelope reaches 1.
    for (int c = 0; c < kChannels; ++c) {
        VoiceState& voice = state.voices[c];
        const int env = instrument[c].env;
        if (voice.envelope < 1.0f) voice.envelope += (1.0f / static_cast<float>(env)) * 0.125f;
        gain[c] = state.volume[c] - voice.envelope;
        if (gain[c] < 0.0f) {
            // The note has died; it stays silent until a row sets a volume again.
            gain[c] = 0.0f;
            state.volume[c] = 0.0f;
            voice.envelope = 0.0f;
        }
    }

    // 2. Both oscillators of a channel get the same gain.
    for (int c = 0; c < kChannels; ++c) {
        audio.SetVolume(OscillatorA(c), gain[c]);
        audio.SetVolume(OscillatorB(c), gain[c]);
    }

    // 3. Envelope to pitch.
    for (int c = 0; c < kChannels; ++c) {
        const int e2p = instrument[c].e2p;
        state.e2pAmount[c] = e2p;
        state.e2pEnvelope[c] = e2p != 0 ? state.voices[c].envelope : 0.0f;
    }

    // 4. Arpeggio value; the three tests are independent, so SPD 0 ends on the second interval.
    for (int c = 0; c < kChannels; ++c) {
        VoiceState& voice = state.voices[c];
        const int speed = instrument[c].speed;
        const float amount = static_cast<float>(instrument[c].amount);
        state.arpSpeed[c] = speed;
        const int n = voice.arpCounter;
        if (n == 0) voice.arpOffset = 0.0f;
        if (n == speed) voice.arpOffset = amount * (static_cast<float>(instrument[c].arp1) / 15.0f);
        if (n == 2 * speed) voice.arpOffset = amount * (static_cast<float>(instrument[c].arp2) / 15.0f);
    }

    // 5. Arpeggio counter.
    for (int c = 0; c < kChannels; ++c) {
        VoiceState& voice = state.voices[c];
        voice.arpCounter += 1;
        if (voice.arpCounter == 3 * state.arpSpeed[c]) voice.arpCounter = 0;
    }

    // 6. Ticks since the note-on.
    for (int c = 0; c < kChannels; ++c) state.voices[c].noteTicks += 1;

    // 7. Repeat limit: one arpeggio cycle, then the base note.
    for (int c = 0; c < kChannels; ++c) {
        const int repeat = instrument[c].repeat;
        if (repeat != 0 && state.voices[c].noteTicks > 3 * state.arpSpeed[c]) state.voices[c].arpCounter = 0;
    }

    // 8. PWM sweep: the detune of B changes sign every half period.
    for (int c = 0; c < kChannels; ++c) {
        VoiceState& voice = state.voices[c];
        const int sweep = instrument[c].sweep;
        state.pwmPeriod[c] = sweep * 3;
        voice.pwmCounter += 1;
        const int half = state.pwmPeriod[c] / 2;
        if (voice.pwmCounter < half) state.pwmDirection[c] = 1;
        if (voice.pwmCounter > half) state.pwmDirection[c] = -1;
        if (voice.pwmCounter == state.pwmPeriod[c]) voice.pwmCounter = 0;
        if (state.pwmPeriod[c] == 0) state.pwmDirection[c] = 1;
    }

    // 9. Slides bend on every tick of the row; the speed follows the volume.
    for (int c = 0; c < kChannels; ++c) {
        VoiceState& voice = state.voices[c];
        if (voice.rowCode == static_cast<float>(tracker::kNoteSlideDown))
            voice.slide -= state.volume[c] * 8.0f * 0.005f;
        if (voice.rowCode == static_cast<float>(tracker::kNoteSlideUp)) voice.slide += state.volume[c] * 8.0f * 0.005f;
    }

    // 10. Rates: slides, detune and envelope-to-pitch add linearly to the base rate.
    for (int c = 0; c < kChannels; ++c) {
        const VoiceState& voice = state.voices[c];
        const float exponent = static_cast<float>(state.octave[c] * 12) + (voice.note - 24.0f) + voice.arpOffset;
        const float base = PitchBase(exponent);
        const float pitchDrop = static_cast<float>(state.e2pAmount[c]) * state.e2pEnvelope[c];
        const float rateA = base + voice.slide - pitchDrop;
        const float rateB =
            base + voice.slide + (state.pwmDepth[c] / 800.0f) * static_cast<float>(state.pwmDirection[c]) - pitchDrop;
        audio.SetRate(OscillatorA(c), rateA);
        audio.SetRate(OscillatorB(c), rateB);
    }
}
