// Fuzz target: the song loader on a decoded file text, as LoadSong runs it.
// After any text the song must be playable (16 columns of exactly 8192
// characters, positions that name one of the 256 patterns), and saving what
// was loaded and loading it again must give the same song.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "io/TextFile.h"
#include "runtime/String.h"
#include "song/SongFile.h"
#include "song/SongModel.h"
#include "song/TrackerState.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {
using namespace tracker;

void CheckPlayable(const TrackerState& state) {
    for (int k = 0; k < kColumns; ++k) FUZZ_REQUIRE(state.songColumns[k].Length() == kColumnLength);
    for (int p : state.positions) FUZZ_REQUIRE(p >= 0 && p < kPatterns);
    FUZZ_REQUIRE(state.songLength >= kRowsPerPattern && state.songLength <= kMaxSongPositions * kRowsPerPattern);
    FUZZ_REQUIRE(state.songLength % kRowsPerPattern == 0);
    FUZZ_REQUIRE(state.songSpeed != 0);
    for (int j = 1; j < kInstrumentNameSlots; ++j) FUZZ_REQUIRE(state.instrumentNames[j].Length() == kInstrumentNameLength);
}

// A column as a save writes it: the Delete character that older versions put
// into note cells is stored as the empty cell.
String AsSaved(int column, const String& text) {
    if (column >= kChannels) return text;
    std::vector<String::CodePoint> out(text.Data(), text.Data() + text.Length());
    for (auto& c : out)
        if (c == 127) c = '.';
    return String::FromCodePoints(std::move(out));
}

// The fields a file holds; columns only as far as the saved patterns reach.
void CheckSameSong(const TrackerState& a, const TrackerState& b) {
    FUZZ_REQUIRE(a.songLength == b.songLength);
    FUZZ_REQUIRE(a.songSpeed == b.songSpeed);
    FUZZ_REQUIRE(a.positions == b.positions);
    for (int i = 0; i < 249; ++i) FUZZ_REQUIRE(a.instrumentParams[i] == b.instrumentParams[i]);
    for (int j = 1; j < kInstrumentNameSlots; ++j) FUZZ_REQUIRE(a.instrumentNames[j] == b.instrumentNames[j]);
    int largest = 0;
    for (int p : a.positions) largest = p > largest ? p : largest;
    const int savedRows = (largest + 1) * kRowsPerPattern;
    for (int k = 0; k < kColumns; ++k)
        FUZZ_REQUIRE(AsSaved(k, a.songColumns[k].Slice(0, savedRows)) == b.songColumns[k].Slice(0, savedRows));
}

TrackerState& FreshState(std::unique_ptr<TrackerState>& slot) {
    if (!slot) {
        slot = std::make_unique<TrackerState>();
        BuildEmptySong(*slot);
    }
    return *slot;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::unique_ptr<TrackerState> loadedSlot, reloadedSlot;
    TrackerState& loaded = FreshState(loadedSlot);
    TrackerState& reloaded = FreshState(reloadedSlot);

    const String text = DecodeText(std::string(reinterpret_cast<const char*>(data), size));
    DecodeSongText(loaded, text);
    CheckPlayable(loaded);

    const String saved = EncodeSong(loaded);
    DecodeSongText(reloaded, DecodeText(saved.ToUtf8()));
    CheckPlayable(reloaded);
    CheckSameSong(loaded, reloaded);
    return 0;
}
