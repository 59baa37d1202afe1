// The help page and the song list: while one is open it takes the whole
// update's input, so no key reaches the pattern, the names or the switches.
#pragma once

#include "audio/AudioDevice.h"
#include "host/InputDevice.h"
#include "song/TrackerState.h"

namespace editor {
// Opens an overlay ("?" for help; F12 or the load button with no file name
// for the song list) or runs the open one. True when an overlay took this
// update's input.
bool RunOverlays(TrackerState& state, c_InputDevice& input, AudioDevice& audio);

// The song list's share: opening it, and one update while it is open.
bool SongListRequested(const TrackerState& state, const c_InputDevice& input);
void OpenSongList(TrackerState& state);
void RunSongList(TrackerState& state, c_InputDevice& input);
}  // namespace editor
