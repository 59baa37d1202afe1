// The input device fed with the events the host would deliver between two
// updates, then read as the update step reads it.
#include <gtest/gtest.h>

#include "host/InputDevice.h"
#include "host/KeyCodes.h"

namespace {

constexpr int kA = 'A';
constexpr int kLeft = keys::kLeft;

class InputDeviceTest : public ::testing::Test {
protected:
    void Press(int key) { device.KeyEvent(EVENT_KEY_PRESSED, key); }
    void Release(int key) { device.KeyEvent(EVENT_KEY_RELEASED, key); }
    void Type(int c) { device.KeyEvent(EVENT_CHAR_TYPED, c); }
    void Update() {
        device.EndUpdate();
        device.BeginUpdate();
    }
    c_InputDevice device;
};

TEST_F(InputDeviceTest, PressAndReleaseBetweenUpdatesCountsOneHitAndLeavesKeyUp) {
    device.BeginUpdate();
    Press(kA);
    Release(kA);
    EXPECT_EQ(device.KeyHit(kA), 1);
    EXPECT_EQ(device.KeyDown(kA), 0);
}

TEST_F(InputDeviceTest, PressReleasePressCountsTwoHits) {
    Press(kA);
    Release(kA);
    Press(kA);
    EXPECT_EQ(device.KeyHit(kA), 2);
    EXPECT_EQ(device.KeyDown(kA), 1);
}

TEST_F(InputDeviceTest, HeldKeyHitsOnlyInFirstUpdateAndRepeatAddsNoHit) {
    Press(kA);
    EXPECT_EQ(device.KeyHit(kA), 1);
    Update();
    // Auto-repeat delivers further presses of a key that is still down.
    Press(kA);
    Press(kA);
    EXPECT_EQ(device.KeyHit(kA), 0);
    EXPECT_EQ(device.KeyDown(kA), 1);
    Update();
    EXPECT_EQ(device.KeyDown(kA), 1);
    Release(kA);
    EXPECT_EQ(device.KeyDown(kA), 0);
}

TEST_F(InputDeviceTest, RepeatedCharactersQueueInOrder) {
    Press(kLeft);
    Type(keys::kLeftChar);
    Press(kLeft);
    Type(keys::kLeftChar);
    Type(keys::kDeleteChar);
    EXPECT_EQ(device.PeekChar(), keys::kLeftChar);
    EXPECT_EQ(device.GetChar(), keys::kLeftChar);
    EXPECT_EQ(device.GetChar(), keys::kLeftChar);
    EXPECT_EQ(device.GetChar(), keys::kDeleteChar);
    EXPECT_EQ(device.PeekChar(), 0);
    EXPECT_EQ(device.GetChar(), 0);
    EXPECT_EQ(device.KeyHit(kLeft), 1);
}

// Each press keeps the modifiers held at its own moment, however the events
// of a chord fall between updates.
TEST_F(InputDeviceTest, ChordHitCountsThePressesMadeWithExactlyThoseModifiers) {
    Press(keys::kControl);
    Update();
    Press('Z');  // Control held since the last update
    Release('Z');
    Release(keys::kControl);
    EXPECT_EQ(device.ChordHit('Z', input::kControlHeld), 1);
    Update();
    Press(keys::kControl);
    Release(keys::kControl);
    Press('Z');  // Control released just before
    Press(keys::kShift);
    Press(keys::kControl);
    Press('Y');
    EXPECT_EQ(device.ChordHit('Z', 0), 1);
    EXPECT_EQ(device.ChordHit('Z', input::kControlHeld), 0);
    EXPECT_EQ(device.ChordHit('Y', input::kControlHeld | input::kShiftHeld), 1);
    EXPECT_EQ(device.ChordHit('Y', input::kControlHeld), 0);
    Update();
    EXPECT_EQ(device.ChordHit('Y', input::kControlHeld | input::kShiftHeld), 0);
}

TEST_F(InputDeviceTest, HitListKeepsFirst33TransitionsButEveryKeyGoesDown) {
    // 34 distinct keys: 34 down transitions in one update.
    for (int key = 100; key < 134; ++key) Press(key);
    for (int key = 100; key < 133; ++key) EXPECT_EQ(device.KeyHit(key), 1) << key;
    EXPECT_EQ(device.KeyHit(133), 0);
    for (int key = 100; key < 134; ++key) EXPECT_EQ(device.KeyDown(key), 1) << key;
    // The next update clears exactly what was listed, and counts afresh.
    Update();
    for (int key = 100; key < 134; ++key) EXPECT_EQ(device.KeyHit(key), 0) << key;
    Release(133);
    Press(133);
    EXPECT_EQ(device.KeyHit(133), 1);
}

TEST_F(InputDeviceTest, ThirtyThirdCharacterIsDroppedAndUnreadCharactersExpire) {
    for (int i = 0; i < 33; ++i) Type('a' + (i % 26));
    int read = 0;
    while (device.GetChar() != 0) ++read;
    EXPECT_EQ(read, 32);
    Type('x');
    Type('y');
    Update();
    EXPECT_EQ(device.GetChar(), 0);
    Type('z');
    EXPECT_EQ(device.GetChar(), 'z');
}

TEST_F(InputDeviceTest, LeftClickIsAlsoFirstTouch) {
    device.MouseEvent(EVENT_BUTTON_PRESSED, 0, 10, 20, 0);
    EXPECT_EQ(device.MouseHit(0), 1);
    EXPECT_EQ(device.KeyHit(input::KEYCODE_MOUSE_LEFT), 1);
    EXPECT_EQ(device.KeyHit(input::KEYCODE_TOUCH_FIRST), 1);
    EXPECT_EQ(device.KeyDown(input::KEYCODE_TOUCH_FIRST), 1);
    EXPECT_FLOAT_EQ(device.MouseX(), 10);
    EXPECT_FLOAT_EQ(device.MouseY(), 20);
    EXPECT_FLOAT_EQ(device.TouchX(0), 10);
    // The release keeps the position of the press.
    device.MouseEvent(EVENT_BUTTON_RELEASED, 0, 50, 60, 0);
    EXPECT_EQ(device.KeyDown(input::KEYCODE_MOUSE_LEFT), 0);
    EXPECT_EQ(device.KeyDown(input::KEYCODE_TOUCH_FIRST), 0);
    EXPECT_FLOAT_EQ(device.MouseX(), 10);
}

TEST_F(InputDeviceTest, FirstTouchIsAlsoLeftButton) {
    device.TouchEvent(EVENT_TOUCH_BEGAN, 0, 3, 4);
    EXPECT_EQ(device.KeyDown(input::KEYCODE_MOUSE_LEFT), 1);
    EXPECT_EQ(device.MouseHit(0), 1);
    EXPECT_FLOAT_EQ(device.MouseX(), 3);
    device.TouchEvent(EVENT_TOUCH_ENDED, 0, 0, 0);
    EXPECT_EQ(device.KeyDown(input::KEYCODE_MOUSE_LEFT), 0);
}

TEST_F(InputDeviceTest, CoupledTouchHitIsDroppedWhenListIsFull) {
    for (int key = 100; key < 132; ++key) Press(key);  // 32 entries used
    device.MouseEvent(EVENT_BUTTON_PRESSED, 0, 0, 0, 0);
    EXPECT_EQ(device.KeyHit(input::KEYCODE_MOUSE_LEFT), 1);
    EXPECT_EQ(device.KeyHit(input::KEYCODE_TOUCH_FIRST), 0);
    EXPECT_EQ(device.KeyDown(input::KEYCODE_TOUCH_FIRST), 1);
}

TEST_F(InputDeviceTest, RightAndMiddleButtonsHaveTheirOwnCodes) {
    device.MouseEvent(EVENT_BUTTON_PRESSED, 1, 0, 0, 0);
    device.MouseEvent(EVENT_BUTTON_PRESSED, 2, 0, 0, 0);
    EXPECT_EQ(device.KeyHit(input::KEYCODE_MOUSE_RIGHT), 1);
    EXPECT_EQ(device.KeyHit(input::KEYCODE_MOUSE_MIDDLE), 1);
    EXPECT_EQ(device.KeyDown(input::KEYCODE_TOUCH_FIRST), 0);
}

TEST_F(InputDeviceTest, WheelReadsOnceAndPointerMoveResetsIt) {
    device.MouseEvent(EVENT_POINTER_MOVED, -1, 5, 6, 2.0f);
    EXPECT_FLOAT_EQ(device.MouseWheel(), 2.0f);
    EXPECT_FLOAT_EQ(device.MouseWheel(), 0.0f);
    device.MouseEvent(EVENT_POINTER_MOVED, -1, 5, 6, -1.0f);
    device.MouseEvent(EVENT_POINTER_MOVED, -1, 7, 8, 0);
    EXPECT_FLOAT_EQ(device.MouseWheel(), 0.0f);
    EXPECT_FLOAT_EQ(device.MouseX(), 7);
    EXPECT_FLOAT_EQ(device.MouseY(), 8);
}

TEST_F(InputDeviceTest, OutOfRangeCodesAreIgnoredAndReadAsZero) {
    Press(0);
    Press(512);
    Press(-5);
    Press(100000);
    Release(-1);
    device.TouchEvent(EVENT_TOUCH_BEGAN, 32, 1, 1);
    device.TouchEvent(EVENT_TOUCH_BEGAN, -1, 1, 1);
    device.MouseEvent(EVENT_BUTTON_PRESSED, 600, 1, 1, 0);
    EXPECT_EQ(device.KeyDown(0), 0);
    EXPECT_EQ(device.KeyDown(512), 0);
    EXPECT_EQ(device.KeyHit(0), 0);
    EXPECT_EQ(device.KeyHit(512), 0);
    EXPECT_EQ(device.MouseHit(511), 0);
    EXPECT_EQ(device.MouseHit(-1), 0);
    // None of them took a hit-list entry.
    for (int key = 100; key < 133; ++key) Press(key);
    EXPECT_EQ(device.KeyHit(132), 1);
    // The highest valid code works.
    Press(511);
    EXPECT_EQ(device.KeyDown(511), 1);
}

TEST_F(InputDeviceTest, TouchAndAccelerationStorePositions) {
    device.TouchEvent(EVENT_TOUCH_BEGAN, 3, 11, 12);
    EXPECT_EQ(device.KeyHit(input::KEYCODE_TOUCH_FIRST + 3), 1);
    EXPECT_FLOAT_EQ(device.TouchX(3), 11);
    EXPECT_FLOAT_EQ(device.MouseX(), 0);  // only finger 0 moves the mouse
    device.TouchEvent(EVENT_TOUCH_MOVED, 3, 13, 14);
    EXPECT_FLOAT_EQ(device.TouchY(3), 14);
    device.MotionEvent(EVENT_ACCELERATION, 0, 0.5f, -0.5f, 1.0f);
    EXPECT_FLOAT_EQ(device.AccelX(), 0.5f);
    EXPECT_FLOAT_EQ(device.AccelZ(), 1.0f);
}

TEST_F(InputDeviceTest, JoystickButtonsBecomeKeysFromThePoller) {
    std::array<bool, 32> pad0{}, pad1{};
    int polls = 0;
    device.SetJoystickPoller([&](int port, c_JoyState& state) {
        ++polls;
        if (port > 1) return false;
        state.buttons = port == 0 ? pad0 : pad1;
        return true;
    });
    pad0[2] = true;
    pad1[31] = true;
    device.BeginUpdate();
    EXPECT_EQ(polls, 3);  // stops at the first port without a pad
    EXPECT_EQ(device.KeyHit(input::KEYCODE_JOY_FIRST + 2), 1);
    EXPECT_EQ(device.KeyHit(input::KEYCODE_JOY_FIRST + 32 + 31), 1);
    EXPECT_TRUE(device.Joystick(1).buttons[31]);
    device.EndUpdate();
    device.BeginUpdate();  // still held: down, no new hit
    EXPECT_EQ(device.KeyDown(input::KEYCODE_JOY_FIRST + 2), 1);
    EXPECT_EQ(device.KeyHit(input::KEYCODE_JOY_FIRST + 2), 0);
    pad0[2] = false;
    device.EndUpdate();
    device.BeginUpdate();
    EXPECT_EQ(device.KeyDown(input::KEYCODE_JOY_FIRST + 2), 0);
}

}  // namespace
