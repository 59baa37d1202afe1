// The help page and the song list through the real update step: they take
// every key while open, the list loads through LoadSong (also a name that is
// not UTF-8), and the status line names the real state after a message.
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "EditorHarness.h"
#include "io/DataPath.h"
#include "store/SongStore.h"
#include "tests/support/TempFolder.h"

namespace {
class OverlayKeysTest : public EditorTest {
protected:
    TempFolder temp{"zrb-overlay"};
    const std::string root = temp.Path();
    const std::string songs = root + "/data/songs/";
    void SetUp() override {
        EditorTest::SetUp();
        ASSERT_TRUE(temp.Made());
        temp.MakeFolder("data/songs");
        SetAppDirectory(String(root));
    }
};

TEST_F(OverlayKeysTest, HelpSwallowsTheKeysThatCloseIt) {
    StartEditing();
    TypeChar('?');
    Update();
    ASSERT_EQ(overlay.open, Overlay::kHelp);
    TypeChar('q');  // closes, and is not a note
    TapKey(keys::kSpace);
    Update();
    EXPECT_EQ(overlay.open, Overlay::kNone);
    EXPECT_EQ(Cell(0, 0, 0), '.');
    EXPECT_EQ(state.transportState, tracker::kEditing);
    TypeText("q");
    EXPECT_EQ(Cell(0, 0, 0), 'q');
}

// The characters before a "?" of the same update are the pattern's; the "?"
// and those after it the help page's.
TEST_F(OverlayKeysTest, HelpTakesItsCharacterInItsPlace) {
    StartEditing();
    for (int c : {'q', '?', 'w'}) input.KeyEvent(EVENT_CHAR_TYPED, c);
    Update();
    EXPECT_EQ(overlay.open, Overlay::kHelp);
    EXPECT_EQ(Cell(0, 0, 0), 'q');
    EXPECT_EQ(Cell(0, 0, 1), '.');
}

TEST_F(OverlayKeysTest, ListNarrowsAndLoadsThroughLoadSongEvenANameThatIsNotUtf8) {
    std::string weird = "gr\xFCn";
    SetCell(0, 0, 0, 'q');
    state.fileName = String(weird);
    ASSERT_EQ(SaveSong(state, state.fileName), String("File Saved..."));
    std::ofstream(songs + "other") << "x";
    BuildEmptySong(state);
    state.fileName = String();

    TapKey(keys::kF12);
    Update();
    ASSERT_EQ(overlay.open, Overlay::kSongList);
    EXPECT_EQ(overlay.visible.size(), 2u);
    TypeText("gr");
    EXPECT_EQ(overlay.visible.size(), 1u);
    state.positions[1] = 7;
    TapKey(keys::kBackspace);  // the list takes Backspace; no order-list position is deleted
    Update();
    EXPECT_EQ(overlay.filter, String("g"));
    EXPECT_EQ(state.positions[1], 7);
    TypeText("r");
    TapKey(keys::kEnter);
    Update();
    EXPECT_EQ(overlay.open, Overlay::kNone);
    EXPECT_EQ(state.statusText, String("File Loaded..."));
    EXPECT_EQ(Cell(0, 0, 0), 'q');

    TapKey(keys::kDown);  // the next key gives the state back
    Update();
    EXPECT_EQ(state.statusText, String("Standby..."));
}
}  // namespace
