// The tracker screen's palette (red, green, blue on 0..255, drawn at alpha 1).
#pragma once

namespace screen {
struct Color {
    float red;
    float green;
    float blue;
};

constexpr Color kBackgroundColor{86, 60, 106};   // whole window, divider, erasing
constexpr Color kPanelColor{0, 0, 0};            // pattern panel, text fields, old play marker
constexpr Color kOrderStripColor{71, 53, 85};    // strip behind the current position
constexpr Color kTextColor{148, 144, 164};       // labels, values, ordinary rows
constexpr Color kBeatRowColor{148.0f * 10 / 13,  // every fourth pattern row: text dimmed
                              144.0f * 10 / 13, 164.0f * 10 / 13};
constexpr Color kDescriptionColor{128, 128, 128};  // instrument description
constexpr Color kCursorRowColor{82, 72, 74};       // highlight of the cursor row
constexpr Color kCaretColor{143, 31, 87};          // text carets
constexpr Color kHeaderBarColor{38, 38, 38};       // bar behind the header
constexpr Color kMarkerColor{143.0f * 1.2f,        // status message and play marker: caret brightened
                             31.0f * 1.2f, 87.0f * 1.2f};
constexpr Color kWhiteColor{255, 255, 255};  // button images, untinted
}  // namespace screen
