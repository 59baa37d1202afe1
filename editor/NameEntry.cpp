// Name entry for the song file name and the current instrument's name, and
// the save and load commands that use the file name.
#include "editor/Editor.h"
#include "editor/EditorSteps.h"
#include "editor/Keys.h"
#include "player/Player.h"
#include "song/Undo.h"
#include "store/SongStore.h"

namespace {
// The allowed characters: three umlauts, space, lower-case letters,
// "!-._()&+[]/" and the digits.
constexpr String::CodePoint kAllowedChars[] = {0xFC, 0xE4, 0xF6, ' ', 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i',
                                               'j',  'k',  'l',  'm', 'n', 'o', 'p', 'q', 'r', 's', 't', 'u', 'v',
                                               'w',  'x',  'y',  'z', '!', '-', '.', '_', '(', ')', '&', '+', '[',
                                               ']',  '/',  '1',  '2', '3', '4', '5', '6', '7', '8', '9', '0'};

constexpr int kFirstPrintable = 32;

bool AcceptedForName(String::CodePoint c, const String& name, int maxLength) {
    return name.Length() < maxLength && c >= kFirstPrintable && IsFileNameChar(c);
}

bool ErasePressed(const c_InputDevice& input) {
    return input.KeyHit(keys::kBackspace) != 0 || input.KeyHit(keys::kDelete) != 0;
}

// Each field being typed takes its own character; 0 when none was queued.
int TakeFileNameChar(TrackerState& state, c_InputDevice& input) {
    const int c = input.GetChar();
    if (AcceptedForName(c, state.fileName, tracker::kFileNameLength)) state.fileName += String::FromChar(c);
    return c;
}

int TakeInstrumentNameChar(TrackerState& state, c_InputDevice& input) {
    String& name = state.instrumentNames[state.currentInstrument];
    const int c = input.GetChar();
    if (AcceptedForName(c, name, tracker::kInstrumentNameLength)) name += String::FromChar(c);
    return c;
}

void RunFileName(TrackerState& state, c_InputDevice& input, AudioDevice& audio) {
    if (editor::Clicked(input, editor::kFileNameField)) state.fileNameEntry = 1;
    if (state.fileNameEntry != 1) return;
    state.transportState = tracker::kStandby;
    StopAllVoices(audio);
    TakeFileNameChar(state, input);
    if (input.KeyHit(keys::kEnter) != 0) state.fileNameEntry = 0;
    if (ErasePressed(input) && !state.fileName.Empty())
        state.fileName = state.fileName.Slice(0, state.fileName.Length() - 1);
}

// The name is emptied at the click; Escape puts back the name it had then,
// and a name changed by Enter is one step of the edit history.
void RunInstrumentName(TrackerState& state, c_InputDevice& input, AudioDevice& audio) {
    constexpr int kEscapeKey = 27;
    String& name = state.instrumentNames[state.currentInstrument];
    if (editor::Clicked(input, editor::kInstrumentNameField)) {
        if (state.instrumentNameEntry != 1) {
            state.instrumentNameBefore = name;
            state.instrumentNameSlot = state.currentInstrument;
        }
        name = String();
        state.instrumentNameEntry = 1;
    }
    if (state.instrumentNameEntry != 1) return;
    state.transportState = tracker::kStandby;
    StopAllVoices(audio);
    if (input.KeyHit(kEscapeKey) != 0) {
        state.instrumentNames[state.instrumentNameSlot] = state.instrumentNameBefore;
        state.instrumentNameEntry = 0;
        return;
    }
    TakeInstrumentNameChar(state, input);
    if (input.KeyHit(keys::kEnter) != 0) {
        while (name.Length() < tracker::kInstrumentNameLength) name += " ";
        state.instrumentNameEntry = 0;
        RecordEdit(state);
    }
    if (ErasePressed(input)) name = String();
}
}  // namespace

bool IsFileNameChar(String::CodePoint c) {
    for (String::CodePoint allowed : kAllowedChars)
        if (c == allowed) return true;
    return false;
}

namespace editor {
void RunNameEntry(TrackerState& state, c_InputDevice& input, AudioDevice& audio) {
    RunFileName(state, input, audio);
    RunInstrumentName(state, input, audio);
}

bool TypeNameChars(TrackerState& state, c_InputDevice& input) {
    bool typed = false;
    if (state.fileNameEntry == 1) typed = TakeFileNameChar(state, input) != 0;
    if (state.instrumentNameEntry == 1) typed = TakeInstrumentNameChar(state, input) != 0 || typed;
    return typed;
}

void RunSaveAndLoad(TrackerState& state, const c_InputDevice& input) {
    if (KeyOrClick(input, keys::kF11, kSaveButton)) state.statusText = SaveSong(state, state.fileName);
    if (KeyOrClick(input, keys::kF12, kLoadButton)) {
        state.statusText = LoadSong(state);
        state.playRow = 0;
        state.currentPosition = 0;
    }
}
}  // namespace editor
