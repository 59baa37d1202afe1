// Prints how long one autosave of the largest song (256 patterns, every cell
// used) holds up the update that writes it, in the songs folder of a data
// folder beside this program: the first autosave of a session (which pushes
// a full rotation down) and a later one, as the worst and the median of 20.
// "earlier" repeats what the tracker did before the rotation: the first
// autosave of a session read the old autosave whole and wrote it to
// autosave.bak, then wrote the new one.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "io/AtomicFile.h"
#include "io/DataPath.h"
#include "io/TextFile.h"
#include "song/SongFile.h"
#include "song/SongModel.h"
#include "song/Undo.h"
#include "store/Autosave.h"

namespace {
constexpr int kRuns = 20;

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void FillLargestSong(TrackerState& state) {
    BuildEmptySong(state);
    for (int i = 0; i < tracker::kPositions; ++i) state.positions[static_cast<size_t>(i)] = i;
    for (int k = 0; k < tracker::kColumns; ++k) {
        std::vector<String::CodePoint> cells(tracker::kColumnLength, k < 4 ? 'q' : '7');
        state.songColumns[static_cast<size_t>(k)] = String::FromCodePoints(std::move(cells));
    }
    StartNewHistory(state);
}

void Edit(TrackerState& state, int run) {
    state.songColumns[0] = ReplaceChar(state.songColumns[0], 1, String::FromChar('a' + run % 26));
    RecordEdit(state);
}

void Print(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-44s worst %6.2f ms   median %6.2f ms\n", what, times.back(), times[times.size() / 2]);
}

// The earlier road: autosave.bak by reading the old file whole, then the
// autosave itself.
double EarlierAutosave(const TrackerState& state, const std::string& songs, bool firstOfSession) {
    const auto start = Clock::now();
    if (firstOfSession) {
        std::string bytes;
        if (LoadData(String(songs + "autosave"), bytes)) SaveFileAtomically(String(songs + "autosave.bak"), bytes);
    }
    SaveFileAtomically(String(songs + "autosave"), EncodeSong(state).ToUtf8());
    return Milliseconds(start);
}
}  // namespace

int main() {
    char here[4096];
    const ssize_t length = readlink("/proc/self/exe", here, sizeof here - 1);
    if (length <= 0) return 1;
    std::string folder(here, static_cast<size_t>(length));
    folder = folder.substr(0, folder.rfind('/')) + "/autosave-bench";
    std::system(("rm -rf '" + folder + "' && mkdir -p '" + folder + "/data/songs'").c_str());
    SetAppDirectory(String(folder));
    const std::string songs = folder + "/data/songs/";

    std::vector<double> earlierFirst, earlierLater, nowFirst, nowLater;
    for (int run = 0; run < kRuns; ++run) {
        TrackerState state;
        FillLargestSong(state);
        Edit(state, run);
        earlierFirst.push_back(EarlierAutosave(state, songs, true));
        Edit(state, run + 1);
        earlierLater.push_back(EarlierAutosave(state, songs, false));
    }
    for (int run = 0; run < kRuns; ++run) {
        TrackerState state;  // a new session: its first autosave rotates
        FillLargestSong(state);
        AutosaveTick(state, 0);
        Edit(state, run);
        auto start = Clock::now();
        AutosaveTick(state, 60);
        nowFirst.push_back(Milliseconds(start));
        Edit(state, run + 1);
        start = Clock::now();
        AutosaveTick(state, 120);
        nowLater.push_back(Milliseconds(start));
    }
    std::printf("autosave of a 256-pattern song (%zu bytes), %d runs each\n",
                LoadString(String(songs + "autosave")).ToUtf8().size(), kRuns);
    Print("earlier, first of a session (with .bak)", earlierFirst);
    Print("earlier, later in the session", earlierLater);
    Print("now, first of a session (full rotation)", nowFirst);
    Print("now, later in the session", nowLater);
    std::system(("rm -rf '" + folder + "'").c_str());
    return 0;
}
