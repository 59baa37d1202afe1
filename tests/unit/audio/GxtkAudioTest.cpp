// The driver's channel rules over the recording fake of OpenAL: construction
// and its messages, lazy sources and borrowing, channel states, panning,
// music routing and the discarded-buffer list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "audio/gxtkAudio.h"
#include "tests/unit/audio/FakeOpenAl.h"
#include "tests/unit/audio/WavBuilder.h"

namespace {

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        DiscardedBuffers().clear();
        fake = new FakeOpenAl;
        Configure(*fake);
        testing::internal::CaptureStderr();
        driver = std::make_unique<gxtkAudio>(std::unique_ptr<OpenAlApi>(fake));
        printed = testing::internal::GetCapturedStderr();
    }
    void TearDown() override {
        samples.clear();
        driver.reset();
    }
    virtual void Configure(FakeOpenAl&) {}

    std::shared_ptr<gxtkSample> NewSample() {
        samples.push_back(std::make_shared<gxtkSample>(fake->GenBuffer()));
        return samples.back();
    }

    FakeOpenAl* fake = nullptr;
    std::unique_ptr<gxtkAudio> driver;
    std::string printed;
    std::vector<std::shared_ptr<gxtkSample>> samples;
};

TEST_F(DriverTest, ConstructionOpensTheDefaultDeviceAndOnlyTheMusicSource) {
    EXPECT_EQ(printed, "");
    EXPECT_TRUE(driver->HasContext());
    EXPECT_EQ(fake->log, (std::vector<std::string>{"OpenDevice default", "CreateContext", "MakeContextCurrent",
                                                   "DistanceModel " + std::to_string(AL_NONE), "GenSource"}));
    EXPECT_NE(driver->ChannelSource(audio::kMusicChannel), 0u);
    for (int channel = 0; channel < audio::kChannelCount; ++channel) EXPECT_EQ(driver->ChannelSource(channel), 0u);
}

struct FallbackDeviceTest : DriverTest {
    void Configure(FakeOpenAl& al) override { al.openableDevices = {"Generic Software"}; }
};
TEST_F(FallbackDeviceTest, TriesTheNamedDevicesInTurn) {
    EXPECT_EQ(printed, "");
    EXPECT_EQ(fake->log[0], "OpenDevice default");
    EXPECT_EQ(fake->log[1], "OpenDevice Generic Hardware");
    EXPECT_EQ(fake->log[2], "OpenDevice Generic Software");
    EXPECT_TRUE(driver->HasContext());
}

struct NoDeviceTest : DriverTest {
    void Configure(FakeOpenAl& al) override {
        al.openableDevices.clear();
        al.sourceLimit = 0;  // with no context OpenAL hands out nothing
    }
};
TEST_F(NoDeviceTest, SaysSoOnceAndRunsOnSilent) {
    EXPECT_EQ(printed, "OpenAl error: alcOpenDevice failed\n");
    EXPECT_EQ(fake->Count("CreateContext"), 0);
    EXPECT_FALSE(driver->HasDevice());
    auto sample = NewSample();
    EXPECT_EQ(driver->PlaySample(sample, 1, 1), -1);
    EXPECT_EQ(fake->Count("SourcePlay"), 0);
    driver->SetVolume(1, 0.5f);  // still made, on source 0
    EXPECT_EQ(fake->log.back(), "Sourcef 0 GAIN 0.5");
    EXPECT_EQ(driver->ChannelState(1), audio::kStopped);
}

struct NoContextTest : DriverTest {
    void Configure(FakeOpenAl& al) override { al.contextCreates = false; }
};
TEST_F(NoContextTest, ReportsTheContextFailure) {
    EXPECT_EQ(printed, "OpenAl error: alcCreateContext failed\n");
    EXPECT_EQ(fake->Count("MakeContextCurrent"), 0);
}

struct NotCurrentTest : DriverTest {
    void Configure(FakeOpenAl& al) override { al.contextBecomesCurrent = false; }
};
TEST_F(NotCurrentTest, ReportsTheMakeCurrentFailure) {
    EXPECT_EQ(printed, "OpenAl error: alcMakeContextCurrent failed\n");
}

TEST_F(DriverTest, PlaySampleCreatesTheSourceOnceAndLeavesItsParametersAlone) {
    auto sample = NewSample();
    fake->Clear();
    ASSERT_EQ(driver->PlaySample(sample, 3, 1), 0);
    const unsigned int source = driver->ChannelSource(3);
    const std::string s = std::to_string(source);
    EXPECT_EQ(fake->log, (std::vector<std::string>{"GenSource", "SourceStop " + s,
                                                   "Sourcei " + s + " BUFFER " + std::to_string(sample->buffer),
                                                   "Sourcei " + s + " LOOPING 1", "SourcePlay " + s}));
    fake->Clear();
    driver->SetVolume(3, 1.875f);
    driver->SetRate(3, -0.25f);  // passed on unclamped
    driver->PlaySample(sample, 3, 0);
    EXPECT_EQ(fake->Count("GenSource"), 0);
    EXPECT_EQ(fake->log[0], "Sourcef " + s + " GAIN 1.875");
    EXPECT_EQ(fake->log[1], "Sourcef " + s + " PITCH -0.25");
    EXPECT_EQ(fake->log[4], "Sourcei " + s + " LOOPING 0");
    EXPECT_EQ(fake->Count("Sourcef"), 2);
}

// Values the source has already are not sent again (they are set on every
// channel each update); a source that changes hands gets them anew.
TEST_F(DriverTest, RepeatedVolumeAndRateReachOpenAlOnce) {
    auto sample = NewSample();
    for (int i = 0; i < 3; ++i) {
        driver->SetVolume(2, 0.25f);
        driver->SetRate(2, 1.5f);
    }
    EXPECT_EQ(fake->Count("Sourcef"), 2);
    driver->SetVolume(2, 0.5f);
    EXPECT_EQ(fake->Count("Sourcef"), 3);
    const unsigned int source = driver->ChannelSource(2);
    fake->Clear();
    fake->sourceLimit = 0;  // channel 5 must borrow channel 2's idle source
    driver->SetVolume(5, 0.5f);
    ASSERT_EQ(driver->ChannelSource(5), source);
    EXPECT_EQ(fake->Count("Sourcef"), 1);
}

// The device pauses only after a stretch of silence, and a play in between
// keeps it mixing.
TEST_F(DriverTest, DevicePausesAfterSilentUpdatesAndResumesBeforeAPlay) {
    auto sample = NewSample();
    driver->SetDevicePause(true);
    driver->PlaySample(sample, 1, 1);
    driver->StopChannel(1);
    for (int i = 0; i < gxtkAudio::kSilentUpdatesBeforePause - 1; ++i) driver->AfterUpdate();
    driver->PlaySample(sample, 1, 1);
    driver->StopChannel(1);
    for (int i = 0; i < gxtkAudio::kSilentUpdatesBeforePause - 1; ++i) driver->AfterUpdate();
    EXPECT_EQ(fake->Count("PauseDevice"), 0);
    EXPECT_FALSE(driver->DevicePaused());
    driver->AfterUpdate();
    EXPECT_TRUE(driver->DevicePaused());
    fake->Clear();
    driver->PlaySample(sample, 1, 1);
    EXPECT_EQ(fake->log.front(), "ResumeDevice");
    for (int i = 0; i < 2 * gxtkAudio::kSilentUpdatesBeforePause; ++i) driver->AfterUpdate();
    EXPECT_EQ(fake->Count("PauseDevice"), 0) << "a channel plays";
}

TEST_F(DriverTest, StopOnAStoppedChannelMakesNoOpenAlCall) {
    driver->StopChannel(4);
    auto sample = NewSample();
    driver->PlaySample(sample, 4, 1);
    driver->StopChannel(4);
    fake->Clear();
    driver->StopChannel(4);
    EXPECT_TRUE(fake->log.empty());
    EXPECT_EQ(driver->ChannelState(4), audio::kStopped);
}

TEST_F(DriverTest, LoopingChannelStaysPlayingAndAFinishedOneShotTurnsStopped) {
    auto sample = NewSample();
    driver->PlaySample(sample, 1, 1);
    driver->PlaySample(sample, 2, 0);
    EXPECT_EQ(driver->ChannelState(1), audio::kPlaying);
    EXPECT_EQ(driver->ChannelState(2), audio::kPlaying);
    fake->Finish(driver->ChannelSource(2));
    EXPECT_EQ(driver->ChannelState(1), audio::kPlaying);
    EXPECT_EQ(driver->ChannelState(2), audio::kStopped);
}

TEST_F(DriverTest, PauseAndResume) {
    auto sample = NewSample();
    driver->PlaySample(sample, 1, 1);
    driver->PauseChannel(1);
    EXPECT_EQ(driver->ChannelState(1), audio::kPaused);
    driver->PauseChannel(1);  // only from playing
    EXPECT_EQ(fake->Count("SourcePause"), 1);
    driver->ResumeChannel(1);
    EXPECT_EQ(driver->ChannelState(1), audio::kPlaying);
    driver->ResumeChannel(1);  // only from paused
    EXPECT_EQ(fake->Count("SourcePlay"), 2);

    driver->PlaySample(sample, 2, 0);
    fake->Finish(driver->ChannelSource(2));
    fake->Clear();
    driver->PauseChannel(2);
    EXPECT_EQ(driver->ChannelState(2), audio::kStopped);
    EXPECT_EQ(fake->Count("SourcePause"), 0);
}

TEST_F(DriverTest, SuspendPausesPlayingSourcesAndKeepsStates) {
    auto sample = NewSample();
    driver->PlaySample(sample, 1, 1);
    driver->PlaySample(sample, 2, 0);
    fake->Finish(driver->ChannelSource(2));
    driver->PlaySample(sample, audio::kMusicChannel, 1);
    driver->Suspend();
    EXPECT_EQ(fake->sourceState[driver->ChannelSource(1)], AL_PAUSED);
    EXPECT_EQ(fake->sourceState[driver->ChannelSource(audio::kMusicChannel)], AL_PAUSED);
    EXPECT_EQ(fake->sourceState[driver->ChannelSource(2)], AL_STOPPED);
    EXPECT_EQ(driver->ChannelState(1), audio::kPlaying);
    driver->Resume();
    EXPECT_EQ(fake->sourceState[driver->ChannelSource(1)], AL_PLAYING);
    EXPECT_EQ(fake->sourceState[driver->ChannelSource(2)], AL_STOPPED);
    EXPECT_EQ(driver->MusicState(), audio::kPlaying);
}

TEST_F(DriverTest, PanIsAnAngleAroundTheListener) {
    driver->SetPan(5, 0.0f);
    EXPECT_EQ(fake->log.back(), "Source3f " + std::to_string(driver->ChannelSource(5)) + " POSITION 0 0 -1");
    driver->SetPan(5, static_cast<float>(M_PI / 2));
    EXPECT_EQ(fake->log.back(), "Source3f " + std::to_string(driver->ChannelSource(5)) + " POSITION 1 0 4.371e-08");
}

struct FewSourcesTest : DriverTest {
    void Configure(FakeOpenAl& al) override { al.sourceLimit = 4; }  // music + 3
};
TEST_F(FewSourcesTest, BorrowsTheLowestIdleSourceAndNeverAPausedOne) {
    auto sample = NewSample();
    driver->PlaySample(sample, 5, 0);
    driver->PlaySample(sample, 6, 1);
    driver->PlaySample(sample, 7, 1);
    driver->PauseChannel(5);
    driver->StopChannel(7);
    fake->Finish(driver->ChannelSource(6));  // state 1 until queried
    const unsigned int source6 = driver->ChannelSource(6);

    ASSERT_EQ(driver->PlaySample(sample, 9, 1), 0);
    EXPECT_EQ(driver->ChannelSource(9), source6);  // 6 is lower than 7; 5 is paused
    EXPECT_EQ(driver->ChannelSource(6), 0u);
    EXPECT_EQ(driver->ChannelState(6), audio::kStopped);
    EXPECT_EQ(driver->ChannelState(5), audio::kPaused);

    const unsigned int source7 = driver->ChannelSource(7);
    driver->SetVolume(10, 0.25f);  // borrowing also happens for parameter calls
    EXPECT_EQ(driver->ChannelSource(10), source7);
    driver->PlaySample(sample, 10, 1);

    EXPECT_EQ(driver->PlaySample(sample, 11, 1), -1);  // 5 paused, 9 and 10 busy
    EXPECT_EQ(driver->ChannelSource(11), 0u);
    EXPECT_NE(driver->ChannelSource(5), 0u);
    EXPECT_EQ(driver->ChannelState(11), audio::kStopped);
}

TEST_F(FewSourcesTest, TheMusicChannelIsNeverLent) {
    auto sample = NewSample();
    driver->PlaySample(sample, 0, 1);
    driver->PlaySample(sample, 1, 1);
    driver->PlaySample(sample, 2, 1);
    EXPECT_EQ(driver->MusicState(), audio::kStopped);
    EXPECT_EQ(driver->PlaySample(sample, 3, 1), -1);
}

TEST_F(DriverTest, DiscardedBufferHeldByAStoppedChannelWaitsUntilThatChannelPlaysAgain) {
    auto first = NewSample();
    auto second = NewSample();
    const unsigned int buffer = first->buffer;
    driver->PlaySample(first, 1, 1);
    driver->StopChannel(1);
    first->Discard();
    EXPECT_EQ(first->buffer, 0u);
    EXPECT_EQ(DiscardedBuffers(), std::vector<unsigned int>{buffer});

    driver->PlaySample(second, 2, 1);  // flush: deletion fails, buffer kept
    EXPECT_EQ(fake->Count("DeleteBuffer"), 1);
    EXPECT_EQ(DiscardedBuffers(), std::vector<unsigned int>{buffer});
    EXPECT_EQ(fake->buffers.count(buffer), 1u);

    driver->PlaySample(second, 1, 1);                // channel 1 lets go of it
    driver->LoadSample(String("/nonexistent.wav"));  // the next flush succeeds
    EXPECT_TRUE(DiscardedBuffers().empty());
    EXPECT_EQ(fake->buffers.count(buffer), 0u);
}

TEST_F(DriverTest, FinishedOneShotGetsItsBufferDetachedByTheFlush) {
    auto oneShot = NewSample();
    auto other = NewSample();
    const unsigned int buffer = oneShot->buffer;
    driver->PlaySample(oneShot, 1, 0);
    fake->Finish(driver->ChannelSource(1));
    oneShot->Discard();
    EXPECT_EQ(DiscardedBuffers(), std::vector<unsigned int>{buffer});
    fake->Clear();
    driver->PlaySample(other, 2, 1);
    EXPECT_EQ(fake->Count("Sourcei " + std::to_string(driver->ChannelSource(1)) + " BUFFER 0"), 1);
    EXPECT_TRUE(DiscardedBuffers().empty());
    EXPECT_EQ(fake->buffers.count(buffer), 0u);
}

TEST_F(DriverTest, DestroyingASampleDiscardsItsBufferOnce) {
    { gxtkSample sample(42); }
    { gxtkSample none; }
    auto held = NewSample();
    const unsigned int buffer = held->buffer;
    held->Discard();
    held->Discard();
    EXPECT_EQ(DiscardedBuffers(), (std::vector<unsigned int>{42, buffer}));
}

TEST_F(DriverTest, NoFlushWorkWhileNothingIsDiscarded) {
    auto sample = NewSample();
    driver->PlaySample(sample, 1, 0);
    fake->Clear();
    driver->PlaySample(sample, 2, 0);
    EXPECT_EQ(fake->Count("SourceState"), 0);
    EXPECT_EQ(fake->Count("DeleteBuffer"), 0);
}

TEST_F(DriverTest, LoadSampleUploadsTheDecodedFile) {
    WavBuilder wav;
    wav.Header().Format(1, 16744, 16).Chunk("data", WavBuilder::Ramp(128));
    const std::string path = TestFolder() + "/upload.wav";
    ASSERT_TRUE(wav.WriteTo(path));
    fake->Clear();
    std::shared_ptr<gxtkSample> sample = driver->LoadSample(String(path));
    ASSERT_NE(sample, nullptr);
    EXPECT_NE(sample->buffer, 0u);
    EXPECT_EQ(fake->log.back(), "BufferData " + std::to_string(sample->buffer) + " format " +
                                    std::to_string(AL_FORMAT_MONO16) + " size 128 rate 16744");
    EXPECT_EQ(driver->LoadSample(String(TestFolder() + "/missing.wav")), nullptr);
}

// The host's driver opens its device after the first frame: until then
// nothing reaches OpenAL, and afterwards the samples and channel values given
// before are in place, as if the device had been open all along.
TEST_F(DriverTest, ADriverOpenedLaterKeepsWhatItWasGivenUntilThen) {
    WavBuilder wav;
    wav.Header().Format(1, 16744, 16).Chunk("data", WavBuilder::Ramp(128));
    const std::string path = TestFolder() + "/later.wav";
    ASSERT_TRUE(wav.WriteTo(path));
    auto* later = new FakeOpenAl;
    gxtkAudio audio(std::unique_ptr<OpenAlApi>(later), gxtkAudio::OpenLaterTag{});
    audio.SetDevicePause(true);
    std::shared_ptr<gxtkSample> kept = audio.LoadSample(String(path));
    std::shared_ptr<gxtkSample> dropped = audio.LoadSample(String(path));
    EXPECT_EQ(audio.LoadSample(String(TestFolder() + "/missing.wav")), nullptr);
    ASSERT_NE(kept, nullptr);
    dropped.reset();
    audio.SetVolume(3, 0.5f);
    audio.SetRate(3, 2.0f);
    audio.SetVolume(3, 0.25f);
    audio.StopChannel(3);
    EXPECT_EQ(audio.ChannelState(3), audio::kStopped);
    EXPECT_TRUE(later->log.empty());
    EXPECT_FALSE(audio.Opened());

    // Something to sound opens the device at once.
    ASSERT_EQ(audio.PlaySample(kept, 3, 1), 0);
    EXPECT_TRUE(audio.Opened());
    EXPECT_EQ(later->log[0], "OpenDevice default");
    EXPECT_EQ(later->Count("BufferData"), 1);  // the dropped sample is never uploaded
    ASSERT_NE(kept->buffer, 0u);
    const std::string s = std::to_string(audio.ChannelSource(3));
    const auto at = [&](const std::string& entry) {
        return std::find(later->log.begin(), later->log.end(), entry) - later->log.begin();
    };
    EXPECT_LT(at("Sourcef " + s + " GAIN 0.25"), at("SourcePlay " + s));
    EXPECT_LT(at("Sourcef " + s + " PITCH 2"), at("SourcePlay " + s));
    EXPECT_LT(at("Sourcei " + s + " BUFFER " + std::to_string(kept->buffer)), at("SourcePlay " + s));
    later->Clear();
    audio.Open();  // the host's call after the first frame: already done
    EXPECT_TRUE(later->log.empty());
    // The silence count runs as for a driver opened at once.
    audio.StopChannel(3);
    for (int i = 0; i < gxtkAudio::kSilentUpdatesBeforePause; ++i) audio.AfterUpdate();
    EXPECT_TRUE(audio.DevicePaused());
}

TEST_F(DriverTest, SoundFunctionsAndMusicGoThroughTheChannels) {
    EXPECT_EQ(LoadSound(*driver, String(TestFolder() + "/missing.wav")), nullptr);
    PlaySound(*driver, nullptr, 1, 0);
    c_Sound empty(nullptr);
    PlaySound(*driver, &empty, 1, 0);
    EXPECT_EQ(driver->ChannelState(1), audio::kStopped);
    c_Sound sound(NewSample());
    PlaySound(*driver, &sound, 1, 1);
    EXPECT_EQ(driver->ChannelState(1), audio::kPlaying);

    EXPECT_EQ(driver->PlayMusic(String(TestFolder() + "/missing.wav"), 1), -1);
    fake->Clear();
    driver->SetMusicVolume(0.5f);
    EXPECT_EQ(fake->log.back(), "Sourcef " + std::to_string(driver->ChannelSource(audio::kMusicChannel)) + " GAIN 0.5");
}

}  // namespace
