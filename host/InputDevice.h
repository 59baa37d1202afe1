// c_InputDevice: key states, per-update key hits and typed characters, and
// the pointer. Host callbacks only append here; the update step only reads.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace input {
constexpr int kKeyCount = 512;
constexpr int kHitListSize = 33;
constexpr int kCharQueueSize = 32;
constexpr int KEYCODE_MOUSE_LEFT = 1;
constexpr int KEYCODE_MOUSE_RIGHT = 2;
constexpr int KEYCODE_MOUSE_MIDDLE = 3;
constexpr int KEYCODE_JOY_FIRST = 256;
constexpr int KEYCODE_TOUCH_FIRST = 384;
constexpr int KEYCODE_BACK_BUTTON = 416;
constexpr int KEYCODE_WINDOW_CLOSE = 432;
// Modifiers held when a key went down, for ChordHit.
constexpr int kShiftHeld = 1;
constexpr int kControlHeld = 2;
}  // namespace input

// Host event codes.
enum c_BBGameEvent {
    EVENT_KEY_PRESSED = 1,
    EVENT_KEY_RELEASED = 2,
    EVENT_CHAR_TYPED = 3,
    EVENT_BUTTON_PRESSED = 4,
    EVENT_BUTTON_RELEASED = 5,
    EVENT_POINTER_MOVED = 6,
    EVENT_TOUCH_BEGAN = 7,
    EVENT_TOUCH_ENDED = 8,
    EVENT_TOUCH_MOVED = 9,
    EVENT_ACCELERATION = 10,
};

struct c_JoyState {
    std::array<float, 2> x{}, y{}, z{};
    std::array<bool, 32> buttons{};
};

class c_InputDevice {
public:
    // Polls joystick port 0..3 into a state; false when the port has none.
    using JoystickPoller = std::function<bool(int port, c_JoyState& state)>;

    c_InputDevice();
    void SetJoystickPoller(JoystickPoller poller);

    // Host side.
    void KeyEvent(int event, int data);
    void MouseEvent(int event, int data, float x, float y, float z);
    void TouchEvent(int event, int data, float x, float y);
    void MotionEvent(int event, int data, float x, float y, float z);
    void BeginUpdate();
    void EndUpdate();

    // Queries of the update step.
    int KeyDown(int key) const;
    int KeyHit(int key) const;
    int MouseHit(int button) const;
    int GetChar();
    // The character GetChar would return next, left in the queue; 0 when none.
    int PeekChar() const;
    // Down transitions of key in this update made while exactly these
    // modifiers (kShiftHeld, kControlHeld) were held. Each press keeps the
    // modifiers of its own moment: one released just before does not count,
    // however the events fall between updates.
    int ChordHit(int key, int modifiers) const;
    // The key code whose press typed the character GetChar last returned, or 0
    // when it came without one (a key already released, an input method). On
    // X11 the key code names the key's position, whatever the layout prints.
    int KeyOfLastChar() const { return lastCharKey_; }
    // True when any key or button went down during this update.
    bool AnyKeyHit() const { return hitListCount_ > 0; }
    // True when this update's character queue holds anything, read or not.
    bool AnyCharQueued() const { return charCount_ > 0; }
    float MouseX() const;
    float MouseY() const;
    float MouseWheel();

    // Read-only views for the host and tests.
    const c_JoyState& Joystick(int port) const { return joysticks_[static_cast<size_t>(port)]; }
    float TouchX(int finger) const { return touchX_[static_cast<size_t>(finger)]; }
    float TouchY(int finger) const { return touchY_[static_cast<size_t>(finger)]; }
    float AccelX() const { return accelX_; }
    float AccelY() const { return accelY_; }
    float AccelZ() const { return accelZ_; }

private:
    static constexpr int kJoystickPorts = 4;
    static constexpr int kTouchCount = 32;
    static constexpr int kJoystickButtons = 32;

    static bool ValidKey(int key) { return key >= 1 && key < input::kKeyCount; }
    void RegisterKeyDown(int key);
    void RegisterKeyUp(int key);
    void AddHit(int key);

    JoystickPoller joystickPoller_;
    std::array<c_JoyState, kJoystickPorts> joysticks_{};
    std::array<bool, input::kKeyCount> keyDown_{};
    int hitListCount_ = 0;
    std::array<int, input::kHitListSize> hitList_{};
    std::array<uint8_t, input::kHitListSize> hitModifiers_{};  // modifiers held at each entry's press
    std::array<int, input::kKeyCount> hitCount_{};
    int charReadIndex_ = 0;
    int charCount_ = 0;
    std::array<int, input::kCharQueueSize> charQueue_{};
    std::array<int, input::kCharQueueSize> charKeys_{};
    int pressedKey_ = 0;  // the key pressed last, until its character or a release
    int lastCharKey_ = 0;
    float mouseX_ = 0, mouseY_ = 0, mouseZ_ = 0;
    std::array<float, kTouchCount> touchX_{}, touchY_{};
    float accelX_ = 0, accelY_ = 0, accelZ_ = 0;
};
