// The piano rows by key position. Key codes of letters and digits are those
// of the key's place on a US keyboard (the host reads positions, not the
// printed letters), and the song stores the German-keyboard note letters, so
// only the two corner letters differ: the key at US "z" stores "y" (C) and
// the key at US "y" stores "z" (A).
#include "editor/KeyPositions.h"

#include "runtime/String.h"

namespace {
bool IsCommandChar(int c) { return c == '.' || c == '+' || c == '#' || c == '-' || c == '<'; }

bool OnPianoRows(int keyCode) {
    static const char kPianoKeys[] = "ZSXDCVGBHNJMQ2W3ER5T6Y7UI9O0P";
    for (const char* k = kPianoKeys; *k != '\0'; ++k)
        if (keyCode == *k) return true;
    return false;
}
}  // namespace

namespace editor {
int NoteCharByKeyPosition(int typed, int keyCode) {
    if (IsCommandChar(typed) || !OnPianoRows(keyCode)) return typed;
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
