// TrackerState: every field of the one application object — the song, the
// undo history, the player's channel state, the editor, the preview voice and
// the screen's counters. c_SoundEngine (app/) derives from it; the player,
// editor and screen are plain functions over it.
#pragma once

#include <array>
#include <deque>
#include <memory>

#include "runtime/String.h"

class c_Sound;
class c_Image;
class c_Font;

namespace tracker {
constexpr int kChannels = 4;
constexpr int kColumns = 16;
constexpr int kRowsPerPattern = 32;
constexpr int kPatterns = 256;
constexpr int kColumnLength = kPatterns * kRowsPerPattern;  // 8192
constexpr int kPositions = 256;
constexpr int kMaxSongPositions = 99;
constexpr int kInstrumentParamCount = 255;
constexpr int kInstrumentNameSlots = 32;
constexpr int kInstrumentNameLength = 21;
constexpr int kFileNameLength = 32;
constexpr int kUndoDepth = 64;  // edits that can be undone
constexpr int kWaveforms = 8;

enum TransportState { kEditing = 0, kPlaying = 1, kStandby = 2 };

// Column k of songColumns belongs to channel k % 4.
inline int NoteColumn(int channel) { return channel; }
inline int VolumeColumn(int channel) { return 4 + channel; }
inline int InstrumentColumn(int channel) { return 8 + channel; }
inline int OctaveColumn(int channel) { return 12 + channel; }
}  // namespace tracker

// What one state of the edit history holds: the pattern data and the order
// list, and where the edit that led to it was made (to bring it into view).
struct SongSnapshot {
    std::array<String, tracker::kColumns> columns;
    std::array<int, tracker::kPositions> positions{};
    std::array<String, tracker::kInstrumentNameSlots> instrumentNames;
    int editPosition = 0;
    int editPattern = -1;         // -1: the order list changed
    bool patternsChanged = true;  // false: only a name, nothing to bring into view
};

// The states the user had, oldest first; `current` is the one shown. States
// after it are the ones that can be redone.
struct UndoHistory {
    std::deque<SongSnapshot> states;
    int current = -1;
};

// Whether the song changed since it was last saved or loaded, and since the
// last autosave; the autosave interval is counted on a monotonic clock.
struct UnsavedWork {
    bool changedSinceSave = false;
    bool changedSinceAutosave = false;
    bool clockStarted = false;
    double lastAutosaveSeconds = 0;
    // The newest autosave (in the songs folder, or in the fallback folder)
    // holds this work, written since the last load: the next autosave
    // rewrites it instead of pushing the rotation down.
    bool autosaveHoldsThisWork = false;
    bool fallbackHoldsThisWork = false;
};

// Per tracker channel, reset by every note-on.
struct VoiceState {
    float rowCode = 0;
    float note = 0;
    float arpOffset = 0;
    float slide = 0;
    int arpCounter = 0;
    int pwmCounter = 0;
    float envelope = 0;
    int noteTicks = 0;
};

struct TrackerState {
    // Resources loaded at start-up; empty when a file is missing.
    std::shared_ptr<c_Font> font;
    std::shared_ptr<c_Image> buttonImage;
    std::shared_ptr<c_Image> navRowImage;
    std::array<std::shared_ptr<c_Sound>, tracker::kWaveforms> waveBank;

    // Song pattern data: 16 columns of 8192 characters (Part of the song model).
    std::array<String, tracker::kColumns> songColumns;
    UndoHistory undoHistory;
    UnsavedWork unsavedWork;
    int cursorColumn = 1;
    int cursorRow = 1;
    String orderText;
    std::array<int, tracker::kPositions> positions{};
    String statusText;
    int redrawCounter = 0;
    // An update since the last frame read a key, character, click or wheel
    // step: the next frame shows at once what it changed. The frame clears it.
    bool inputSinceFrame = false;
    float wheelDelta = 0;
    int transportState = tracker::kStandby;

    // Player position and channel state.
    int tickCounter = 0;
    int songSpeed = 4;
    int playRow = 0;
    int patternBase = 0;
    std::array<VoiceState, tracker::kChannels> voices{};
    std::array<int, tracker::kChannels> rowInstrument{};
    std::array<float, tracker::kChannels> channelVolumeScale{1.0f, 1.0f, 1.0f, 1.0f};
    std::array<float, tracker::kChannels> volume{};
    std::array<int, tracker::kChannels> rowOctave{};
    std::array<c_Sound*, tracker::kChannels> oscA{};  // references into waveBank
    std::array<c_Sound*, tracker::kChannels> oscB{};
    std::array<float, tracker::kChannels> pwmDepth{};
    std::array<int, tracker::kChannels> instrument{};
    std::array<int, tracker::kChannels> octave{};
    std::array<int, tracker::kChannels> e2pAmount{};
    std::array<float, tracker::kChannels> e2pEnvelope{};
    std::array<int, tracker::kChannels> arpSpeed{};
    std::array<int, tracker::kChannels> pwmPeriod{8, 8, 8, 8};
    std::array<int, tracker::kChannels> pwmDirection{};

    // Instruments: instrument i uses entries 8i..8i+7.
    std::array<int, tracker::kInstrumentParamCount> instrumentParams{};

    int currentPosition = 0;
    int songLength = 32;

    // Editor state.
    int followCounter = 1;
    String followMode = "On";
    int usLayout = 2;  // note keys by key position (0 as typed, 1 with y and z swapped)
    String keyboardLayout = "KEY";
    int fileNameEntry = 0;
    String fileName;
    std::array<String, tracker::kInstrumentNameSlots> instrumentNames;
    int currentInstrument = 1;
    int instrumentNameEntry = 0;
    // While a name is typed: the instrument and the name it had at the
    // click, which Escape puts back and the edit history still counts.
    int instrumentNameSlot = 0;
    String instrumentNameBefore;

    // Preview voice of the editor.
    c_Sound* previewOscA = nullptr;
    c_Sound* previewOscB = nullptr;
    float previewPwmDepth = 0;
    int upRepeat = 0;
    int downRepeat = 0;
    std::array<String, 4> trackClipboard;
    String lastNoteKey;
    int editOctave = 2;
    float previewEnvelope = 0;
    int previewE2p = 0;
    float previewE2pEnvelope = 0;
    int previewArpSpeed = 0;
    int previewArpCounter = 0;
    float previewArpOffset = 0;
    int previewTicks = 0;
    int previewPwmPeriod = 8;
    int previewPwmCounter = 0;
    int previewPwmDirection = 0;

    // Screen.
    std::array<String, tracker::kChannels> channelLabels;
    std::array<int, tracker::kChannels> vuLevels{};
};
