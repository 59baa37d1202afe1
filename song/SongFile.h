// The song file's codec: one UTF-8 text starting with "ZRB1", then the
// pattern count, speed and song length as single characters, the 16 columns
// cut to the used patterns, 256 positions, 249 instrument values and 31
// names. Text to song and back, nothing else: names, folders and when to
// write are the song store's (store/SongStore.h).
#pragma once

#include "runtime/String.h"
#include "song/TrackerState.h"

// The text starts with the song magic and holds the whole fixed header.
bool IsSongText(const String& text);

// The file text of the song in memory.
String EncodeSong(const TrackerState& state);

// Reads a file text into the song; never reads past the text's end.
void DecodeSongText(TrackerState& state, const String& text);
