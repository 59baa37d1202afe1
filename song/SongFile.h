// The song file: one UTF-8 text starting with "ZRB1", then the pattern
// count, speed and song length as single characters, the 16 columns cut to
// the used patterns, 256 positions, 249 instrument values and 31 names.
#pragma once

#include "runtime/String.h"
#include "song/TrackerState.h"

// Saves to data/songs/<name>; returns the status text for the status line
// ("Enter a Name...", "File Saved..." or "Saving Failed!"). A failed save
// leaves any earlier file of that name as it was; a successful one keeps the
// replaced file as <name>.bak. Names outside the songs folder fail.
String SaveSong(TrackerState& state, const String& name);

// Loads data/songs/<state.fileName> and resets the undo history to it;
// returns "File Loaded..." or "Loading Failed!" (song unchanged: a name
// outside the songs folder, or a file that is not a song). Unsaved changes
// are written to the autosave before they are replaced.
String LoadSong(TrackerState& state);

// The text starts with the song magic and holds the whole fixed header.
bool IsSongText(const String& text);

// The file text of the song in memory.
String EncodeSong(const TrackerState& state);

// Reads a file text into the song; never reads past the text's end.
void DecodeSongText(TrackerState& state, const String& text);
