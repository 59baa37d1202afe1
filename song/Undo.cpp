// Edit history. Texts are immutable and shared, so a state holds 16
// references and the order list; only the columns an edit rewrote take new
// memory.
#include "song/Undo.h"

#include <algorithm>

#include "song/SongChanges.h"

namespace {
// A name being typed counts as the name it had before, until Enter.
std::array<String, tracker::kInstrumentNameSlots> SettledNames(const TrackerState& state) {
    auto names = state.instrumentNames;
    if (state.instrumentNameEntry == 1)
        names[static_cast<size_t>(state.instrumentNameSlot)] = state.instrumentNameBefore;
    return names;
}

bool SameSong(const SongSnapshot& snapshot, const TrackerState& state) {
    return snapshot.positions == state.positions && snapshot.columns == state.songColumns &&
           snapshot.instrumentNames == SettledNames(state);
}

int ShownPosition(const TrackerState& state) { return std::clamp(state.currentPosition, 0, tracker::kPositions - 1); }

SongSnapshot Capture(const TrackerState& state) {
    SongSnapshot snapshot;
    snapshot.columns = state.songColumns;
    snapshot.positions = state.positions;
    snapshot.instrumentNames = SettledNames(state);
    snapshot.editPosition = ShownPosition(state);
    snapshot.editPattern = state.positions[static_cast<size_t>(snapshot.editPosition)];
    return snapshot;
}

void Restore(TrackerState& state, const SongSnapshot& snapshot) {
    state.songColumns = snapshot.columns;
    state.positions = snapshot.positions;
    state.instrumentNames = snapshot.instrumentNames;
}

// The user sees what changed: the position of the edit comes on screen,
// unless the edited pattern is already shown; when the order list no longer
// has that pattern there, the first position that has it. Playback keeps its
// position.
void BringIntoView(TrackerState& state, const SongSnapshot& edit) {
    if (state.transportState == tracker::kPlaying || !edit.patternsChanged) return;
    const auto& positions = state.positions;
    if (edit.editPattern < 0 || positions[static_cast<size_t>(edit.editPosition)] == edit.editPattern) {
        if (positions[static_cast<size_t>(ShownPosition(state))] != edit.editPattern)
            state.currentPosition = edit.editPosition;
        return;
    }
    if (positions[static_cast<size_t>(ShownPosition(state))] == edit.editPattern) return;
    const auto found = std::find(positions.begin(), positions.end(), edit.editPattern);
    state.currentPosition = found != positions.end() ? static_cast<int>(found - positions.begin()) : edit.editPosition;
}
}  // namespace

void StartNewHistory(TrackerState& state) {
    UndoHistory& history = state.undoHistory;
    history.states.clear();
    history.states.push_back(Capture(state));
    history.current = 0;
}

void RecordEdit(TrackerState& state) {
    UndoHistory& history = state.undoHistory;
    // Without a history there is no state before the edit to step back to.
    if (history.current < 0) {
        StartNewHistory(state);
        return;
    }
    const SongSnapshot& shown = history.states[static_cast<size_t>(history.current)];
    if (SameSong(shown, state)) return;
    SongSnapshot edit = Capture(state);
    if (edit.positions != shown.positions) edit.editPattern = -1;
    edit.patternsChanged = edit.positions != shown.positions || edit.columns != shown.columns;
    history.states.resize(static_cast<size_t>(history.current) + 1);
    history.states.push_back(std::move(edit));
    if (static_cast<int>(history.states.size()) > tracker::kUndoDepth + 1) history.states.pop_front();
    history.current = static_cast<int>(history.states.size()) - 1;
    NoteSongChanged(state);
}

bool RestoreUndo(TrackerState& state) {
    UndoHistory& history = state.undoHistory;
    if (history.current <= 0) return false;
    const SongSnapshot& undone = history.states[static_cast<size_t>(history.current)];
    history.current -= 1;
    Restore(state, history.states[static_cast<size_t>(history.current)]);
    BringIntoView(state, undone);
    NoteSongChanged(state);
    return true;
}

bool RedoUndo(TrackerState& state) {
    UndoHistory& history = state.undoHistory;
    if (history.current < 0 || history.current + 1 >= static_cast<int>(history.states.size())) return false;
    history.current += 1;
    const SongSnapshot& redone = history.states[static_cast<size_t>(history.current)];
    Restore(state, redone);
    BringIntoView(state, redone);
    NoteSongChanged(state);
    return true;
}

int UndoSteps(const TrackerState& state) { return std::max(0, state.undoHistory.current); }

int RedoSteps(const TrackerState& state) {
    const UndoHistory& history = state.undoHistory;
    return history.current < 0 ? 0 : static_cast<int>(history.states.size()) - 1 - history.current;
}
