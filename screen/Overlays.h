// The help page, the song list and the small help hint, drawn over the
// tracker screen in its own font. RenderScreen calls DrawOverlays last.
#pragma once

#include "editor/OverlayState.h"
#include "graphics/GraphicsContext.h"

namespace screen {
// Draws the open overlay, if any.
void DrawOverlays(const OverlayState& overlay, c_GraphicsContext& g);
void DrawHelpPage(c_GraphicsContext& g);
void DrawSongList(const OverlayState& overlay, c_GraphicsContext& g);
// "?:help", where nothing of the designed layout is drawn.
void DrawHelpHint(c_GraphicsContext& g);
// A text with what the font can't draw shown as the nearest it can: umlauts
// as their vowel, everything else as "?".
String Drawable(const String& text);
}  // namespace screen
