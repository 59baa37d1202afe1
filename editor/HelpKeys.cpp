// Opening and closing the overlays, and the help page's keys: any key, typed
// character or click closes it and is used up doing so.
#include "editor/EditorSteps.h"
#include "editor/Keys.h"
#include "editor/Overlays.h"
#include "player/Player.h"

namespace {
void DrainTypedChars(c_InputDevice& input) {
    while (input.GetChar() != 0) {
    }
}

void Open(const TrackerState& state, OverlayState& overlay, AudioDevice& audio, Overlay which) {
    // A preview note would drone on while nothing updates it.
    if (state.transportState != tracker::kPlaying) StopAllVoices(audio);
    overlay.open = which;
    overlay.dirty = true;
}
}  // namespace

namespace editor {
bool RunOverlays(TrackerState& state, OverlayState& overlay, c_InputDevice& input, AudioDevice& audio) {
    switch (overlay.open) {
        case Overlay::kHelp:
            if (input.AnyKeyHit() || input.GetChar() != 0) {
                DrainTypedChars(input);
                overlay.open = Overlay::kNone;
                overlay.dirty = true;
            }
            return true;
        case Overlay::kSongList:
            RunSongList(state, overlay, input);
            return true;
        case Overlay::kNone:
            break;
    }
    if (SongListRequested(state, input)) {
        DrainTypedChars(input);
        Open(state, overlay, audio, Overlay::kSongList);
        OpenSongList(overlay);
        return true;
    }
    return false;
}

void OpenHelpOnItsChar(const TrackerState& state, OverlayState& overlay, c_InputDevice& input, AudioDevice& audio) {
    if (TypingName(state)) return;
    // The pattern stops at a "?"; while playing nothing reads the characters.
    while (const int c = input.GetChar()) {
        if (c != kHelpChar) continue;
        DrainTypedChars(input);
        Open(state, overlay, audio, Overlay::kHelp);
        return;
    }
}
}  // namespace editor
