// Offline playback: pass lengths from the sequencer, the song file reader, and
// listening checks on sound rendered through the OpenAL loopback device with
// the generated waveforms (pitch, silence, row onsets, repeated passes).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "audio/SilentAudio.h"
#include "audio/gxtkAudio.h"
#include "io/DataPath.h"
#include "song/SongFile.h"
#include "song/SongModel.h"
#include "tools/render/FrameConversion.h"
#include "tools/render/PassRender.h"
#include "tools/render/SongRender.h"

namespace {
constexpr int kRate = 44100;
constexpr int kFramesPerTick = kRate / render::kTicksPerSecond;  // 882

class SongRenderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The waveforms live in <build>/data; the test runs from elsewhere.
        const char* data = std::getenv("ZRB_DATA_DIR");
        std::string dir = data ? data : ZRB_TEST_DATA_DIR;
        while (!dir.empty() && dir.back() == '/') dir.pop_back();
        SetAppDirectory(String(dir.substr(0, dir.rfind('/'))));
    }

    void TearDown() override {
        for (const std::string& path : files_) std::remove(path.c_str());
    }

    static TrackerState NewSong(int positionCount, int speed) {
        TrackerState song;
        BuildEmptySong(song);
        song.songLength = positionCount * tracker::kRowsPerPattern;
        song.songSpeed = speed;
        return song;
    }

    // Instrument `number` with a waveform pair and an envelope length.
    static void SetInstrument(TrackerState& song, int number, int wav, int env) {
        song.instrumentParams[static_cast<size_t>(number * 8)] = wav;
        song.instrumentParams[static_cast<size_t>(number * 8 + 4)] = env;
    }

    // One cell of pattern `pattern`: note key, volume, instrument and octave digits.
    static void SetCell(TrackerState& song, int pattern, int channel, int row, char note, char volume, char instrument,
                        char octave) {
        const int position = pattern * tracker::kRowsPerPattern + row + 1;
        const char cells[4] = {note, volume, instrument, octave};
        for (int part = 0; part < 4; ++part) {
            String& column = song.songColumns[static_cast<size_t>(part * 4 + channel)];
            column = ReplaceChar(column, position, String::FromChar(cells[part]));
        }
    }

    std::string TempPath(const std::string& suffix) {
        char pattern[] = "/tmp/zrb_render_song_XXXXXX";
        const int fd = mkstemp(pattern);
        close(fd);
        files_.push_back(pattern + suffix);
        if (!suffix.empty()) std::remove(pattern);
        return files_.back();
    }

    // Saves the song as the tracker does, then reads it back as the tool does.
    TrackerState ThroughSongFile(const TrackerState& song) {
        const std::string path = TempPath("");
        std::ofstream(path, std::ios::binary) << EncodeSong(song).ToUtf8();
        TrackerState loaded;
        std::string error;
        EXPECT_TRUE(render::ReadSongFile(path, loaded, error)) << error;
        return loaded;
    }

    std::vector<int16_t> Render(const TrackerState& song, int loops, render::RenderPlan* planOut = nullptr,
                                int rate = kRate) {
        // The driver first: the samples must go before it, or their buffer
        // names would be deleted by the next test's driver.
        std::unique_ptr<gxtkAudio> audio = gxtkAudio::OpenLoopback(rate);
        TrackerState state = ThroughSongFile(song);
        if (!audio) {
            ADD_FAILURE() << "no loopback device";
            return {};
        }
        std::string error;
        EXPECT_TRUE(render::LoadWaveBank(state, *audio, error)) << error;
        const render::RenderPlan plan = render::PlanRender(state, loops, rate);
        if (planOut) *planOut = plan;
        std::vector<int16_t> out;
        const bool ok = render::RenderSong(
            state, *audio, plan, [&](int16_t* frames, int count) { return audio->RenderFrames(frames, count); },
            [&](const int16_t* frames, int count) {
                out.insert(out.end(), frames, frames + count * 2);
                return true;
            });
        EXPECT_TRUE(ok);
        return out;
    }

    // The export's own path: float frames, passes copied where proven.
    std::vector<int16_t> RenderCopying(const TrackerState& song, int loops, render::PassRenderFigures& figures) {
        std::unique_ptr<gxtkAudio> audio = gxtkAudio::OpenLoopback(kRate);
        TrackerState state = ThroughSongFile(song);
        std::string error;
        EXPECT_TRUE(audio && render::LoadWaveBank(state, *audio, error)) << error;
        if (!audio) return {};
        std::vector<int16_t> out;
        EXPECT_TRUE(render::RenderSongFrames(
            state, *audio, render::PlanRender(state, loops, kRate),
            [&](const float* frames, int count) {
                const size_t at = out.size();
                out.resize(at + static_cast<size_t>(count) * 2);
                render::ConvertToInt16(frames, out.data() + at, static_cast<size_t>(count) * 2, 1.0f);
                return true;
            },
            nullptr, &figures));
        return out;
    }

    std::vector<std::string> files_;
};

std::vector<float> LeftChannel(const std::vector<int16_t>& stereo, size_t firstFrame, size_t frames) {
    std::vector<float> left;
    for (size_t f = firstFrame; f < firstFrame + frames && 2 * f < stereo.size(); ++f)
        left.push_back(static_cast<float>(stereo[2 * f]));
    return left;
}

// Frequency from the first and last upward zero crossing, each placed between
// samples by linear interpolation.
double MeasureFrequency(const std::vector<float>& samples, int rate) {
    double first = -1, last = -1;
    int crossings = 0;
    for (size_t i = 1; i < samples.size(); ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            const double at = static_cast<double>(i - 1) + samples[i - 1] / (samples[i - 1] - samples[i]);
            if (first < 0) first = at;
            last = at;
            ++crossings;
        }
    }
    if (crossings < 2) return 0;
    return (crossings - 1) * static_cast<double>(rate) / (last - first);
}

// Frames where the sound starts after at least `quietFrames` of silence (a
// sound already running at the first frame is no onset).
std::vector<size_t> Onsets(const std::vector<int16_t>& stereo, int threshold, size_t quietFrames) {
    std::vector<size_t> onsets;
    size_t quiet = 0;
    for (size_t f = 0; 2 * f + 1 < stereo.size(); ++f) {
        const bool loud = std::abs(stereo[2 * f]) > threshold || std::abs(stereo[2 * f + 1]) > threshold;
        if (loud && quiet >= quietFrames) onsets.push_back(f);
        quiet = loud ? 0 : quiet + 1;
    }
    return onsets;
}

// --- Pass lengths (no sound device needed) ---

TEST_F(SongRenderTest, OnePassIsEveryRowOfEveryPositionAtTheSongSpeed) {
    EXPECT_EQ(render::PlanRender(NewSong(1, 4), 1, kRate).passTicks, 32 * 4);
    EXPECT_EQ(render::PlanRender(NewSong(3, 6), 1, kRate).passTicks, 3 * 32 * 6);
    EXPECT_EQ(render::PlanRender(NewSong(1, 1), 1, kRate).passTicks, 32);
    const render::RenderPlan plan = render::PlanRender(NewSong(2, 4), 3, kRate);
    EXPECT_FALSE(plan.passCut);
    EXPECT_EQ(plan.SongTicks(), 3 * 2 * 32 * 4);
    EXPECT_EQ(plan.TotalFrames(), (3 * 2 * 32 * 4 + render::kTailTicks) * kFramesPerTick);
}

TEST_F(SongRenderTest, PatternBreaksShortenThePass) {
    TrackerState song = NewSong(3, 2);
    song.positions[1] = 1;
    song.positions[2] = 2;
    SetCell(song, 1, 0, 7, '-', '0', '0', '0');  // position 1 plays rows 0..7
    SetCell(song, 1, 3, 7, '-', '0', '0', '0');  // a second break in the same row changes nothing
    EXPECT_EQ(render::PlanRender(song, 1, kRate).passTicks, (32 + 8 + 32) * 2);
}

TEST_F(SongRenderTest, AFileWithAHugeSpeedStillEnds) {
    TrackerState song = NewSong(99, 60000);
    const render::RenderPlan plan = render::PlanRender(song, 2, kRate);
    EXPECT_TRUE(plan.passCut);
    EXPECT_EQ(plan.passTicks, render::kMaxPassTicks);
    EXPECT_EQ(plan.SongTicks(), 2 * render::kMaxPassTicks);
}

TEST_F(SongRenderTest, TicksShareFramesExactlyAtRatesNotAMultipleOf50) {
    render::RenderPlan plan;
    plan.passTicks = 128;
    plan.sampleRate = 11025;  // 220.5 frames a tick
    int64_t total = 0;
    for (int64_t tick = 0; tick < plan.TotalTicks(); ++tick) {
        const int64_t share = plan.FramesBefore(tick + 1) - plan.FramesBefore(tick);
        EXPECT_TRUE(share == 220 || share == 221) << tick;
        total += share;
    }
    EXPECT_EQ(total, plan.TotalFrames());
    EXPECT_EQ(plan.TotalFrames(), (128 + render::kTailTicks) * 11025 / 50);
}

TEST_F(SongRenderTest, RenderStopsWhenTheSourceOrTheSinkFails) {
    TrackerState song = NewSong(1, 4);
    const render::RenderPlan plan = render::PlanRender(song, 1, kRate);
    SilentAudio quiet;
    int sinkCalls = 0;
    EXPECT_FALSE(render::RenderSong(
        song, quiet, plan, [](int16_t*, int) { return true; }, [&](const int16_t*, int) { return ++sinkCalls < 5; }));
    EXPECT_EQ(sinkCalls, 5);
    int64_t observed = 0;
    EXPECT_FALSE(render::RenderSong(
        song, quiet, plan, [](int16_t*, int) { return false; }, [](const int16_t*, int) { return true; },
        [&](int64_t done) { observed = done; }));
    EXPECT_EQ(observed, 0);
}

// --- The song file reader ---

TEST_F(SongRenderTest, ReadsWhatTheTrackerSaves) {
    TrackerState song = NewSong(2, 7);
    song.positions[1] = 3;
    SetInstrument(song, 2, 5, 40);
    SetCell(song, 3, 2, 31, 'q', 'f', '2', '1');
    const TrackerState loaded = ThroughSongFile(song);
    EXPECT_EQ(loaded.songLength, 64);
    EXPECT_EQ(loaded.songSpeed, 7);
    EXPECT_EQ(loaded.positions[1], 3);
    EXPECT_EQ(loaded.instrumentParams[16], 5);
    EXPECT_EQ(loaded.instrumentParams[20], 40);
    for (int k = 0; k < tracker::kColumns; ++k) EXPECT_TRUE(loaded.songColumns[k] == song.songColumns[k]) << k;
}

TEST_F(SongRenderTest, UnreadableAndEmptySongFilesAreRefusedWithAReason) {
    TrackerState state;
    std::string error;
    EXPECT_FALSE(render::ReadSongFile("/nonexistent/zrb/song", state, error));
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    EXPECT_FALSE(render::ReadSongFile("/tmp", state, error));
    EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
    const std::string empty = TempPath("");
    EXPECT_FALSE(render::ReadSongFile(empty, state, error));
    EXPECT_EQ(error, "song file is empty");
}

// --- Listening checks through the loopback device ---

TEST_F(SongRenderTest, A2OnTheTriangleSoundsAt440Hz) {
    TrackerState song = NewSong(1, 4);
    SetInstrument(song, 1, 4, 255);
    SetCell(song, 0, 0, 0, 'n', '8', '1', '2');
    const std::vector<int16_t> sound = Render(song, 1);
    // Half a second into the note, one second long.
    const size_t noteStart = 3 * kFramesPerTick;
    const double frequency = MeasureFrequency(LeftChannel(sound, noteStart + kRate / 2, kRate), kRate);
    const double cents = 1200.0 * std::log2(frequency / 440.0);
    EXPECT_LT(std::fabs(cents), 1.0) << frequency << " Hz";
    // The note is actually loud: a triangle near full gain.
    int peak = 0;
    for (size_t i = 0; i < sound.size(); ++i) peak = std::max(peak, std::abs(static_cast<int>(sound[i])));
    EXPECT_GT(peak, 4000);
}

TEST_F(SongRenderTest, ASongOfEmptyPatternsRendersSilenceOfOnePassAndTheTail) {
    TrackerState song = NewSong(2, 4);
    SetInstrument(song, 1, 3, 10);  // instruments alone make no sound
    render::RenderPlan plan;
    const std::vector<int16_t> sound = Render(song, 1, &plan);
    EXPECT_EQ(sound.size(), static_cast<size_t>((2 * 32 * 4 + render::kTailTicks) * kFramesPerTick * 2));
    size_t loud = 0;
    for (int16_t s : sound) loud += s != 0;
    EXPECT_EQ(loud, 0u);
}

// Short notes on every row: volume 2 with ENV 1 dies on the tick after its start.
TrackerState RowPulseSong(int positions) {
    TrackerState song;
    BuildEmptySong(song);
    song.songLength = positions * tracker::kRowsPerPattern;
    song.songSpeed = 4;
    song.instrumentParams[8] = 4;
    song.instrumentParams[12] = 1;
    for (int row = 0; row < tracker::kRowsPerPattern; ++row) {
        const char cells[4] = {'y', '2', '1', '2'};
        for (int part = 0; part < 4; ++part) {
            String& column = song.songColumns[static_cast<size_t>(part * 4)];
            column = ReplaceChar(column, row + 1, String::FromChar(cells[part]));
        }
    }
    return song;
}

TEST_F(SongRenderTest, RowOnsetsAre80MillisecondsApartAtSpeed4) {
    const std::vector<int16_t> sound = Render(RowPulseSong(1), 1);
    const std::vector<size_t> onsets = Onsets(sound, 100, kFramesPerTick);
    ASSERT_EQ(onsets.size(), 32u);
    const size_t rowFrames = kRate * 80 / 1000;  // 3528
    // The first row is read on the fourth tick.
    EXPECT_GE(onsets[0], 3u * kFramesPerTick);
    EXPECT_LE(onsets[0], 3u * kFramesPerTick + kRate / 1000);
    for (size_t k = 1; k < onsets.size(); ++k) {
        const long gap = static_cast<long>(onsets[k] - onsets[k - 1]);
        EXPECT_NEAR(gap, static_cast<long>(rowFrames), 2) << "between rows " << k - 1 << " and " << k;
    }
}

TEST_F(SongRenderTest, TwoLoopsAreTwiceOnePassThenTheTail) {
    render::RenderPlan one, two;
    const std::vector<int16_t> once = Render(RowPulseSong(1), 1, &one);
    const std::vector<int16_t> twice = Render(RowPulseSong(1), 2, &two);
    EXPECT_EQ(two.SongTicks(), 2 * one.passTicks);
    const size_t passSamples = static_cast<size_t>(one.passTicks * kFramesPerTick * 2);
    const size_t tailSamples = static_cast<size_t>(render::kTailTicks * kFramesPerTick * 2);
    ASSERT_EQ(once.size(), passSamples + tailSamples);
    ASSERT_EQ(twice.size(), 2 * passSamples + tailSamples);
    // The first pass is the same sound. The second repeats it: the last row of
    // the first pass rings into it until its first row, which comes at the
    // same place as in the first pass.
    EXPECT_TRUE(std::equal(once.begin(), once.begin() + passSamples, twice.begin()));
    const std::vector<int16_t> second(twice.begin() + passSamples, twice.begin() + 2 * passSamples);
    const std::vector<size_t> firstOnsets = Onsets(once, 100, kFramesPerTick);
    const std::vector<size_t> secondOnsets = Onsets(second, 100, kFramesPerTick);
    ASSERT_EQ(firstOnsets.size(), 32u);
    ASSERT_EQ(secondOnsets.size(), 32u);
    for (size_t k = 0; k < secondOnsets.size(); ++k) EXPECT_NEAR(secondOnsets[k], firstOnsets[k], 2) << k;
    const size_t leadIn = 3 * kFramesPerTick * 2;
    size_t differing = 0;
    for (size_t i = leadIn; i < passSamples; ++i) differing += std::abs(second[i] - once[i]) > 2;
    EXPECT_EQ(differing, 0u);
}

TEST_F(SongRenderTest, RendersAreIdenticalRunToRun) {
    TrackerState song = RowPulseSong(2);
    SetInstrument(song, 2, 1, 30);
    song.instrumentParams[17] = 9;  // PWM detune on the ramp-and-saw pair
    SetCell(song, 0, 1, 0, 'q', '8', '2', '1');
    const std::vector<int16_t> first = Render(song, 1);
    const std::vector<int16_t> second = Render(song, 1);
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(first == second);
}

TEST_F(SongRenderTest, OtherSampleRatesKeepTheTiming) {
    render::RenderPlan plan;
    const std::vector<int16_t> sound = Render(RowPulseSong(1), 1, &plan, 48000);
    EXPECT_EQ(sound.size(), static_cast<size_t>((32 * 4 + render::kTailTicks) * 960 * 2));
    const std::vector<size_t> onsets = Onsets(sound, 100, 960);
    ASSERT_EQ(onsets.size(), 32u);
    EXPECT_NEAR(static_cast<long>(onsets[1] - onsets[0]), 48000 * 80 / 1000, 2);
}
// Copying a pass is only sound when the proof holds; either way the file must
// be what mixing every tick gives.
TEST_F(SongRenderTest, CopiedPassesEqualMixingEveryPass) {
    TrackerState song = RowPulseSong(1);
    SetInstrument(song, 2, 1, 255);
    song.instrumentParams[17] = 3;  // a detuned pair keeps drifting over the pass end
    SetCell(song, 0, 1, 2, 'q', '8', '2', '2');
    render::PassRenderFigures figures;
    const std::vector<int16_t> copied = RenderCopying(song, 5, figures);
    EXPECT_GT(figures.passesCopied, 0);
    EXPECT_TRUE(copied == Render(song, 5));

    // A slide row on a channel with no note-on bends further on every pass:
    // no two passes start alike, so none may be copied.
    SetInstrument(song, 3, 4, 255);
    SetCell(song, 0, 2, 4, '+', '8', '3', '2');
    const std::vector<int16_t> mixed = RenderCopying(song, 5, figures);
    EXPECT_EQ(figures.passesCopied, 0);
    EXPECT_EQ(figures.passesMixed, 5);
    EXPECT_TRUE(mixed == Render(song, 5));
}
}  // namespace
