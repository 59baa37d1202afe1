// Name entry, save and load through the update step: the allowed characters,
// the length limits, Enter and Backspace, the standby hold, and the status
// texts of save and load against a temporary data folder.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "EditorHarness.h"
#include "io/DataPath.h"
#include "store/SongStore.h"
#include "tests/support/TempFolder.h"

namespace {
class NameEntryTest : public EditorTest {
protected:
    void ClickFileName() {
        Click(100, 450);
        Update();
    }
    void ClickInstrumentName() {
        Click(500, 129);
        Update();
    }
};

TEST_F(NameEntryTest, FileNameTakesAllowedCharactersAndCapitalsAsSmallLetters) {
    ClickFileName();
    EXPECT_EQ(state.fileNameEntry, 1);
    TypeText("My1-_.()&+[]/!x %*?Z");
    TypeCodePoint(0xFC);
    TypeCodePoint(0xDC);  // upper-case umlaut
    EXPECT_EQ(state.fileName, String("my1-_.()&+[]/!x z") + String::FromChar(0xFC) + String::FromChar(0xFC));
    TapKey(keys::kEnter);
    Update();
    EXPECT_EQ(state.fileNameEntry, 0);
    TypeText("q");
    EXPECT_EQ(state.fileName.Length(), 19);
}

// Characters queued together, as from a fast typist or a key-macro tool: the
// name being typed takes every one of them, in order, and none is a note.
TEST_F(NameEntryTest, CharactersArrivingTogetherAllReachTheName) {
    StartEditing();
    ClickFileName();
    audio.Clear();
    for (char c : std::string("abcdefgh")) TypeChar(c);
    Update();
    EXPECT_EQ(state.fileName, String("abcdefgh"));
    EXPECT_TRUE(audio.Lines("PlaySample").empty());
    TapKey(keys::kEnter);
    Update();

    // An Enter among them ends the name at its place; what follows is the
    // pattern's (in standby: a preview note, no edit).
    state.currentInstrument = 3;
    ClickInstrumentName();
    for (char c : std::string("MyTune")) TypeChar(c);
    TapKey(keys::kEnter);
    TypeChar('q');
    Update();
    EXPECT_EQ(state.instrumentNames[3], String("mytune               "));
    EXPECT_EQ(state.instrumentNameEntry, 0);
    EXPECT_EQ(state.lastNoteKey, String("q"));
    EXPECT_EQ(Cell(0, 0, 0), '.');
}

TEST_F(NameEntryTest, IsFileNameCharMatchesTheSet) {
    int count = 0;
    for (int c = 0; c < 0x10000; ++c) count += IsFileNameChar(c) ? 1 : 0;
    EXPECT_EQ(count, 51);
    EXPECT_FALSE(IsFileNameChar('A'));
    EXPECT_FALSE(IsFileNameChar(0x1FC));
}

TEST_F(NameEntryTest, FileNameLimitAndBackspace) {
    ClickFileName();
    TypeText(std::string(33, 'a'));
    EXPECT_EQ(state.fileName.Length(), 32);
    TapKey(keys::kBackspace);
    Update();
    EXPECT_EQ(state.fileName.Length(), 31);
    TapKey(keys::kDelete);
    Update();
    EXPECT_EQ(state.fileName.Length(), 30);
    for (int i = 0; i < 31; ++i) {
        TapKey(keys::kBackspace);
        Update();
    }
    EXPECT_TRUE(state.fileName.Empty());
}

TEST_F(NameEntryTest, BackspaceWhileTypingLeavesTheOrderList) {
    state.positions[0] = 5;
    state.positions[1] = 6;
    ClickFileName();
    TypeText("ab");
    TapKey(keys::kBackspace);
    Update();
    EXPECT_EQ(state.fileName, String("a"));
    EXPECT_EQ(state.positions[0], 5);
    EXPECT_EQ(state.positions[1], 6);
    TapKey(keys::kInsert);
    Click(400, 44);  // delete button: the click also lands outside both fields
    Update();
    EXPECT_EQ(state.positions[0], 5);
    EXPECT_EQ(state.positions[1], 6);
}

TEST_F(NameEntryTest, InstrumentNameIsClearedPaddedAndLimited) {
    state.currentInstrument = 4;
    state.instrumentNames[4] = "old name";
    ClickInstrumentName();
    EXPECT_TRUE(state.instrumentNames[4].Empty());
    TypeText("bass");
    TapKey(keys::kEnter);
    Update();
    EXPECT_EQ(state.instrumentNames[4], String("bass                 "));
    EXPECT_EQ(state.instrumentNameEntry, 0);

    ClickInstrumentName();
    TypeText(std::string(22, 'z'));
    EXPECT_EQ(state.instrumentNames[4].Length(), 21);
    TapKey(keys::kBackspace);
    Update();
    EXPECT_TRUE(state.instrumentNames[4].Empty());
}

TEST_F(NameEntryTest, BothFieldsTakeTurnsAndLeaveNothingToThePattern) {
    ClickFileName();
    ClickInstrumentName();
    audio.Clear();
    for (char c : std::string("abcde")) TypeChar(c);
    Update();
    EXPECT_EQ(state.fileName, String("ace"));
    EXPECT_EQ(state.instrumentNames[1], String("bd"));
    EXPECT_TRUE(state.lastNoteKey.Empty());
    EXPECT_TRUE(audio.Lines("PlaySample").empty());
}

TEST_F(NameEntryTest, TypingHoldsStandbyAndStopsVoices) {
    StartEditing();
    ClickFileName();
    EXPECT_EQ(state.transportState, tracker::kStandby);
    audio.Clear();
    TypeText("q");
    ExpectAllVoicesStopped();
    EXPECT_EQ(Cell(0, 0, 0), '.');
    EXPECT_EQ(state.fileName, String("q"));
}

TEST_F(NameEntryTest, SpaceWhileTypingPassesThroughEditing) {
    ClickFileName();
    TypeText("a b");
    EXPECT_EQ(state.fileName, String("a b"));
    EXPECT_EQ(state.transportState, tracker::kStandby);
    EXPECT_EQ(state.statusText, String("Standby..."));  // the status names the state the editor is in
}

TEST_F(NameEntryTest, CursorKeysStillMoveWhileTyping) {
    ClickFileName();
    TapKey(keys::kDown);
    Update();
    EXPECT_EQ(state.cursorRow, 2);
    EXPECT_TRUE(state.fileName.Empty());  // the arrow's queue character is not a name character
}

class SaveLoadTest : public NameEntryTest {
protected:
    TempFolder temp{"zrb-editor"};
    const std::string folder = temp.Path();
    void SetUp() override {
        NameEntryTest::SetUp();
        ASSERT_TRUE(temp.Made());
        ASSERT_TRUE(temp.MakeFolder("data/songs"));
        SetAppDirectory(String(folder));
    }
    bool SongExists(const std::string& name) const {
        return access((folder + "/data/songs/" + name).c_str(), F_OK) == 0;
    }
    void EnterFileName(const std::string& name) {
        ClickFileName();
        TypeText(name);
        TapKey(keys::kEnter);
        Update();
    }
};

TEST_F(SaveLoadTest, SaveWithoutNameAsksForOne) {
    TapKey(keys::kF11);
    Update();
    EXPECT_EQ(state.statusText, String("Enter a Name..."));
}

TEST_F(SaveLoadTest, LoadOfMissingFileFailsAndStillResetsThePosition) {
    EnterFileName("nothere");
    StartEditing();
    TypeText("q");
    const auto columns = state.songColumns;
    state.currentPosition = 3;
    TapKey(keys::kF12);
    Update();
    EXPECT_EQ(state.statusText, String("Loading Failed!"));
    EXPECT_EQ(state.currentPosition, 0);
    EXPECT_EQ(state.playRow, 0);
    for (int k = 0; k < tracker::kColumns; ++k) EXPECT_TRUE(state.songColumns[k].SharesTextWith(columns[k]));
}

TEST_F(SaveLoadTest, SaveThenLoadBringsTheNotesBack) {
    StartEditing();
    TypeText("q");
    EnterFileName("tune1");
    TapKey(keys::kF11);
    Update();
    EXPECT_EQ(state.statusText, String("File Saved..."));
    EXPECT_TRUE(SongExists("tune1"));

    StartEditing();
    state.cursorRow = 1;
    TypeText("w");
    ASSERT_EQ(Cell(0, 0, 0), 'w');
    state.currentPosition = 2;
    Click(410, 450);  // the load button
    Update();
    EXPECT_EQ(state.statusText, String("File Loaded..."));
    EXPECT_EQ(Cell(0, 0, 0), 'q');
    EXPECT_EQ(state.currentPosition, 0);
    ExpectColumnsIntact();
}

TEST_F(SaveLoadTest, WidgetsClampTheLoadedCurrentInstrument) {
    TrackerState other;
    BuildEmptySong(other);
    const int values[8] = {0, 15, 0x23, 0xFF, 0, 0, 13, 14};
    std::copy(values, values + 8, &other.instrumentParams[8]);
    other.instrumentParams[16] = 0;  // instrument 2: WAV 0 until it is shown
    other.songSpeed = 16;
    ASSERT_EQ(SaveSong(other, "odd"), String("File Saved..."));

    EnterFileName("odd");
    TapKey(keys::kF12);
    Update();
    EXPECT_EQ(state.statusText, String("File Loaded..."));
    EXPECT_EQ((std::vector<int>(&state.instrumentParams[8], &state.instrumentParams[16])),
              (std::vector<int>{1, 15, 0x13, 0xFF, 1, 0, 12, 12}));
    EXPECT_EQ(state.instrumentParams[16], 0);
    EXPECT_EQ(state.songSpeed, 16);
}

TEST_F(SaveLoadTest, NameTypedInTheSameUpdateAsF11IsSavedWhole) {
    ClickFileName();
    for (char c : std::string("tune2")) TypeChar(c);
    TapKey(keys::kF11);
    Update();
    EXPECT_EQ(state.statusText, String("File Saved..."));
    EXPECT_TRUE(SongExists("tune2"));
}

TEST_F(SaveLoadTest, SaveButtonWhileTypingSaves) {
    ClickFileName();
    TypeText("song");
    Click(460, 450);
    Update();
    EXPECT_EQ(state.statusText, String("File Saved..."));
    EXPECT_TRUE(SongExists("song"));
    EXPECT_EQ(state.fileNameEntry, 1);
}

TEST_F(SaveLoadTest, MissingSubFolderFailsToSave) {
    EnterFileName("x/y");
    TapKey(keys::kF11);
    Update();
    EXPECT_EQ(state.statusText, String("Saving Failed!"));
}

TEST_F(SaveLoadTest, WhilePlayingSaveAndLoadDoNothing) {
    EnterFileName("keep");
    TapKey(keys::kF2);
    Update();
    ASSERT_EQ(state.transportState, tracker::kPlaying);
    TapKey(keys::kF11);
    Click(410, 450);
    Update();
    EXPECT_FALSE(SongExists("keep"));
    EXPECT_EQ(state.statusText, String("Playing..."));
}
}  // namespace
