// What the help page and the song list show while one of them is open over
// the tracker screen, and where they lie. The editor drives it, the screen
// draws it; the application object holds it beside the tracker's state.
#pragma once

#include <string>
#include <vector>

#include "runtime/String.h"
#include "song/SongList.h"

// Where the overlays lie on the 640 x 475 screen: a box under the header
// line; the song list's rows start at listTop, 12 units apart.
namespace overlay_layout {
constexpr int kBoxX = 0;
constexpr int kBoxY = 14;
constexpr int kBoxWidth = 640;
constexpr int kBoxHeight = 461;
constexpr int kListTop = 42;
constexpr int kListRows = 32;
constexpr int kRowHeight = 12;
}  // namespace overlay_layout

enum class Overlay { kNone, kHelp, kSongList };

struct OverlayState {
    Overlay open = Overlay::kNone;
    // Set when an overlay opens, closes or changes: the frame must be drawn
    // afresh (a closed overlay is erased by a full layout).
    bool dirty = false;
    std::string folder;  // sub-folder of the songs folder being listed, "" or ending in "/"
    std::vector<SongListEntry> entries;
    std::vector<int> visible;  // indices into entries that match the filter, in list order
    String filter;
    int selected = 0;  // index into visible
    int top = 0;       // first visible row on screen
};
