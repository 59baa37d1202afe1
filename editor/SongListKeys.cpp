// The song list's keys: arrows, page keys and the wheel move the selection,
// typing narrows the list, Enter or a click loads the song (or opens the
// folder) through the same LoadSong road as F12, Escape closes.
#include <algorithm>

#include "editor/EditorSteps.h"
#include "editor/Keys.h"
#include "editor/Overlays.h"
#include "store/SongStore.h"

namespace {
using namespace overlay_layout;

using namespace keys;

constexpr int kFirstPrintable = 32;
constexpr int kLastPrintable = 65535;
const std::string kParentFolder = "..";

void Close(OverlayState& overlay) {
    overlay.open = Overlay::kNone;
    overlay.entries.clear();
    overlay.visible.clear();
    overlay.dirty = true;
}

void Narrow(OverlayState& overlay) {
    overlay.visible = FilterSongList(overlay.entries, overlay.filter);
    // The way back up stays whatever is typed.
    if (!overlay.entries.empty() && overlay.entries[0].bytes == kParentFolder &&
        (overlay.visible.empty() || overlay.visible[0] != 0))
        overlay.visible.insert(overlay.visible.begin(), 0);
    overlay.selected = 0;
    overlay.top = 0;
    overlay.dirty = true;
}

void ShowFolder(OverlayState& overlay, const std::string& folder) {
    overlay.folder = folder;
    overlay.entries = ListSongFolder(SongFolderPath() + folder);
    if (!folder.empty()) {
        SongListEntry up;
        up.bytes = kParentFolder;
        up.shown = "..";
        up.folder = true;
        overlay.entries.insert(overlay.entries.begin(), std::move(up));
    }
    overlay.filter = String();
    Narrow(overlay);
}

void MoveSelection(OverlayState& overlay, int by) {
    const int count = static_cast<int>(overlay.visible.size());
    if (count == 0) return;
    overlay.selected = std::clamp(overlay.selected + by, 0, count - 1);
    if (overlay.selected < overlay.top) overlay.top = overlay.selected;
    if (overlay.selected >= overlay.top + kListRows) overlay.top = overlay.selected - kListRows + 1;
    overlay.dirty = true;
}

void Choose(TrackerState& state, OverlayState& overlay) {
    if (overlay.visible.empty()) return;
    const SongListEntry& entry = overlay.entries[static_cast<size_t>(overlay.visible[overlay.selected])];
    if (entry.bytes == kParentFolder) {
        std::string up = overlay.folder.substr(0, overlay.folder.size() - 1);
        const size_t slash = up.rfind('/');
        ShowFolder(overlay, slash == std::string::npos ? std::string() : up.substr(0, slash + 1));
        return;
    }
    if (entry.folder) {
        ShowFolder(overlay, overlay.folder + entry.bytes + "/");
        return;
    }
    state.fileName = SongNameFromFileBytes(overlay.folder + entry.bytes);
    state.statusText = LoadSong(state);
    state.playRow = 0;
    state.currentPosition = 0;
    Close(overlay);
}

bool ClickedRow(const c_InputDevice& input, int& row) {
    if (input.KeyHit(input::KEYCODE_MOUSE_LEFT) == 0) return false;
    const float x = input.MouseX();
    const float y = input.MouseY();
    if (x <= kBoxX || x >= kBoxX + kBoxWidth || y <= kListTop || y >= kListTop + kListRows * kRowHeight) {
        row = -1;
        return true;
    }
    row = static_cast<int>((y - kListTop) / kRowHeight);
    return true;
}
}  // namespace

namespace editor {
bool SongListRequested(const TrackerState& state, const c_InputDevice& input) {
    if (!state.fileName.Empty() || TypingName(state) || state.transportState == tracker::kPlaying) return false;
    return KeyOrClick(input, keys::kF12, kLoadButton);
}

void OpenSongList(OverlayState& overlay) { ShowFolder(overlay, std::string()); }

void RunSongList(TrackerState& state, OverlayState& overlay, c_InputDevice& input) {
    if (state.wheelDelta == 1.0f) MoveSelection(overlay, -1);
    if (state.wheelDelta == -1.0f) MoveSelection(overlay, 1);
    int row = 0;
    if (ClickedRow(input, row)) {
        if (row < 0) {
            Close(overlay);
            return;
        }
        const int index = overlay.top + row;
        if (index < static_cast<int>(overlay.visible.size())) {
            overlay.selected = index;
            Choose(state, overlay);
            if (overlay.open == Overlay::kNone) return;
        }
    }
    while (const int c = input.GetChar()) {
        switch (c) {
            case kUpChar:
                MoveSelection(overlay, -1);
                break;
            case kDownChar:
                MoveSelection(overlay, 1);
                break;
            case kPageUpChar:
                MoveSelection(overlay, -kListRows);
                break;
            case kPageDownChar:
                MoveSelection(overlay, kListRows);
                break;
            case kHomeChar:
                MoveSelection(overlay, -overlay.selected);
                break;
            case kEndChar:
                MoveSelection(overlay, static_cast<int>(overlay.visible.size()));
                break;
            case kEscapeChar:
                Close(overlay);
                return;
            case kEnterChar:
                Choose(state, overlay);
                if (overlay.open == Overlay::kNone) return;
                break;
            case kBackspaceChar:
            case kDeleteChar:
                if (!overlay.filter.Empty()) {
                    overlay.filter = overlay.filter.Slice(0, overlay.filter.Length() - 1);
                    Narrow(overlay);
                }
                break;
            default:
                if (c >= kFirstPrintable && c <= kLastPrintable) {
                    overlay.filter += String::FromChar(c);
                    Narrow(overlay);
                }
                break;
        }
    }
}
}  // namespace editor
