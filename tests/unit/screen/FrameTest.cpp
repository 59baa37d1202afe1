// One frame (RenderScreen): when the full layout is due, the play marker, the
// status area drawn every frame, the channel labels and the level meters.
#include "screen/ScreenRedraw.h"
#include "tests/unit/screen/ScreenFixture.h"

using namespace screen_test;

namespace {
const std::string kStatusIndent(43, ' ');

// The meter lines of one channel for a bar of the given height.
std::vector<std::string> MeterLines(int x, int level) {
    return {
        kBackground, "rect " + std::to_string(x) + " 348 16 -64",
        "color " + std::to_string(79 + level) + " " + std::to_string(95 - level) + " " + std::to_string(151 - level),
        "rect " + std::to_string(x) + " 348 16 -" + std::to_string(level)};
}

bool DrewFullLayout(const RecordingGraphics& g) { return g.Find("rect 0 0 640 475") >= 0; }

TEST_F(ScreenTest, FrameWithoutFullLayoutDrawsOnlyTheStatusArea) {
    state.redrawCounter = 2;
    RenderScreen(state, g);
    std::vector<std::string> expected = {
        kBackground,
        "rect 520 323 570 16",
        "rect 4 408 380 16",
        "color 38 38 38",
        "rect 2 0 640 14",
        kMarker,
        "text 0 -1 '" + kStatusIndent + "Standby...'",
        kText,
        "text 0 -1 'POS CHN1  CHN2  CHN3  CHN4  POS ## Status: '",
        "text 0 408 '    on    on    on    on   FLW:On'",
        "text 520 323 'play home'",
    };
    for (int x : {407, 429, 451, 473})
        for (const auto& line : MeterLines(x, 2)) expected.push_back(line);
    EXPECT_EQ(FirstDifference(g.log, expected), "");
    EXPECT_EQ(state.redrawCounter, 2);
}

TEST_F(ScreenTest, FullLayoutOnceTheCounterExceedsTwoThenTheStatusArea) {
    state.redrawCounter = 3;
    RenderScreen(state, g);
    EXPECT_EQ(g.log.front(), kBackground);
    EXPECT_EQ(g.log[1], "rect 0 0 640 475");
    EXPECT_EQ(state.redrawCounter, 0);
    // The status area follows the navigation row image and the help hint.
    const int nav = g.Find("image navrow 385 12 0");
    ASSERT_GE(nav, 0);
    EXPECT_EQ(g.log[nav + 3], kBackground);
    EXPECT_EQ(g.log[nav + 4], "rect 520 323 570 16");

    g.Clear();
    RenderScreen(state, g);  // the counter was reset: no layout on the next frame
    EXPECT_FALSE(DrewFullLayout(g));
}

TEST_F(ScreenTest, PlayingWithFollowLaysOutEachPatternAtItsFirstRow) {
    state.transportState = tracker::kPlaying;
    state.playRow = 0;
    state.redrawCounter = 1;
    RenderScreen(state, g);
    EXPECT_TRUE(DrewFullLayout(g));
    EXPECT_EQ(state.redrawCounter, 0);
    const int nav = g.Find("image navrow 385 12 0");
    ASSERT_GE(nav, 0);
    const std::vector<std::string> marker = {kPanel, "line 2 -10 303 -10", kMarker, "line 2 2 303 2"};
    EXPECT_EQ(FirstDifference(Slice(nav + 3, 4), marker), "");  // after the help hint

    g.Clear();
    state.playRow = 3;
    state.redrawCounter = 9;  // the counter does not matter while playing
    RenderScreen(state, g);
    EXPECT_FALSE(DrewFullLayout(g));
    const std::vector<std::string> moved = {kPanel, "line 2 26 303 26", kMarker, "line 2 38 303 38", kBackground};
    EXPECT_EQ(FirstDifference(Slice(0, 5), moved), "");
    EXPECT_GE(g.Find("text 520 323 'stop home'"), 0);
}

// Drawing only what changed, over the updates of a pattern's first row and
// into the next: the layout is drawn once per pattern start (every update of
// the row used to draw it again), and the marker rows drawn since then make
// the next start draw it even when its content is the same.
TEST_F(ScreenTest, SkippingDrawsEachPatternStartOnce) {
    ScreenRedraw redraw;
    state.transportState = tracker::kPlaying;
    int layouts = 0;
    const auto frame = [&](int row) {
        state.playRow = row;
        g.Clear();
        RenderScreen(state, g, redraw);
        layouts += DrewFullLayout(g) ? 1 : 0;
    };
    for (int update = 0; update < 4; ++update) frame(0);
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(g.Find("line 2 2 303 2"), -1);  // the marker stays from the first update
    for (int row = 1; row < tracker::kRowsPerPattern; ++row) frame(row);
    EXPECT_EQ(layouts, 1);
    frame(0);  // the same pattern again: its marker rows must be erased
    frame(0);
    EXPECT_EQ(layouts, 2);
}

TEST_F(ScreenTest, PlayingWithoutFollowNeverRedrawsNorMarks) {
    state.transportState = tracker::kPlaying;
    state.followMode = "Off";
    state.playRow = 0;
    state.redrawCounter = 5;
    RenderScreen(state, g);
    EXPECT_FALSE(DrewFullLayout(g));
    EXPECT_TRUE(g.Lines("line").empty());
    EXPECT_EQ(state.redrawCounter, 5);
    EXPECT_GE(g.Find("text 0 408 '    on    on    on    on   FLW:Off'"), 0);
}

TEST_F(ScreenTest, ChannelLabelsFollowTheMixer) {
    state.channelVolumeScale = {1.0f, 0.0f, 1.0f, 0.0f};
    state.statusText = "Editing...";
    RenderScreen(state, g);
    EXPECT_EQ(state.channelLabels[0].ToUtf8(), "on  ");
    EXPECT_EQ(state.channelLabels[1].ToUtf8(), "off ");
    EXPECT_GE(g.Find("text 0 408 '    on    off   on    off  FLW:On'"), 0);
    EXPECT_GE(g.Find("text 0 -1 '" + kStatusIndent + "Editing...'"), 0);
}

TEST_F(ScreenTest, MeterJumpsToTheVolumeAndIsClampedTo64) {
    state.transportState = tracker::kPlaying;
    state.followMode = "Off";
    PutCell(0, 0, "q", "f", "1", "2");  // 15 * 8 = 120
    PutCell(2, 0, "q", "4", "1", "2");  // 32, then the frame's decay
    RenderScreen(state, g);
    EXPECT_EQ(state.vuLevels[0], 64);
    EXPECT_EQ(state.vuLevels[1], 2);  // "." leaves it sinking
    EXPECT_EQ(state.vuLevels[2], 30);
    const int start = g.Find("rect 407 348 16 -64") - 1;
    EXPECT_EQ(FirstDifference(Slice(start, 4), MeterLines(407, 64)), "");
    const int third = g.Find("rect 451 348 16 -64") - 1;
    EXPECT_EQ(FirstDifference(Slice(third, 4), MeterLines(451, 30)), "");
}

TEST_F(ScreenTest, MutedOrIdleMeterSinksByTwoAFrameToTwo) {
    PutCell(0, 0, "q", "f", "1", "2");
    state.transportState = tracker::kPlaying;
    state.followMode = "Off";
    state.channelVolumeScale[0] = 0.0f;  // muted: the note does not lift the bar
    state.vuLevels = {9, 64, 3, 1};
    const int expected[][4] = {{7, 62, 2, 2}, {5, 60, 2, 2}, {3, 58, 2, 2}, {2, 56, 2, 2}, {2, 54, 2, 2}};
    for (const auto& levels : expected) {
        RenderScreen(state, g);
        for (int c = 0; c < 4; ++c) EXPECT_EQ(state.vuLevels[c], levels[c]) << "channel " << c;
    }
}

TEST_F(ScreenTest, MeterIgnoresNotesWhenNotPlaying) {
    PutCell(0, 0, "q", "f", "1", "2");
    state.transportState = tracker::kEditing;
    RenderScreen(state, g);
    EXPECT_EQ(state.vuLevels[0], 2);
}

TEST_F(ScreenTest, MeterPastTheSongColumnsDoesNotReadOutside) {
    state.transportState = tracker::kPlaying;
    state.followMode = "Off";
    state.patternBase = 300 * 32;  // a broken order entry
    state.vuLevels = {40, 40, 40, 40};
    RenderScreen(state, g);
    // No character there: not "." so it reads the (missing) volume as 0.
    for (int c = 0; c < 4; ++c) EXPECT_EQ(state.vuLevels[c], 2);
}
}  // namespace
