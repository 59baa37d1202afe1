// Pattern editing through the update step: cursor keys with wrap and
// auto-repeat, volume digits, note keys and commands, the layouts, and the
// preview voice with its modulation.
#include "EditorHarness.h"
#include "player/Player.h"

namespace {
class PatternEditingTest : public EditorTest {};

TEST_F(PatternEditingTest, NoteWritesKeyInstrumentOctaveAndDefaultVolume) {
    Instrument(12)[0] = 3;  // ramp + saw
    state.currentInstrument = 12;
    StartEditing();
    state.cursorRow = 5;
    audio.Clear();
    TypeText("q");
    EXPECT_EQ(Cell(0, 0, 4), 'q');
    EXPECT_EQ(Cell(8, 0, 4), 'C');
    EXPECT_EQ(Cell(12, 0, 4), '2');
    EXPECT_EQ(Cell(4, 0, 4), '8');
    EXPECT_EQ(state.cursorRow, 6);
    EXPECT_EQ(state.lastNoteKey, String("q"));
    // The preview restarts channels 1 and 5 with instrument 12's pair.
    const std::vector<std::string> triggered = {"StopChannel 1", "StopChannel 5", "PlaySample 1 buffer 100 flags 1",
                                                "PlaySample 5 buffer 103 flags 1"};
    const auto firstSetVolume = std::find(audio.log.begin(), audio.log.end(), "SetVolume 1 0.875");
    EXPECT_EQ(std::vector<std::string>(audio.log.begin(), audio.log.begin() + 4), triggered);
    EXPECT_NE(firstSetVolume, audio.log.end());
    ExpectColumnsIntact();

    // A non-zero volume is kept.
    SetCell(4, 0, 5, 'C');
    TypeText("w");
    EXPECT_EQ(Cell(4, 0, 5), 'C');
    EXPECT_EQ(Cell(0, 0, 5), 'w');
}

TEST_F(PatternEditingTest, CommandKeysClearInstrumentAndOctaveAndKeepVolume) {
    StartEditing();
    SetCell(4, 0, 0, '3');
    SetCell(8, 0, 0, '5');
    SetCell(12, 0, 0, '1');
    state.lastNoteKey = "q";
    TypeText("-");
    EXPECT_EQ(Cell(0, 0, 0), '-');
    EXPECT_EQ(Cell(8, 0, 0), '0');
    EXPECT_EQ(Cell(12, 0, 0), '0');
    EXPECT_EQ(Cell(4, 0, 0), '3');
    EXPECT_EQ(state.lastNoteKey, String("q"));  // "-" is not a note key
    EXPECT_EQ(state.cursorRow, 2);

    TypeText(".");
    EXPECT_EQ(Cell(0, 0, 1), '.');
    EXPECT_EQ(Cell(4, 0, 1), '0');  // no "8" for commands
    EXPECT_EQ(state.lastNoteKey, String("q"));
    TypeText("<");
    EXPECT_EQ(Cell(0, 0, 2), '<');
    EXPECT_EQ(state.lastNoteKey, String("<"));
}

TEST_F(PatternEditingTest, VolumeDigitsAreLowerCaseHexStoredUpperCase) {
    StartEditing();
    state.cursorColumn = 2;
    TypeText("b");
    EXPECT_EQ(Cell(4, 0, 0), 'B');
    EXPECT_EQ(state.cursorRow, 2);
    TypeText("B");
    EXPECT_EQ(Cell(4, 0, 1), '0');
    EXPECT_EQ(state.cursorRow, 2);
    TypeText("g");
    EXPECT_EQ(state.cursorRow, 2);
    state.cursorColumn = 8;
    TypeText("7");
    EXPECT_EQ(Cell(7, 0, 1), '7');
    EXPECT_EQ(Cell(0, 0, 1), '.');  // nothing on the note columns
}

TEST_F(PatternEditingTest, StandbyPreviewsWithoutWriting) {
    const auto columns = state.songColumns;
    state.cursorColumn = 2;
    TypeText("5");
    state.cursorColumn = 3;
    audio.Clear();
    TypeText("q");
    for (int k = 0; k < tracker::kColumns; ++k) EXPECT_TRUE(state.songColumns[k].SharesTextWith(columns[k]));
    EXPECT_EQ(state.cursorRow, 1);
    // Instrument 1 is clamped to WAV 1 by the widgets: ramp_b + saw on channel 2.
    EXPECT_TRUE(Logged("PlaySample 2 buffer 101 flags 1"));
    EXPECT_TRUE(Logged("PlaySample 6 buffer 103 flags 1"));
    EXPECT_EQ(state.lastNoteKey, String("q"));
}

TEST_F(PatternEditingTest, UpperCaseAndOtherCharactersAreNotNoteKeys) {
    StartEditing();
    audio.Clear();
    TypeText("A");
    TypeText("*");
    TypeCodePoint(keys::kLeftChar);
    EXPECT_EQ(Cell(0, 0, 0), '.');
    EXPECT_EQ(state.cursorRow, 1);
    EXPECT_TRUE(audio.Lines("PlaySample").empty());
}

TEST_F(PatternEditingTest, UsLayoutSwapsYAndZ) {
    Click(540, 450);
    Update();
    StartEditing();
    TypeText("z");
    TypeText("y");
    TypeText("Z");
    EXPECT_EQ(Cell(0, 0, 0), 'y');
    EXPECT_EQ(Cell(0, 0, 1), 'z');
    EXPECT_EQ(Cell(0, 0, 2), 'y');
    Click(540, 450);
    Update();
    TypeText("z");
    EXPECT_EQ(Cell(0, 0, 3), 'z');
}

TEST_F(PatternEditingTest, HeldDownRepeatsFromTheThirteenthUpdateAndWraps) {
    PressKey(keys::kDown);
    Update();
    EXPECT_EQ(state.cursorRow, 2);
    for (int update = 2; update <= 12; ++update) {
        Update();
        EXPECT_EQ(state.cursorRow, 2) << "held update " << update;
    }
    Update();
    EXPECT_EQ(state.cursorRow, 3);
    for (int update = 14; update <= 42; ++update) Update();
    EXPECT_EQ(state.cursorRow, 32);
    Update();
    EXPECT_EQ(state.cursorRow, 1);
    ReleaseKey(keys::kDown);
    Update();
    EXPECT_EQ(state.cursorRow, 1);
    EXPECT_EQ(state.downRepeat, 0);
}

TEST_F(PatternEditingTest, UpWrapsFromRowOneToThirtyTwo) {
    TapKey(keys::kUp);
    Update();
    EXPECT_EQ(state.cursorRow, 32);
    EXPECT_EQ(state.upRepeat, 0);
}

TEST_F(PatternEditingTest, ColumnKeysWrapAndStopVoices) {
    audio.Clear();
    TapKey(keys::kLeft);
    Update();
    EXPECT_EQ(state.cursorColumn, 8);
    ExpectAllVoicesStopped();
    state.cursorColumn = 7;
    TapKey(keys::kTab);
    Update();
    EXPECT_EQ(state.cursorColumn, 1);
    TapKey(keys::kRight);
    Update();
    EXPECT_EQ(state.cursorColumn, 2);
}

TEST_F(PatternEditingTest, NoteOnTheLastRowWrapsOnTheNextUpdate) {
    StartEditing();
    state.cursorRow = 32;
    TypeText("q");
    EXPECT_EQ(Cell(0, 0, 31), 'q');
    EXPECT_EQ(state.cursorRow, 33);
    Update();
    EXPECT_EQ(state.cursorRow, 1);
    ExpectColumnsIntact();
}

TEST_F(PatternEditingTest, NotesGoIntoThePatternOfTheCurrentPosition) {
    state.positions[1] = 9;
    StartEditing();
    TapKey(keys::kPageDown);
    Update();
    state.cursorColumn = 7;
    TypeText("n");
    EXPECT_EQ(Cell(3, 9, 0), 'n');
    EXPECT_EQ(Cell(3, 0, 0), '.');
}

// "n" in octave 2 with instrument 1 (WAV 1, ENV 1 after clamping).
TEST_F(PatternEditingTest, PreviewModulationSetsAllEightChannels) {
    TypeText("n");
    audio.Clear();
    Update();
    const float base = PitchBase(9.0f);
    std::vector<std::string> expected;
    for (int channel = 1; channel <= 8; ++channel) expected.push_back("SetVolume " + std::to_string(channel) + " 0");
    for (int channel = 1; channel <= 4; ++channel) {
        expected.push_back("SetRate " + std::to_string(channel) + " " + RecordingAudio::Number(base));
        expected.push_back("SetRate " + std::to_string(channel + 4) + " " + RecordingAudio::Number(base));
    }
    EXPECT_EQ(audio.log, expected);
}

TEST_F(PatternEditingTest, PreviewEnvelopeArpeggioAndPwm) {
    int* p = Instrument(1);
    p[0] = 1;
    p[1] = 8;            // PWM
    p[3] = 2 * 16 + 15;  // SWP 2, AMT 15
    p[4] = 4;            // ENV: four updates to silence
    p[5] = 1;            // SPD
    p[6] = 12;
    p[7] = 7;
    state.editOctave = 1;
    TypeText("y");  // exponent -12 + arpeggio
    // Update of the key press: envelope 1/32, arp counter 0, pwm counter 1.
    EXPECT_FLOAT_EQ(state.previewEnvelope, 0.03125f);
    EXPECT_EQ(state.previewArpOffset, 0.0f);
    EXPECT_EQ(state.previewPwmDirection, 1);
    audio.Clear();
    Update();
    EXPECT_FLOAT_EQ(state.previewArpOffset, 12.0f);
    EXPECT_TRUE(Logged("SetVolume 8 " + RecordingAudio::Number(1.0f - 0.0625f)));
    EXPECT_TRUE(Logged("SetRate 1 " + RecordingAudio::Number(PitchBase(0.0f))));
    EXPECT_TRUE(Logged("SetRate 5 " + RecordingAudio::Number(PitchBase(0.0f) + 0.01f)));
    Update();
    EXPECT_FLOAT_EQ(state.previewArpOffset, 7.0f);
    for (int update = 0; update < 40; ++update) Update();
    EXPECT_EQ(state.previewEnvelope, 1.0f);
}

TEST_F(PatternEditingTest, PreviewWithEnvZeroIsSilentAtOnce) {
    // Instrument 0 is never clamped by the widgets.
    state.currentInstrument = 0;
    TypeText("q");
    EXPECT_EQ(state.previewEnvelope, 1.0f);
    EXPECT_TRUE(Logged("SetVolume 1 0"));
}
}  // namespace
