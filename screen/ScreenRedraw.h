// ScreenRedraw: what the tracker screen last drew, so that a frame draws only
// what changed. The designed rule still decides when the full layout may be
// drawn, and so does an update that read input (the frame after it); it is
// then drawn only when a field it shows changed since the last one (a key
// over every field the layout reads) or other drawing went over it.
// Each part of the status area is drawn only when its value changed or other
// drawing overlapped it. A frame whose kept picture was lost (first frame, new
// context, new size) draws everything.
//
// For drawing outside the screen (overlays, hints): call Invalidate when the
// screen must be drawn whole in the next frame (an overlay closed), and
// MarkLayoutChanged when something drawn with the layout changed, so the next
// due layout is not skipped.
#pragma once

#include <array>
#include <cstdint>

#include "editor/OverlayState.h"
#include "runtime/String.h"
#include "song/TrackerState.h"

class c_GraphicsContext;

class ScreenRedraw {
public:
    void Invalidate() { valid_ = false; }
    void MarkLayoutChanged() { layoutChanged_ = true; }

    // Off: every frame draws as designed, with nothing skipped.
    bool skipping = true;

private:
    friend void RenderScreen(TrackerState& state, OverlayState& overlay, c_GraphicsContext& g, ScreenRedraw& redraw);

    bool valid_ = false;
    bool layoutChanged_ = false;  // the next due layout is drawn whatever its key
    uint64_t layoutKey_ = 0;
    int markerRow_ = -1;  // -1: no marker drawn last frame
    String statusText_;
    String labels_;
    bool labelsKnown_ = false;  // labels_ was built from the two fields below
    std::array<bool, tracker::kChannels> labelChannelsOn_{};
    String labelFollow_;
    int transport_ = -1;
    std::array<int, tracker::kChannels> meterLevels_{};
};

// The key of everything the full layout shows.
uint64_t LayoutKey(const TrackerState& state);

// The application's one screen memory.
ScreenRedraw& MainScreenRedraw();
