// The song list: folder and filter on top, one row per song or sub-folder
// (name, size, date), the selected row highlighted, the keys at the bottom.
#include <ctime>
#include <string>

#include "screen/Overlays.h"
#include "screen/ScreenDrawing.h"

namespace {
using namespace overlay_layout;

constexpr int kTextX = 6;
constexpr int kNameChars = 28;

String Padded(const String& text, int width) {
    String out = text.Length() > width ? text.Slice(0, width - 1) + "~" : text;
    while (out.Length() < width) out += " ";
    return out;
}

String SizeText(const SongListEntry& entry) {
    if (entry.folder) return "  folder";
    std::string digits = std::to_string(entry.size);
    while (digits.size() < 8) digits.insert(digits.begin(), ' ');
    return String(digits);
}

String DateText(int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) return String();
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return String(text);
}
}  // namespace

namespace screen {
String Drawable(const String& text) {
    std::vector<String::CodePoint> out;
    out.reserve(static_cast<size_t>(text.Length()));
    for (int i = 0; i < text.Length(); ++i) {
        const String::CodePoint c = text[i];
        if (c >= 32 && c < 127) {
            out.push_back(c);
        } else if (c == 0xE4 || c == 0xC4) {
            out.push_back('a');
        } else if (c == 0xF6 || c == 0xD6) {
            out.push_back('o');
        } else if (c == 0xFC || c == 0xDC) {
            out.push_back('u');
        } else {
            out.push_back('?');  // also the replacement mark of names that are not UTF-8
        }
    }
    return String::FromCodePoints(std::move(out));
}

void DrawSongList(const OverlayState& overlay, c_GraphicsContext& g) {
    UseColor(g, kPanelColor);
    g.DrawRect(kBoxX, kBoxY, kBoxWidth, kBoxHeight);
    UseColor(g, kMarkerColor);
    DrawTextAt(g, Drawable(String("Songs: data/songs/") + ShownFileName(overlay.folder)), kTextX, kBoxY + 2);
    UseColor(g, kTextColor);
    DrawTextAt(g, String("Find: ") + Drawable(overlay.filter) + "[", kTextX, kBoxY + 2 + kRowHeight);

    const int count = static_cast<int>(overlay.visible.size());
    for (int row = 0; row < kListRows && overlay.top + row < count; ++row) {
        const int index = overlay.top + row;
        const SongListEntry& entry = overlay.entries[static_cast<size_t>(overlay.visible[static_cast<size_t>(index)])];
        const int y = kListTop + row * kRowHeight;
        if (index == overlay.selected) {
            UseColor(g, kCursorRowColor);
            g.DrawRect(kBoxX + 2, static_cast<float>(y), kBoxWidth - 4, kRowHeight);
        }
        UseColor(g, entry.folder ? kBeatRowColor : kTextColor);
        const String name = Drawable(entry.shown) + (entry.folder ? "/" : "");
        String line = Padded(name, kNameChars) + " " + SizeText(entry);
        if (entry.bytes != "..") line += String("  ") + DateText(entry.modifiedSeconds);
        DrawTextAt(g, line, kTextX, y);
    }
    UseColor(g, kDescriptionColor);
    const String footer = count == 0 ? String("No songs here.  Esc closes.")
                                     : String("Enter/click load  arrows/wheel move  type: find  Esc");
    DrawTextAt(g, footer, kTextX, kListTop + kListRows * kRowHeight + 4);
}
}  // namespace screen
