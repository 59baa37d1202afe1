// The status line after an update: it never names a state the editor is not
// in, and a message ("File Saved...", "Loading Failed!") stays until the next
// key or click, then gives way to the state again.
#include "editor/EditorSteps.h"

namespace {
// Made once: this runs every update, and a String from a literal allocates.
const String& StateText(int transportState) {
    static const String editing("Editing..."), playing("Playing..."), standby("Standby...");
    if (transportState == tracker::kEditing) return editing;
    if (transportState == tracker::kPlaying) return playing;
    return standby;
}

bool IsStateText(const String& text) {
    return text == StateText(tracker::kEditing) || text == StateText(tracker::kPlaying) ||
           text == StateText(tracker::kStandby);
}
}  // namespace

namespace editor {
void KeepStatusTruthful(TrackerState& state, const c_InputDevice& input, const String& statusBefore) {
    // A playing start shows "Playing..." from the player's first update on.
    if (state.transportState == tracker::kPlaying) return;
    if (IsStateText(state.statusText)) {
        state.statusText = StateText(state.transportState);
        return;
    }
    // Every command that shows a message makes a new text, so a message still
    // sharing the text from before this update was shown in an earlier one.
    if (state.statusText.SharesTextWith(statusBefore) && input.AnyKeyHit())
        state.statusText = StateText(state.transportState);
}
}  // namespace editor
