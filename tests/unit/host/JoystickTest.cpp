// The three joystick layouts applied to fake pads.
#include <gtest/gtest.h>

#include <vector>

#include "host/JoystickLayout.h"

namespace {

struct FakePad {
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
    c_JoyState Read() const {
        c_JoyState state;
        state.buttons.fill(true);  // stale states must be cleared
        joystick::ApplyLayout(axes.data(), static_cast<int>(axes.size()), buttons.data(),
                              static_cast<int>(buttons.size()), state);
        return state;
    }
};

TEST(JoystickLayout, SixAxesFifteenButtonsMapsTriggersAndButtons) {
    FakePad pad{{0.1f, 0.2f, 0.3f, 0.4f, -1.0f, 0.5f}, std::vector<unsigned char>(15, 0)};
    pad.buttons[11] = 1;  // first button of the layout
    pad.buttons[10] = 1;  // 15th
    const c_JoyState s = pad.Read();
    EXPECT_FLOAT_EQ(s.x[0], 0.1f);
    EXPECT_FLOAT_EQ(s.y[0], -0.2f);
    EXPECT_FLOAT_EQ(s.z[0], 0.0f);
    EXPECT_FLOAT_EQ(s.x[1], 0.3f);
    EXPECT_FLOAT_EQ(s.y[1], -0.4f);
    EXPECT_FLOAT_EQ(s.z[1], 0.75f);
    EXPECT_TRUE(s.buttons[0]);
    EXPECT_TRUE(s.buttons[14]);
    for (int b = 1; b < 14; ++b) EXPECT_FALSE(s.buttons[static_cast<size_t>(b)]) << b;
    EXPECT_FALSE(s.buttons[15]);
}

TEST(JoystickLayout, FourAxesNineteenButtonsReadsTriggersFromButtons) {
    FakePad pad{{0, 0, 0, 0}, std::vector<unsigned char>(19, 0)};
    pad.buttons[9] = 1;
    pad.buttons[16] = 1;
    const c_JoyState s = pad.Read();
    EXPECT_FLOAT_EQ(s.z[0], 0.0f);
    EXPECT_FLOAT_EQ(s.z[1], 1.0f);
    EXPECT_TRUE(s.buttons[14]);
}

TEST(JoystickLayout, OtherPadsUseTheGenericLayout) {
    FakePad pad{{0.5f, 0.5f}, std::vector<unsigned char>(8, 0)};
    pad.buttons[1] = 1;
    pad.buttons[6] = 1;
    const c_JoyState s = pad.Read();
    EXPECT_TRUE(s.buttons[0]);
    EXPECT_FLOAT_EQ(s.z[0], 1.0f);
    EXPECT_FLOAT_EQ(s.y[0], -0.5f);
    // Axes and buttons the pad lacks read as zero.
    EXPECT_FLOAT_EQ(s.x[1], 0.0f);
    EXPECT_FALSE(s.buttons[8]);  // GLFW button 15 does not exist
}

TEST(JoystickLayout, NegativeButtonIndexCountsFromTheEnd) {
    const unsigned char buttons[3] = {0, 0, 1};
    EXPECT_TRUE(joystick::ButtonPressed(buttons, 3, -1));
    EXPECT_FALSE(joystick::ButtonPressed(buttons, 3, -3));
    EXPECT_FALSE(joystick::ButtonPressed(buttons, 3, -4));
    EXPECT_FALSE(joystick::ButtonPressed(buttons, 3, 3));
}

TEST(JoystickLayout, AxisTransforms) {
    const float axes[1] = {0.5f};
    EXPECT_FLOAT_EQ(joystick::AxisValue(axes, 1, nullptr, 0, joystick::kHalfMinus | 0), 0.25f);
    EXPECT_FLOAT_EQ(joystick::AxisValue(axes, 1, nullptr, 0, joystick::kHalfPlus | 0), 0.75f);
    EXPECT_FLOAT_EQ(joystick::AxisValue(axes, 1, nullptr, 0, joystick::kNegate | 0), -0.5f);
}

}  // namespace
