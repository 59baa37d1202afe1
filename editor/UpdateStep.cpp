// The per-update hook: transport states with their keys and buttons, the
// mute, follow and layout switches, then the editor in editing and standby.
// An open help page or song list takes the whole update's input instead.
#include "editor/Cells.h"
#include "editor/Editor.h"
#include "editor/EditorSteps.h"
#include "editor/KeyPositions.h"
#include "editor/Keys.h"
#include "editor/Overlays.h"
#include "player/Player.h"
#include "song/SongChanges.h"
#include "song/Undo.h"

namespace {
constexpr int kUpdateRate = 50;

void SwitchMutes(TrackerState& state, const c_InputDevice& input) {
    for (int channel = 0; channel < tracker::kChannels; ++channel) {
        if (!editor::KeyOrClick(input, keys::kF5 + channel, editor::kMuteButtons[channel])) continue;
        float scale = state.channelVolumeScale[channel] - 1.0f;
        if (scale == -1.0f) scale = 1.0f;
        state.channelVolumeScale[channel] = scale;
    }
}

void SwitchFollow(TrackerState& state, const c_InputDevice& input) {
    if (editor::KeyOrClick(input, keys::kF9, editor::kFollowButton)) {
        state.followCounter -= 1;
        state.followMode = "Off";
    }
    if (state.followCounter == -1) {
        state.followCounter = 1;
        state.followMode = "On";
    }
}

void SwitchLayout(TrackerState& state, const c_InputDevice& input) {
    if (!editor::Clicked(input, editor::kLayoutButtonLeft) && !editor::Clicked(input, editor::kLayoutButtonRight))
        return;
    editor::StepLayoutSwitch(state.usLayout, state.keyboardLayout);
}

// Editing <-> standby; playing -> standby.
void SwitchEdit(TrackerState& state, const c_InputDevice& input, AudioDevice& audio) {
    if (editor::KeyOrClick(input, keys::kSpace, editor::kEditButton)) {
        state.transportState -= 2;
        state.playRow = 0;
        StopAllVoices(audio);
        if (state.transportState == tracker::kEditing) state.statusText = "Editing...";
    }
    if (state.transportState < 0) {
        state.transportState = tracker::kStandby;
        state.statusText = "Standby...";
    }
}

// Editing or standby -> playing; playing -> standby.
void SwitchPlay(TrackerState& state, const c_InputDevice& input, AudioDevice& audio,
                const std::function<void(int)>& setUpdateRate) {
    const bool fromStart = input.KeyHit(keys::kF1) != 0;
    if (!fromStart && input.KeyHit(keys::kF2) == 0 && !editor::Clicked(input, editor::kPlayButton)) return;
    StopAllVoices(audio);
    if (setUpdateRate) setUpdateRate(kUpdateRate);
    state.tickCounter = 0;
    if (fromStart) state.currentPosition = 0;
    state.cursorRow = 1;
    state.playRow = 0;
    state.transportState += 1;
    if (state.transportState > tracker::kStandby) state.transportState = tracker::kPlaying;
    if (state.transportState == tracker::kStandby) state.statusText = "Standby...";
}

// The undo button or Ctrl+Z; Ctrl+Y or Ctrl+Shift+Z redo. A chord counts
// only with the modifiers held when its letter went down.
void UndoAndRedo(TrackerState& state, const c_InputDevice& input) {
    constexpr int kControlOnly = input::kControlHeld;
    constexpr int kControlAndShift = input::kControlHeld | input::kShiftHeld;
    const bool undo = input.ChordHit(keys::kZ, kControlOnly) != 0;
    const bool redo = input.ChordHit(keys::kY, kControlOnly) != 0 || input.ChordHit(keys::kY, kControlAndShift) != 0 ||
                      input.ChordHit(keys::kZ, kControlAndShift) != 0;
    if (editor::Clicked(input, editor::kUndoButton) || undo) RestoreUndo(state);
    if (redo) RedoUndo(state);
}

// A click that changes the pattern at the current position is an edit with
// undo; one that changes the speed, the length or an instrument value only
// marks the song as changed. Bringing values into range (every widget clamps,
// also when another instrument is picked) is not the user's edit.
void RunPanelWidgetsNotingEdits(TrackerState& state, const c_InputDevice& input) {
    const bool clicked = input.KeyHit(input::KEYCODE_MOUSE_LEFT) != 0;
    const int instrument = state.currentInstrument;
    const int speed = state.songSpeed;
    const int length = state.songLength;
    const auto params = state.instrumentParams;
    RunPanelWidgets(state, input);
    if (!clicked) return;
    RecordEdit(state);
    const bool settingsChanged =
        speed != state.songSpeed || length != state.songLength || params != state.instrumentParams;
    if (settingsChanged && instrument == state.currentInstrument) NoteSongChanged(state);
}
}  // namespace

void UpdateStep(TrackerState& state, OverlayState& overlay, c_InputDevice& input, AudioDevice& audio,
                const std::function<void(int)>& setUpdateRate) {
    const String statusBefore = state.statusText;
    state.redrawCounter += 1;
    state.wheelDelta = input.MouseWheel();
    if (input.AnyKeyHit() || input.AnyCharQueued() || state.wheelDelta != 0) state.inputSinceFrame = true;
    if (state.transportState == tracker::kPlaying) {
        state.statusText = "Playing...";
        PlayerTick(state, audio);
    }
    if (editor::RunOverlays(state, overlay, input, audio)) {
        state.patternBase = editor::PatternBaseOf(state);
        return;
    }
    SwitchMutes(state, input);
    SwitchFollow(state, input);
    SwitchLayout(state, input);
    SwitchEdit(state, input, audio);
    UndoAndRedo(state, input);
    SwitchPlay(state, input, audio, setUpdateRate);
    if (state.transportState == tracker::kEditing || state.transportState == tracker::kStandby) {
        state.tickCounter = 0;
        EditorUpdate(state, input, audio);
        if (state.playRow >= state.songLength) {
            state.playRow = 0;
        } else if (state.playRow < 0) {
            state.playRow = state.songLength - tracker::kRowsPerPattern;
        }
        RunPanelWidgetsNotingEdits(state, input);
    }
    editor::OpenHelpOnItsChar(state, overlay, input, audio);
    state.patternBase = editor::PatternBaseOf(state);
    editor::KeepStatusTruthful(state, input, statusBefore);
}
