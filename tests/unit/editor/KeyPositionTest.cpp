// Note keys by key position through the real update step: the character is
// typed while its key is down, as the host delivers it on any layout.
#include "EditorHarness.h"

namespace {
class KeyPositionTest : public EditorTest {
protected:
    // A key press that types character c on the current layout.
    void TypeWithKey(int keyCode, int c) {
        input.KeyEvent(EVENT_KEY_PRESSED, keyCode);
        input.KeyEvent(EVENT_CHAR_TYPED, c);
        input.KeyEvent(EVENT_KEY_RELEASED, keyCode);
        Update();
    }
};

TEST_F(KeyPositionTest, NotesByPlaceCommandsAndVolumesAsTyped) {
    StartEditing();
    TypeWithKey('Z', 'w');   // French: "w" lies where a US keyboard has "z"
    TypeWithKey('Y', 'z');   // German: "z" lies where a US keyboard has "y"
    TypeWithKey('2', 0xE9);  // French, unshifted: "é" on the "2" key
    TypeWithKey('6', '-');   // French: "-" on the "6" key stays the pattern end
    TypeWithKey('Q', 'Q');   // Shift or Caps Lock: still the key's note
    EXPECT_EQ(Cell(0, 0, 0), 'y');
    EXPECT_EQ(Cell(0, 0, 1), 'z');
    EXPECT_EQ(Cell(0, 0, 2), '2');
    EXPECT_EQ(Cell(0, 0, 3), '-');
    EXPECT_EQ(Cell(0, 0, 4), 'q');

    TapKey(keys::kRight);  // volume column: digits as typed, not by place
    Update();
    TypeWithKey('Q', 'a');  // AZERTY "a" is at the US "q" place
    EXPECT_EQ(Cell(4, 0, 5), 'A');
}
}  // namespace
