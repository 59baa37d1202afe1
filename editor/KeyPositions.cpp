// The piano rows by key position. Key codes of letters and digits are those
// of the key's place on a US keyboard (the host reads positions, not the
// printed letters), and the song stores the German-keyboard note letters, so
// only the two corner letters differ: the key at US "z" stores "y" (C) and
// the key at US "y" stores "z" (A).
#include "editor/KeyPositions.h"

#include "host/KeyCodes.h"
#include "runtime/String.h"

namespace {
bool OnPianoRows(int keyCode) {
    static const char kPianoKeys[] = "ZSXDCVGBHNJMQ2W3ER5T6Y7UI9O0P";
    for (const char* k = kPianoKeys; *k != '\0'; ++k)
        if (keyCode == *k) return true;
    return false;
}

// The keypad's command keys, the same on every layout (its decimal key
// types "," on some).
int KeypadCommand(int keyCode) {
    switch (keyCode) {
        case keys::kKeypadDecimal:
            return '.';
        case keys::kKeypadAdd:
            return '+';
        case keys::kKeypadMultiply:
            return '#';
        case keys::kKeypadSubtract:
            return '-';
        case keys::kKeypadDivide:
            return '<';
        default:
            return 0;
    }
}
}  // namespace

namespace editor {
int NoteCharByKeyPosition(int typed, int keyCode) {
    if (const int command = KeypadCommand(keyCode)) return command;
    // A piano key writes its note even where the layout prints a command
    // character on it ("-" on the French "6" key, "." on the Dvorak "e" key).
    if (!OnPianoRows(keyCode)) return typed;
    if (keyCode == 'Z') return 'y';
    if (keyCode == 'Y') return 'z';
    if (keyCode >= 'A' && keyCode <= 'Z') return keyCode - 'A' + 'a';
    return keyCode;  // digits keep their code
}

void StepLayoutSwitch(int& usLayout, String& label) {
    if (usLayout == kLayoutByKeyPosition) {
        usLayout = 1;
        label = "US";
    } else if (usLayout == 1) {
        usLayout = 0;
        label = "DE";
    } else {
        usLayout = kLayoutByKeyPosition;
        label = "KEY";
    }
}
}  // namespace editor
