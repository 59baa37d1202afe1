// Edit history of the pattern data, the order list and the instrument names:
// every edit can be undone newest first and redone until a new edit is made.
// A name being typed counts as its old name until Enter.
#pragma once

#include "song/TrackerState.h"

// The history starts again from the song as it is now (start-up, a load):
// nothing to undo or redo.
void StartNewHistory(TrackerState& state);
// An edit just happened: its result becomes the newest state, the redo
// states are dropped and the song counts as changed. An edit that left the
// song as it was adds nothing; the oldest state goes beyond kUndoDepth edits.
void RecordEdit(TrackerState& state);
// Steps back one edit; false when there is none. Outside playback the edited
// pattern is brought into view.
bool RestoreUndo(TrackerState& state);
// Steps forward again over an undone edit; false when there is none.
bool RedoUndo(TrackerState& state);
// Edits the history can still step back over / forward over.
int UndoSteps(const TrackerState& state);
int RedoSteps(const TrackerState& state);
