// The song store: songs saved and loaded by the names the user types, in the
// songs folder. The codec (song/SongFile.h) turns text into a song and back;
// here it is decided which file, what is kept of the file being replaced and
// of the work being replaced, and that a load starts a new edit history.
#pragma once

#include "runtime/String.h"
#include "song/TrackerState.h"

// Saves to data/songs/<name>; returns the status text for the status line
// ("Enter a Name...", "File Saved..." or "Saving Failed!"). A failed save
// leaves any earlier file of that name as it was; a successful one keeps the
// replaced file as <name>.bak. Names outside the songs folder fail.
String SaveSong(TrackerState& state, const String& name);

// Loads data/songs/<state.fileName> and starts a new edit history from it;
// returns "File Loaded..." or "Loading Failed!" (song unchanged: a name
// outside the songs folder, or a file that is not a song). Unsaved changes
// are written to the autosave before they are replaced.
String LoadSong(TrackerState& state);
