// EditorUpdate, the editing step of the editing and standby states: cursor
// movement with auto-repeat, the keyboard layouts, volume digits, note keys
// and the note preview.
#include "editor/Cells.h"
#include "editor/Editor.h"
#include "editor/EditorSteps.h"
#include "editor/KeyPositions.h"
#include "editor/Keys.h"
#include "editor/Overlays.h"
#include "player/Player.h"
#include "song/InstrumentValues.h"
#include "song/SongChanges.h"
#include "song/Undo.h"

namespace {
constexpr int kColumnsOnScreen = 8;
constexpr int kRepeatDelay = 12;  // updates a cursor key is held before it repeats
constexpr int kLoopingFlag = 1;
constexpr int kPreviewVolumeDigit = 1;

void MoveCursorColumn(TrackerState& state, const c_InputDevice& input, AudioDevice& audio) {
    if (input.KeyHit(keys::kTab) != 0) {
        state.cursorColumn += 2;
        StopAllVoices(audio);
    }
    if (input.KeyHit(keys::kRight) != 0) {
        state.cursorColumn += 1;
        StopAllVoices(audio);
    }
    if (input.KeyHit(keys::kLeft) != 0) {
        state.cursorColumn -= 1;
        StopAllVoices(audio);
    }
    if (state.cursorColumn < 1) state.cursorColumn = kColumnsOnScreen;
    if (state.cursorColumn > kColumnsOnScreen) state.cursorColumn = 1;
}

void MovePosition(TrackerState& state, const c_InputDevice& input) {
    if (input.KeyHit(keys::kPageUp) != 0 || state.wheelDelta == 1.0f) PreviousPosition(state);
    if (input.KeyHit(keys::kPageDown) != 0 || state.wheelDelta == -1.0f) NextPosition(state);
}

void MoveCursorRow(TrackerState& state, const c_InputDevice& input) {
    if (input.KeyDown(keys::kUp) != 0) {
        state.upRepeat += 1;
        if (state.upRepeat > kRepeatDelay) state.cursorRow -= 1;
    } else {
        state.upRepeat = 0;
    }
    if (input.KeyDown(keys::kDown) != 0) {
        state.downRepeat += 1;
        if (state.downRepeat > kRepeatDelay) state.cursorRow += 1;
    } else {
        state.downRepeat = 0;
    }
    if (input.KeyHit(keys::kUp) != 0) state.cursorRow -= 1;
    if (input.KeyHit(keys::kDown) != 0) state.cursorRow += 1;
    if (state.cursorRow > tracker::kRowsPerPattern) state.cursorRow = 1;
    if (state.cursorRow < 1) state.cursorRow = tracker::kRowsPerPattern;
}

// The pattern's next character, or 0 when there is none for it: a name being
// typed owns the queue, and a "?" is left for the help page (with every
// character after it).
int ReadTypedChar(const TrackerState& state, c_InputDevice& input) {
    if (editor::TypingName(state) || input.PeekChar() == editor::kHelpChar) return 0;
    int c = input.GetChar();
    // Delete clears the cell like "." or "0" would.
    if (c == keys::kDeleteChar) return state.cursorColumn % 2 == 1 ? '.' : '0';
    // The note keys are those of a German keyboard; the US layout swaps y and
    // z; by key position, a note column takes the note of the key's place.
    if (state.usLayout == editor::kLayoutByKeyPosition) {
        if (state.cursorColumn % 2 == 1) c = editor::NoteCharByKeyPosition(c, input.KeyOfLastChar());
    } else if (state.usLayout == 1) {
        if (c == 'Y' || c == 'y') {
            c = 'z';
        } else if (c == 'Z' || c == 'z') {
            c = 'y';
        }
    }
    return c;
}

bool IsVolumeDigit(int c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

void EnterVolumeDigit(TrackerState& state, int c) {
    if (state.transportState != tracker::kEditing || editor::TypingName(state)) return;
    if (state.cursorColumn % 2 != 0 || !IsVolumeDigit(c)) return;
    const int upper = c >= 'a' ? c - 'a' + 'A' : c;
    editor::WriteCell(state, tracker::VolumeColumn(editor::CursorChannel(state) - 1), editor::CursorCellIndex(state),
                      String::FromChar(upper));
    RecordEdit(state);
    state.cursorRow += 1;
}

// "." to "<" (with "/" and the digits), and "a" to the end of ASCII.
constexpr int kLastAscii = 0x7F;
bool InNoteKeyRanges(int c) { return (c >= '.' && c <= '<') || (c >= 'a' && c <= kLastAscii); }
bool IsCommandKey(int c) { return c == '.' || c == '+' || c == '#' || c == '-'; }

void RestartPreview(TrackerState& state) {
    state.previewArpCounter = 0;
    state.previewPwmCounter = 0;
    state.previewEnvelope = 0;
    state.previewTicks = 0;
    state.previewE2pEnvelope = 0;
}

void EnterNoteKey(TrackerState& state, AudioDevice& audio, int c) {
    if (state.cursorColumn % 2 != 1) return;
    const bool inRanges = InNoteKeyRanges(c);
    if (!inRanges && c != '#' && c != '+' && c != '-') return;
    const int channel = editor::CursorChannel(state);
    const String key = String::FromChar(c);
    if (inRanges && c != '.') state.lastNoteKey = key;

    if (state.transportState == tracker::kEditing) {
        const int cell = editor::CursorCellIndex(state);
        const int track = channel - 1;
        editor::WriteCell(state, tracker::NoteColumn(track), cell, key);
        editor::WriteCell(state, tracker::InstrumentColumn(track), cell, HexDigitText(state.currentInstrument));
        editor::WriteCell(state, tracker::OctaveColumn(track), cell, String(state.editOctave));
        if (IsCommandKey(c)) {
            editor::WriteCell(state, tracker::InstrumentColumn(track), cell, "0");
            editor::WriteCell(state, tracker::OctaveColumn(track), cell, "0");
        } else {
            const String& volume = state.songColumns[tracker::VolumeColumn(track)];
            if (cell < volume.Length() && volume[cell] == '0')
                editor::WriteCell(state, tracker::VolumeColumn(track), cell, "8");
            RestartPreview(state);
        }
        RecordEdit(state);
        state.cursorRow += 1;
    } else if (state.transportState == tracker::kStandby) {
        RestartPreview(state);
    }
    const int pitchIndex = DecodeNoteCode(c) - 24 + 12 * state.editOctave;
    TriggerVoice(state, audio, state.previewOscA, pitchIndex, channel, kLoopingFlag, state.previewOscB,
                 kPreviewVolumeDigit, state.editOctave);
}

void SelectPreviewWaveforms(TrackerState& state) {
    const InstrumentValues in = ReadInstrument(state, editor::InstrumentNumber(state));
    SelectWaveformPair(state, in.wav, state.previewOscA, state.previewOscB);
    state.previewPwmDepth = static_cast<float>(in.pwm);
}

// Instrument names are song data but have no undo: a change only marks the
// song as changed.
void RunNameEntryNotingEdits(TrackerState& state, c_InputDevice& input, AudioDevice& audio) {
    const int instrument = state.currentInstrument;
    const String before = state.instrumentNames[instrument];
    editor::RunNameEntry(state, input, audio);
    if (state.instrumentNames[instrument] != before) NoteSongChanged(state);
}

// Characters that arrived within the same update after the first are each
// handled as their own step, in order, so a fast typist loses none. The
// cursor row wraps between them as it would between updates.
void TakeQueuedChars(TrackerState& state, c_InputDevice& input, AudioDevice& audio) {
    while (const int c = ReadTypedChar(state, input)) {
        if (state.cursorRow > tracker::kRowsPerPattern) state.cursorRow = 1;
        EnterVolumeDigit(state, c);
        EnterNoteKey(state, audio, c);
    }
}
}  // namespace

void EditorUpdate(TrackerState& state, c_InputDevice& input, AudioDevice& audio) {
    RunNameEntryNotingEdits(state, input, audio);
    if (editor::Clicked(input, editor::kHomeButton)) {
        state.playRow = 0;
        state.currentPosition = 0;
    }
    editor::RunSaveAndLoad(state, input);
    SelectPreviewWaveforms(state);
    if (!editor::TypingName(state)) {
        if (editor::KeyOrClick(input, keys::kInsert, editor::kInsertButton)) InsertPosition(state);
        RecordEdit(state);
        if (editor::KeyOrClick(input, keys::kBackspace, editor::kDeleteButton)) DeletePosition(state);
        RecordEdit(state);
    }
    MoveCursorColumn(state, input, audio);
    MovePosition(state, input);
    MoveCursorRow(state, input);
    const int c = ReadTypedChar(state, input);
    EnterVolumeDigit(state, c);
    if (editor::KeyOrClick(input, keys::kF9, editor::kCopyButtonLeft) ||
        editor::Clicked(input, editor::kCopyButtonRight))
        CopyTrack(state);
    if (editor::KeyOrClick(input, keys::kF10, editor::kPasteButtonLeft) ||
        editor::Clicked(input, editor::kPasteButtonRight))
        PasteTrack(state);
    RecordEdit(state);
    EnterNoteKey(state, audio, c);
    TakeQueuedChars(state, input, audio);
    RunPreviewModulation(state, audio);
}
