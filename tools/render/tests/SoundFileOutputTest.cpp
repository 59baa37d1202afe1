// Output files: the format by extension, and that only a committed export
// leaves a file behind (no temporary or partial file in any other case).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tools/render/SoundFileOutput.h"

namespace {
class SoundFileOutputTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp_.Made()); }
    std::vector<std::string> Entries() const { return FolderEntries(dir_); }
    TempFolder temp_{"zrb_render_output"};
    const std::string dir_ = temp_.Path();
};

std::vector<int16_t> Ramp(int frames) {
    std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>((i * 37) % 20000 - 10000);
    return samples;
}

TEST(SoundFileFormat, ChosenByExtensionIgnoringCase) {
    EXPECT_EQ(render::SoundFileFormatFor("a.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(render::SoundFileFormatFor("dir/A.WAV"), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(render::SoundFileFormatFor("x.Flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    EXPECT_EQ(render::SoundFileFormatFor("x.ogg"), SF_FORMAT_OGG | SF_FORMAT_VORBIS);
    EXPECT_EQ(render::SoundFileFormatFor("x.mp3"), 0);
    EXPECT_EQ(render::SoundFileFormatFor("wav"), 0);
    EXPECT_EQ(render::SoundFileFormatFor(".wav"), 0);  // a hidden name, not an extension
    EXPECT_EQ(render::SoundFileFormatFor("songs.wav/take"), 0);
    EXPECT_EQ(render::SoundFileFormatFor("out.wav/"), 0);
}

TEST(SoundFileFormat, OnlyWavHasASizeLimit) {
    const int64_t wavFrames = render::MaxFramesFor(render::SoundFileFormatFor("a.wav"));
    EXPECT_GT(wavFrames, int64_t{1} << 29);  // over 3 hours at 44100 Hz
    EXPECT_LT(wavFrames * 4, int64_t{UINT32_MAX});
    EXPECT_EQ(render::MaxFramesFor(render::SoundFileFormatFor("a.flac")), INT64_MAX);
    EXPECT_EQ(render::MaxFramesFor(render::SoundFileFormatFor("a.ogg")), INT64_MAX);
}

TEST_F(SoundFileOutputTest, CommittedWavHoldsTheFramesAndNothingElseRemains) {
    const std::string path = dir_ + "/song.wav";
    render::SoundFileOutput output;
    std::string error;
    ASSERT_TRUE(output.Open(path, 44100, error)) << error;
    const std::vector<int16_t> samples = Ramp(1000);
    ASSERT_TRUE(output.Write(samples.data(), 600, error)) << error;
    ASSERT_TRUE(output.Write(samples.data() + 1200, 400, error)) << error;
    ASSERT_TRUE(output.Commit(error)) << error;
    EXPECT_EQ(Entries(), std::vector<std::string>{"song.wav"});

    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(info.frames, 1000);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.samplerate, 44100);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    std::vector<int16_t> back(samples.size());
    EXPECT_EQ(sf_readf_short(file, back.data(), 1000), 1000);
    sf_close(file);
    EXPECT_EQ(back, samples);
}

TEST_F(SoundFileOutputTest, FlacAndOggAreWritten) {
    for (const char* name : {"a.flac", "b.ogg"}) {
        render::SoundFileOutput output;
        std::string error;
        ASSERT_TRUE(output.Open(dir_ + "/" + name, 48000, error)) << error;
        const std::vector<int16_t> samples = Ramp(4800);
        ASSERT_TRUE(output.Write(samples.data(), 4800, error)) << error;
        ASSERT_TRUE(output.Commit(error)) << error;
        SF_INFO info{};
        SNDFILE* file = sf_open((dir_ + "/" + name).c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr) << name;
        EXPECT_EQ(info.frames, 4800) << name;
        EXPECT_EQ(info.samplerate, 48000) << name;
        sf_close(file);
    }
}

TEST_F(SoundFileOutputTest, AbandonedOrDestroyedOutputLeavesNoFile) {
    {
        render::SoundFileOutput output;
        std::string error;
        ASSERT_TRUE(output.Open(dir_ + "/gone.wav", 44100, error));
        EXPECT_EQ(Entries().size(), 1u);  // only the temporary file while writing
        const std::vector<int16_t> samples = Ramp(100);
        output.Write(samples.data(), 100, error);
    }
    EXPECT_TRUE(Entries().empty());
    render::SoundFileOutput output;
    std::string error;
    ASSERT_TRUE(output.Open(dir_ + "/gone.wav", 44100, error));
    output.Abandon();
    EXPECT_TRUE(Entries().empty());
    EXPECT_FALSE(output.Commit(error));
    EXPECT_TRUE(Entries().empty());
}

TEST_F(SoundFileOutputTest, AnOlderFileStaysUntilTheNewOneIsComplete) {
    const std::string path = dir_ + "/keep.wav";
    std::ofstream(path) << "older";
    {
        render::SoundFileOutput output;
        std::string error;
        ASSERT_TRUE(output.Open(path, 44100, error));
        const std::vector<int16_t> samples = Ramp(10);
        output.Write(samples.data(), 10, error);
    }
    std::ifstream older(path);
    std::string text;
    older >> text;
    EXPECT_EQ(text, "older");

    render::SoundFileOutput output;
    std::string error;
    ASSERT_TRUE(output.Open(path, 44100, error));
    const std::vector<int16_t> samples = Ramp(10);
    ASSERT_TRUE(output.Write(samples.data(), 10, error));
    ASSERT_TRUE(output.Commit(error));
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(info.frames, 10);
    sf_close(file);
}

TEST_F(SoundFileOutputTest, UnwritablePlacesAndFormatsFailWithAReason) {
    render::SoundFileOutput output;
    std::string error;
    EXPECT_FALSE(output.Open(dir_ + "/missing/dir/out.wav", 44100, error));
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    ASSERT_EQ(mkdir((dir_ + "/taken.wav").c_str(), 0755), 0);
    EXPECT_FALSE(output.Open(dir_ + "/taken.wav", 44100, error));
    EXPECT_NE(error.find("directory"), std::string::npos) << error;
    EXPECT_FALSE(output.Open(dir_ + "/out.aiff", 44100, error));
    EXPECT_NE(error.find("unknown output format"), std::string::npos) << error;
    rmdir((dir_ + "/taken.wav").c_str());
    EXPECT_TRUE(Entries().empty());
}
}  // namespace

// The mix and its stems stand or fall together: when the last one can't be
// placed, the ones placed before it are taken back, an older file returning
// to its name and a new name disappearing.
TEST_F(SoundFileOutputTest, OutputsCommittedTogetherLeaveNothingWhenOneFails) {
    std::ofstream(dir_ + "/mix.wav") << "older mix";
    render::SoundFileOutput mix, first, second;
    std::string error;
    const std::vector<int16_t> frames = Ramp(100);
    for (auto* output : {&mix, &first, &second}) {
        const std::string name = output == &mix ? "mix.wav" : output == &first ? "mix-1.wav" : "mix-2.wav";
        ASSERT_TRUE(output->Open(dir_ + "/" + name, 44100, error)) << error;
        ASSERT_TRUE(output->Write(frames.data(), 100, error)) << error;
    }
    ASSERT_EQ(mkdir((dir_ + "/mix-2.wav").c_str(), 0755), 0);  // the last name taken meanwhile
    size_t failed = 99;
    EXPECT_FALSE(render::CommitTogether({&mix, &first, &second}, failed, error));
    EXPECT_EQ(failed, 2u);
    EXPECT_FALSE(error.empty());
    std::ifstream older(dir_ + "/mix.wav");
    std::string text((std::istreambuf_iterator<char>(older)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "older mix");
    std::vector<std::string> names = Entries();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"mix-2.wav", "mix.wav"})) << "no stem and no partial file";
    rmdir((dir_ + "/mix-2.wav").c_str());
}
