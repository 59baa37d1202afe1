// The editor's update step: transport, pattern editing with the note
// preview, the editing commands and name entry. Everything reads input only
// through the input device's queries and sounds only through the audio driver.
#pragma once

#include <functional>

#include "audio/AudioDevice.h"
#include "editor/OverlayState.h"
#include "host/InputDevice.h"
#include "runtime/String.h"
#include "song/TrackerState.h"

// The application's per-update hook: redraw counter, wheel, the player while
// playing, mute/follow/layout/edit/undo/play switches, then the editor and the
// panel widgets in editing and standby, and patternBase in every state. An
// open help page or song list takes the whole update's input instead.
void UpdateStep(TrackerState& state, OverlayState& overlay, c_InputDevice& input, AudioDevice& audio,
                const std::function<void(int)>& setUpdateRate);

// One editing step (editing and standby): name entry, home, save, load,
// preview waveforms, insert/delete, cursor, positions, typed character,
// clipboard, note keys and the preview modulation.
void EditorUpdate(TrackerState& state, c_InputDevice& input, AudioDevice& audio);

// --- Editing commands ---
// A 32 x 12 number widget at (x, y): a click on its left half steps down,
// on its right half up; the result is always clamped to min..max.
int Spinner(const c_InputDevice& input, int x, int y, int value, int min, int max);
// Octave, speed, length, instrument, the instrument's values and the pattern
// at the current position, in their order.
void RunPanelWidgets(TrackerState& state, const c_InputDevice& input);
void CopyTrack(TrackerState& state);
// Does nothing before anything was copied.
void PasteTrack(TrackerState& state);
void InsertPosition(TrackerState& state);
// Entry 255 keeps its old value.
void DeletePosition(TrackerState& state);
void PreviousPosition(TrackerState& state);
// Stops at the last entry of the order list (255).
void NextPosition(TrackerState& state);

// --- Name entry ---
// The characters allowed in file and instrument names.
bool IsFileNameChar(String::CodePoint c);

// --- Preview voice ---
// One update of the preview modulation on audio channels 1..8.
void RunPreviewModulation(TrackerState& state, AudioDevice& audio);
