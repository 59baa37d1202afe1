// Cell access shared by the editing steps: the cursor's cell index and a
// one-character write that never changes a column's length.
#pragma once

#include "song/SongModel.h"
#include "song/TrackerState.h"

namespace editor {
inline int PositionIndex(int position) {
    if (position < 0) return 0;
    if (position >= tracker::kPositions) return tracker::kPositions - 1;
    return position;
}

inline int PatternBaseOf(const TrackerState& state) {
    return state.positions[PositionIndex(state.currentPosition)] * tracker::kRowsPerPattern;
}

// The current instrument, held to 0..15 (what a note cell can name).
inline int InstrumentNumber(const TrackerState& state) {
    int instrument = state.currentInstrument;
    if (instrument < 0) instrument = 0;
    if (instrument > 15) instrument = 15;
    return instrument;
}

// Channel 1..4 of a cursor column 1..8 (note and volume columns in pairs).
inline int CursorChannel(const TrackerState& state) { return (state.cursorColumn + 1) / 2; }

// 0-based index of the cursor's cell in every column.
inline int CursorCellIndex(const TrackerState& state) {
    return state.patternBase + state.playRow + state.cursorRow - 1;
}

// Replaces the character at a 0-based index; an index outside the column is
// ignored, so a column always keeps its 8192 characters.
inline void WriteCell(TrackerState& state, int column, int index, const String& c) {
    String& text = state.songColumns[column];
    if (index < 0 || index >= text.Length()) return;
    text = ReplaceChar(text, index + 1, c);
}
}  // namespace editor
