// Start-up with and without the data files: the eight waveform slots in
// order, the empty song, and a tracker that plays on silently without sound.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/GraphicsContext.h"
#include "io/DataPath.h"
#include "player/Player.h"
#include "player/StartUp.h"
#include "song/Undo.h"
#include "tests/support/RecordingAudio.h"
#include "tests/support/TempFolder.h"
#include "tests/unit/player/PlayerTestSupport.h"

namespace {

const char* const kWaveFiles[8] = {"ramp_64.wav", "ramp_b_64.wav", "ramp_c_64.wav", "saw_64.wav",
                                   "fx2b.wav",    "tri_64.wav",    "hnoise.wav",    "zero_64.wav"};

// Loads a sample (buffer = 1 + its load order) when the mapped file exists.
class FileCheckingAudio : public RecordingAudio {
public:
    std::shared_ptr<gxtkSample> LoadSample(const String& path) override {
        RecordingAudio::LoadSample(path);
        FILE* file = OpenFile(path, "rb");
        if (!file) return nullptr;
        std::fclose(file);
        return std::make_shared<gxtkSample>(++loaded);
    }
    unsigned int loaded = 0;
};

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.Made());
        ASSERT_TRUE(temp.MakeFolder("data"));
        SetAppDirectory(String(root));
    }
    void RunStartUp() {
        StartUp(state, audio, graphics, [this](int rate) { updateRates.push_back(rate); });
    }

    TempFolder temp{"zrb-startup"};
    const std::string root = temp.Path();
    TrackerState state;
    FileCheckingAudio audio;
    c_GraphicsContext graphics;  // no device: images and fonts can't be made
    std::vector<int> updateRates;
};

TEST_F(StartUpTest, LoadsTheEightWaveformsInSlotOrder) {
    for (const char* name : kWaveFiles) std::fclose(std::fopen((root + "/data/" + name).c_str(), "wb"));
    RunStartUp();
    EXPECT_EQ(std::vector<int>{50}, updateRates);
    const auto loads = audio.Lines("LoadSample");
    ASSERT_EQ(8u, loads.size());
    for (int slot = 0; slot < 8; ++slot) {
        EXPECT_EQ(std::string("LoadSample korvanth://data/") + kWaveFiles[slot], loads[slot]);
        ASSERT_TRUE(state.waveBank[slot]) << "slot " << slot;
        EXPECT_EQ(static_cast<unsigned>(slot + 1), state.waveBank[slot]->sample->buffer);
    }
}

TEST_F(StartUpTest, BuildsTheEmptySongAndStandsBy) {
    state.cursorRow = 7;
    RunStartUp();
    for (int k = 0; k < 16; ++k) {
        ASSERT_EQ(8192, state.songColumns[k].Length());
        EXPECT_TRUE(state.songColumns[k] == EmptyColumn(k));
    }
    EXPECT_EQ(0, UndoSteps(state));
    EXPECT_EQ(1, state.cursorRow);
    EXPECT_EQ(1, state.cursorColumn);
    EXPECT_EQ(String("Standby..."), state.statusText);
}

TEST_F(StartUpTest, WithoutDataFilesEverythingStaysEmptyAndPlaybackRunsSilent) {
    RunStartUp();
    for (const auto& sound : state.waveBank) EXPECT_FALSE(sound);
    EXPECT_FALSE(state.font);
    EXPECT_FALSE(state.buttonImage);
    EXPECT_FALSE(state.navRowImage);

    playertest::SetInstrument(state, 1, playertest::Instrument{});
    playertest::SetCell(state, 0, 0, 0, "n", "8", "1", "2");
    state.positions[1] = 0;
    state.songLength = 64;
    playertest::StartPlaying(state, 4);
    audio.Clear();
    for (int tick = 0; tick < 4 * 40; ++tick) PlayerTick(state, audio);
    EXPECT_TRUE(audio.Lines("PlaySample").empty());
    EXPECT_EQ(1, state.currentPosition) << "rows and positions still advance";
    EXPECT_EQ(8, state.playRow);
}

TEST_F(StartUpTest, AnEmptySongPlaysSilenceAndLoopsPositionZero) {
    RunStartUp();
    playertest::StartPlaying(state, state.songSpeed);
    audio.Clear();
    for (int tick = 0; tick < 4 * 64; ++tick) PlayerTick(state, audio);
    EXPECT_TRUE(audio.Lines("PlaySample").empty());
    EXPECT_TRUE(audio.Lines("StopChannel").empty());
    for (const auto& line : audio.Lines("SetVolume")) ASSERT_EQ(" 0", line.substr(line.size() - 2)) << line;
    EXPECT_EQ(0, state.currentPosition);
}

}  // namespace
