// Undo history of the 16 song columns. Texts are immutable, so a push or a
// restore copies 16 references, never 16 x 8192 characters.
#include "song/Undo.h"

void PushUndo(TrackerState& state, bool reset) {
    if (reset) {
        state.undoSlot = 1;
    } else {
        state.undoSlot += 1;
        if (state.undoSlot == tracker::kUndoSlots) state.undoSlot = 0;
    }
    for (int k = 0; k < tracker::kColumns; ++k) state.undoSnapshots[k][state.undoSlot] = state.songColumns[k];
}

void RestoreUndo(TrackerState& state) {
    state.undoSlot -= 1;
    if (state.undoSlot <= 0) state.undoSlot = 1;
    for (int k = 0; k < tracker::kColumns; ++k) state.songColumns[k] = state.undoSnapshots[k][state.undoSlot];
}
