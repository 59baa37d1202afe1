// The full layout of the tracker screen. Sections, in drawing order:
// panels and labels with the logo, the instrument description, the panel and
// song values, cursor highlight and caret, the 32 pattern rows with the order
// column, the button images.
#include "screen/Overlays.h"
#include "screen/Screen.h"
#include "screen/ScreenDrawing.h"
#include "song/InstrumentValues.h"

namespace {
using screen::CharAt;
using screen::DrawTextAt;
using screen::UseColor;

constexpr int kPanelX = 385;  // x of the panel values, the navigation row and the instrument caret
constexpr int kOrderLineX = 297;

// The product's short name in block letters, one text row each.
const char* const kLogoRows[5] = {
    "[[[[ [[[  [[[  ", "  [  [  [ [  [ ", " [   [[[  [[[  ", "[    [ [  [  [ ", "[[[[ [  [ [[[  ",
};
constexpr int kLogoX = 425;
constexpr int kLogoTopY = 40;

struct ButtonPosition {
    float x;
    float y;
};
// Beside the panel values, in drawing order; the ARP row has two buttons.
const ButtonPosition kButtons[] = {{561, 144}, {473, 360}, {561, 168}, {561, 180}, {561, 192}, {561, 204}, {561, 228},
                                   {593, 228}, {561, 240}, {561, 252}, {561, 264}, {561, 216}, {473, 372}, {473, 384}};

String CurrentInstrumentName(const TrackerState& state) {
    const int i = state.currentInstrument;
    if (i < 0 || i >= tracker::kInstrumentNameSlots) return String();
    return state.instrumentNames[i];
}

void DrawPanelsAndLabels(c_GraphicsContext& g) {
    UseColor(g, screen::kBackgroundColor);
    g.DrawRect(0, 0, 640, 475);
    UseColor(g, screen::kPanelColor);
    g.DrawRect(2, 14, 380, 385);
    UseColor(g, screen::kBackgroundColor);
    g.DrawRect(303, 14, 2, 387);  // divider between pattern rows and order column
    UseColor(g, screen::kOrderStripColor);
    g.DrawRect(305, 14, 77, 12);

    UseColor(g, screen::kTextColor);
    DrawTextAt(g, "load save", 391, 441);
    DrawTextAt(g, "edit undo", 520, 343);
    DrawTextAt(g, "copytrack", 520, 363);
    DrawTextAt(g, "pastetrck", 520, 383);
    for (int row = 0; row < 5; ++row) DrawTextAt(g, kLogoRows[row], kLogoX, kLogoTopY + screen::kRowHeight * row);
    DrawTextAt(g, "Description:", 442, 106);
}

void DrawFields(const TrackerState& state, c_GraphicsContext& g) {
    UseColor(g, screen::kPanelColor);
    g.DrawRect(394, 122, 236, 18);  // description field
    g.DrawRect(4, 440, 385, 18);    // file-name field
    UseColor(g, screen::kDescriptionColor);
    DrawTextAt(g, CurrentInstrumentName(state), 396, 123);
}

void DrawValue(c_GraphicsContext& g, int y, const char* label, int value) {
    DrawTextAt(g, String(label) + HexByte(value), kPanelX, y);
}

void DrawPanelValues(const TrackerState& state, c_GraphicsContext& g) {
    UseColor(g, screen::kTextColor);
    const InstrumentValues in = ReadInstrument(state, state.currentInstrument);
    DrawValue(g, 144, "  INSTRUMENT:", state.currentInstrument);
    DrawValue(g, 360, " OCT:", state.editOctave);
    DrawValue(g, 168, "         WAV:", in.wav);
    DrawValue(g, 180, "         PWM:", in.pwm);
    DrawValue(g, 192, "         SWP:", in.sweep);
    DrawValue(g, 204, "         ENV:", in.env);
    DrawValue(g, 216, "         E2P:", in.e2p);
    DrawValue(g, 228, "         ARP:", in.arp1 * 16 + in.arp2);
    DrawValue(g, 240, "         SPD:", in.speed);
    DrawValue(g, 252, "         AMT:", in.amount);
    DrawValue(g, 264, "         RPT:", in.repeat);
    DrawValue(g, 372, " SPD:", state.songSpeed);
    DrawValue(g, 384, " Len:", state.songLength / tracker::kRowsPerPattern);
    DrawTextAt(g, String("Layout ") + state.keyboardLayout, 520, 440);
    DrawTextAt(g, String(" ") + state.fileName, 0, 441);
}

// The caret's "[" lands one cell right of the given position: after the typed
// name, or on the first character of the cursor's cell in the pattern.
void DrawCursor(const TrackerState& state, c_GraphicsContext& g) {
    UseColor(g, screen::kCursorRowColor);
    if (state.transportState == tracker::kEditing)
        g.DrawRect(0, static_cast<float>(screen::kRowHeight * state.cursorRow + 2), 303, 12);
    UseColor(g, screen::kCaretColor);
    const String caret = " [";
    if (state.fileNameEntry) {
        DrawTextAt(g, caret, screen::kCellWidth * state.fileName.Length(), 441);
    } else if (state.instrumentNameEntry) {
        DrawTextAt(g, caret, kPanelX + screen::kCellWidth * CurrentInstrumentName(state).Length(), 123);
    } else {
        DrawTextAt(g, caret, 33 * state.cursorColumn, screen::kRowHeight * state.cursorRow);
    }
}

String CellWithDigits(const TrackerState& state, int c, int r) {
    return CellText(state.songColumns[tracker::NoteColumn(c)], r, state.songColumns[tracker::OctaveColumn(c)]) +
           CharAt(state.songColumns[tracker::VolumeColumn(c)], r) +
           CharAt(state.songColumns[tracker::InstrumentColumn(c)], r);
}

void DrawPatternRows(const TrackerState& state, c_GraphicsContext& g) {
    for (int i = 0; i < tracker::kRowsPerPattern; ++i) {
        const int y = screen::kRowHeight + screen::kRowHeight * i;
        const int r = state.patternBase + state.playRow + i;
        const int rowNumber = r % tracker::kRowsPerPattern;
        UseColor(g, rowNumber % 4 == 0 ? screen::kBeatRowColor : screen::kTextColor);
        DrawTextAt(g,
                   HexByte(rowNumber) + ": " + CellWithDigits(state, 0, r) + " " + CellWithDigits(state, 1, r) + " " +
                       CellWithDigits(state, 2, r) + " " + CellWithDigits(state, 3, r),
                   0, y);

        UseColor(g, screen::kTextColor);
        // The view reaches 31 entries past the current position; beyond the
        // last entry of the order list the line stays empty.
        const int position = state.currentPosition + i;
        if (position < 0 || position >= tracker::kPositions) continue;
        DrawTextAt(g, String(" ") + HexByte(position) + ": " + HexByte(state.positions[position]), kOrderLineX, y);
    }
}

void DrawButtons(const TrackerState& state, c_GraphicsContext& g) {
    UseColor(g, screen::kWhiteColor);
    // A button image that failed to load at start-up is simply not drawn.
    if (const c_Image* button = state.buttonImage.get())
        for (const ButtonPosition& at : kButtons) g.DrawImage(button, at.x, at.y, 0);
    if (const c_Image* navRow = state.navRowImage.get()) g.DrawImage(navRow, 385, 12, 0);
}
}  // namespace

void DrawMainScreen(TrackerState& state, c_GraphicsContext& g) {
    DrawPanelsAndLabels(g);
    DrawFields(state, g);
    DrawPanelValues(state, g);
    DrawCursor(state, g);
    DrawPatternRows(state, g);
    DrawButtons(state, g);
    screen::DrawHelpHint(g);
}
