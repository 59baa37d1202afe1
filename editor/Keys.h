// The on-screen button rectangles the editor reacts to, with the key codes of
// the input room (host/KeyCodes.h). A button is an open rectangle: a click
// counts only with the pointer strictly inside.
#pragma once

#include "host/InputDevice.h"
#include "host/KeyCodes.h"

namespace editor {
struct ButtonRect {
    float x0, x1, y0, y1;
};

// Left button hit in this update with the pointer strictly inside.
inline bool Clicked(const c_InputDevice& input, const ButtonRect& rect) {
    if (input.KeyHit(input::KEYCODE_MOUSE_LEFT) == 0) return false;
    const float x = input.MouseX();
    const float y = input.MouseY();
    return rect.x0 < x && x < rect.x1 && rect.y0 < y && y < rect.y1;
}

inline bool KeyOrClick(const c_InputDevice& input, int key, const ButtonRect& rect) {
    return input.KeyHit(key) != 0 || Clicked(input, rect);
}

// Buttons of the transport and the editing panel.
constexpr ButtonRect kMuteButtons[4] = {
    {44, 98, 410, 426}, {110, 164, 410, 426}, {176, 230, 410, 426}, {242, 296, 410, 426}};
constexpr ButtonRect kFollowButton = {308, 362, 410, 426};
constexpr ButtonRect kLayoutButtonLeft = {516, 570, 442, 458};
constexpr ButtonRect kLayoutButtonRight = {570, 624, 442, 458};
constexpr ButtonRect kEditButton = {516, 570, 338, 354};
constexpr ButtonRect kUndoButton = {570, 624, 338, 354};
constexpr ButtonRect kPlayButton = {516, 570, 320, 336};
constexpr ButtonRect kHomeButton = {570, 624, 320, 336};
constexpr ButtonRect kCopyButtonLeft = {516, 570, 361, 377};
constexpr ButtonRect kCopyButtonRight = {570, 624, 361, 377};
constexpr ButtonRect kPasteButtonLeft = {516, 570, 381, 397};
constexpr ButtonRect kPasteButtonRight = {570, 624, 381, 397};
constexpr ButtonRect kInsertButton = {385, 417, 26, 38};
constexpr ButtonRect kDeleteButton = {385, 417, 38, 50};
constexpr ButtonRect kFileNameField = {0, 380, 443, 457};
constexpr ButtonRect kInstrumentNameField = {396, 776, 122, 136};
constexpr ButtonRect kSaveButton = {441, 495, 442, 458};
constexpr ButtonRect kLoadButton = {387, 441, 442, 458};
}  // namespace editor
