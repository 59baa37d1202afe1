// The help page and the song list: while one is open it takes the whole
// update's input, so no key reaches the pattern, the names or the switches.
#pragma once

#include "audio/AudioDevice.h"
#include "editor/OverlayState.h"
#include "host/InputDevice.h"
#include "song/TrackerState.h"

namespace editor {
// The character that opens the help page, unless a name is being typed.
constexpr int kHelpChar = '?';

// Runs the open overlay, or opens the song list (F12 or the load button with
// no file name). True when an overlay took this update's input.
bool RunOverlays(TrackerState& state, OverlayState& overlay, c_InputDevice& input, AudioDevice& audio);
// After the editor: a "?" among the characters nobody else took opens the
// help page, which takes the rest of the update's characters with it.
void OpenHelpOnItsChar(const TrackerState& state, OverlayState& overlay, c_InputDevice& input, AudioDevice& audio);

// The song list's share: opening it, and one update while it is open.
bool SongListRequested(const TrackerState& state, const c_InputDevice& input);
void OpenSongList(OverlayState& overlay);
void RunSongList(TrackerState& state, OverlayState& overlay, c_InputDevice& input);
}  // namespace editor
