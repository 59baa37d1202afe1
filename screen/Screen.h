// The tracker screen: one frame (RenderScreen, the application's OnRender),
// the full layout (DrawMainScreen) and the text helpers of the pattern view.
// Draws only through c_GraphicsContext, so a recording context can read a frame.
#pragma once

#include "editor/OverlayState.h"
#include "graphics/GraphicsContext.h"
#include "runtime/String.h"
#include "song/TrackerState.h"

namespace screen {
constexpr int kRowHeight = 12;  // text rows are 12 units apart
constexpr int kCellWidth = 11;  // every glyph of the tracker font advances 11 units
constexpr int kMeterFloor = 2;  // lowest level bar height
constexpr int kMeterCeiling = 64;
constexpr int kMeterDecay = 2;          // units a level bar sinks per frame
constexpr int kFullLayoutInterval = 2;  // full layout once redrawCounter exceeds this
}  // namespace screen

// One frame: the full layout when due, then the play marker, header, status
// line, channel labels and level meters, and the open overlay over them.
// Resets redrawCounter after a full layout; rewrites channelLabels and vuLevels.
void RenderScreen(TrackerState& state, OverlayState& overlay, c_GraphicsContext& g);
// The same frame, drawing only what changed since the frames `redraw` saw.
class ScreenRedraw;
void RenderScreen(TrackerState& state, OverlayState& overlay, c_GraphicsContext& g, ScreenRedraw& redraw);
// The tracker screen with no overlay open.
void RenderScreen(TrackerState& state, c_GraphicsContext& g);
void RenderScreen(TrackerState& state, c_GraphicsContext& g, ScreenRedraw& redraw);
// The whole layout: panels, labels, logo, instrument panel and song values,
// cursor highlight, caret, the 32 pattern rows with the order column, buttons.
void DrawMainScreen(TrackerState& state, c_GraphicsContext& g);
// Three-character note text of the cell at row index r ("C-2", "{|}", "---"),
// empty when the octave is not 0..3 or r lies outside the note column.
String CellText(const String& notes, int r, const String& octaves);
// The low 8 bits as two upper-case hex digits: 10 -> "0A", -1 -> "FF".
String HexByte(int value);
