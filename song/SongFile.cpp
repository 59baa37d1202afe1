// The song file. Every field is found by its position in the decoded text;
// numbers are single characters whose code point is the number.
//
// Loading never reads past the end of the text: a missing character reads as
// 0, missing cells as empty cells and missing name characters as spaces, so a
// damaged or foreign file still gives 16 columns of exactly 8192 characters.
// A header count above 256 loads 256 patterns; positions above 255 are
// clamped to 255 so playback never addresses cells beyond the columns; the
// song length is clamped to 1..99 positions, the range the editor keeps.
#include "song/SongFile.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "song/SongModel.h"

namespace {
using CodePoint = String::CodePoint;
using tracker::kColumnLength;
using tracker::kColumns;
using tracker::kInstrumentNameLength;
using tracker::kPositions;
using tracker::kRowsPerPattern;

const String kMagic = "ZRB1";
constexpr int kStoredInstrumentValues = 249;
constexpr int kStoredNames = 31;  // names 1..31
constexpr int kHeaderLength = 7;
constexpr int kMaxPatternNumber = tracker::kPatterns - 1;
constexpr int kDefaultSpeedForZero = 5;
constexpr int kMaxSongPositions = tracker::kMaxSongPositions;
// Older versions wrote the Delete key's character into note cells. It is read
// and saved as the empty cell the user meant, so an old song plays as it
// will sound after a save (the player would take it for a C).
constexpr CodePoint kDeleteChar = 127;

// Offsets of the fields after the columns, for n stored patterns.
int64_t ColumnsStart() { return kHeaderLength; }
int64_t PositionsStart(int64_t n) { return kHeaderLength + int64_t{kColumns} * kRowsPerPattern * n; }
int64_t InstrumentsStart(int64_t n) { return PositionsStart(n) + kPositions; }
int64_t NamesStart(int64_t n) { return InstrumentsStart(n) + kStoredInstrumentValues; }

// Reads by position; 0 past the end of the text.
class TextReader {
public:
    explicit TextReader(const String& text) : text_(text) {}
    CodePoint At(int64_t index) const {
        return index >= 0 && index < text_.Length() ? text_[static_cast<int>(index)] : 0;
    }
    // Characters [from, from + count) of the text, then `fill` up to `size`
    // characters in all (at least count). One block copy: a load builds 16
    // columns of 8192 characters, and a copy per character made that slow.
    std::vector<CodePoint> Run(int64_t from, int count, CodePoint fill, int size = 0) const {
        std::vector<CodePoint> out(static_cast<size_t>(std::max(count, size)), fill);
        const int64_t available = std::max<int64_t>(0, std::min<int64_t>(count, text_.Length() - from));
        if (available > 0) std::copy_n(text_.Data() + from, available, out.begin());
        return out;
    }

private:
    const String& text_;
};

int StoredPatternCount(const TrackerState& state) {
    int largest = 0;
    for (int p : state.positions) largest = std::max(largest, p);
    return std::min(largest, kMaxPatternNumber) + 1;
}

// The first count characters of text, padded with fill; block copies, as
// for loading.
void Append(std::vector<CodePoint>& out, const String& text, int count, CodePoint fill) {
    const int copied = std::min(count, text.Length());
    out.insert(out.end(), text.Data(), text.Data() + copied);
    out.insert(out.end(), static_cast<size_t>(count - copied), fill);
}
}  // namespace

String EncodeSong(const TrackerState& state) {
    const int n = StoredPatternCount(state);
    std::vector<CodePoint> out;
    out.reserve(static_cast<size_t>(NamesStart(n) + kStoredNames * kInstrumentNameLength));
    Append(out, kMagic, kMagic.Length(), ' ');
    out.push_back(state.songLength / kRowsPerPattern);
    out.push_back(state.songSpeed);
    out.push_back(n);
    for (int k = 0; k < kColumns; ++k) {
        const size_t start = out.size();
        Append(out, state.songColumns[k], kRowsPerPattern * n, EmptyColumn(k)[0]);
        if (k >= tracker::kChannels) continue;  // note columns come first
        for (size_t i = start; i < out.size(); ++i)
            if (out[i] == kDeleteChar) out[i] = '.';
    }
    for (int p : state.positions) out.push_back(p);
    for (int i = 0; i < kStoredInstrumentValues; ++i) out.push_back(state.instrumentParams[static_cast<size_t>(i)]);
    // Names are padded with spaces to their fixed width; a longer one is cut
    // so that it cannot shift the fields behind it.
    for (int j = 1; j <= kStoredNames; ++j)
        Append(out, state.instrumentNames[static_cast<size_t>(j)], kInstrumentNameLength, ' ');
    return String::FromCodePoints(std::move(out));
}

void DecodeSongText(TrackerState& state, const String& text) {
    const TextReader reader(text);
    state.songLength = std::clamp<int>(reader.At(4), 1, kMaxSongPositions) * kRowsPerPattern;
    const int speed = reader.At(5);
    state.songSpeed = speed == 0 ? kDefaultSpeedForZero : speed;
    const int64_t n = reader.At(6);
    const int loadedRows = static_cast<int>(std::min<int64_t>(n, tracker::kPatterns)) * kRowsPerPattern;

    for (int k = 0; k < kColumns; ++k) {
        const CodePoint empty = EmptyColumn(k)[0];
        std::vector<CodePoint> cells =
            reader.Run(ColumnsStart() + int64_t{kRowsPerPattern} * n * k, loadedRows, empty, kColumnLength);
        if (k < tracker::kChannels) std::replace(cells.begin(), cells.end(), kDeleteChar, empty);
        state.songColumns[k] = String::FromCodePoints(std::move(cells));
    }
    for (int i = 0; i < kPositions; ++i)
        state.positions[static_cast<size_t>(i)] =
            std::clamp<int>(reader.At(PositionsStart(n) + i), 0, kMaxPatternNumber);
    for (int i = 0; i < kStoredInstrumentValues; ++i)
        state.instrumentParams[static_cast<size_t>(i)] = reader.At(InstrumentsStart(n) + i);
    for (int j = 1; j <= kStoredNames; ++j)
        state.instrumentNames[static_cast<size_t>(j)] = String::FromCodePoints(
            reader.Run(NamesStart(n) + int64_t{kInstrumentNameLength} * (j - 1), kInstrumentNameLength, ' '));
}

bool IsSongText(const String& text) { return text.Length() >= kHeaderLength && text.StartsWith(kMagic); }
