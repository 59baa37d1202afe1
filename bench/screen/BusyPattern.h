// What both screen benchmarks measure with: a pattern with a note on every
// row of every channel, so every cell has a name to draw, and the process's
// CPU clock.
#pragma once

#include <ctime>

#include "song/SongModel.h"
#include "song/TrackerState.h"

namespace bench {
inline double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// A note on every row of the first pattern.
inline void FillPattern(TrackerState& state) {
    for (int r = 0; r < tracker::kRowsPerPattern; ++r)
        for (int c = 0; c < tracker::kChannels; ++c) {
            const int at = r + 1;
            state.songColumns[tracker::NoteColumn(c)] = ReplaceChar(state.songColumns[tracker::NoteColumn(c)], at, "q");
            state.songColumns[tracker::VolumeColumn(c)] =
                ReplaceChar(state.songColumns[tracker::VolumeColumn(c)], at, "C");
            state.songColumns[tracker::OctaveColumn(c)] =
                ReplaceChar(state.songColumns[tracker::OctaveColumn(c)], at, "2");
        }
}
}  // namespace bench
