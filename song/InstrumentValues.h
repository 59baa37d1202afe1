// An instrument's nine values and how the song keeps them: eight entries per
// instrument in instrumentParams (instrument i at 8i..8i+7), RPT and E2P
// sharing entry 2 as RPT * 16 + E2P, SWP and AMT entry 3 as SWP * 16 + AMT.
// Every reader and writer of those entries goes through here.
#pragma once

#include <cstddef>

#include "song/TrackerState.h"

namespace tracker {
constexpr int kInstrumentEntries = 8;
// Instruments the table reaches into; the last has only seven of its entries.
constexpr int kInstrumentTableSlots = (kInstrumentParamCount + kInstrumentEntries - 1) / kInstrumentEntries;
}  // namespace tracker

struct InstrumentValues {
    int wav = 0, pwm = 0, repeat = 0, e2p = 0, sweep = 0, amount = 0, env = 0, speed = 0, arp1 = 0, arp2 = 0;
};

// Instrument `number`'s values; an entry past either end of the table reads
// as 0 rather than reaching beyond it (the table has 255 entries, not 256).
inline InstrumentValues ReadInstrument(const TrackerState& state, int number) {
    int entry[tracker::kInstrumentEntries];
    for (int k = 0; k < tracker::kInstrumentEntries; ++k) {
        const int index = number * tracker::kInstrumentEntries + k;
        entry[k] = index < 0 || index >= tracker::kInstrumentParamCount
                       ? 0
                       : state.instrumentParams[static_cast<size_t>(index)];
    }
    InstrumentValues values;
    values.wav = entry[0];
    values.pwm = entry[1];
    values.repeat = entry[2] / 16;
    values.e2p = entry[2] % 16;
    values.sweep = entry[3] / 16;
    values.amount = entry[3] % 16;
    values.env = entry[4];
    values.speed = entry[5];
    values.arp1 = entry[6];
    values.arp2 = entry[7];
    return values;
}

// Writes instrument `number`'s entries that lie inside the table.
inline void WriteInstrument(TrackerState& state, int number, const InstrumentValues& values) {
    const int entry[tracker::kInstrumentEntries] = {values.wav,
                                                    values.pwm,
                                                    values.repeat * 16 + values.e2p,
                                                    values.sweep * 16 + values.amount,
                                                    values.env,
                                                    values.speed,
                                                    values.arp1,
                                                    values.arp2};
    for (int k = 0; k < tracker::kInstrumentEntries; ++k) {
        const int index = number * tracker::kInstrumentEntries + k;
        if (index >= 0 && index < tracker::kInstrumentParamCount)
            state.instrumentParams[static_cast<size_t>(index)] = entry[k];
    }
}
