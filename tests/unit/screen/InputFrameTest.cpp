// Input to screen through the real update step: the frame drawn right after
// an update that read a key or click shows what it changed, while frames
// without input keep the layout's cadence.
#include "editor/Editor.h"
#include "editor/Keys.h"
#include "host/InputDevice.h"
#include "screen/ScreenRedraw.h"
#include "tests/support/RecordingAudio.h"
#include "tests/unit/screen/ScreenFixture.h"

namespace {

class InputFrameTest : public ScreenTest {
protected:
    // One update as the host runs it, then the frame after it.
    void UpdateAndRender() {
        input.BeginUpdate();
        UpdateStep(state, overlay, input, audio, nullptr);
        input.EndUpdate();
        g.Clear();
        RenderScreen(state, g, redraw);
    }
    void Tap(int code) {
        input.KeyEvent(EVENT_KEY_PRESSED, code);
        input.KeyEvent(EVENT_KEY_RELEASED, code);
    }
    void Click(float x, float y) {
        input.MouseEvent(EVENT_POINTER_MOVED, -1, x, y, 0);
        input.MouseEvent(EVENT_BUTTON_PRESSED, 0, x, y, 0);
        input.MouseEvent(EVENT_BUTTON_RELEASED, 0, x, y, 0);
    }
    bool DrewLayout() const { return g.Find("rect 0 0 640 475") >= 0; }

    c_InputDevice input;
    OverlayState overlay;
    RecordingAudio audio;
    ScreenRedraw redraw;
};

TEST_F(InputFrameTest, CursorKeyShowsInTheFrameRightAfterItsUpdate) {
    RenderScreen(state, g, redraw);  // the first frame draws everything
    Tap(keys::kSpace);
    UpdateAndRender();
    ASSERT_EQ(state.transportState, tracker::kEditing);
    ASSERT_TRUE(DrewLayout()) << "the cursor row appears with the key";
    for (int update = 0; update < 3; ++update) UpdateAndRender();
    ASSERT_EQ(state.redrawCounter, 1) << "the cadence's own layout was one update ago";

    const std::string cursorOnRow2 = "rect 0 26 303 12";
    Tap(keys::kDown);
    UpdateAndRender();
    EXPECT_TRUE(DrewLayout());
    EXPECT_GE(g.Find(cursorOnRow2), 0);

    // Without input the cadence stands, and a layout that shows nothing new
    // is not drawn again.
    for (int update = 0; update < 6; ++update) {
        UpdateAndRender();
        EXPECT_FALSE(DrewLayout()) << "update " << update;
    }
    // A key that changes nothing the layout shows draws no layout.
    Tap(keys::kF5);
    UpdateAndRender();
    EXPECT_FALSE(DrewLayout());
    EXPECT_GE(g.Find("text 0 408 '    off   on    on    on   FLW:On'"), 0);
}

// While a followed pattern plays, the layout waits for the pattern's next
// first row; an input that changes it shows in the next frame, laid out from
// the first row as that layout would be, with the marker on the playing row.
TEST_F(InputFrameTest, ClickWhilePlayingShowsInTheFrameRightAfterItsUpdate) {
    RenderScreen(state, g, redraw);
    Tap(keys::kF1);
    UpdateAndRender();
    ASSERT_EQ(state.transportState, tracker::kPlaying);
    while (state.playRow < 3) UpdateAndRender();
    EXPECT_FALSE(DrewLayout());

    const String layoutBefore = state.keyboardLayout;
    Click(540, 450);  // the keyboard layout switch
    UpdateAndRender();
    ASSERT_FALSE(state.keyboardLayout == layoutBefore);
    const int row = state.playRow;
    EXPECT_TRUE(DrewLayout());
    EXPECT_GE(g.Find("text 520 440 'Layout " + state.keyboardLayout.ToBytes() + "'"), 0);
    EXPECT_GE(g.Find("text 0 12 '00" + screen_test::kEmptyRowCells + "'"), 0) << "laid out from the first row";
    const std::string marker = "line 2 " + std::to_string(12 * row + 2) + " 303 " + std::to_string(12 * row + 2);
    EXPECT_GT(g.Find(marker), g.Find("rect 0 0 640 475"));

    // A key that changes nothing the layout shows leaves the marker's layout alone.
    Tap(keys::kF5);
    UpdateAndRender();
    EXPECT_FALSE(DrewLayout());
}

}  // namespace
