// Undo history of the 16 song columns: 32-slot rings of shared texts.
#pragma once

#include "song/TrackerState.h"

// Reset: slot 1; otherwise the next slot (32 wraps to 0). Copies references.
void PushUndo(TrackerState& state, bool reset);
// Steps back one slot, never below 1, and restores the columns from it.
void RestoreUndo(TrackerState& state);
