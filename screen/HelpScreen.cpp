// The help page: every key and button, the piano rows, the nine instrument
// values and where songs and the export tool live; and the hint to it.
#include "screen/Overlays.h"
#include "screen/ScreenDrawing.h"

namespace {
using namespace overlay_layout;

constexpr int kTextX = 6;
constexpr int kTextTop = 17;

// 56 characters at most, 38 lines at most: the page fits the box.
const char* const kHelpLines[] = {
    "HELP             any key or a click closes this page",
    "",
    "Space  edit <-> standby    F1 play from the top",
    "F2     play from here      F1/F2 again: stop",
    "F5-F8  channel 1-4 on/off  F10 paste track",
    "F9     copy track AND switch follow (FLW) on/off",
    "F11    save   F12 load   F12 with no name: song list",
    "Arrows Tab  cursor         PgUp PgDn wheel  position",
    "Ins Bksp  insert/delete position     ?  this help",
    "Buttons: play/stop, home (to position 0), edit, undo",
    "(the last edit), copytrack pastetrck load save,",
    "on/off (mute), FLW (follow), Layout, INS DEL and arrow",
    "pairs (pattern at position, OCT SPD Len, instrument).",
    "Click the name line or Description: to type a name.",
    "Del clear cell  Ctrl+Z undo  Ctrl+Y/Ctrl+Shift+Z redo",
    "Note keys by their place on any keyboard (Layout KEY;",
    "click it for US or DE: the printed letters as typed)",
    "   2 3   5 6 7   9 0       C# D#   F# G# A#   C# D#",
    "  Q W E R T Y U I O P     C  D  E  F  G  A  B  C  D  E",
    "   S D   G H J             C# D#   F# G# A#",
    "  Z X C V B N M           C  D  E  F  G  A  B  (lower)",
    ". empty  < note off  + slide down  # slide up  - end",
    "KEY: piano keys are notes; keypad . + * - / = . + # - <",
    "French: - keypad -, . Shift+;   Dvorak: . keypad .",
    "Volume column: 0-9 a-f.  OCT: octave of typed notes.",
    "Ctrl+Plus/Ctrl+Minus window 1x-4x   Ctrl+0 back to 1x",
    "WAV 1-7  waveform pair of the two oscillators",
    "PWM 0-F  detune of oscillator B (pulse width)",
    "SWP 0-F  detune sweep speed; 0 = fixed detune",
    "ENV 1-FF decay length of the volume envelope",
    "E2P 0-F  pitch drop that follows the envelope",
    "ARP 0-C  two arpeggio steps in semitones",
    "SPD 0-F  ticks per arpeggio step",
    "AMT 0-F  arpeggio amount (F = full steps)",
    "RPT 0-1  1: one arpeggio cycle, 0: it repeats",
    "Songs, and autosave on close: data/songs/",
    "Export: zrbtracker-render SONG OUT.wav (.flac .ogg)",
    "(beside the program; --help lists its options)",
};
}  // namespace

namespace screen {
void DrawHelpPage(c_GraphicsContext& g) {
    UseColor(g, kPanelColor);
    g.DrawRect(kBoxX, kBoxY, kBoxWidth, kBoxHeight);
    int y = kTextTop;
    for (const char* line : kHelpLines) {
        UseColor(g, y == kTextTop ? kMarkerColor : kTextColor);
        DrawTextAt(g, line, kTextX, y);
        y += kRowHeight;
    }
}

void DrawHelpHint(c_GraphicsContext& g) {
    UseColor(g, kDescriptionColor);
    DrawTextAt(g, "?:help", 520, 408);
}

void DrawOverlays(const OverlayState& overlay, c_GraphicsContext& g) {
    switch (overlay.open) {
        case Overlay::kHelp:
            DrawHelpPage(g);
            break;
        case Overlay::kSongList:
            DrawSongList(overlay, g);
            break;
        case Overlay::kNone:
            break;
    }
}
}  // namespace screen
