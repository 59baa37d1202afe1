// The update step's transport: edit and play switches in every state, mute,
// follow and layout switches, and which controls work while playing.
#include "EditorHarness.h"

namespace {
using tracker::kEditing;
using tracker::kPlaying;
using tracker::kStandby;

class TransportTest : public EditorTest {
protected:
    void StartPlaying(int key = keys::kF2) {
        TapKey(key);
        Update();
        ASSERT_EQ(state.transportState, kPlaying);
        audio.Clear();
    }
};

TEST_F(TransportTest, SpaceAlternatesEditingAndStandby) {
    EXPECT_EQ(state.transportState, kStandby);
    state.playRow = 5;
    TapKey(keys::kSpace);
    Update();
    EXPECT_EQ(state.transportState, kEditing);
    EXPECT_EQ(state.statusText, String("Editing..."));
    EXPECT_EQ(state.playRow, 0);
    ExpectAllVoicesStopped();

    audio.Clear();
    TapKey(keys::kSpace);
    Update();
    EXPECT_EQ(state.transportState, kStandby);
    EXPECT_EQ(state.statusText, String("Standby..."));
    ExpectAllVoicesStopped();
}

TEST_F(TransportTest, EditButtonActsLikeSpaceAndItsEdgeDoesNot) {
    Click(540, 346);
    Update();
    EXPECT_EQ(state.transportState, kEditing);
    Click(516, 346);  // on the left edge: outside the open rectangle
    Update();
    EXPECT_EQ(state.transportState, kEditing);
    Click(540, 338);
    Update();
    EXPECT_EQ(state.transportState, kEditing);
}

TEST_F(TransportTest, SpaceWhilePlayingGoesToStandbyNotEditing) {
    StartPlaying();
    TapKey(keys::kSpace);
    Update();
    EXPECT_EQ(state.transportState, kStandby);
    EXPECT_EQ(state.statusText, String("Standby..."));
    EXPECT_EQ(state.playRow, 0);
    ExpectAllVoicesStopped();
}

TEST_F(TransportTest, F1StartsFromPositionZeroAndF2KeepsThePosition) {
    state.songLength = 5 * 32;
    state.currentPosition = 3;
    state.cursorRow = 7;
    state.tickCounter = 2;
    TapKey(keys::kF2);
    Update();
    EXPECT_EQ(state.transportState, kPlaying);
    EXPECT_EQ(state.currentPosition, 3);
    EXPECT_EQ(state.cursorRow, 1);
    EXPECT_EQ(state.tickCounter, 0);
    EXPECT_EQ(updateRates, std::vector<int>{50});
    ExpectAllVoicesStopped();
    // "Playing..." appears once the player runs, from the next update on.
    EXPECT_EQ(state.statusText, String("Standby..."));
    Update();
    EXPECT_EQ(state.statusText, String("Playing..."));
    EXPECT_EQ(state.tickCounter, 1);

    TapKey(keys::kF2);
    Update();
    EXPECT_EQ(state.transportState, kStandby);
    EXPECT_EQ(state.statusText, String("Standby..."));

    state.currentPosition = 3;
    TapKey(keys::kF1);
    Update();
    EXPECT_EQ(state.transportState, kPlaying);
    EXPECT_EQ(state.currentPosition, 0);
    EXPECT_EQ(state.patternBase, state.positions[0] * 32);
}

TEST_F(TransportTest, PlayButtonStartsFromEditingAndStopsToStandby) {
    StartEditing();
    state.currentPosition = 2;
    state.songLength = 4 * 32;
    Click(540, 328);
    Update();
    EXPECT_EQ(state.transportState, kPlaying);
    EXPECT_EQ(state.currentPosition, 2);
    Click(540, 328);
    Update();
    EXPECT_EQ(state.transportState, kStandby);
    EXPECT_EQ(state.statusText, String("Standby..."));
}

TEST_F(TransportTest, F1WhilePlayingStopsToStandby) {
    StartPlaying(keys::kF1);
    TapKey(keys::kF1);
    Update();
    EXPECT_EQ(state.transportState, kStandby);
    EXPECT_EQ(state.statusText, String("Standby..."));
    ExpectAllVoicesStopped();
}

// The edit switch runs first; the play switch sees the state it leaves.
TEST_F(TransportTest, SpaceAndF1InOneUpdate) {
    TapKey(keys::kSpace);
    TapKey(keys::kF1);
    Update();  // standby -> editing -> playing
    EXPECT_EQ(state.transportState, kPlaying);
    EXPECT_EQ(state.statusText, String("Editing..."));

    TapKey(keys::kSpace);
    TapKey(keys::kF1);
    Update();  // playing -> standby -> playing
    EXPECT_EQ(state.transportState, kPlaying);
    EXPECT_EQ(state.statusText, String("Standby..."));
}

TEST_F(TransportTest, MuteSwitchesAlternateAndKeyPlusButtonTogglesOnce) {
    TapKey(keys::kF5);
    Update();
    EXPECT_EQ(state.channelVolumeScale[0], 0.0f);
    TapKey(keys::kF5);
    Update();
    EXPECT_EQ(state.channelVolumeScale[0], 1.0f);

    TapKey(keys::kF5);
    Click(70, 418);
    Update();
    EXPECT_EQ(state.channelVolumeScale[0], 0.0f);

    TapKey(keys::kF5 + 3);
    Click(136, 418);  // channel 2's button
    Update();
    EXPECT_EQ(state.channelVolumeScale[1], 0.0f);
    EXPECT_EQ(state.channelVolumeScale[2], 1.0f);
    EXPECT_EQ(state.channelVolumeScale[3], 0.0f);
}

TEST_F(TransportTest, FollowSwitchStartsWithOff) {
    EXPECT_EQ(state.followMode, String("On"));
    TapKey(keys::kF9);
    Update();
    EXPECT_EQ(state.followMode, String("Off"));
    EXPECT_EQ(state.followCounter, 0);
    Click(330, 418);
    Update();
    EXPECT_EQ(state.followMode, String("On"));
    EXPECT_EQ(state.followCounter, 1);
}

TEST_F(TransportTest, LayoutButtonHasTwoHalvesAndAGapBetweenThem) {
    Click(540, 450);
    Update();
    EXPECT_EQ(state.usLayout, 1);
    EXPECT_EQ(state.keyboardLayout, String("US"));
    Click(600, 450);
    Update();
    EXPECT_EQ(state.usLayout, 0);
    EXPECT_EQ(state.keyboardLayout, String("DE"));
    Click(570, 450);
    Update();
    EXPECT_EQ(state.usLayout, 0);
}

TEST_F(TransportTest, WhilePlayingOnlyTheSwitchesWork) {
    state.songLength = 2 * 32;
    StartPlaying();
    const auto columns = state.songColumns;
    TapKey(keys::kDown);
    TapKey(keys::kRight);
    TapKey(keys::kPageDown);
    TypeChar('q');
    Click(100, 450);  // file name field
    Update();
    EXPECT_EQ(state.cursorRow, 1);
    EXPECT_EQ(state.cursorColumn, 1);
    EXPECT_EQ(state.fileNameEntry, 0);
    for (int k = 0; k < tracker::kColumns; ++k) EXPECT_TRUE(state.songColumns[k].SharesTextWith(columns[k]));

    TapKey(keys::kF11);
    TapKey(keys::kF12);
    Click(540, 450);  // layout
    TapKey(keys::kF5 + 1);
    TapKey(keys::kF9);
    Update();
    EXPECT_EQ(state.statusText, String("Playing..."));
    EXPECT_EQ(state.usLayout, 1);
    EXPECT_EQ(state.channelVolumeScale[1], 0.0f);
    EXPECT_EQ(state.followMode, String("Off"));
    EXPECT_EQ(state.trackClipboard[0].Length(), 0);  // no copy while playing
    EXPECT_EQ(state.transportState, kPlaying);
}

TEST_F(TransportTest, RedrawCounterAndWheelAreTakenEveryUpdate) {
    Scroll(-2.0f);
    Update();
    EXPECT_EQ(state.redrawCounter, 1);
    EXPECT_EQ(state.wheelDelta, -2.0f);
    EXPECT_EQ(state.currentPosition, 0);  // only exactly +-1 moves
    Update();
    EXPECT_EQ(state.redrawCounter, 2);
    EXPECT_EQ(state.wheelDelta, 0.0f);
}

TEST_F(TransportTest, PatternBaseFollowsThePositionInEveryState) {
    state.positions[0] = 7;
    Update();
    EXPECT_EQ(state.patternBase, 7 * 32);
    StartPlaying(keys::kF1);
    EXPECT_EQ(state.patternBase, 7 * 32);
}
}  // namespace
