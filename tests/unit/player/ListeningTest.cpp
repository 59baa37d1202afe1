// Listening through the loopback device with the real waveform files: pitch,
// row timing, note-off and mute, measured on the rendered samples.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/gxtkAudio.h"
#include "graphics/GraphicsContext.h"
#include "io/DataPath.h"
#include "player/Player.h"
#include "player/StartUp.h"
#include "store/SongStore.h"
#include "tests/unit/player/PlayerTestSupport.h"

namespace {
using namespace playertest;

constexpr int kSampleRate = 44100;
constexpr int kFramesPerTick = kSampleRate / 50;  // 882
constexpr int kSilence = 64;                      // of 32767

class ListeningTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* data = std::getenv("ZRB_DATA_DIR");
        if (!data) GTEST_SKIP() << "ZRB_DATA_DIR is not set";
        std::string folder = data;
        while (!folder.empty() && folder.back() == '/') folder.pop_back();
        SetAppDirectory(String(folder.substr(0, folder.rfind('/'))));
        audio = gxtkAudio::OpenLoopback(kSampleRate);
        if (!audio) GTEST_SKIP() << "no OpenAL loopback device";
        c_GraphicsContext graphics;
        StartUp(state, *audio, graphics, [](int) {});
        for (int slot = 0; slot < tracker::kWaveforms; ++slot)
            if (!state.waveBank[slot]) GTEST_SKIP() << "waveform files missing in " << folder;
        Instrument triangle;  // WAV 4, ENV 255
        SetInstrument(state, 1, triangle);
    }

    // Runs ticks, rendering one tick of frames after each; returns the left channel.
    std::vector<int> Play(int ticks) {
        std::vector<int> left;
        std::vector<int16_t> frames(static_cast<size_t>(kFramesPerTick) * 2);
        for (int tick = 0; tick < ticks; ++tick) {
            PlayerTick(state, *audio);
            EXPECT_TRUE(audio->RenderFrames(frames.data(), kFramesPerTick));
            for (int f = 0; f < kFramesPerTick; ++f) left.push_back(frames[static_cast<size_t>(2 * f)]);
        }
        return left;
    }

    static int Peak(const std::vector<int>& samples, size_t from, size_t to) {
        int peak = 0;
        for (size_t i = from; i < to && i < samples.size(); ++i) peak = std::max(peak, std::abs(samples[i]));
        return peak;
    }

    TrackerState state;
    std::unique_ptr<gxtkAudio> audio;
};

// Frequency from the first to the last rising zero crossing, each placed
// between its two samples by linear interpolation.
double MeasureFrequency(const std::vector<int>& samples, size_t from, size_t to) {
    double mean = 0;
    for (size_t i = from; i < to; ++i) mean += samples[i];
    mean /= static_cast<double>(to - from);
    double first = -1, last = -1;
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i) {
        const double a = samples[i - 1] - mean, b = samples[i] - mean;
        if (a < 0 && b >= 0) {
            const double at = static_cast<double>(i - 1) + a / (a - b);
            if (first < 0) first = at;
            last = at;
            ++crossings;
        }
    }
    if (crossings < 2) return 0;
    return (crossings - 1) * kSampleRate / (last - first);
}

TEST_F(ListeningTest, TriangleAOfOctaveTwoSoundsAt440Hz) {
    SetCell(state, 0, 0, 0, "n", "8", "1", "2");
    StartPlaying(state, 4);
    const std::vector<int> left = Play(4 + 60);
    const size_t start = 4 * kFramesPerTick + 2000;
    const double frequency = MeasureFrequency(left, start, left.size());
    const double cents = 1200.0 * std::log2(frequency / 440.0);
    EXPECT_LT(std::fabs(cents), 1.0) << frequency << " Hz";
}

TEST_F(ListeningTest, NotesStartOneRowApartAtSpeedFour) {
    Instrument blip;
    blip.env = 1;
    SetInstrument(state, 2, blip);
    for (int row = 0; row < 6; ++row) SetCell(state, 0, row, 0, "n", "3", "2", "2");
    StartPlaying(state, 4);
    const std::vector<int> left = Play(4 * 7);
    std::vector<size_t> onsets;
    size_t quietSince = 0;
    for (size_t i = 0; i < left.size(); ++i) {
        if (std::abs(left[i]) <= kSilence) continue;
        if (i - quietSince > 400) onsets.push_back(i);
        quietSince = i;
    }
    ASSERT_GE(onsets.size(), 5u);
    for (size_t k = 1; k < onsets.size(); ++k) {
        const long gap = static_cast<long>(onsets[k] - onsets[k - 1]);
        EXPECT_NEAR(3528, gap, kFramesPerTick) << "between onsets " << k - 1 << " and " << k;
    }
}

TEST_F(ListeningTest, NoteOffRowSilencesTheChannel) {
    SetCell(state, 0, 0, 0, "n", "8", "1", "2");
    SetCell(state, 0, 2, 0, "<");
    StartPlaying(state, 4);
    const std::vector<int> left = Play(4 * 5);
    const size_t noteOffTick = 12 - 1;  // the third row step, 0-based tick
    EXPECT_GT(Peak(left, 5 * kFramesPerTick, noteOffTick * kFramesPerTick), 2000) << "the note sounds";
    EXPECT_LE(Peak(left, (noteOffTick + 1) * kFramesPerTick, left.size()), kSilence) << "and then stops";
}

TEST_F(ListeningTest, MutedChannelRendersSilence) {
    state.channelVolumeScale[0] = 0.0f;
    SetCell(state, 0, 0, 0, "n", "8", "1", "2");
    SetCell(state, 0, 1, 0, "q", "F", "1", "2");
    StartPlaying(state, 4);
    const std::vector<int> left = Play(4 * 4);
    EXPECT_LE(Peak(left, 0, left.size()), kSilence);
}

TEST_F(ListeningTest, DemoSongIsAudibleAndDoesNotClip) {
    state.fileName = "demo";
    ASSERT_EQ(String("File Loaded..."), LoadSong(state));
    StartPlaying(state, state.songSpeed);
    const std::vector<int> left = Play(state.songSpeed * state.songLength);
    int clipped = 0;
    for (int sample : left) clipped += std::abs(sample) >= 32767 ? 1 : 0;
    EXPECT_EQ(0, clipped);
    // Every second of the loop has sound in it.
    for (size_t second = 0; second + kSampleRate <= left.size(); second += kSampleRate)
        EXPECT_GT(Peak(left, second, second + kSampleRate), 2000) << "second " << second / kSampleRate;
}

}  // namespace
