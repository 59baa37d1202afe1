// Editing commands: track clipboard, order-list insert and delete, moving
// between positions, the number widgets of the song and instrument panel.
#include <algorithm>

#include "editor/Cells.h"
#include "editor/Editor.h"
#include "editor/Keys.h"
#include "song/InstrumentValues.h"

namespace {
constexpr int kCopyLength = tracker::kRowsPerPattern + 1;  // one row more than a pattern, as copied
constexpr int kSpinnerHalfWidth = 16;
constexpr int kSpinnerTop = 2;
constexpr int kSpinnerBottom = 14;

// Columns of one channel in clipboard order: note, volume, instrument, octave.
int TrackColumn(int channel, int track) { return track * tracker::kChannels + channel - 1; }

int TrackStart(const TrackerState& state) { return state.patternBase + state.playRow; }
}  // namespace

int Spinner(const c_InputDevice& input, int x, int y, int value, int min, int max) {
    int result = value;
    const bool hit = input.KeyHit(input::KEYCODE_MOUSE_LEFT) != 0;
    const float mouseX = input.MouseX();
    const float mouseY = input.MouseY();
    const bool insideRows = y + kSpinnerTop < mouseY && mouseY < y + kSpinnerBottom;
    if (hit && insideRows && x < mouseX && mouseX < x + kSpinnerHalfWidth && value > min) {
        result = value - 1;
    } else if (hit && insideRows && x + kSpinnerHalfWidth < mouseX && mouseX < x + 2 * kSpinnerHalfWidth &&
               value < max) {
        result = value + 1;
    }
    if (result < min) result = min;
    if (result > max) result = max;
    return result;
}

void RunPanelWidgets(TrackerState& state, const c_InputDevice& input) {
    state.editOctave = Spinner(input, 473, 360, state.editOctave + 1, 1, 4) - 1;
    state.songSpeed = Spinner(input, 473, 372, state.songSpeed, 1, 16);
    state.songLength =
        Spinner(input, 473, 384, state.songLength / tracker::kRowsPerPattern, 1, tracker::kMaxSongPositions) *
        tracker::kRowsPerPattern;
    state.currentInstrument = Spinner(input, 561, 144, state.currentInstrument, 1, 15);

    InstrumentValues in = ReadInstrument(state, state.currentInstrument);
    in.wav = Spinner(input, 561, 168, in.wav, 1, 7);
    in.pwm = Spinner(input, 561, 180, in.pwm, 0, 15);
    in.env = Spinner(input, 561, 204, in.env, 1, 255);
    in.arp1 = Spinner(input, 561, 228, in.arp1, 0, 12);
    in.arp2 = Spinner(input, 593, 228, in.arp2, 0, 12);
    in.speed = Spinner(input, 561, 240, in.speed, 0, 15);
    in.sweep = Spinner(input, 561, 192, in.sweep, 0, 15);
    in.amount = Spinner(input, 561, 252, in.amount, 0, 15);
    in.repeat = Spinner(input, 561, 264, in.repeat, 0, 1);
    in.e2p = Spinner(input, 561, 216, in.e2p, 0, 15);
    WriteInstrument(state, state.currentInstrument, in);

    int& pattern = state.positions[editor::PositionIndex(state.currentPosition)];
    pattern = Spinner(input, 385, 12, pattern, 0, tracker::kPatterns - 1);
}

void CopyTrack(TrackerState& state) {
    const int channel = editor::CursorChannel(state);
    const int start = TrackStart(state);
    for (int track = 0; track < 4; ++track) {
        const String& column = state.songColumns[TrackColumn(channel, track)];
        state.trackClipboard[track] =
            column.Slice(std::min(start, column.Length()), std::min(start + kCopyLength, column.Length()));
    }
}

void PasteTrack(TrackerState& state) {
    const int channel = editor::CursorChannel(state);
    const int start = TrackStart(state);
    for (int track = 0; track < 4; ++track) {
        const String& clip = state.trackClipboard[track];
        String& column = state.songColumns[TrackColumn(channel, track)];
        // Only as many characters as both the clipboard and the column hold,
        // so the column keeps its length (nothing at all before a copy).
        const int count = std::min({tracker::kRowsPerPattern, clip.Length(), column.Length() - start});
        if (count <= 0 || start < 0) continue;
        column = column.Slice(0, start) + clip.Slice(0, count) + column.Slice(start + count);
    }
}

void InsertPosition(TrackerState& state) {
    const int at = editor::PositionIndex(state.currentPosition);
    for (int i = tracker::kPositions - 1; i > at; --i) state.positions[i] = state.positions[i - 1];
    state.positions[at] = 0;
}

void DeletePosition(TrackerState& state) {
    const int at = editor::PositionIndex(state.currentPosition);
    for (int i = at; i < tracker::kPositions - 1; ++i) state.positions[i] = state.positions[i + 1];
}

void PreviousPosition(TrackerState& state) {
    if (state.currentPosition <= 0) return;
    state.currentPosition -= 1;
    state.patternBase = editor::PatternBaseOf(state);
}

void NextPosition(TrackerState& state) {
    if (state.currentPosition < tracker::kPositions - 1) state.currentPosition += 1;
    state.patternBase = editor::PatternBaseOf(state);
}
