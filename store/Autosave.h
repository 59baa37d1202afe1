// Keeping unsaved work: the autosave files. The editor only says that an edit
// happened (song/SongChanges.h); here it is decided when the song is written
// to the autosave and where.
//
// The autosaves are a short rotation in the songs folder, newest first:
// "autosave", "autosave.1" .. "autosave.9". Within a session the timed
// autosave rewrites the newest file while it holds this session's work; the
// work replaced by a load, and the first autosave of a session, push the
// older ones down the rotation.
#pragma once

#include <string>

#include "runtime/String.h"
#include "song/TrackerState.h"

namespace tracker {
constexpr double kAutosaveIntervalSeconds = 60;
constexpr int kAutosavesKept = 10;  // autosave, autosave.1 .. autosave.9
}  // namespace tracker

// Shown at start-up when the last run ended with unsaved work kept in the
// autosave (F12 with an empty name opens the song list that holds it). It
// fits the status field, 15 characters.
extern const char* const kAutosaveKeptStatus;

// Once per update, with the seconds of a monotonic clock: writes the autosave
// when changes are waiting and the last autosave (or the first call) is at
// least the interval ago. Where the songs folder can't take it, the work goes
// to the fallback folder, as on close.
void AutosaveTick(TrackerState& state, double nowSeconds);

// Close and termination: writes unsaved changes to the autosave; when the
// songs folder can't take it, to the fallback folder outside data/
// ($XDG_STATE_HOME/zrbtracker, ~/.local/state/zrbtracker, or the system's
// temporary folder), naming the file on stderr. True when there was nothing
// to write or the work was kept somewhere; false (stderr says the work is
// lost) when nothing could be written.
bool SaveUnsavedWork(TrackerState& state);

// Before a load replaces the song: writes unsaved changes to the autosave in
// the songs folder only. False, with the file and the cause in failure,
// when that can't be done: the load must not go on.
bool KeepWorkBeforeLoad(TrackerState& state, std::string& failure);

// Another song was loaded: the work in the newest autosave is left as it is,
// the next autosave starts a new rotation entry, and the next start-up says
// nothing about it.
void ForgetAutosavedWork(TrackerState& state);
// The song was saved under its name: the next start-up says nothing about
// the autosave.
void NoteWorkSavedByName();

// Start-up: whether the last run ended with unsaved work kept in the
// autosave. Asking clears the mark, so the hint shows once.
bool TakeAutosaveNotice();

// "autosave" and "autosave.1" .. "autosave.9" in the songs folder itself.
bool IsAutosaveName(const String& name);
