// Unsaved work: the editor only says that an edit happened (through the edit
// history or NoteSongChanged); here it is decided when the song is written to
// the autosave. Every write is the same atomic save as F11, so a failed or
// interrupted autosave never damages the previous one.
#include "song/WorkSafety.h"

#include <sys/stat.h>

#include <string>

#include "io/AtomicFile.h"
#include "io/TextFile.h"
#include "song/SongFile.h"
#include "song/SongNames.h"

namespace {
bool WriteAutosave(TrackerState& state) {
    String path;
    if (!ResolveSongName(kAutosaveName, path)) return false;
    // Once a session, best effort: the work in memory is written even when
    // the copy fails.
    if (!state.unsavedWork.earlierAutosaveKept) {
        KeepBackupOf(path);
        state.unsavedWork.earlierAutosaveKept = true;
    }
    if (!SaveFileAtomically(path, EncodeSong(state).ToUtf8())) return false;
    state.unsavedWork.changedSinceAutosave = false;
    state.unsavedWork.updatesSinceAutosave = 0;
    return true;
}
}  // namespace

void NoteSongChanged(TrackerState& state) {
    state.unsavedWork.changedSinceSave = true;
    state.unsavedWork.changedSinceAutosave = true;
}

void NoteSongStored(TrackerState& state) {
    state.unsavedWork.changedSinceSave = false;
    state.unsavedWork.changedSinceAutosave = false;
}

bool HasUnsavedChanges(const TrackerState& state) { return state.unsavedWork.changedSinceSave; }

void AutosaveTick(TrackerState& state) {
    UnsavedWork& work = state.unsavedWork;
    if (work.updatesSinceAutosave < tracker::kAutosaveIntervalUpdates) work.updatesSinceAutosave += 1;
    if (!work.changedSinceSave || !work.changedSinceAutosave) return;
    if (work.updatesSinceAutosave < tracker::kAutosaveIntervalUpdates) return;
    // A failed write is tried again after the next full interval, not on
    // every update.
    if (!WriteAutosave(state)) work.updatesSinceAutosave = 0;
}

bool SaveUnsavedWork(TrackerState& state) {
    if (!state.unsavedWork.changedSinceSave) return true;
    return WriteAutosave(state);
}

bool KeepBackupOf(const String& filePath) {
    const std::string path = filePath.ToBytes();
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return true;
    std::string bytes;
    if (!LoadData(filePath, bytes)) return false;
    return SaveFileAtomically(String(path + ".bak"), bytes);
}
