// The shares of EditorUpdate that live in their own files, in the order the
// editing step runs them.
#pragma once

#include "audio/AudioDevice.h"
#include "host/InputDevice.h"
#include "song/TrackerState.h"

namespace editor {
// File name, then instrument name. A name being typed owns the queued
// characters up to an Enter; the pattern reads only what they leave.
void RunNameEntry(TrackerState& state, c_InputDevice& input, AudioDevice& audio);
// F11 or the save button, then F12 or the load button.
void RunSaveAndLoad(TrackerState& state, const c_InputDevice& input);
// After the update: the state's own text where the status names another
// state, and a message of an earlier update replaced once a key is hit.
void KeepStatusTruthful(TrackerState& state, const c_InputDevice& input, const String& statusBefore);
inline bool TypingName(const TrackerState& state) { return state.fileNameEntry == 1 || state.instrumentNameEntry == 1; }
}  // namespace editor
