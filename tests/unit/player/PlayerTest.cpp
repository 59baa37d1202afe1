// Sequencer and modulation through the recording audio twin: row steps,
// advance and wrap, triggering rules, and the per-tick gains and rates.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "player/Player.h"
#include "tests/support/RecordingAudio.h"
#include "tests/unit/player/PlayerTestSupport.h"

using namespace playertest;
using Log = std::vector<std::string>;

namespace {

std::string N(float value) { return RecordingAudio::Number(value); }

// Names the first line where two logs part, so a failure reads as a diff.
void ExpectSameLog(const Log& expected, const Log& actual) {
    const size_t common = std::min(expected.size(), actual.size());
    for (size_t i = 0; i < common; ++i) ASSERT_EQ(expected[i], actual[i]) << "first difference at line " << i;
    ASSERT_EQ(expected.size(), actual.size()) << "logs agree up to line " << common;
}

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        BuildEmptySong(state);
        FillWaveBank(state);
        Instrument tri;  // WAV 4: triangle with the zero wave, long envelope
        SetInstrument(state, 1, tri);
    }
    void Ticks(int count) {
        for (int k = 0; k < count; ++k) PlayerTick(state, audio);
    }
    // The log of exactly one tick.
    Log OneTick() {
        audio.Clear();
        PlayerTick(state, audio);
        return audio.log;
    }
    std::string LastRate(int channel) {
        const std::string prefix = "SetRate " + std::to_string(channel) + " ";
        for (auto it = audio.log.rbegin(); it != audio.log.rend(); ++it)
            if (it->compare(0, prefix.size(), prefix) == 0) return it->substr(prefix.size());
        return "";
    }
    std::string LastVolume(int channel) {
        const std::string prefix = "SetVolume " + std::to_string(channel) + " ";
        for (auto it = audio.log.rbegin(); it != audio.log.rend(); ++it)
            if (it->compare(0, prefix.size(), prefix) == 0) return it->substr(prefix.size());
        return "";
    }
    Log StartsAndStops() const {
        Log out;
        for (const auto& line : audio.log)
            if (line.rfind("PlaySample", 0) == 0 || line.rfind("StopChannel", 0) == 0) out.push_back(line);
        return out;
    }

    TrackerState state;
    RecordingAudio audio;
};

// ---- Timing and advance ----

TEST_F(PlayerTest, FirstNoteTickLogsTriggerThenVolumesThenRatesInChannelOrder) {
    SetCell(state, 0, 0, 0, "y", "8", "1", "2");
    StartPlaying(state, 1);
    const float envelope = (1.0f / 255.0f) * 0.125f;
    const float gain = 1.0f - envelope;
    const std::string low = N(PitchBase(-24.0f));  // channels never played: octave 0, note 0
    ExpectSameLog({"StopChannel 1",
                   "StopChannel 5",
                   "PlaySample 1 buffer 105 flags 1",
                   "PlaySample 5 buffer 107 flags 1",
                   "SetVolume 1 " + N(gain),
                   "SetVolume 5 " + N(gain),
                   "SetVolume 2 0",
                   "SetVolume 6 0",
                   "SetVolume 3 0",
                   "SetVolume 7 0",
                   "SetVolume 4 0",
                   "SetVolume 8 0",
                   "SetRate 1 1",
                   "SetRate 5 1",
                   "SetRate 2 " + low,
                   "SetRate 6 " + low,
                   "SetRate 3 " + low,
                   "SetRate 7 " + low,
                   "SetRate 4 " + low,
                   "SetRate 8 " + low},
                  OneTick());
}

TEST_F(PlayerTest, SpeedOneStepsARowOnEveryTick) {
    for (int row = 0; row < 3; ++row) SetCell(state, 0, row, 1, "q", "8", "1", "2");
    StartPlaying(state, 1);
    for (int tick = 1; tick <= 3; ++tick) {
        audio.Clear();
        PlayerTick(state, audio);
        EXPECT_EQ(tick, state.playRow);
        EXPECT_EQ(0, state.tickCounter);
        EXPECT_EQ(2u, audio.Lines("PlaySample").size()) << "tick " << tick;
    }
}

TEST_F(PlayerTest, DefaultSpeedStepsOnTheFourthTickAndModulatesEveryTick) {
    SetCell(state, 0, 0, 0, "y", "8", "1", "2");
    StartPlaying(state, 4);
    Ticks(3);
    EXPECT_TRUE(audio.Lines("PlaySample").empty());
    EXPECT_EQ(24u, audio.Lines("SetVolume").size());
    EXPECT_EQ(24u, audio.Lines("SetRate").size());
    EXPECT_EQ(0, state.playRow);
    Ticks(1);
    EXPECT_EQ(2u, audio.Lines("PlaySample").size());
    EXPECT_EQ(1, state.playRow);
    EXPECT_EQ(0, state.tickCounter);
}

TEST_F(PlayerTest, BreakInSeveralChannelsOfOneRowAdvancesOnePosition) {
    state.positions[0] = 0;
    state.positions[1] = 7;
    state.positions[2] = 9;
    state.songLength = 96;
    SetCell(state, 0, 5, 0, "-");
    SetCell(state, 0, 5, 2, "-");
    SetCell(state, 0, 5, 3, "-");
    StartPlaying(state, 1);
    Ticks(6);
    EXPECT_EQ(1, state.currentPosition);
    EXPECT_EQ(0, state.playRow);
    EXPECT_EQ(7 * 32, state.patternBase);
}

TEST_F(PlayerTest, BreakOnLastRowBehavesLikeThePatternEnd) {
    state.positions[1] = 3;
    state.songLength = 96;
    SetCell(state, 0, 31, 1, "-");
    StartPlaying(state, 1);
    Ticks(32);
    EXPECT_EQ(1, state.currentPosition);
    EXPECT_EQ(0, state.playRow);
    EXPECT_EQ(3 * 32, state.patternBase);
}

TEST_F(PlayerTest, OnePositionSongRepeatsItsPatternAtPositionZero) {
    SetCell(state, 0, 0, 0, "y", "8", "1", "2");
    StartPlaying(state, 1);
    for (int tick = 0; tick < 96; ++tick) {
        PlayerTick(state, audio);
        ASSERT_EQ(0, state.currentPosition);
    }
    EXPECT_EQ(3u, audio.Lines("PlaySample 1 ").size());
}

TEST_F(PlayerTest, SongWrapsToPositionZeroAtItsLength) {
    state.positions[0] = 3;
    state.positions[1] = 5;
    state.songLength = 64;
    StartPlaying(state, 1);
    Ticks(32);
    EXPECT_EQ(1, state.currentPosition);
    EXPECT_EQ(5 * 32, state.patternBase);
    Ticks(32);
    EXPECT_EQ(0, state.currentPosition);
    EXPECT_EQ(3 * 32, state.patternBase);
}

TEST_F(PlayerTest, PlaybackPastTheLastOrderEntryWrapsToPositionZero) {
    state.positions[0] = 4;
    state.songLength = 3168;
    StartPlaying(state, 1);
    state.currentPosition = 255;
    state.patternBase = state.positions[255] * 32;
    state.playRow = 31;
    Ticks(1);
    EXPECT_EQ(0, state.currentPosition);
    EXPECT_EQ(0, state.playRow);
    EXPECT_EQ(4 * 32, state.patternBase);
}

TEST_F(PlayerTest, PositionOutsideTheOrderListIsBroughtBackAtTheNextRow) {
    state.positions[0] = 2;
    StartPlaying(state, 1);
    state.currentPosition = 300;
    state.patternBase = 0;
    Ticks(1);
    EXPECT_EQ(0, state.currentPosition);
    EXPECT_EQ(2 * 32, state.patternBase);
}

TEST_F(PlayerTest, PatternNumberBeyondTheColumnsReadsAsEmptyCells) {
    state.positions[1] = 400;  // only a damaged file in memory can hold this
    state.songLength = 64;
    SetCell(state, 0, 0, 0, "q", "8", "1", "2");
    StartPlaying(state, 1);
    Ticks(32);
    ASSERT_EQ(400 * 32, state.patternBase);
    ASSERT_EQ(12.0f, state.voices[0].note);
    audio.Clear();
    Ticks(1);
    // Note code 0 with digit 0: the sounding channel jumps to C without a restart.
    EXPECT_TRUE(StartsAndStops().empty());
    EXPECT_EQ("1", LastRate(1));
    EXPECT_EQ(0.0f, state.voices[0].note);
}

// ---- Triggering ----

TEST_F(PlayerTest, NoteWithoutVolumeDigitRepitchesWithoutRestart) {
    SetCell(state, 0, 0, 0, "y", "8", "1", "2");
    SetCell(state, 0, 1, 0, "q");
    StartPlaying(state, 1);
    Ticks(3);
    audio.Clear();
    state.playRow = 1;  // the legato row again, on a voice that has decayed a little
    Ticks(1);
    EXPECT_TRUE(StartsAndStops().empty());
    EXPECT_EQ(N(PitchBase(12.0f)), LastRate(1));
    EXPECT_EQ(N(1.0f - (1.0f / 255.0f) * 0.125f), LastVolume(1)) << "the envelope restarts with the note";
}

TEST_F(PlayerTest, NoteOnADecayedChannelStaysSilent) {
    Instrument shortNote;
    shortNote.env = 1;
    SetInstrument(state, 2, shortNote);
    SetCell(state, 0, 0, 0, "y", "1", "2", "2");
    SetCell(state, 0, 2, 0, "q");
    StartPlaying(state, 1);
    Ticks(2);
    ASSERT_EQ(0.0f, state.volume[0]);
    audio.Clear();
    Ticks(1);
    EXPECT_TRUE(StartsAndStops().empty());
    EXPECT_EQ("0", LastVolume(1));
    EXPECT_EQ("0", LastVolume(5));
}

TEST_F(PlayerTest, NoteOffStopsBothOscillatorsOnlyWhenTheChannelHasVolume) {
    SetCell(state, 0, 0, 2, "<", "0", "0", "2");
    SetCell(state, 0, 1, 0, "y", "8", "1", "2");
    SetCell(state, 0, 2, 0, "<", "8", "0", "2");
    StartPlaying(state, 1);
    Ticks(1);
    EXPECT_TRUE(StartsAndStops().empty()) << "note-off on a channel with volume 0";
    Ticks(1);
    audio.Clear();
    Ticks(1);
    ExpectSameLog({"StopChannel 1", "StopChannel 5"}, StartsAndStops());
}

TEST_F(PlayerTest, PitchIndexAboveFortyThreeRepitchesTheRunningVoiceOnly) {
    SetCell(state, 0, 0, 0, "y", "8", "1", "2");
    SetCell(state, 0, 1, 0, "6", "8", "1", "4");  // 48 + 20 - 24 = 44
    SetCell(state, 0, 2, 0, "t", "8", "1", "4");  // 43 still starts
    StartPlaying(state, 1);
    Ticks(1);
    audio.Clear();
    Ticks(1);
    EXPECT_TRUE(StartsAndStops().empty());
    EXPECT_EQ(4, state.octave[0]);
    EXPECT_EQ(N(PitchBase(44.0f)), LastRate(1));
    audio.Clear();
    Ticks(1);
    EXPECT_EQ(2u, audio.Lines("PlaySample").size());
}

TEST_F(PlayerTest, WaveformPairFollowsTheRowInstrumentAndWavZeroKeepsIt) {
    Instrument noWave;
    noWave.wav = 0;
    SetInstrument(state, 2, noWave);
    Instrument rampSaw;
    rampSaw.wav = 1;
    SetInstrument(state, 3, rampSaw);
    SetCell(state, 0, 0, 0, "y", "8", "1", "2");
    SetCell(state, 0, 1, 0, "y", "8", "2", "2");
    SetCell(state, 0, 2, 0, "y", "8", "3", "2");
    StartPlaying(state, 1);
    Ticks(3);
    ExpectSameLog(
        {"PlaySample 1 buffer 105 flags 1", "PlaySample 5 buffer 107 flags 1", "PlaySample 1 buffer 105 flags 1",
         "PlaySample 5 buffer 107 flags 1", "PlaySample 1 buffer 101 flags 1", "PlaySample 5 buffer 103 flags 1"},
        audio.Lines("PlaySample"));
}

TEST_F(PlayerTest, WaveformTableCoversSevenPairsAndRejectsOthers) {
    const int expected[7][2] = {{1, 3}, {2, 3}, {0, 3}, {5, 7}, {1, 7}, {4, 7}, {6, 7}};
    for (int wav = 1; wav <= 7; ++wav) {
        c_Sound* a = nullptr;
        c_Sound* b = nullptr;
        ASSERT_TRUE(SelectWaveformPair(state, wav, a, b));
        EXPECT_EQ(state.waveBank[expected[wav - 1][0]].get(), a) << "WAV " << wav;
        EXPECT_EQ(state.waveBank[expected[wav - 1][1]].get(), b) << "WAV " << wav;
    }
    for (int wav : {0, 8, -1, 255}) {
        c_Sound* a = state.waveBank[0].get();
        c_Sound* b = state.waveBank[6].get();
        EXPECT_FALSE(SelectWaveformPair(state, wav, a, b));
        EXPECT_EQ(state.waveBank[0].get(), a);
        EXPECT_EQ(state.waveBank[6].get(), b);
    }
}

TEST_F(PlayerTest, MissingWaveformsStopButStartNothing) {
    state.waveBank = {};
    SetCell(state, 0, 0, 0, "y", "8", "1", "2");
    StartPlaying(state, 1);
    Ticks(1);
    ExpectSameLog({"StopChannel 1", "StopChannel 5"}, StartsAndStops());
    c_Sound noSample(nullptr);
    audio.Clear();
    TriggerVoice(state, audio, &noSample, 0, 2, 1, &noSample, 1, 2);
    ExpectSameLog({"StopChannel 2", "StopChannel 6"}, audio.log);
}

TEST_F(PlayerTest, MutingAppliesOnlyToLaterRowsWithAVolumeDigit) {
    SetCell(state, 0, 0, 0, "y", "8", "1", "2");
    SetCell(state, 0, 2, 0, ".", "8");
    StartPlaying(state, 1);
    Ticks(1);
    state.channelVolumeScale[0] = 0.0f;
    Ticks(1);
    EXPECT_EQ(1.0f, state.volume[0]) << "the running note keeps its volume";
    audio.Clear();
    Ticks(1);
    EXPECT_EQ(0.0f, state.volume[0]);
    EXPECT_EQ("0", LastVolume(1));
    EXPECT_TRUE(StartsAndStops().empty()) << "the oscillators keep running, silent";
}

TEST_F(PlayerTest, StopAllVoicesUsesItsFixedOrder) {
    StopAllVoices(audio);
    ExpectSameLog({"StopChannel 1", "StopChannel 2", "StopChannel 3", "StopChannel 4", "StopChannel 6", "StopChannel 5",
                   "StopChannel 8", "StopChannel 7"},
                  audio.log);
}

// ---- Modulation ----

TEST_F(PlayerTest, ArpeggioCyclesAndRepeatLimitHoldsTheBaseNote) {
    for (int repeat = 0; repeat <= 1; ++repeat) {
        Instrument arp;
        arp.speed = 2;
        arp.amount = 15;
        arp.arp1 = 4;
        arp.arp2 = 7;
        arp.repeat = repeat;
        SetInstrument(state, 1, arp);
        SetCell(state, 0, 0, 0, "y", "8", "1", "2");
        StartPlaying(state, 16);
        Ticks(15);
        const float first = 15.0f * (4.0f / 15.0f);
        const float second = 15.0f * (7.0f / 15.0f);
        const float cycle[6] = {0, 0, first, first, second, second};
        for (int tick = 0; tick < 14; ++tick) {
            Ticks(1);
            const float expected = (repeat && tick >= 6) ? 0.0f : cycle[tick % 6];
            EXPECT_TRUE(SameBits(expected, state.voices[0].arpOffset)) << "RPT " << repeat << " tick " << tick;
        }
    }
}

TEST_F(PlayerTest, ArpeggioSpeedZeroHoldsTheSecondInterval) {
    for (int repeat = 0; repeat <= 1; ++repeat) {
        Instrument arp;
        arp.speed = 0;
        arp.amount = 9;
        arp.arp1 = 4;
        arp.arp2 = 7;
        arp.repeat = repeat;
        SetInstrument(state, 1, arp);
        SetCell(state, 0, 0, 0, "y", "8", "1", "2");
        StartPlaying(state, 16);
        Ticks(15);
        for (int tick = 0; tick < 10; ++tick) {
            Ticks(1);
            EXPECT_TRUE(SameBits(9.0f * (7.0f / 15.0f), state.voices[0].arpOffset)) << "tick " << tick;
        }
        EXPECT_EQ(repeat ? 0 : 10, state.voices[0].arpCounter);
    }
}

TEST_F(PlayerTest, SweepOneTurnsDownwardAndStaysThere) {
    Instrument sweep;
    sweep.sweep = 1;
    SetInstrument(state, 1, sweep);
    SetCell(state, 0, 0, 0, "y", "8", "1", "2");
    StartPlaying(state, 16);
    Ticks(16);
    EXPECT_EQ(1, state.pwmDirection[0]) << "counter 1 equals the half: kept from the ticks before the note";
    for (int tick = 1; tick < 12; ++tick) {
        Ticks(1);
        EXPECT_EQ(-1, state.pwmDirection[0]) << "tick " << tick;
    }
}

TEST_F(PlayerTest, SweepTwoAlternatesEveryThreeTicks) {
    Instrument sweep;
    sweep.sweep = 2;
    SetInstrument(state, 1, sweep);
    SetCell(state, 0, 0, 0, "y", "8", "1", "2");
    StartPlaying(state, 16);
    Ticks(15);
    const int expected[12] = {1, 1, 1, -1, -1, -1, 1, 1, 1, -1, -1, -1};
    for (int tick = 0; tick < 12; ++tick) {
        Ticks(1);
        EXPECT_EQ(expected[tick], state.pwmDirection[0]) << "tick " << tick;
        EXPECT_EQ(6, state.pwmPeriod[0]);
    }
}

TEST_F(PlayerTest, VolumeEightWithEnvelopeOneReachesExactlyOneWithoutReset) {
    Instrument fast;
    fast.env = 1;
    SetInstrument(state, 1, fast);
    SetCell(state, 0, 0, 0, "y", "8", "1", "2");
    SetCell(state, 0, 9, 0, ".", "C");
    StartPlaying(state, 1);
    Ticks(8);
    EXPECT_EQ(1.0f, state.voices[0].envelope);
    EXPECT_EQ(1.0f, state.volume[0]);
    EXPECT_EQ("0", LastVolume(1));
    Ticks(1);
    EXPECT_EQ(1.0f, state.voices[0].envelope);
    EXPECT_EQ(1.0f, state.volume[0]);
    Ticks(1);  // row 9: volume digit C without a note
    EXPECT_EQ("0.5", LastVolume(1));
    EXPECT_EQ("0.5", LastVolume(5));
}

TEST_F(PlayerTest, EnvelopeLengthZeroSilencesOnTheFirstTick) {
    Instrument none;
    none.env = 0;
    SetInstrument(state, 1, none);
    SetCell(state, 0, 0, 0, "y", "8", "1", "2");
    StartPlaying(state, 1);
    Ticks(1);
    EXPECT_EQ("0", LastVolume(1));
    EXPECT_EQ(0.0f, state.volume[0]);
}

TEST_F(PlayerTest, SlideSpeedFollowsTheVolumeOfTheSlideRow) {
    SetCell(state, 0, 0, 0, "y", "8", "1", "2");
    SetCell(state, 0, 1, 0, "#", "4");
    SetCell(state, 0, 2, 0, ".");
    SetCell(state, 0, 3, 0, "+", "8");
    StartPlaying(state, 2);
    Ticks(3);  // row 0 is read on tick 2 and sounds on ticks 2 and 3
    audio.Clear();
    Ticks(2);  // the two ticks of the "#" row, volume 0.5
    EXPECT_TRUE(StartsAndStops().empty()) << "a slide does not restart";
    float slide = 0.0f;
    slide += 0.5f * 8.0f * 0.005f;
    slide += 0.5f * 8.0f * 0.005f;
    EXPECT_TRUE(SameBits(slide, state.voices[0].slide));
    Ticks(2);  // empty row: the bend stays
    EXPECT_TRUE(SameBits(slide, state.voices[0].slide));
    Ticks(2);  // "+" row at volume 1.0
    slide -= 1.0f * 8.0f * 0.005f;
    slide -= 1.0f * 8.0f * 0.005f;
    EXPECT_TRUE(SameBits(slide, state.voices[0].slide));
    EXPECT_EQ(N(PitchBase(0.0f) + slide - 0.0f), LastRate(1));
}

TEST_F(PlayerTest, RatesMatchTheSinglePrecisionFormulaBitForBit) {
    Instrument full;
    full.wav = 1;
    full.pwm = 5;
    full.e2p = 3;
    full.sweep = 2;
    full.amount = 10;
    full.env = 20;
    full.speed = 1;
    full.arp1 = 4;
    full.arp2 = 7;
    SetInstrument(state, 1, full);
    SetCell(state, 0, 0, 2, "n", "A", "1", "1");
    StartPlaying(state, 16);
    Ticks(15);

    const double k = static_cast<double>(static_cast<float>(1.0594631433486938));
    const float volume = 10.0f * 0.125f * 1.0f;
    const float arpValues[3] = {0.0f, 10.0f * (4.0f / 15.0f), 10.0f * (7.0f / 15.0f)};
    const int directions[6] = {1, 1, 1, -1, -1, -1};
    float envelope = 0.0f;
    for (int tick = 0; tick < 12; ++tick) {
        audio.Clear();
        PlayerTick(state, audio);
        if (envelope < 1.0f) envelope += (1.0f / 20.0f) * 0.125f;
        const float gain = volume - envelope;
        const float exponent = 12.0f + (9.0f - 24.0f) + arpValues[tick % 3];
        const float base = static_cast<float>(std::pow(k, static_cast<double>(exponent)));
        const float drop = 3.0f * envelope;
        const float rateA = base + 0.0f - drop;
        const float rateB = base + 0.0f + (5.0f / 800.0f) * static_cast<float>(directions[tick % 6]) - drop;
        EXPECT_EQ(N(gain), LastVolume(3)) << "tick " << tick;
        EXPECT_EQ(N(gain), LastVolume(7)) << "tick " << tick;
        EXPECT_EQ(N(rateA), LastRate(3)) << "tick " << tick;
        EXPECT_EQ(N(rateB), LastRate(7)) << "tick " << tick;
    }
}

TEST_F(PlayerTest, PitchBaseUsesTheSinglePrecisionSemitone) {
    EXPECT_EQ(1.0f, PitchBase(0.0f));
    EXPECT_EQ(N(0.249999717f), N(PitchBase(-24.0f))) << "K is rounded to float first";
    const float k = static_cast<float>(std::pow(2.0, 1.0 / 12.0));
    EXPECT_TRUE(SameBits(static_cast<float>(std::pow(static_cast<double>(k), 9.0)), PitchBase(9.0f)));
    // 2^(1/12) in double differs from the float-rounded ratio over 40 semitones.
    EXPECT_FALSE(SameBits(static_cast<float>(std::pow(2.0, 40.0 / 12.0)), PitchBase(40.0f)));
}

}  // namespace
