// The note preview: one voice modulated like a playing channel (envelope,
// envelope to pitch, arpeggio, PWM sweep) and sent to all of audio channels
// 1..8, with gain 1 - envelope and no slides.
#include "editor/Cells.h"
#include "editor/Editor.h"
#include "player/Player.h"
#include "song/InstrumentValues.h"

namespace {
constexpr float kEnvelopeStep = 0.125f;
constexpr float kPwmScale = 800.0f;
constexpr int kPreviewChannels = 8;
}  // namespace

void RunPreviewModulation(TrackerState& state, AudioDevice& audio) {
    const InstrumentValues in = ReadInstrument(state, editor::InstrumentNumber(state));
    const int env = in.env;
    const int speed = in.speed;
    const int amount = in.amount;
    const int sweep = in.sweep;
    const int repeat = in.repeat;
    const int e2p = in.e2p;

    // An ENV of 0 makes the step infinite: the clamp silences the voice.
    if (env == 0) {
        state.previewEnvelope = 1.0f;
    } else {
        state.previewEnvelope += kEnvelopeStep * (1.0f / static_cast<float>(env));
    }
    if (state.previewEnvelope > 1.0f) state.previewEnvelope = 1.0f;
    const float gain = 1.0f - state.previewEnvelope;
    for (int channel = 1; channel <= kPreviewChannels; ++channel) audio.SetVolume(channel, gain);

    state.previewE2p = e2p;
    state.previewE2pEnvelope = e2p != 0 ? state.previewEnvelope : 0.0f;

    // The three tests are not exclusive: with SPD 0 the last one wins.
    state.previewArpSpeed = speed;
    const int n = state.previewArpCounter;
    if (n == 0) state.previewArpOffset = 0.0f;
    if (n == speed) state.previewArpOffset = static_cast<float>(amount) * (static_cast<float>(in.arp1) / 15.0f);
    if (n == 2 * speed) state.previewArpOffset = static_cast<float>(amount) * (static_cast<float>(in.arp2) / 15.0f);
    state.previewArpCounter += 1;
    if (state.previewArpCounter == 3 * speed) state.previewArpCounter = 0;

    state.previewTicks += 1;
    if (repeat != 0 && state.previewTicks > 3 * speed) state.previewArpCounter = 0;

    state.previewPwmPeriod = sweep * 3;
    state.previewPwmCounter += 1;
    const int half = state.previewPwmPeriod / 2;
    if (state.previewPwmCounter < half) state.previewPwmDirection = 1;
    if (state.previewPwmCounter > half) state.previewPwmDirection = -1;
    if (state.previewPwmCounter == state.previewPwmPeriod) state.previewPwmCounter = 0;
    if (state.previewPwmPeriod == 0) state.previewPwmDirection = 1;

    const int code = DecodeNoteChar(state.lastNoteKey, 0);
    const float exponent = static_cast<float>(code - 24 + 12 * state.editOctave) + state.previewArpOffset;
    const float base = PitchBase(exponent);
    const float pitchDrop = static_cast<float>(state.previewE2p) * state.previewE2pEnvelope;
    const float rateA = base - pitchDrop;
    const float rateB =
        base + (state.previewPwmDepth / kPwmScale) * static_cast<float>(state.previewPwmDirection) - pitchDrop;
    for (int channel = 1; channel <= 4; ++channel) {
        audio.SetRate(channel, rateA);
        audio.SetRate(channel + 4, rateB);
    }
}
