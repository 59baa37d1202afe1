// Small helpers shared by the screen's source files (not part of its interface).
#pragma once

#include "graphics/GraphicsContext.h"
#include "runtime/String.h"
#include "screen/ScreenColors.h"

namespace screen {
inline void UseColor(c_GraphicsContext& g, const Color& color) { g.SetColor(color.red, color.green, color.blue); }

// Top-left aligned text, the only alignment the screen uses.
inline void DrawTextAt(c_GraphicsContext& g, const String& text, int x, int y) { g.DrawText(text, x, y, 0, 0); }

// The one-character text of a column at row index r; empty outside the column
// (a negative index must not wrap around to the end the way Slice does).
inline String CharAt(const String& column, int r) {
    if (r < 0 || r >= column.Length()) return String();
    return column.Slice(r, r + 1);
}
}  // namespace screen
