// The key codes the input device reports for keyboard keys, and the
// characters that pressing (or auto-repeating) an editing key puts in its
// character queue. Free of GLFW, so the editor and its tests read the same
// table the host fills the device from.
#pragma once

namespace keys {
constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kEnter = 13;
constexpr int kShift = 16;    // left or right
constexpr int kControl = 17;  // left or right
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kPageUp = 33;
constexpr int kPageDown = 34;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kInsert = 45;
constexpr int kDelete = 46;
// Digits and letters keep their character code ('0'..'9', 'A'..'Z'); on X11
// they name the key's place on a US keyboard, whatever the layout prints.
constexpr int kY = 'Y';
constexpr int kZ = 'Z';
constexpr int kKeypad0 = 96;  // keypad 0..9 are 96..105
constexpr int kKeypadMultiply = 106;
constexpr int kKeypadAdd = 107;
constexpr int kKeypadSubtract = 109;
constexpr int kKeypadDecimal = 110;
constexpr int kKeypadDivide = 111;
constexpr int kF1 = 112;  // F1..F12 are 112..123
constexpr int kF2 = 113;
constexpr int kF5 = 116;
constexpr int kF6 = 117;
constexpr int kF7 = 118;
constexpr int kF8 = 119;
constexpr int kF9 = 120;
constexpr int kF10 = 121;
constexpr int kF11 = 122;
constexpr int kF12 = 123;
constexpr int kSemicolon = 186;
constexpr int kEqual = 187;
constexpr int kComma = 188;
constexpr int kMinus = 189;
constexpr int kPeriod = 190;
constexpr int kSlash = 191;
constexpr int kGraveAccent = 192;
constexpr int kLeftBracket = 219;
constexpr int kBackslash = 220;
constexpr int kRightBracket = 221;
constexpr int kApostrophe = 222;

// Cursor and page keys type a character above the 16-bit range so that a
// reader of the queue can tell them from printable text.
constexpr int kSpecialCharBase = 65536;
constexpr int kPageUpChar = kSpecialCharBase + kPageUp;
constexpr int kPageDownChar = kSpecialCharBase + kPageDown;
constexpr int kEndChar = kSpecialCharBase + kEnd;
constexpr int kHomeChar = kSpecialCharBase + kHome;
constexpr int kLeftChar = kSpecialCharBase + kLeft;
constexpr int kUpChar = kSpecialCharBase + kUp;
constexpr int kRightChar = kSpecialCharBase + kRight;
constexpr int kDownChar = kSpecialCharBase + kDown;
constexpr int kInsertChar = kSpecialCharBase + kInsert;
constexpr int kDeleteChar = 127;
// Backspace, Tab, Enter and Escape type their own code.
constexpr int kBackspaceChar = kBackspace;
constexpr int kEnterChar = kEnter;
constexpr int kEscapeChar = kEscape;

// The character a press or repeat of a key types besides the host's
// character callback, or 0 for keys that type through that callback.
constexpr int KeyPressCharacter(int code) {
    switch (code) {
        case kBackspace:
        case kTab:
        case kEnter:
        case kEscape:
            return code;
        case kPageUp:
        case kPageDown:
        case kEnd:
        case kHome:
        case kLeft:
        case kUp:
        case kRight:
        case kDown:
        case kInsert:
            return code + kSpecialCharBase;
        case kDelete:
            return kDeleteChar;
        default:
            return 0;
    }
}
}  // namespace keys
