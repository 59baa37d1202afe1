// The edit history through the real update step: depth, redo, pastes, the
// order list brought back into view, and characters that arrive together.
#include "EditorHarness.h"
#include "song/SongChanges.h"
#include "song/Undo.h"

namespace {
class EditHistoryTest : public EditorTest {
protected:
    void Chord(int key, bool shift = false) {
        PressKey(keys::kControl);
        if (shift) PressKey(keys::kShift);
        TapKey(key);
        if (shift) ReleaseKey(keys::kShift);
        ReleaseKey(keys::kControl);
        Update();
    }
    void Undo() { Chord(keys::kZ); }
    void Redo() { Chord(keys::kY); }
    bool SongIs(const std::array<String, tracker::kColumns>& columns) const { return state.songColumns == columns; }
};

TEST_F(EditHistoryTest, FortyNotesThenThirtyOneUndosLeaveTheFirstNineAndRedoBringsThemBack) {
    StartEditing();
    const std::string notes = "qwertzuiopysxdcvbnmqwertzuiopysxdcvbnmqw";  // 40, the 33rd overwrites row 1
    TypeText(notes.substr(0, 9));
    const auto afterNine = state.songColumns;
    TypeText(notes.substr(9));
    const auto afterForty = state.songColumns;
    for (int i = 0; i < 31; ++i) {
        if (i % 2 == 0) {
            Undo();
        } else {
            Click(600, 346);  // the undo button does the same
            Update();
        }
    }
    EXPECT_TRUE(SongIs(afterNine));
    EXPECT_EQ(Cell(0, 0, 8), 'o');
    EXPECT_EQ(Cell(0, 0, 9), '.');
    for (int i = 0; i < 31; ++i) Chord(i % 2 == 0 ? keys::kY : keys::kZ, i % 2 == 1);
    EXPECT_TRUE(SongIs(afterForty));
    for (int i = 0; i < 40; ++i) Undo();
    for (int k = 0; k < tracker::kColumns; ++k) EXPECT_TRUE(state.songColumns[k] == EmptyColumn(k));
}

TEST_F(EditHistoryTest, UndoAfterAPasteRemovesOnlyThePasteAndANewEditEndsRedo) {
    state.positions[1] = 1;
    StartEditing();
    TypeText("qw");
    TapKey(keys::kF9);  // copy channel 1 of pattern 0
    Update();
    TapKey(keys::kTab);  // channel 2
    Update();
    TypeText("5");  // a volume digit is an edit of its own
    const auto beforePaste = state.songColumns;
    TapKey(keys::kF10);
    Update();
    EXPECT_EQ(Cell(1, 0, 0), 'q');
    const auto afterPaste = state.songColumns;
    Undo();
    EXPECT_TRUE(SongIs(beforePaste));
    PressKey(keys::kControl);  // a chord split over two updates
    Update();
    TapKey(keys::kY);
    ReleaseKey(keys::kControl);
    Update();
    EXPECT_TRUE(SongIs(afterPaste));
    Undo();
    TypeText("e");  // channel 2 note column after the Tab: a new edit
    const auto afterNewEdit = state.songColumns;
    Redo();
    EXPECT_TRUE(SongIs(afterNewEdit));
    EXPECT_EQ(0, RedoSteps(state));
    EXPECT_TRUE(HasUnsavedChanges(state));
}

TEST_F(EditHistoryTest, OrderListEditsUndoAndComeBackIntoView) {
    state.positions = {};
    state.positions[0] = 3;
    state.positions[1] = 4;
    state.positions[2] = 5;
    StartEditing();
    TapKey(keys::kPageDown);
    Update();
    TapKey(keys::kInsert);  // 3, 0, 4, 5
    Update();
    Click(385 + 24, 12 + 8);  // the pattern at position 1: 0 -> 1
    Update();
    ASSERT_EQ(state.positions[1], 1);
    TapKey(keys::kPageUp);
    Update();
    TypeText("q");  // pattern 3 at position 0
    TapKey(keys::kPageDown);
    Update();
    TapKey(keys::kPageDown);
    Update();
    ASSERT_EQ(state.currentPosition, 2);
    Undo();  // the note: pattern 3 comes back on screen
    EXPECT_EQ(state.currentPosition, 0);
    EXPECT_EQ(Cell(0, 3, 0), '.');
    TapKey(keys::kPageDown);
    Update();
    TapKey(keys::kPageDown);
    Update();
    Undo();  // the pattern number
    EXPECT_EQ(state.positions[1], 0);
    EXPECT_EQ(state.currentPosition, 1);
    Undo();  // the insert
    EXPECT_EQ(state.positions[1], 4);
    EXPECT_EQ(state.positions[2], 5);
    Redo();
    Redo();
    EXPECT_EQ(state.positions[1], 1);
    EXPECT_EQ(state.positions[2], 4);
}

// A chord counts with the modifiers held when its letter went down: not
// with one released an update earlier, nor with a Shift that only came
// with an earlier letter of the same update.
TEST_F(EditHistoryTest, ModifiersBelongToTheKeyTheyCameWith) {
    StartEditing();
    TypeText("q");
    PressKey(keys::kControl);
    Update();
    ReleaseKey(keys::kControl);
    TypeText("z");  // in the update after the one that saw Control held
    EXPECT_EQ(Cell(0, 0, 0), 'q');
    EXPECT_EQ(Cell(0, 0, 1), 'z');
    EXPECT_EQ(UndoSteps(state), 2);

    PressKey(keys::kShift);
    PressKey('W');
    input.KeyEvent(EVENT_CHAR_TYPED, 'W');
    ReleaseKey('W');
    ReleaseKey(keys::kShift);
    Chord(keys::kZ);                // in the same update as the Shift-typed letter
    EXPECT_EQ(Cell(0, 0, 1), '.');  // undone, not redone
    EXPECT_EQ(Cell(0, 0, 2), 'w');  // the letter's own edit, after the chord
}

TEST_F(EditHistoryTest, CharactersArrivingTogetherAreEachTakenAndDeleteClears) {
    StartEditing();
    state.cursorRow = 31;
    for (int c : {'q', 'w', 'e'}) input.KeyEvent(EVENT_CHAR_TYPED, c);
    Update();
    EXPECT_EQ(Cell(0, 0, 30), 'q');
    EXPECT_EQ(Cell(0, 0, 31), 'w');
    EXPECT_EQ(Cell(0, 0, 0), 'e');  // the row wrapped between the characters
    EXPECT_EQ(UndoSteps(state), 3);
    state.cursorRow = 31;
    TapKey(keys::kDelete);
    Update();
    EXPECT_EQ(Cell(0, 0, 30), '.');
    EXPECT_EQ(Cell(8, 0, 30), '0');
    TapKey(keys::kRight);
    Update();
    ASSERT_EQ(Cell(4, 0, 31), '8');
    TapKey(keys::kDelete);  // on row 32's volume
    Update();
    EXPECT_EQ(Cell(4, 0, 31), '0');
    ExpectColumnsIntact();
}

TEST_F(EditHistoryTest, OnlyTheUsersOwnChangesMarkTheSongChanged) {
    for (int i = 0; i < 3; ++i) Update();  // the widgets bring instrument 1 into range
    Click(561 + 24, 144 + 8);              // another instrument: only shown, and brought into range
    Update();
    EXPECT_FALSE(HasUnsavedChanges(state));
    Click(473 + 24, 372 + 8);  // the speed
    Update();
    EXPECT_TRUE(HasUnsavedChanges(state));
    NoteSongStored(state);
    Click(400, 130);  // the instrument name
    Update();
    TypeText("ab");
    EXPECT_TRUE(HasUnsavedChanges(state));
}
}  // namespace

namespace {
class InstrumentNameHistoryTest : public EditHistoryTest {
protected:
    void ClickName() {
        Click(500, 129);
        Update();
    }
    void Tap(int key) {
        TapKey(key);
        Update();
    }
};

TEST_F(InstrumentNameHistoryTest, EscapePutsTheNameBackAndAChangedNameIsOneUndoStep) {
    state.instrumentNames[1] = "bass                 ";
    StartNewHistory(state);
    ClickName();
    EXPECT_TRUE(state.instrumentNames[1].Empty()) << "emptied at the click, as designed";
    TypeText("lead");
    Tap(27);  // Escape
    EXPECT_EQ(state.instrumentNames[1], String("bass                 "));
    EXPECT_EQ(state.instrumentNameEntry, 0);
    EXPECT_EQ(UndoSteps(state), 0) << "nothing changed, nothing to undo";

    ClickName();
    TypeText("lead");
    Tap(keys::kEnter);
    EXPECT_EQ(state.instrumentNames[1], String("lead                 "));
    EXPECT_EQ(UndoSteps(state), 1) << "four typed letters and Enter are one step";
    Undo();
    EXPECT_EQ(state.instrumentNames[1], String("bass                 "));
    Redo();
    EXPECT_EQ(state.instrumentNames[1], String("lead                 "));
}

TEST_F(InstrumentNameHistoryTest, TheHistoryHoldsSixtyFourEditsAndNoMore) {
    StartEditing();
    TapKey(keys::kDown);  // notes go down one channel, row after row
    const std::string notes = "qwertzuiopqwertzuiopqwertzuiopqwertzuiopqwertzuiopqwertzuiopqwertzuiop";  // 70
    std::vector<std::array<String, tracker::kColumns>> after;
    for (char note : notes) {
        TypeText(std::string(1, note));
        if (state.cursorRow == 32) state.cursorRow = 1;
        after.push_back(state.songColumns);
    }
    EXPECT_EQ(UndoSteps(state), tracker::kUndoDepth);
    for (int i = 0; i < tracker::kUndoDepth; ++i) Undo();
    EXPECT_TRUE(SongIs(after[notes.size() - 1 - tracker::kUndoDepth])) << "back to the state after note 6";
    Undo();
    EXPECT_TRUE(SongIs(after[notes.size() - 1 - tracker::kUndoDepth])) << "nothing older is kept";
    for (int i = 0; i < tracker::kUndoDepth; ++i) Redo();
    EXPECT_TRUE(SongIs(after.back()));
}
}  // namespace
