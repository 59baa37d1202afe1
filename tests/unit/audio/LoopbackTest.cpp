// The real driver rendering offline through the loopback device: pitch of a
// waveform from the generated set, gain, run-to-run identical output, and the
// default-device construction on OpenAL's null backend (no sound card here).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/gxtkAudio.h"

namespace {

// Headless: the default device is OpenAL Soft's null output. Set before the
// library reads its configuration on first use.
const bool kHeadless = [] { return setenv("ALSOFT_DRIVERS", "null", 0) == 0; }();

constexpr int kRate = 44100;

std::string Waveform(const char* name) {
    const char* folder = std::getenv("ZRB_DATA_DIR");
    return std::string(folder ? folder : "data") + "/" + name;
}

std::vector<int16_t> Render(gxtkAudio& audio, int frames) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
    EXPECT_TRUE(audio.RenderFrames(out.data(), frames));
    return out;
}

// Frequency of the left channel from its rising zero crossings, with the
// crossing times interpolated between samples.
double MeasureFrequency(const std::vector<int16_t>& stereo) {
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (size_t i = 2; i < stereo.size(); i += 2) {
        const double before = stereo[i - 2], after = stereo[i];
        if (before < 0.0 && after >= 0.0) {
            const double time = (i / 2 - 1) + before / (before - after);
            if (first < 0.0) first = time;
            last = time;
            ++crossings;
        }
    }
    if (crossings < 2) return 0.0;
    return (crossings - 1) * kRate / (last - first);
}

int Peak(const std::vector<int16_t>& stereo) {
    int peak = 0;
    for (int16_t value : stereo) peak = std::max(peak, std::abs(static_cast<int>(value)));
    return peak;
}

class LoopbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kHeadless);
        DiscardedBuffers().clear();
        audio = gxtkAudio::OpenLoopback(kRate);
        if (!audio) GTEST_SKIP() << "OpenAL has no loopback device";
        triangle = audio->LoadSample(String(Waveform("tri_64.wav")));
        ASSERT_NE(triangle, nullptr) << Waveform("tri_64.wav");
    }
    void TearDown() override {
        triangle.reset();
        audio.reset();
    }
    std::unique_ptr<gxtkAudio> audio;
    std::shared_ptr<gxtkSample> triangle;
};

TEST_F(LoopbackTest, NaturalPitchIsMiddleC) {
    audio->PlaySample(triangle, 1, 1);
    Render(*audio, kRate / 10);
    const double frequency = MeasureFrequency(Render(*audio, kRate * 2));
    EXPECT_NEAR(1200.0 * std::log2(frequency / 261.63), 0.0, 1.0) << frequency << " Hz";
}

TEST_F(LoopbackTest, NineSemitonesUpIsA440WithinOneCent) {
    const float semitone = std::pow(2.0f, 1.0f / 12.0f);
    float rate = 1.0f;
    for (int i = 0; i < 9; ++i) rate *= semitone;
    EXPECT_NEAR(rate, 1.6818f, 0.0001f);
    audio->SetRate(1, rate);
    audio->PlaySample(triangle, 1, 1);
    Render(*audio, kRate / 10);
    const double frequency = MeasureFrequency(Render(*audio, kRate * 2));
    EXPECT_NEAR(1200.0 * std::log2(frequency / 440.0), 0.0, 1.0) << frequency << " Hz";
}

TEST_F(LoopbackTest, HalfGainHalvesTheAmplitude) {
    audio->PlaySample(triangle, 2, 1);
    Render(*audio, kRate / 10);
    const int full = Peak(Render(*audio, kRate / 2));
    ASSERT_GT(full, 1000);
    audio->SetVolume(2, 0.5f);
    Render(*audio, kRate / 10);  // gain changes ramp over a mix period
    const int half = Peak(Render(*audio, kRate / 2));
    EXPECT_NEAR(static_cast<double>(half) / full, 0.5, 0.01) << full << " " << half;
}

TEST_F(LoopbackTest, SilentUntilSomethingPlaysAndAfterItStops) {
    EXPECT_EQ(Peak(Render(*audio, 4096)), 0);
    audio->PlaySample(triangle, 0, 1);
    EXPECT_GT(Peak(Render(*audio, 4096)), 0);
    audio->StopChannel(0);
    Render(*audio, 1024);
    EXPECT_EQ(Peak(Render(*audio, 4096)), 0);
}

TEST_F(LoopbackTest, OneShotEndsAndReportsStopped) {
    audio->PlaySample(triangle, 3, 0);
    EXPECT_EQ(audio->ChannelState(3), audio::kPlaying);
    Render(*audio, 4096);  // 64 frames at 16744 Hz last well under that
    EXPECT_EQ(audio->ChannelState(3), audio::kStopped);
}

// Two oscillators at the sequencer's top gain stay clear of full scale.
TEST_F(LoopbackTest, TwoOscillatorsAtTopGainDoNotClip) {
    std::shared_ptr<gxtkSample> saw = audio->LoadSample(String(Waveform("saw_64.wav")));
    ASSERT_NE(saw, nullptr);
    audio->SetVolume(1, 1.875f);
    audio->SetVolume(5, 1.875f);
    audio->PlaySample(triangle, 1, 1);
    audio->PlaySample(saw, 5, 1);
    Render(*audio, kRate / 10);
    EXPECT_LT(Peak(Render(*audio, kRate / 2)), 32767);
}

std::vector<int16_t> RenderPhrase() {
    std::unique_ptr<gxtkAudio> audio = gxtkAudio::OpenLoopback(kRate);
    std::shared_ptr<gxtkSample> tri = audio->LoadSample(String(Waveform("tri_64.wav")));
    std::shared_ptr<gxtkSample> noise = audio->LoadSample(String(Waveform("hnoise.wav")));
    std::vector<int16_t> out;
    audio->PlaySample(tri, 1, 1);
    audio->PlaySample(noise, 2, 1);
    for (int tick = 0; tick < 25; ++tick) {
        audio->SetVolume(1, 1.0f - tick * 0.03f);
        audio->SetRate(2, 0.5f + tick * 0.05f);
        const std::vector<int16_t> part = Render(*audio, kRate / 50);
        out.insert(out.end(), part.begin(), part.end());
    }
    tri.reset();
    noise.reset();
    return out;
}

TEST_F(LoopbackTest, RendersAreIdenticalRunToRun) {
    triangle.reset();
    audio.reset();
    const std::vector<int16_t> first = RenderPhrase();
    const std::vector<int16_t> second = RenderPhrase();
    ASSERT_EQ(first.size(), second.size());
    size_t firstDifference = first.size();
    for (size_t i = 0; i < first.size() && firstDifference == first.size(); ++i)
        if (first[i] != second[i]) firstDifference = i;
    EXPECT_EQ(firstDifference, first.size()) << "first difference at sample " << firstDifference << ": "
                                             << (firstDifference < first.size() ? first[firstDifference] : 0) << " vs "
                                             << (firstDifference < first.size() ? second[firstDifference] : 0);
    EXPECT_GT(Peak(first), 0);
}

TEST(DefaultDevice, OpensOnTheNullBackendAndPlays) {
    ASSERT_TRUE(kHeadless);
    DiscardedBuffers().clear();
    testing::internal::CaptureStdout();
    gxtkAudio audio;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(audio.HasContext());
    std::shared_ptr<gxtkSample> sample = audio.LoadSample(String(Waveform("ramp_64.wav")));
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(audio.PlaySample(sample, 1, 1), 0);
    audio.SetVolume(1, 0.5f);
    audio.SetRate(1, 2.0f);
    EXPECT_EQ(audio.ChannelState(1), audio::kPlaying);
    std::vector<int16_t> out(64);
    EXPECT_FALSE(audio.RenderFrames(out.data(), 32));
    audio.StopChannel(1);
    EXPECT_EQ(audio.ChannelState(1), audio::kStopped);
    sample.reset();
}

}  // namespace
