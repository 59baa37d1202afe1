// Joystick layouts: how a pad's GLFW axes and buttons map onto the two sticks
// and 32 buttons of a c_JoyState. Three layouts, chosen by the pad's axis and
// button counts. Header-only and GLFW-free so it can be tested with fake pads.
#pragma once

#include <array>

#include "host/InputDevice.h"

namespace joystick {

constexpr int kEnd = 999;
// Axis code: the low 4 bits index the source, the rest choose a transform.
constexpr int kAsIs = 0;
constexpr int kHalfPlus = 16;   // (1 + a) * 0.5
constexpr int kHalfMinus = 32;  // (1 - a) * 0.5
constexpr int kNegate = 64;     // -a
constexpr int kButton = 128;    // 1 when the GLFW button is pressed, else 0

struct Layout {
    std::array<int, 7> axes;      // x0, y0, z0, x1, y1, z1, end
    std::array<int, 16> buttons;  // GLFW button indices (negative: from the end), end
};

// Trigger pads: 6 axes and 15 buttons.
constexpr Layout kLayoutA{{0, kNegate | 1, kHalfPlus | 4, 2, kNegate | 3, kHalfPlus | 5, kEnd},
                          {11, 12, 13, 14, 8, 9, 5, 4, 2, 0, 3, 1, 6, 7, 10, kEnd}};
// 4 axes and 19 buttons.
constexpr Layout kLayoutB{{0, kNegate | 1, kButton | 8, 2, kNegate | 3, kButton | 9, kEnd},
                          {14, 13, 15, 12, 10, 11, 0, 3, 7, 4, 5, 6, 1, 2, 16, kEnd}};
// Every other pad.
constexpr Layout kLayoutC{{0, kNegate | 1, kButton | 6, 2, kNegate | 3, kButton | 7, kEnd},
                          {1, 2, 0, 3, 4, 5, 8, 9, 15, 12, 13, 14, 10, 11, kEnd, kEnd}};

inline const Layout& ChooseLayout(int axisCount, int buttonCount) {
    if (axisCount == 6 && buttonCount == 15) return kLayoutA;
    if (axisCount == 4 && buttonCount == 19) return kLayoutB;
    return kLayoutC;
}

// A source the pad doesn't have reads as 0 / not pressed, so a pad with few
// axes or buttons can't make the layout read past GLFW's arrays.
inline bool ButtonPressed(const unsigned char* buttons, int buttonCount, int index) {
    if (index < 0) index += buttonCount;
    return index >= 0 && index < buttonCount && buttons[index] != 0;
}

inline float AxisValue(const float* axes, int axisCount, const unsigned char* buttons, int buttonCount, int code) {
    const int index = code & 15;
    if (code & kButton) return ButtonPressed(buttons, buttonCount, index) ? 1.0f : 0.0f;
    const float a = index < axisCount ? axes[index] : 0.0f;
    if (code & kHalfPlus) return (1 + a) * 0.5f;
    if (code & kHalfMinus) return (1 - a) * 0.5f;
    if (code & kNegate) return -a;
    return a;
}

// GLFW's button states are GLFW_PRESS (1) or GLFW_RELEASE (0).
inline void ApplyLayout(const float* axes, int axisCount, const unsigned char* buttons, int buttonCount,
                        c_JoyState& state) {
    const Layout& layout = ChooseLayout(axisCount, buttonCount);
    std::array<float, 6> sticks{};
    for (size_t i = 0; i < sticks.size() && layout.axes[i] != kEnd; ++i)
        sticks[i] = AxisValue(axes, axisCount, buttons, buttonCount, layout.axes[i]);
    for (size_t stick = 0; stick < 2; ++stick) {
        state.x[stick] = sticks[stick * 3];
        state.y[stick] = sticks[stick * 3 + 1];
        state.z[stick] = sticks[stick * 3 + 2];
    }
    state.buttons.fill(false);
    for (size_t i = 0; i < layout.buttons.size() && layout.buttons[i] != kEnd; ++i)
        state.buttons[i] = ButtonPressed(buttons, buttonCount, layout.buttons[i]);
}

}  // namespace joystick
