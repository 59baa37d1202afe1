// The demo song shipped in data/songs/demo loads and plays: named
// instruments, several patterns, and sound on all four channels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "io/DataPath.h"
#include "player/Player.h"
#include "store/SongStore.h"
#include "tests/support/RecordingAudio.h"
#include "tests/unit/player/PlayerTestSupport.h"

namespace {

TEST(DemoSong, LoadsAndSoundsOnEveryChannel) {
    const char* data = std::getenv("ZRB_DATA_DIR");
    if (!data) GTEST_SKIP() << "ZRB_DATA_DIR is not set";
    std::string folder = data;
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    SetAppDirectory(String(folder.substr(0, folder.rfind('/'))));

    TrackerState state;
    BuildEmptySong(state);
    playertest::FillWaveBank(state);
    state.fileName = "demo";
    ASSERT_EQ(String("File Loaded..."), LoadSong(state));

    const int positions = state.songLength / 32;
    EXPECT_GE(positions, 3);
    std::set<int> patterns(state.positions.begin(), state.positions.begin() + positions);
    EXPECT_GE(patterns.size(), 3u);
    int named = 0;
    for (int i = 1; i <= 15; ++i) {
        if (state.instrumentNames[i].Trim().Empty()) continue;
        ++named;
        const int wav = state.instrumentParams[i * 8];
        EXPECT_TRUE(wav >= 1 && wav <= 7) << "instrument " << i;
        EXPECT_GE(state.instrumentParams[i * 8 + 4], 1) << "instrument " << i << " has an envelope";
    }
    EXPECT_GE(named, 4);

    RecordingAudio audio;
    playertest::StartPlaying(state, state.songSpeed);
    for (int tick = 0; tick < state.songSpeed * state.songLength; ++tick) PlayerTick(state, audio);
    for (int channel = 1; channel <= 4; ++channel)
        EXPECT_FALSE(audio.Lines("PlaySample " + std::to_string(channel) + " ").empty()) << "channel " << channel;
    EXPECT_EQ(0, state.currentPosition) << "the song loops";
    EXPECT_EQ(0, state.playRow);
}

}  // namespace
