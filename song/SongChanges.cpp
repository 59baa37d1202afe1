// The changed-since-saved flags of the song.
#include "song/SongChanges.h"

void NoteSongChanged(TrackerState& state) {
    state.unsavedWork.changedSinceSave = true;
    state.unsavedWork.changedSinceAutosave = true;
}

void NoteSongStored(TrackerState& state) {
    state.unsavedWork.changedSinceSave = false;
    state.unsavedWork.changedSinceAutosave = false;
}

bool HasUnsavedChanges(const TrackerState& state) { return state.unsavedWork.changedSinceSave; }
