// Opening and closing the overlays, and the help page's keys: any key, typed
// character or click closes it and is used up doing so.
#include "editor/EditorSteps.h"
#include "editor/Keys.h"
#include "editor/Overlays.h"
#include "player/Player.h"

namespace {
constexpr int kHelpChar = '?';

void DrainTypedChars(c_InputDevice& input) {
    while (input.GetChar() != 0) {
    }
}

void Open(TrackerState& state, AudioDevice& audio, Overlay overlay) {
    // A preview note would drone on while nothing updates it.
    if (state.transportState != tracker::kPlaying) StopAllVoices(audio);
    state.overlay.open = overlay;
    state.overlay.dirty = true;
}
}  // namespace

namespace editor {
bool RunOverlays(TrackerState& state, c_InputDevice& input, AudioDevice& audio) {
    switch (state.overlay.open) {
        case Overlay::kHelp:
            if (input.AnyKeyHit() || input.GetChar() != 0) {
                DrainTypedChars(input);
                state.overlay.open = Overlay::kNone;
                state.overlay.dirty = true;
            }
            return true;
        case Overlay::kSongList:
            RunSongList(state, input);
            return true;
        case Overlay::kNone:
            break;
    }
    if (!TypingName(state) && input.CharQueued(kHelpChar)) {
        DrainTypedChars(input);
        Open(state, audio, Overlay::kHelp);
        return true;
    }
    if (SongListRequested(state, input)) {
        DrainTypedChars(input);
        Open(state, audio, Overlay::kSongList);
        OpenSongList(state);
        return true;
    }
    return false;
}
}  // namespace editor
