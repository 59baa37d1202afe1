// The page's controls reach the tracker here: a song file opened, dropped or
// carried by a share link is loaded as an unsaved song; "Download song" and
// "Share link" take the bytes F11 would write. The page hands files over through the
// in-memory file system, so a file takes the same road as one F12 reads.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <string>

#include "host/App.h"
#include "host/Framework.h"
#include "io/TextFile.h"
#include "song/SongChanges.h"
#include "song/SongFile.h"
#include "song/TrackerState.h"
#include "song/Undo.h"
#include "store/Autosave.h"
#include "store/SongFolder.h"

namespace {
TrackerState* Tracker() { return dynamic_cast<TrackerState*>(Framework().app); }

std::string g_songName;
}  // namespace

extern "C" {

// Loads the song file at path (none: the page could not read one); true when
// it was a song. The song comes in unnamed and unsaved, so no F11 can write it
// over a song in the folder by accident; a file that is no song leaves the
// song in memory and every file as they were.
EMSCRIPTEN_KEEPALIVE int zrbWebOpenSong(const char* path) {
    TrackerState* state = Tracker();
    if (!state) return 0;
    const String text = path && *path ? LoadString(String::FromUtf8(path), kLargestSongFileBytes) : String();
    if (!IsSongText(text)) {
        state->statusText = "Loading Failed!";
        return 0;
    }
    // As F12: unsaved work goes to the autosave first, or nothing is loaded.
    std::string failure;
    if (!KeepWorkBeforeLoad(*state, failure)) {
        std::fprintf(stderr, "loading failed: the unsaved song could not be autosaved first (%s)\n", failure.c_str());
        state->statusText = "Loading Failed!";
        return 0;
    }
    DecodeSongText(*state, text);
    StartNewHistory(*state);
    ForgetAutosavedWork(*state);
    state->fileName = String();
    NoteSongChanged(*state);
    state->statusText = "File Loaded...";
    return 1;
}

// Writes the bytes F11 would save to path; returns the song's name (UTF-8,
// empty when none is typed), valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* zrbWebWriteSong(const char* path) {
    TrackerState* state = Tracker();
    if (!state || !path) return nullptr;
    const std::string bytes = EncodeSong(*state).ToUtf8();
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return nullptr;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) return nullptr;
    g_songName = state->fileName.ToUtf8();
    return g_songName.c_str();
}
}
