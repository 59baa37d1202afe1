// One frame of the tracker screen: the full layout when it is due, then what
// changes every frame (play marker, header, status line, channel labels and
// level meters), drawn over the pixels earlier frames left; and the same frame
// drawing only what changed (ScreenRedraw).
#include "screen/Screen.h"

#include "screen/Overlays.h"
#include "screen/ScreenDrawing.h"
#include "screen/ScreenRedraw.h"
#include "song/SongModel.h"

namespace {
using screen::CharAt;
using screen::DrawTextAt;
using screen::UseColor;

const String kFollowOn = "On";
// 43 characters: the status message follows "Status: ".
const String kHeaderText = "POS CHN1  CHN2  CHN3  CHN4  POS ## Status: ";
const String kStatusIndent = "                                           ";
const int kMeterX[tracker::kChannels] = {407, 429, 451, 473};
constexpr int kMeterBaseY = 348;  // bars grow upward from here

constexpr float kHeaderBarBottom = 14;  // play marker lines above this cross the header

float PreviousMarkerY(const TrackerState& state) { return static_cast<float>(screen::kRowHeight * state.playRow - 10); }
float CurrentMarkerY(const TrackerState& state) { return static_cast<float>(screen::kRowHeight * state.playRow + 2); }

void DrawPlayMarker(const TrackerState& state, c_GraphicsContext& g) {
    const float previousY = PreviousMarkerY(state);
    const float currentY = CurrentMarkerY(state);
    UseColor(g, screen::kPanelColor);
    g.DrawLine(2, previousY, 303, previousY);
    UseColor(g, screen::kMarkerColor);
    g.DrawLine(2, currentY, 303, currentY);
}

// The level meters' new heights, before any drawing.
void UpdateLevels(TrackerState& state) {
    const int r = state.patternBase + state.playRow;
    for (int c = 0; c < tracker::kChannels; ++c) {
        const String note = CharAt(state.songColumns[tracker::NoteColumn(c)], r);
        if (note != "." && state.transportState == tracker::kPlaying && state.channelVolumeScale[c] != 0.0f)
            state.vuLevels[c] = HexDigitValue(CharAt(state.songColumns[tracker::VolumeColumn(c)], r)) * 8;
        int& level = state.vuLevels[c];
        level -= screen::kMeterDecay;
        if (level <= 1) level = screen::kMeterFloor;
        if (level > screen::kMeterCeiling) level = screen::kMeterCeiling;
    }
}

void DrawLevelMeter(const TrackerState& state, int c, c_GraphicsContext& g) {
    const int level = state.vuLevels[c];
    const float x = static_cast<float>(kMeterX[c]);
    UseColor(g, screen::kBackgroundColor);
    g.DrawRect(x, kMeterBaseY, 16, -screen::kMeterCeiling);
    g.SetColor(static_cast<float>(79 + level), static_cast<float>(95 - level), static_cast<float>(151 - level));
    g.DrawRect(x, kMeterBaseY, 16, static_cast<float>(-level));
}

// The header: its bar, the status message and the column names over it.
void DrawHeader(const TrackerState& state, c_GraphicsContext& g) {
    UseColor(g, screen::kHeaderBarColor);
    g.DrawRect(2, 0, 640, 14);
    UseColor(g, screen::kMarkerColor);
    DrawTextAt(g, kStatusIndent + state.statusText, 0, -1);
    UseColor(g, screen::kTextColor);
    DrawTextAt(g, kHeaderText, 0, -1);
}

// Each label stands under its channel's column of the row lines.
String ChannelLabelLine(TrackerState& state) {
    for (int c = 0; c < tracker::kChannels; ++c)
        state.channelLabels[c] = state.channelVolumeScale[c] == 1.0f ? "on  " : "off ";
    return String("    ") + state.channelLabels[0] + "  " + state.channelLabels[1] + "  " + state.channelLabels[2] +
           "  " + state.channelLabels[3] + " FLW:" + state.followMode;
}

// The channel labels and the transport line each have a ground, filled in
// the background colour, and a text in the text colour. Alone, a part sets
// both colours; the whole status area sets each colour once.
void FillChannelLabelsGround(c_GraphicsContext& g) { g.DrawRect(4, 408, 380, 16); }
void WriteChannelLabels(const String& line, c_GraphicsContext& g) { DrawTextAt(g, line, 0, 408); }
void FillTransportGround(c_GraphicsContext& g) { g.DrawRect(520, 323, 570, 16); }
void WriteTransport(const TrackerState& state, c_GraphicsContext& g) {
    DrawTextAt(g, state.transportState == tracker::kPlaying ? "stop home" : "play home", 520, 323);
}

void DrawChannelLabels(const String& line, c_GraphicsContext& g) {
    UseColor(g, screen::kBackgroundColor);
    FillChannelLabelsGround(g);
    UseColor(g, screen::kTextColor);
    WriteChannelLabels(line, g);
}

void DrawTransport(const TrackerState& state, c_GraphicsContext& g) {
    UseColor(g, screen::kBackgroundColor);
    FillTransportGround(g);
    UseColor(g, screen::kTextColor);
    WriteTransport(state, g);
}

// Every part at once, grounds first. The parts lie apart from each other, so
// drawing them one by one (as RenderScreen with a ScreenRedraw does) gives the
// same pixels. The header leaves the text colour set for the texts after it.
void DrawStatusArea(TrackerState& state, c_GraphicsContext& g) {
    UseColor(g, screen::kBackgroundColor);
    FillTransportGround(g);
    FillChannelLabelsGround(g);
    DrawHeader(state, g);
    WriteChannelLabels(ChannelLabelLine(state), g);
    WriteTransport(state, g);
    UpdateLevels(state);
    for (int c = 0; c < tracker::kChannels; ++c) DrawLevelMeter(state, c, g);
}

// A closed overlay is erased by a full layout at once, also while playing
// (laid out from the pattern's first row, as following does).
void EraseClosedOverlay(TrackerState& state, OverlayState& overlay, c_GraphicsContext& g) {
    if (!overlay.dirty || overlay.open != Overlay::kNone) return;
    const int playRow = state.playRow;
    if (state.transportState == tracker::kPlaying) state.playRow = 0;
    DrawMainScreen(state, g);
    state.playRow = playRow;
    state.redrawCounter = 0;
    overlay.dirty = false;
}
}  // namespace

void RenderScreen(TrackerState& state, OverlayState& overlay, c_GraphicsContext& g) {
    EraseClosedOverlay(state, overlay, g);
    if (state.transportState == tracker::kPlaying) {
        const bool follow = state.followMode == kFollowOn;
        // While following, each pattern is laid out afresh when its first row plays.
        if (follow && state.playRow == 0) {
            DrawMainScreen(state, g);
            state.redrawCounter = 0;
        }
        if (follow) DrawPlayMarker(state, g);
    } else if (state.redrawCounter > screen::kFullLayoutInterval) {
        DrawMainScreen(state, g);
        state.redrawCounter = 0;
    }
    DrawStatusArea(state, g);
    screen::DrawOverlays(overlay, g);
    if (overlay.open != Overlay::kNone) overlay.dirty = false;
}

void RenderScreen(TrackerState& state, OverlayState& overlay, c_GraphicsContext& g, ScreenRedraw& redraw) {
    if (!redraw.skipping) {
        state.inputSinceFrame = false;
        RenderScreen(state, overlay, g);
        return;
    }
    // A closed overlay leaves its pixels behind: the whole screen is drawn again.
    if (overlay.dirty && overlay.open == Overlay::kNone) {
        redraw.Invalidate();
        overlay.dirty = false;
    }
    const bool playing = state.transportState == tracker::kPlaying;
    const bool follow = state.followMode == kFollowOn;
    const bool due = playing ? follow && state.playRow == 0 : state.redrawCounter > screen::kFullLayoutInterval;
    if (due) state.redrawCounter = 0;
    // A key or click shows at the next frame, not at the next due layout:
    // the layout is drawn at once when the input changed what it shows, and
    // the cadence goes on as it was. While playing it is laid out from the
    // pattern's first row, as the due layout is; without following, playback
    // keeps the layout it found.
    const bool input = state.inputSinceFrame && (!playing || follow);
    state.inputSinceFrame = false;

    const bool lost = !redraw.valid_ || g.FrameContentLost();
    bool layoutDrawn = false;
    if (lost || due) {
        const uint64_t key = LayoutKey(state);
        if (lost || redraw.layoutChanged_ || key != redraw.layoutKey_) {
            DrawMainScreen(state, g);
            redraw.layoutKey_ = key;
            redraw.layoutChanged_ = false;
            layoutDrawn = true;
        }
    } else if (input) {
        const int playRow = state.playRow;
        if (playing) state.playRow = 0;
        const uint64_t key = LayoutKey(state);
        // While playing, the marker moving over the kept layout marks it
        // changed; only what the input changed counts then.
        if (key != redraw.layoutKey_ || (!playing && redraw.layoutChanged_)) {
            DrawMainScreen(state, g);
            redraw.layoutKey_ = key;
            redraw.layoutChanged_ = false;
            layoutDrawn = true;
        }
        state.playRow = playRow;
    }
    if (lost) state.redrawCounter = 0;
    redraw.valid_ = true;

    bool headerCovered = layoutDrawn;
    if (playing && follow) {
        if (layoutDrawn || redraw.markerRow_ != state.playRow) {
            DrawPlayMarker(state, g);
            redraw.markerRow_ = state.playRow;
            // A marker drawn on a kept layout must be erased by the next due
            // one. Drawn with the layout, the screen is what every further due
            // frame of this row would draw again: the first row of a pattern
            // drew the whole screen at every update of the row.
            if (!layoutDrawn) redraw.layoutChanged_ = true;
            if (PreviousMarkerY(state) < kHeaderBarBottom || CurrentMarkerY(state) < kHeaderBarBottom)
                headerCovered = true;
        }
    } else {
        redraw.markerRow_ = -1;
    }

    bool drewAny = layoutDrawn || headerCovered;
    if (headerCovered || redraw.statusText_ != state.statusText) {
        DrawHeader(state, g);
        redraw.statusText_ = state.statusText;
        drewAny = true;
    }
    // The line is built again only when what it says changed: building it
    // every frame was most of an idle frame's allocations.
    std::array<bool, tracker::kChannels> channelsOn{};
    for (int c = 0; c < tracker::kChannels; ++c) channelsOn[c] = state.channelVolumeScale[c] == 1.0f;
    if (!redraw.labelsKnown_ || channelsOn != redraw.labelChannelsOn_ || !(state.followMode == redraw.labelFollow_)) {
        const String labels = ChannelLabelLine(state);
        redraw.labelsKnown_ = true;
        redraw.labelChannelsOn_ = channelsOn;
        redraw.labelFollow_ = state.followMode;
        if (!layoutDrawn && redraw.labels_ != labels) {
            DrawChannelLabels(labels, g);
            drewAny = true;
        }
        redraw.labels_ = labels;
    }
    if (layoutDrawn) DrawChannelLabels(redraw.labels_, g);
    const int transport = playing ? 1 : 0;
    if (layoutDrawn || redraw.transport_ != transport) {
        DrawTransport(state, g);
        redraw.transport_ = transport;
        drewAny = true;
    }
    UpdateLevels(state);
    for (int c = 0; c < tracker::kChannels; ++c) {
        if (!layoutDrawn && redraw.meterLevels_[c] == state.vuLevels[c]) continue;
        DrawLevelMeter(state, c, g);
        redraw.meterLevels_[c] = state.vuLevels[c];
        drewAny = true;
    }
    // An open overlay lies over everything: drawn again when it changed or
    // anything was drawn beneath it.
    if (overlay.open != Overlay::kNone) {
        if (overlay.dirty || drewAny) screen::DrawOverlays(overlay, g);
        overlay.dirty = false;
    }
}

void RenderScreen(TrackerState& state, c_GraphicsContext& g) {
    OverlayState none;
    RenderScreen(state, none, g);
}

void RenderScreen(TrackerState& state, c_GraphicsContext& g, ScreenRedraw& redraw) {
    OverlayState none;
    RenderScreen(state, none, g, redraw);
}

ScreenRedraw& MainScreenRedraw() {
    static ScreenRedraw redraw;
    return redraw;
}
