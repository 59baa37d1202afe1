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
constexpr String::CodePoint kCapitalUmlauts[] = {0xDC, 0xC4, 0xD6};  // their small letters are 0x20 above

// A capital letter is taken as its small letter: the set has none, and
// dropping it silently lost letters of a name typed with Shift or Caps Lock.
String::CodePoint SmallLetterOf(String::CodePoint c) {
    if (c >= 'A' && c <= 'Z') return c - 'A' + 'a';
    for (String::CodePoint capital : kCapitalUmlauts)
        if (c == capital) return c + 0x20;
    return c;
}

bool AcceptedForName(String::CodePoint c, const String& name, int maxLength) {
    return name.Length() < maxLength && c >= kFirstPrintable && IsFileNameChar(c);
}

bool ErasePressed(const c_InputDevice& input) {
    return input.KeyHit(keys::kBackspace) != 0 || input.KeyHit(keys::kDelete) != 0;
}

// The next queued character while a name owns it. Typing ends at an Enter,
// which stays queued: the characters after it belong to the pattern.
int NextNameChar(c_InputDevice& input) {
    const int next = input.PeekChar();
    if (next == 0 || next == keys::kEnterChar) return 0;
    return input.GetChar();
}

void AppendToName(String& name, int maxLength, int c) {
    const String::CodePoint small = SmallLetterOf(c);
    if (AcceptedForName(small, name, maxLength)) name += String::FromChar(small);
}

// A field being typed owns every queued character up to an Enter. With both
// fields open they take turns, the file name first, as each would take one
// character per update. Returns the last character taken, 0 for none.
int TakeFileNameChar(TrackerState& state, c_InputDevice& input) {
    String& instrumentName = state.instrumentNames[state.currentInstrument];
    int last = 0;
    while (const int c = NextNameChar(input)) {
        last = c;
        AppendToName(state.fileName, tracker::kFileNameLength, c);
        if (state.instrumentNameEntry != 1) continue;
        if (const int turn = NextNameChar(input)) {
            last = turn;
            AppendToName(instrumentName, tracker::kInstrumentNameLength, turn);
        }
    }
    return last;
}

int TakeInstrumentNameChar(TrackerState& state, c_InputDevice& input) {
    // With the file name open too, its turns already handed this field its share.
    if (state.fileNameEntry == 1) return 0;
    String& name = state.instrumentNames[state.currentInstrument];
    int last = 0;
    while (const int c = NextNameChar(input)) {
        last = c;
        AppendToName(name, tracker::kInstrumentNameLength, c);
    }
    return last;
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
    if (input.KeyHit(keys::kEscape) != 0) {
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

void RunSaveAndLoad(TrackerState& state, const c_InputDevice& input) {
    if (KeyOrClick(input, keys::kF11, kSaveButton)) state.statusText = SaveSong(state, state.fileName);
    if (KeyOrClick(input, keys::kF12, kLoadButton)) {
        state.statusText = LoadSong(state);
        state.playRow = 0;
        state.currentPosition = 0;
    }
}
}  // namespace editor
