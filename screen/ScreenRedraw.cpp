// The layout key: a 64-bit multiply-and-fold hash over every field DrawMainScreen reads,
// taken only over what it shows (the 32 visible rows of each column, the
// visible order entries, the current instrument's values and name).
#include "screen/ScreenRedraw.h"

namespace {

class KeyHash {
public:
    // A whole value a step, folded back after the multiply so that high bits
    // reach the low ones: a byte a step cost eight multiplies per value, and
    // the key is taken every third idle update.
    void Add(uint64_t value) {
        hash_ = (hash_ ^ value) * 0x100000001B3ull;
        hash_ ^= hash_ >> 29;
    }
    void Add(const String& text) {
        Add(static_cast<uint64_t>(text.Length()));
        const String::CodePoint* data = text.Data();
        for (int i = 0; i < text.Length(); ++i) Add(static_cast<uint64_t>(static_cast<uint32_t>(data[i])));
    }
    // The characters of rows first..first+count-1; rows outside the column read
    // as a mark no character has.
    void AddRows(const String& column, int first, int count) {
        const String::CodePoint* data = column.Data();
        for (int r = first; r < first + count; ++r) {
            const bool inside = r >= 0 && r < column.Length();
            Add(inside ? static_cast<uint64_t>(static_cast<uint32_t>(data[r])) : ~0ull);
        }
    }
    uint64_t Value() const { return hash_; }

private:
    uint64_t hash_ = 0xCBF29CE484222325ull;
};

}  // namespace

uint64_t LayoutKey(const TrackerState& state) {
    KeyHash key;
    key.Add(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(state.font.get())));
    key.Add(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(state.buttonImage.get())));
    key.Add(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(state.navRowImage.get())));
    const int scalars[] = {state.transportState,      state.cursorColumn,      state.cursorRow,   state.fileNameEntry,
                           state.instrumentNameEntry, state.currentInstrument, state.editOctave,  state.songSpeed,
                           state.songLength,          state.currentPosition,   state.patternBase, state.playRow};
    for (int value : scalars) key.Add(static_cast<uint64_t>(static_cast<uint32_t>(value)));
    for (int k = 0; k < 8; ++k) {
        const int index = state.currentInstrument * 8 + k;
        const bool inside = index >= 0 && index < tracker::kInstrumentParamCount;
        key.Add(inside ? static_cast<uint64_t>(static_cast<uint32_t>(state.instrumentParams[index])) : ~0ull);
    }
    const int instrument = state.currentInstrument;
    key.Add(instrument >= 0 && instrument < tracker::kInstrumentNameSlots ? state.instrumentNames[instrument]
                                                                          : String());
    key.Add(state.fileName);
    key.Add(state.keyboardLayout);
    for (int i = 0; i < tracker::kRowsPerPattern; ++i) {
        const int position = state.currentPosition + i;
        const bool inside = position >= 0 && position < tracker::kPositions;
        key.Add(inside ? static_cast<uint64_t>(static_cast<uint32_t>(state.positions[position])) : ~0ull);
    }
    const int top = state.patternBase + state.playRow;
    for (const String& column : state.songColumns) key.AddRows(column, top, tracker::kRowsPerPattern);
    return key.Value();
}
