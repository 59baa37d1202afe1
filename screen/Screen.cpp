// One frame of the tracker screen: the full layout when it is due, then what
// changes every frame (play marker, header, status line, channel labels and
// level meters), drawn over the pixels earlier frames left.
#include "screen/Screen.h"

#include "screen/Overlays.h"
#include "screen/ScreenDrawing.h"
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

void DrawPlayMarker(const TrackerState& state, c_GraphicsContext& g) {
    const float previousY = static_cast<float>(screen::kRowHeight * state.playRow - 10);
    const float currentY = static_cast<float>(screen::kRowHeight * state.playRow + 2);
    UseColor(g, screen::kPanelColor);
    g.DrawLine(2, previousY, 303, previousY);
    UseColor(g, screen::kMarkerColor);
    g.DrawLine(2, currentY, 303, currentY);
}

void DrawLevelMeters(TrackerState& state, c_GraphicsContext& g) {
    const int r = state.patternBase + state.playRow;
    for (int c = 0; c < tracker::kChannels; ++c) {
        const String note = CharAt(state.songColumns[tracker::NoteColumn(c)], r);
        if (note != "." && state.transportState == tracker::kPlaying && state.channelVolumeScale[c] != 0.0f)
            state.vuLevels[c] = HexDigitValue(CharAt(state.songColumns[tracker::VolumeColumn(c)], r)) * 8;
        int& level = state.vuLevels[c];
        level -= screen::kMeterDecay;
        if (level <= 1) level = screen::kMeterFloor;
        if (level > screen::kMeterCeiling) level = screen::kMeterCeiling;

        const float x = static_cast<float>(kMeterX[c]);
        UseColor(g, screen::kBackgroundColor);
        g.DrawRect(x, kMeterBaseY, 16, -screen::kMeterCeiling);
        g.SetColor(static_cast<float>(79 + level), static_cast<float>(95 - level), static_cast<float>(151 - level));
        g.DrawRect(x, kMeterBaseY, 16, static_cast<float>(-level));
    }
}

void DrawStatusArea(TrackerState& state, c_GraphicsContext& g) {
    UseColor(g, screen::kBackgroundColor);
    g.DrawRect(520, 323, 570, 16);
    g.DrawRect(4, 408, 380, 16);
    UseColor(g, screen::kHeaderBarColor);
    g.DrawRect(2, 0, 640, 14);
    UseColor(g, screen::kMarkerColor);
    DrawTextAt(g, kStatusIndent + state.statusText, 0, -1);
    UseColor(g, screen::kTextColor);
    DrawTextAt(g, kHeaderText, 0, -1);

    for (int c = 0; c < tracker::kChannels; ++c)
        state.channelLabels[c] = state.channelVolumeScale[c] == 1.0f ? "on  " : "off ";
    // Each label stands under its channel's column of the row lines.
    DrawTextAt(g,
               String("    ") + state.channelLabels[0] + "  " + state.channelLabels[1] + "  " + state.channelLabels[2] +
                   "  " + state.channelLabels[3] + " FLW:" + state.followMode,
               0, 408);
    DrawTextAt(g, state.transportState == tracker::kPlaying ? "stop home" : "play home", 520, 323);
    DrawLevelMeters(state, g);
}

// A closed overlay is erased by a full layout at once, also while playing
// (laid out from the pattern's first row, as following does).
void EraseClosedOverlay(TrackerState& state, c_GraphicsContext& g) {
    if (!state.overlay.dirty || state.overlay.open != Overlay::kNone) return;
    const int playRow = state.playRow;
    if (state.transportState == tracker::kPlaying) state.playRow = 0;
    DrawMainScreen(state, g);
    state.playRow = playRow;
    state.redrawCounter = 0;
    state.overlay.dirty = false;
}
}  // namespace

void RenderScreen(TrackerState& state, c_GraphicsContext& g) {
    EraseClosedOverlay(state, g);
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
    screen::DrawOverlays(state, g);
    if (state.overlay.open != Overlay::kNone) state.overlay.dirty = false;
}
