// Cell codecs of the song model and the empty song.
#include "song/SongModel.h"

#include <vector>

int DecodeNoteCode(String::CodePoint c) {
    switch (c) {
        case 'y': return 0;
        case 's': return 1;
        case 'x': return 2;
        case 'd': return 3;
        case 'c': return 4;
        case 'v': return 5;
        case 'g': return 6;
        case 'b': return 7;
        case 'h': return 8;
        case 'n': return 9;
        case 'j': return 10;
        case 'm': return 11;
        case 'q': return 12;
        case '2': return 13;
        case 'w': return 14;
        case '3': return 15;
        case 'e': return 16;
        case 'r': return 17;
        case '5': return 18;
        case 't': return 19;
        case '6': return 20;
        case 'z': return 21;
        case '7': return 22;
        case 'u': return 23;
        case 'i': return 24;
        case '9': return 25;
        case 'o': return 26;
        case '0': return 27;
        case 'p': return 28;
        case '+': return tracker::kNoteSlideDown;
        case '<': return tracker::kNoteOff;
        case '#': return tracker::kNoteSlideUp;
        case '-': return tracker::kNoteBreak;
        case '.': return tracker::kNoteEmpty;
        default: return 0;
    }
}

int DecodeNoteChar(const String& text, int index) {
    if (index < 0 || index >= text.Length()) return 0;
    return DecodeNoteCode(text[index]);
}

int HexDigitCodeValue(String::CodePoint c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

int HexDigitValue(const String& text) { return text.Empty() ? 0 : HexDigitCodeValue(text[0]); }

String HexDigitText(int value) {
    if (value >= 0 && value <= 9) return String::FromChar('0' + value);
    if (value >= 10 && value <= 15) return String::FromChar('A' + value - 10);
    return String(value);
}

String ReplaceChar(const String& text, int position, const String& c) {
    return text.Slice(0, position - 1) + c + text.Slice(position);
}

String EmptyColumn(int column) {
    static const String note = String::FromCodePoints(std::vector<String::CodePoint>(tracker::kColumnLength, '.'));
    static const String digit = String::FromCodePoints(std::vector<String::CodePoint>(tracker::kColumnLength, '0'));
    return column < 4 ? note : digit;
}

void BuildEmptySong(TrackerState& state) {
    for (int k = 0; k < tracker::kColumns; ++k) state.songColumns[k] = EmptyColumn(k);
    state.cursorColumn = 1;
    state.cursorRow = 1;
    const String order = state.orderText;
    for (int i = 0; i < tracker::kPositions; ++i) state.positions[i] = order.Slice(2 * i, 2 * i + 2).ToInt();
    state.statusText = "Standby...";
}
