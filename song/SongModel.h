// Cell codecs of the song model and the empty song.
#pragma once

#include "runtime/String.h"
#include "song/TrackerState.h"

namespace tracker {
constexpr int kNoteSlideDown = 127;  // "+"
constexpr int kNoteOff = 128;        // "<"
constexpr int kNoteSlideUp = 129;    // "#"
constexpr int kNoteBreak = 130;      // "-"
constexpr int kNoteEmpty = 255;      // "."
}  // namespace tracker

// Note code of the character at a 0-based index; a missing character (past the
// end) decodes like any unknown character, as 0.
int DecodeNoteChar(const String& text, int index);
int DecodeNoteCode(String::CodePoint c);
// One hex digit, either case; anything else is 0. Reads the first character.
int HexDigitValue(const String& text);
int HexDigitCodeValue(String::CodePoint c);
// 0..9 and A..F; other values as decimal text.
String HexDigitText(int value);
// Characters before the 1-based position, then c, then the rest.
String ReplaceChar(const String& text, int position, const String& c);
// The 8192-character column of an empty song for column k.
String EmptyColumn(int column);
// Fills the song columns with the empty song, every position 0, cursor at
// 1,1 and "Standby..."; the edit history is the caller's (StartNewHistory).
void BuildEmptySong(TrackerState& state);
