// Editing commands through the update step: undo, track copy and paste, the
// order list, position keys and the wheel, home, and the panel widgets.
#include "EditorHarness.h"
#include "song/Undo.h"

namespace {
class EditingCommandsTest : public EditorTest {
protected:
    void ClickUndo() {
        Click(600, 346);
        Update();
    }
    void SetPositions(std::initializer_list<int> values) {
        int i = 0;
        for (int v : values) state.positions[i++] = v;
    }
    // Left or right half of the widget at (x, y).
    void ClickSpinner(int x, int y, bool up) {
        Click(static_cast<float>(x + (up ? 24 : 8)), static_cast<float>(y + 8));
        Update();
    }
};

TEST_F(EditingCommandsTest, UndoStepsBackOneNoteAtATimeToTheEmptySong) {
    StartEditing();
    TypeText("q");
    const auto afterFirst = state.songColumns;
    TypeText("w");
    TypeText("e");
    ClickUndo();
    EXPECT_EQ(Cell(0, 0, 2), '.');
    EXPECT_EQ(Cell(0, 0, 1), 'w');
    ClickUndo();
    for (int k = 0; k < tracker::kColumns; ++k) EXPECT_TRUE(state.songColumns[k].SharesTextWith(afterFirst[k]));
    ClickUndo();
    for (int k = 0; k < tracker::kColumns; ++k) EXPECT_TRUE(state.songColumns[k] == EmptyColumn(k));
    ClickUndo();  // nothing older: stays empty
    for (int k = 0; k < tracker::kColumns; ++k) EXPECT_TRUE(state.songColumns[k] == EmptyColumn(k));
}

TEST_F(EditingCommandsTest, UndoWorksWhilePlaying) {
    StartEditing();
    TypeText("q");
    TypeText("w");
    TapKey(keys::kF2);
    Update();
    ASSERT_EQ(state.transportState, tracker::kPlaying);
    ClickUndo();
    EXPECT_EQ(Cell(0, 0, 1), '.');
    EXPECT_EQ(Cell(0, 0, 0), 'q');
}

TEST_F(EditingCommandsTest, CopyOnChannelThreePastedOnChannelOneOfAnotherPattern) {
    SetPositions({4, 9});
    state.songLength = 64;
    for (int row = 0; row < 32; ++row) {
        SetCell(2, 4, row, "qwertzuiop"[row % 10]);
        SetCell(6, 4, row, "123456789A"[row % 10]);
        SetCell(10, 4, row, '5');
        SetCell(14, 4, row, '0' + row % 4);
    }
    SetCell(2, 5, 0, 'x');
    state.cursorColumn = 6;  // the volume column copies the same channel
    Update();                // patternBase follows the order list at the end of an update
    TapKey(keys::kF9);
    Update();
    const int steps = UndoSteps(state);
    EXPECT_EQ(state.trackClipboard[0].Length(), 33);

    TapKey(keys::kPageDown);
    Update();
    ASSERT_EQ(state.patternBase, 9 * 32);
    state.cursorColumn = 1;
    TapKey(keys::kF10);
    Update();
    for (int row = 0; row < 32; ++row) {
        for (int track = 0; track < 4; ++track)
            EXPECT_EQ(Cell(track * 4, 9, row), Cell(track * 4 + 2, 4, row)) << "track " << track << " row " << row;
    }
    EXPECT_EQ(Cell(0, 10, 0), '.');  // only 32 of the 33 copied characters
    EXPECT_EQ(state.trackClipboard[0][32], 'x');
    EXPECT_EQ(UndoSteps(state), steps + 1);  // the paste, not the copy
    ExpectColumnsIntact();
}

TEST_F(EditingCommandsTest, CopyAndPasteButtonsHaveTwoHalves) {
    SetCell(0, 0, 3, 'q');
    Click(600, 369);
    Update();
    EXPECT_EQ(state.trackClipboard[0][3], 'q');
    EXPECT_EQ(state.followMode, String("On"));  // the button does not switch follow
    state.cursorColumn = 3;
    Click(540, 389);
    Update();
    EXPECT_EQ(Cell(1, 0, 3), 'q');
}

TEST_F(EditingCommandsTest, PasteBeforeAnyCopyDoesNothing) {
    const auto columns = state.songColumns;
    TapKey(keys::kF10);
    Update();
    for (int k = 0; k < tracker::kColumns; ++k) EXPECT_TRUE(state.songColumns[k].SharesTextWith(columns[k]));
}

TEST_F(EditingCommandsTest, CopyAtTheLastPatternTakesWhatRemains) {
    state.positions[0] = 255;
    Update();
    SetCell(0, 255, 31, 'p');
    TapKey(keys::kF9);
    Update();
    EXPECT_EQ(state.trackClipboard[0].Length(), 32);
    state.positions[0] = 3;
    Update();
    TapKey(keys::kF10);
    Update();
    EXPECT_EQ(Cell(0, 3, 31), 'p');
    ExpectColumnsIntact();
}

TEST_F(EditingCommandsTest, InsertAndDeletePositions) {
    SetPositions({5, 6, 7, 8});
    state.positions[255] = 42;
    state.currentPosition = 2;
    TapKey(keys::kInsert);
    Update();
    EXPECT_EQ((std::vector<int>(state.positions.begin(), state.positions.begin() + 5)),
              (std::vector<int>{5, 6, 0, 7, 8}));
    EXPECT_EQ(state.patternBase, 0);
    state.currentPosition = 1;
    TapKey(keys::kBackspace);
    Update();
    EXPECT_EQ((std::vector<int>(state.positions.begin(), state.positions.begin() + 5)),
              (std::vector<int>{5, 0, 7, 8, 0}));
    EXPECT_EQ(state.positions[254], 0);
    EXPECT_EQ(state.positions[255], 0);  // 42 was dropped by the insert

    state.positions[255] = 42;
    Click(400, 44);  // delete button
    Update();
    EXPECT_EQ(state.positions[1], 7);
    EXPECT_EQ(state.positions[254], 42);
    EXPECT_EQ(state.positions[255], 42);  // the last entry keeps its value
    Click(400, 32);                       // insert button
    Update();
    EXPECT_EQ(state.positions[1], 0);
    EXPECT_EQ(state.positions[2], 7);
}

TEST_F(EditingCommandsTest, PositionKeysAndWheel) {
    SetPositions({1, 2, 3});
    TapKey(keys::kPageUp);
    Update();
    EXPECT_EQ(state.currentPosition, 0);
    TapKey(keys::kPageDown);
    Update();
    EXPECT_EQ(state.currentPosition, 1);
    EXPECT_EQ(state.patternBase, 64);
    Scroll(-1.0f);
    Update();
    EXPECT_EQ(state.currentPosition, 2);
    Scroll(1.0f);
    Update();
    EXPECT_EQ(state.currentPosition, 1);
    Scroll(0.5f);
    Update();
    EXPECT_EQ(state.currentPosition, 1);
}

TEST_F(EditingCommandsTest, PageDownStopsAtTheLastEntry) {
    state.currentPosition = 254;
    TapKey(keys::kPageDown);
    Update();
    TapKey(keys::kPageDown);
    Update();
    EXPECT_EQ(state.currentPosition, 255);
    EXPECT_EQ(state.patternBase, state.positions[255] * 32);
}

TEST_F(EditingCommandsTest, HomeResetsPositionAndRow) {
    state.currentPosition = 6;
    Click(600, 328);
    Update();
    EXPECT_EQ(state.currentPosition, 0);
    EXPECT_EQ(state.playRow, 0);
}

TEST_F(EditingCommandsTest, SpinnersStopAtTheirBounds) {
    Update();
    ClickSpinner(473, 372, true);
    EXPECT_EQ(state.songSpeed, 5);
    state.songSpeed = 16;
    ClickSpinner(473, 372, true);
    EXPECT_EQ(state.songSpeed, 16);
    state.songSpeed = 1;
    ClickSpinner(473, 372, false);
    EXPECT_EQ(state.songSpeed, 1);

    state.editOctave = 0;
    ClickSpinner(473, 360, false);
    EXPECT_EQ(state.editOctave, 0);
    state.editOctave = 3;
    ClickSpinner(473, 360, true);
    EXPECT_EQ(state.editOctave, 3);
    ClickSpinner(473, 360, false);
    EXPECT_EQ(state.editOctave, 2);

    ClickSpinner(473, 384, false);
    EXPECT_EQ(state.songLength, 32);
    ClickSpinner(473, 384, true);
    EXPECT_EQ(state.songLength, 64);
    state.songLength = 99 * 32;
    ClickSpinner(473, 384, true);
    EXPECT_EQ(state.songLength, 99 * 32);

    state.currentInstrument = 15;
    ClickSpinner(561, 144, true);
    EXPECT_EQ(state.currentInstrument, 15);
    ClickSpinner(385, 12, false);
    EXPECT_EQ(state.positions[0], 0);
    state.positions[0] = 255;
    ClickSpinner(385, 12, true);
    EXPECT_EQ(state.positions[0], 255);
    ClickSpinner(385, 12, false);
    EXPECT_EQ(state.positions[0], 254);
}

TEST_F(EditingCommandsTest, SpinnerHalvesAreOpen) {
    Update();
    Click(473 + 16, 372 + 8);  // between the halves
    Update();
    Click(473 + 24, 372 + 2);  // on the top edge
    Update();
    Click(473 + 32, 372 + 8);  // on the right edge
    Update();
    EXPECT_EQ(state.songSpeed, 4);
}

TEST_F(EditingCommandsTest, RptLeftHalfKeepsE2p) {
    state.currentInstrument = 3;
    Instrument(3)[2] = 1 * 16 + 9;
    Update();
    ClickSpinner(561, 264, false);
    EXPECT_EQ(Instrument(3)[2], 9);
    ClickSpinner(561, 264, false);
    EXPECT_EQ(Instrument(3)[2], 9);
    ClickSpinner(561, 216, true);
    EXPECT_EQ(Instrument(3)[2], 10);
    ClickSpinner(561, 192, true);  // SWP
    ClickSpinner(561, 252, true);  // AMT
    EXPECT_EQ(Instrument(3)[3], 1 * 16 + 1);
}

TEST_F(EditingCommandsTest, WidgetsClampTheShownInstrumentOnly) {
    int* p = Instrument(2);
    const int loaded[8] = {0, 20, 2 * 16 + 3, 0, 0, 40, 13, 99};
    std::copy(loaded, loaded + 8, p);
    Instrument(4)[0] = 0;
    state.currentInstrument = 2;
    state.songSpeed = 0;
    state.editOctave = 7;
    Update();
    EXPECT_EQ((std::vector<int>(p, p + 8)), (std::vector<int>{1, 15, 1 * 16 + 3, 0, 1, 15, 12, 12}));
    EXPECT_EQ(state.songSpeed, 1);
    EXPECT_EQ(state.editOctave, 3);
    EXPECT_EQ(Instrument(4)[0], 0);
}

// The widgets run after the instrument widget, on the instrument it names.
TEST_F(EditingCommandsTest, InstrumentWidgetChangesWhichValuesAreClamped) {
    Update();
    ClickSpinner(561, 144, true);
    EXPECT_EQ(state.currentInstrument, 2);
    EXPECT_EQ(Instrument(2)[0], 1);
    EXPECT_EQ(Instrument(2)[4], 1);
}
}  // namespace
