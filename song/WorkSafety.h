// Keeping unsaved work: the changed-since-saved flag, the autosave file
// (data/songs/autosave) and the backup a save keeps of the file it replaces.
#pragma once

#include "runtime/String.h"
#include "song/TrackerState.h"

namespace tracker {
constexpr int kAutosaveIntervalUpdates = 3000;  // 60 seconds at 50 updates per second
}

// The song differs from the last saved or loaded one.
void NoteSongChanged(TrackerState& state);
// The song now equals its file (after a save or a load).
void NoteSongStored(TrackerState& state);
bool HasUnsavedChanges(const TrackerState& state);

// Once per update: writes the autosave when changes are waiting and the last
// autosave is at least the interval old.
void AutosaveTick(TrackerState& state);
// Writes unsaved changes to the autosave now (close, termination, a load over
// them); true when there was nothing to write or the write succeeded. A
// failed write leaves the old autosave file as it was.
bool SaveUnsavedWork(TrackerState& state);

// Before a save replaces an existing file, its bytes are copied to
// "<file>.bak" (replacing an older backup); false when that copy failed.
bool KeepBackupOf(const String& filePath);
