// The sequencer: every songSpeed ticks one row of the current pattern is read
// for the four channels (each sub-step for channels 0..3 before the next),
// then the modulation stage runs on every tick. Cells are read one code point
// at a time, so a tick allocates nothing.
#include "player/Player.h"

#include "player/Modulation.h"
#include "song/InstrumentValues.h"
#include "song/SongModel.h"

namespace {
using tracker::kChannels;

constexpr int kLoopingFlag = 1;
constexpr int kNoteOffPitchOffset = tracker::kNoteOff - 24;  // 104
constexpr int kHighestPitchIndex = 43;

// The code point of a cell, 0 past either end of the column: a damaged
// position then reads as empty text (note code 0, digits 0).
String::CodePoint CellAt(const String& column, int index) {
    return index >= 0 && index < column.Length() ? column[index] : 0;
}

int DecimalDigitValue(String::CodePoint c) { return c >= '0' && c <= '9' ? c - '0' : 0; }

void StartOscillator(AudioDevice& audio, const c_Sound* sound, int channel, int flags) {
    if (sound && sound->sample) audio.PlaySample(sound->sample, channel, flags);
}

void RowStep(TrackerState& state, AudioDevice& audio) {
    const int i = state.patternBase + state.playRow;
    int code[kChannels];
    int volumeDigit[kChannels];

    for (int c = 0; c < kChannels; ++c) {
        code[c] = DecodeNoteCode(CellAt(state.songColumns[tracker::NoteColumn(c)], i));
        VoiceState& voice = state.voices[c];
        voice.rowCode = static_cast<float>(code[c]);
        if (code[c] < tracker::kNoteSlideDown) {
            voice.note = static_cast<float>(code[c]);
            voice.arpOffset = 0.0f;
            voice.slide = 0.0f;
            voice.envelope = 0.0f;
            voice.arpCounter = 0;
            voice.pwmCounter = 0;
            voice.noteTicks = 0;
        }
    }
    for (int c = 0; c < kChannels; ++c)
        state.rowInstrument[c] = HexDigitCodeValue(CellAt(state.songColumns[tracker::InstrumentColumn(c)], i));
    for (int c = 0; c < kChannels; ++c) {
        volumeDigit[c] = HexDigitCodeValue(CellAt(state.songColumns[tracker::VolumeColumn(c)], i));
        if (volumeDigit[c] != 0)
            state.volume[c] = static_cast<float>(volumeDigit[c]) * 0.125f * state.channelVolumeScale[c];
    }
    for (int c = 0; c < kChannels; ++c)
        state.rowOctave[c] = DecimalDigitValue(CellAt(state.songColumns[tracker::OctaveColumn(c)], i));
    for (int c = 0; c < kChannels; ++c)
        SelectWaveformPair(state, ReadInstrument(state, state.rowInstrument[c]).wav, state.oscA[c], state.oscB[c]);
    for (int c = 0; c < kChannels; ++c)
        if (state.rowInstrument[c] != 0)
            state.pwmDepth[c] = static_cast<float>(ReadInstrument(state, state.rowInstrument[c]).pwm);
    for (int c = 0; c < kChannels; ++c) {
        if (state.volume[c] == 0.0f) continue;
        const int pitchIndex =
            static_cast<int>(static_cast<float>(state.rowOctave[c] * 12) + (state.voices[c].rowCode - 24.0f));
        TriggerVoice(state, audio, state.oscA[c], pitchIndex, c + 1, kLoopingFlag, state.oscB[c], volumeDigit[c],
                     state.rowOctave[c]);
    }
    for (int c = 0; c < kChannels; ++c)
        if (state.rowInstrument[c] != 0) state.instrument[c] = state.rowInstrument[c];
    for (int c = 0; c < kChannels; ++c)
        if (state.rowInstrument[c] != 0) state.octave[c] = state.rowOctave[c];

    // Advance; several breaks in one row still move on by one position only.
    for (int c = 0; c < kChannels; ++c)
        if (code[c] == tracker::kNoteBreak) state.playRow = tracker::kRowsPerPattern - 1;
    state.playRow += 1;
    if (state.playRow == tracker::kRowsPerPattern) {
        state.currentPosition += 1;
        if (state.currentPosition == state.songLength / tracker::kRowsPerPattern) state.currentPosition = 0;
        state.playRow = 0;
    }
    // Playback started beyond the song length runs on through the order list;
    // past its last entry it wraps to the start instead of leaving the list.
    if (state.currentPosition < 0 || state.currentPosition >= tracker::kPositions) state.currentPosition = 0;
    state.patternBase = state.positions[static_cast<size_t>(state.currentPosition)] * tracker::kRowsPerPattern;
    state.tickCounter = 0;
}
}  // namespace

bool SelectWaveformPair(const TrackerState& state, int wav, c_Sound*& oscA, c_Sound*& oscB) {
    // Slots: 0 ramp, 1 ramp_b, 2 ramp_c, 3 saw, 4 fx2b, 5 tri, 6 hnoise, 7 zero.
    static const int kPairs[7][2] = {{1, 3}, {2, 3}, {0, 3}, {5, 7}, {1, 7}, {4, 7}, {6, 7}};
    if (wav < 1 || wav > 7) return false;
    oscA = state.waveBank[static_cast<size_t>(kPairs[wav - 1][0])].get();
    oscB = state.waveBank[static_cast<size_t>(kPairs[wav - 1][1])].get();
    return true;
}

void TriggerVoice(TrackerState& /*state*/, AudioDevice& audio, c_Sound* soundA, int pitchIndex, int channel, int flags,
                  c_Sound* soundB, int volumeDigit, int rowOctave) {
    if (pitchIndex == rowOctave * 12 + kNoteOffPitchOffset) {
        audio.StopChannel(channel);
        audio.StopChannel(channel + 4);
    }
    if (pitchIndex > kHighestPitchIndex || volumeDigit <= 0) return;
    audio.StopChannel(channel);
    audio.StopChannel(channel + 4);
    StartOscillator(audio, soundA, channel, flags);
    StartOscillator(audio, soundB, channel + 4, flags);
}

void StopAllVoices(AudioDevice& audio) {
    static const int kOrder[8] = {1, 2, 3, 4, 6, 5, 8, 7};
    for (int channel : kOrder) audio.StopChannel(channel);
}

void PlayerTick(TrackerState& state, AudioDevice& audio) {
    state.tickCounter += 1;
    if (state.tickCounter == state.songSpeed) RowStep(state, audio);
    RunModulation(state, audio);
}
