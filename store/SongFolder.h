// The songs folder on disk: made when it is missing, and swept of the
// temporary files that saves interrupted by a kill leave behind.
#pragma once

// The largest song file has 256 patterns, about 132 KB of UTF-8; anything
// much larger is no song and is refused before it is read whole.
constexpr long long kLargestSongFileBytes = 1024 * 1024;

// Makes data/songs/ (and data/) when missing; false when the name is taken by
// something that is not a folder, so that the save fails as before.
bool MakeSongFolder();

// Start-up: makes the folder and removes stale temporary save files in it.
void PrepareSongFolder();
