// Whether the song differs from its file: the editor and the edit history say
// that an edit happened, the song store says when the song was stored.
#pragma once

#include "song/TrackerState.h"

// The song differs from the last saved or loaded one.
void NoteSongChanged(TrackerState& state);
// The song now equals its file (after a save or a load).
void NoteSongStored(TrackerState& state);
bool HasUnsavedChanges(const TrackerState& state);
