// Shared set-up of the player tests: an empty song, a wave bank of fake
// samples (buffer = 100 + slot) and helpers that write cells and instruments.
#pragma once

#include <memory>
#include <string>

#include "audio/AudioDevice.h"
#include "song/InstrumentValues.h"
#include "song/SongModel.h"
#include "song/TrackerState.h"

namespace playertest {

inline int BufferOfSlot(int slot) { return 100 + slot; }

inline void FillWaveBank(TrackerState& state) {
    for (int slot = 0; slot < tracker::kWaveforms; ++slot)
        state.waveBank[slot] = std::make_shared<c_Sound>(std::make_shared<gxtkSample>(BufferOfSlot(slot)));
}

// A playing song at position 0, ready for its first tick.
inline void StartPlaying(TrackerState& state, int speed) {
    state.songSpeed = speed;
    state.tickCounter = 0;
    state.playRow = 0;
    state.currentPosition = 0;
    state.patternBase = state.positions[0] * tracker::kRowsPerPattern;
    state.transportState = tracker::kPlaying;
}

// One cell: note character, volume digit, instrument digit, octave digit
// (each a one-character text; an empty text leaves that column alone).
inline void SetCell(TrackerState& state, int pattern, int row, int channel, const std::string& note,
                    const std::string& volume = "", const std::string& instrument = "",
                    const std::string& octave = "") {
    const int position = pattern * tracker::kRowsPerPattern + row + 1;
    const std::string* parts[4] = {&note, &volume, &instrument, &octave};
    for (int kind = 0; kind < 4; ++kind) {
        if (parts[kind]->empty()) continue;
        String& column = state.songColumns[static_cast<size_t>(kind * 4 + channel)];
        column = ReplaceChar(column, position, String(*parts[kind]));
    }
}

// An instrument that sounds as written: a triangle held for 255 ticks per step.
struct Instrument : InstrumentValues {
    Instrument() {
        wav = 4;
        env = 255;
    }
};

inline void SetInstrument(TrackerState& state, int number, const Instrument& in) { WriteInstrument(state, number, in); }

}  // namespace playertest
