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

TEST_F(KeyPositionTest, PianoKeysWriteTheirNotesWhateverTheyPrint) {
    StartEditing();
    TypeWithKey('Z', 'w');   // French: "w" lies where a US keyboard has "z"
    TypeWithKey('Y', 'z');   // German: "z" lies where a US keyboard has "y"
    TypeWithKey('2', 0xE9);  // French, unshifted: "é" on the "2" key
    TypeWithKey('6', '-');   // French: "-" printed on the G# key
    TypeWithKey('E', '.');   // Dvorak: "." printed on the E key
    TypeWithKey('Q', 'Q');   // Shift or Caps Lock: still the key's note
    EXPECT_EQ(Cell(0, 0, 0), 'y');
    EXPECT_EQ(Cell(0, 0, 1), 'z');
    EXPECT_EQ(Cell(0, 0, 2), '2');
    EXPECT_EQ(Cell(0, 0, 3), '6');
    EXPECT_EQ(Cell(0, 0, 4), 'e');
    EXPECT_EQ(Cell(0, 0, 5), 'q');

    TapKey(keys::kRight);  // volume column: digits as typed, not by place
    Update();
    TypeWithKey('Q', 'a');  // AZERTY "a" is at the US "q" place
    EXPECT_EQ(Cell(4, 0, 6), 'A');
}

TEST_F(KeyPositionTest, CommandsComeFromOtherKeysAndTheKeypad) {
    StartEditing();
    TypeWithKey(keys::kMinus, '-');
    TypeWithKey(keys::kKeypadDecimal, ',');  // German keypad: still "."
    TypeWithKey(keys::kKeypadAdd, '+');
    TypeWithKey(keys::kKeypadMultiply, '*');
    TypeWithKey(keys::kKeypadSubtract, '-');
    TypeWithKey(keys::kKeypadDivide, '/');
    TypeWithKey(keys::kComma, '<');  // US Shift+comma
    EXPECT_EQ(std::string(state.songColumns[0].Slice(0, 7).ToUtf8()), "-.+#-<<");

    // The printed reading, as designed, under US and DE.
    for (const char* label : {"US", "DE"}) {
        Click(520, 450);
        Update();
        ASSERT_EQ(state.keyboardLayout, String(label));
        state.cursorRow = 10;
        TypeWithKey('6', '-');
        EXPECT_EQ(Cell(0, 0, 9), '-') << label;
    }
}
}  // namespace
