// Saving and loading by name: the name is confined to the songs folder, the
// file goes through the codec and the atomic save of io/. Failures keep the
// status texts of the status line; stderr gets one line with the file and
// the cause.
#include "store/SongStore.h"

#include <cstdio>
#include <string>

#include "io/AtomicFile.h"
#include "io/TextFile.h"
#include "song/SongChanges.h"
#include "song/SongFile.h"
#include "song/Undo.h"
#include "store/Autosave.h"
#include "store/SongFolder.h"
#include "store/SongNames.h"

namespace {
const char* const kBackupSuffix = ".bak";

void Say(const char* what, const std::string& detail) {
    std::fprintf(stderr, "zrbtracker: %s: %s\n", what, detail.c_str());
}
}  // namespace

String SaveSong(TrackerState& state, const String& name) {
    if (name.Empty()) return "Enter a Name...";
    MakeSongFolder();
    String path;
    if (!ResolveSongName(name, path)) {
        Say("saving failed", name.ToUtf8() + ": not a song name inside the songs folder");
        return "Saving Failed!";
    }
    SaveOptions options;
    options.backupPath = path.ToBytes() + kBackupSuffix;
    SaveReport report;
    const bool saved = SaveFileAtomically(path, EncodeSong(state).ToUtf8(), options, &report);
    if (!report.backupSkipped.empty()) Say("no backup kept", report.backupSkipped);
    if (!saved) {
        Say("saving failed", report.failure);
        return "Saving Failed!";
    }
    NoteSongStored(state);
    NoteWorkSavedByName();
    return "File Saved...";
}

String LoadSong(TrackerState& state) {
    String path;
    if (!ResolveSongName(state.fileName, path)) {
        Say("loading failed", state.fileName.ToUtf8() + ": not a song name inside the songs folder");
        return "Loading Failed!";
    }
    const String text = LoadString(path, kLargestSongFileBytes);
    if (!IsSongText(text)) {
        Say("loading failed", path.ToBytes() + ": missing, unreadable or not a song file");
        return "Loading Failed!";
    }
    // The text is already read, so loading the autosave itself keeps both.
    std::string why;
    if (!KeepWorkBeforeLoad(state, why)) {
        Say("loading failed", path.ToBytes() + ": the unsaved song could not be autosaved first (" + why + ")");
        return "Loading Failed!";
    }
    DecodeSongText(state, text);
    StartNewHistory(state);
    NoteSongStored(state);
    ForgetAutosavedWork(state);
    // A song from the rotation has no name of its own: F11 asks for one
    // rather than saving into the rotation, and until then it counts as
    // unsaved, so closing keeps it as the newest autosave again.
    if (IsAutosaveName(state.fileName)) {
        state.fileName = String();
        NoteSongChanged(state);
    }
    return "File Loaded...";
}
