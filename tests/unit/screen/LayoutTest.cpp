// The full layout through the recording drawing layer: the exact order of
// colours, rectangles and texts, the pattern rows, order column, panel values,
// cursor highlight and caret.
#include "tests/unit/screen/ScreenFixture.h"

using namespace screen_test;

namespace {
std::string RowLine(int row, const std::string& cells) { return HexByte(row).ToUtf8() + cells; }
std::string TextAt(int x, int y, const std::string& text) {
    return "text " + std::to_string(x) + " " + std::to_string(y) + " '" + text + "'";
}

TEST_F(ScreenTest, FullLayoutDrawsPanelsLabelsValuesCaretInOrder) {
    DrawMainScreen(state, g);
    const std::vector<std::string> expected = {
        kBackground,
        "rect 0 0 640 475",
        kPanel,
        "rect 2 14 380 385",
        kBackground,
        "rect 303 14 2 387",
        "color 71 53 85",
        "rect 305 14 77 12",
        kText,
        "text 391 441 'load save'",
        "text 520 343 'edit undo'",
        "text 520 363 'copytrack'",
        "text 520 383 'pastetrck'",
        "text 425 40 '[[[[ [[[  [[[  '",
        "text 425 52 '  [  [  [ [  [ '",
        "text 425 64 ' [   [[[  [[[  '",
        "text 425 76 '[    [ [  [  [ '",
        "text 425 88 '[[[[ [  [ [[[  '",
        "text 442 106 'Description:'",
        kPanel,
        "rect 394 122 236 18",
        "rect 4 440 385 18",
        "color 128 128 128",
        "text 396 123 ''",
        kText,
        "text 385 144 '  INSTRUMENT:01'",
        "text 385 360 ' OCT:02'",
        "text 385 168 '         WAV:00'",
        "text 385 180 '         PWM:00'",
        "text 385 192 '         SWP:00'",
        "text 385 204 '         ENV:00'",
        "text 385 216 '         E2P:00'",
        "text 385 228 '         ARP:00'",
        "text 385 240 '         SPD:00'",
        "text 385 252 '         AMT:00'",
        "text 385 264 '         RPT:00'",
        "text 385 372 ' SPD:04'",
        "text 385 384 ' Len:01'",
        "text 520 440 'Layout KEY'",
        "text 0 441 ' '",
        kCursorRow,  // standby: colour set, no highlight
        kCaret,
        "text 33 12 ' ['",
        kBeat,
        "text 0 12 '00: ---00 ---00 ---00 ---00'",
        kText,
        "text 297 12 ' 00: 00'",
        kText,
        "text 0 24 '01: ---00 ---00 ---00 ---00'",
        kText,
        "text 297 24 ' 01: 00'",
    };
    EXPECT_EQ(FirstDifference(Slice(0, static_cast<int>(expected.size())), expected), "");
}

TEST_F(ScreenTest, FullLayoutEndsWithTheButtonsAndTheNavigationRow) {
    DrawMainScreen(state, g);
    const std::vector<std::string> expected = {
        "text 0 384 '1F: ---00 ---00 ---00 ---00'",
        kText,
        "text 297 384 ' 1F: 00'",
        kWhite,
        "image button1 561 144 0",
        "image button1 473 360 0",
        "image button1 561 168 0",
        "image button1 561 180 0",
        "image button1 561 192 0",
        "image button1 561 204 0",
        "image button1 561 228 0",
        "image button1 593 228 0",
        "image button1 561 240 0",
        "image button1 561 252 0",
        "image button1 561 264 0",
        "image button1 561 216 0",
        "image button1 473 372 0",
        "image button1 473 384 0",
        "image navrow 385 12 0",
        "color 128 128 128",
        "text 520 408 '?:help'",
    };
    const int start = static_cast<int>(g.log.size() - expected.size());
    EXPECT_EQ(FirstDifference(Slice(start, static_cast<int>(expected.size())), expected), "");
}

TEST_F(ScreenTest, LogoRowsAreFifteenCellsOfBlocksAndSpaces) {
    DrawMainScreen(state, g);
    int rows = 0;
    for (const auto& line : g.Lines("text 425 ")) {
        const std::string text = line.substr(line.find('\'') + 1, line.rfind('\'') - line.find('\'') - 1);
        EXPECT_EQ(text.size(), 15u) << line;
        EXPECT_EQ(text.find_first_not_of("[ "), std::string::npos) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 5);
}

TEST_F(ScreenTest, MissingButtonImagesAreSkipped) {
    state.buttonImage.reset();
    state.navRowImage.reset();
    DrawMainScreen(state, g);
    EXPECT_TRUE(g.Lines("image").empty());
    EXPECT_EQ(g.log[g.log.size() - 3], kWhite);  // then the help hint
}

TEST_F(ScreenTest, EveryFourthRowUsesTheBeatColour) {
    DrawMainScreen(state, g);
    for (int i = 0; i < 32; ++i) {
        const int at = g.Find(TextAt(0, 12 + 12 * i, RowLine(i, kEmptyRowCells)));
        ASSERT_GT(at, 0) << "row " << i;
        EXPECT_EQ(g.log[at - 1], i % 4 == 0 ? kBeat : kText) << "row " << i;
    }
}

TEST_F(ScreenTest, RowsFollowThePatternAndPlayRow) {
    state.patternBase = 2 * 32;
    state.playRow = 3;
    PutCell(0, 64 + 3, "q", "8", "1", "2");  // the first row drawn
    PutCell(1, 64 + 4, "<", "0", "0", "0");
    PutCell(3, 64 + 4, "p", "F", "9", "3");
    DrawMainScreen(state, g);
    EXPECT_GE(g.Find(TextAt(0, 12, "03: C-381 ---00 ---00 ---00")), 0);
    EXPECT_GE(g.Find(TextAt(0, 24, "04: ---00 {|}00 ---00 E-5F9")), 0);
    // Row number 04 is a beat row even though it is the second row drawn.
    EXPECT_EQ(g.log[g.Find(TextAt(0, 24, "04: ---00 {|}00 ---00 E-5F9")) - 1], kBeat);
    // The view runs on into the next pattern: row index 64+3+31 shows as 02.
    EXPECT_GE(g.Find(TextAt(0, 384, RowLine(2, kEmptyRowCells))), 0);
}

TEST_F(ScreenTest, RowsPastTheSongColumnsShowEmptyCellsWithTheirSpaces) {
    state.patternBase = 255 * 32;
    state.playRow = 30;  // rows from index 8192 on are past the end
    DrawMainScreen(state, g);
    EXPECT_GE(g.Find(TextAt(0, 12, "1E: ---00 ---00 ---00 ---00")), 0);
    EXPECT_GE(g.Find(TextAt(0, 24, "1F: ---00 ---00 ---00 ---00")), 0);
    EXPECT_GE(g.Find(TextAt(0, 36, "00:    ")), 0);
    EXPECT_GE(g.Find(TextAt(0, 384, "1D:    ")), 0);
}

TEST_F(ScreenTest, OrderColumnShowsPositionsAndStopsAtTheLastEntry) {
    state.positions[7] = 0x2A;
    state.positions[255] = 0xFE;
    state.currentPosition = 6;
    DrawMainScreen(state, g);
    EXPECT_GE(g.Find(TextAt(297, 12, " 06: 00")), 0);
    EXPECT_GE(g.Find(TextAt(297, 24, " 07: 2A")), 0);
    EXPECT_EQ(g.Lines("text 297 ").size(), 32u);

    g.Clear();
    state.currentPosition = 250;
    DrawMainScreen(state, g);
    const auto orderLines = g.Lines("text 297 ");
    ASSERT_EQ(orderLines.size(), 6u);  // 250..255; nothing past the list
    EXPECT_EQ(orderLines.back(), TextAt(297, 72, " FF: FE"));
}

TEST_F(ScreenTest, PanelValuesUnpackTheCurrentInstrument) {
    state.currentInstrument = 2;
    const int values[8] = {3, 5, 0x1A, 0x4B, 200, 7, 12, 4};
    for (int k = 0; k < 8; ++k) state.instrumentParams[16 + k] = values[k];
    state.instrumentNames[2] = "Fat bass";
    state.editOctave = 3;
    state.songSpeed = 16;
    state.songLength = 99 * 32;
    state.keyboardLayout = "US";
    state.fileName = "tune";
    DrawMainScreen(state, g);
    const std::vector<std::string> expected = {
        "color 128 128 128",
        "text 396 123 'Fat bass'",
        kText,
        "text 385 144 '  INSTRUMENT:02'",
        "text 385 360 ' OCT:03'",
        "text 385 168 '         WAV:03'",
        "text 385 180 '         PWM:05'",
        "text 385 192 '         SWP:04'",
        "text 385 204 '         ENV:C8'",
        "text 385 216 '         E2P:0A'",
        "text 385 228 '         ARP:C4'",
        "text 385 240 '         SPD:07'",
        "text 385 252 '         AMT:0B'",
        "text 385 264 '         RPT:01'",
        "text 385 372 ' SPD:10'",
        "text 385 384 ' Len:63'",
        "text 520 440 'Layout US'",
        "text 0 441 ' tune'",
    };
    const int start = g.Find("color 128 128 128");
    EXPECT_EQ(FirstDifference(Slice(start, static_cast<int>(expected.size())), expected), "");
}

TEST_F(ScreenTest, InstrumentPastTheTableReadsZeroesInsteadOfOverrunning) {
    state.currentInstrument = 31;  // entries 248..255; the table ends at 254
    for (int k = 248; k < 255; ++k) state.instrumentParams[k] = 1;
    DrawMainScreen(state, g);
    EXPECT_GE(g.Find(TextAt(385, 228, "         ARP:10")), 0);  // p6 = 1, p7 missing = 0

    g.Clear();
    state.currentInstrument = 40;  // past the name slots too
    DrawMainScreen(state, g);
    EXPECT_GE(g.Find(TextAt(396, 123, "")), 0);
    EXPECT_GE(g.Find(TextAt(385, 144, "  INSTRUMENT:28")), 0);
}

TEST_F(ScreenTest, CursorRowHighlightOnlyWhileEditing) {
    state.cursorRow = 5;
    state.transportState = tracker::kEditing;
    DrawMainScreen(state, g);
    int at = g.Find(kCursorRow);
    ASSERT_GE(at, 0);
    EXPECT_EQ(g.log[at + 1], "rect 0 62 303 12");
    EXPECT_EQ(g.log[at + 2], kCaret);

    for (int transport : {tracker::kStandby, tracker::kPlaying}) {
        g.Clear();
        state.transportState = transport;
        DrawMainScreen(state, g);
        at = g.Find(kCursorRow);
        ASSERT_GE(at, 0);
        EXPECT_EQ(g.log[at + 1], kCaret) << "transport " << transport;
        EXPECT_EQ(g.Find("rect 0 62 303 12"), -1) << "transport " << transport;
    }
}

TEST_F(ScreenTest, CaretMarksTheCursorCellOrTheNameBeingTyped) {
    auto caretLine = [&]() {
        const int at = g.Find(kCaret);
        return at >= 0 ? g.log[at + 1] : std::string();
    };
    state.cursorColumn = 1;
    state.cursorRow = 1;
    DrawMainScreen(state, g);
    EXPECT_EQ(caretLine(), TextAt(33, 12, " ["));  // "[" on channel 1's note, row 00

    g.Clear();
    state.cursorColumn = 8;  // channel 4's volume digit
    state.cursorRow = 32;
    DrawMainScreen(state, g);
    EXPECT_EQ(caretLine(), TextAt(264, 384, " ["));

    g.Clear();
    state.instrumentNameEntry = 1;
    state.instrumentNames[1] = "Lead";
    DrawMainScreen(state, g);
    EXPECT_EQ(caretLine(), TextAt(385 + 44, 123, " ["));

    g.Clear();
    state.fileNameEntry = 1;  // the file name wins when both are set
    state.fileName = "song01";
    DrawMainScreen(state, g);
    EXPECT_EQ(caretLine(), TextAt(66, 441, " ["));
    EXPECT_EQ(g.Lines("text 429 123").size(), 0u);
}
}  // namespace
