// Text of one pattern cell's note and of the two-digit hex numbers of the
// row and order columns.
#include "screen/Screen.h"
#include "screen/ScreenDrawing.h"

namespace {
// Semitones above C of the octave digit for each key the editor stores (the
// two-row piano keyboard of the German layout); -1 for any other character.
int NoteKeyOffset(String::CodePoint key) {
    static const char kKeys[] = "ysxdcvgbhnjmq2w3er5t6z7ui9o0p";
    for (int offset = 0; kKeys[offset] != '\0'; ++offset)
        if (kKeys[offset] == key) return offset;
    return -1;
}

const char* const kSemitoneNames[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
}  // namespace

String CellText(const String& notes, int r, const String& octaves) {
    const String octave = screen::CharAt(octaves, r);
    if (octave.Empty() || octave[0] < '0' || octave[0] > '3') return String();
    if (r >= notes.Length()) return String();
    const String key = screen::CharAt(notes, r);
    if (key.Empty()) return String();
    switch (key[0]) {
        case '<':
            return "{|}";
        case '.':
            return "---";
        case '+':
            return "-dn";
        case '#':
            return "-up";
        case '-':
            return "End";
        default:
            break;
    }
    const int offset = NoteKeyOffset(key[0]);
    if (offset < 0) return "???";
    const int octaveValue = octave[0] - '0' + offset / 12;
    return String(kSemitoneNames[offset % 12]) + String::FromChar('0' + octaveValue);
}

String HexByte(int value) {
    static const char kDigits[] = "0123456789ABCDEF";
    const unsigned int byte = static_cast<unsigned int>(value) & 0xFFu;
    const char text[3] = {kDigits[byte >> 4], kDigits[byte & 0xFu], '\0'};
    return String(text);
}
