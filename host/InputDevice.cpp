// c_InputDevice: the per-update input state fed by host events. Key codes
// outside 1..511 and finger numbers outside the touch table are ignored so
// that no event from the host can write beyond the fixed tables.
#include "host/InputDevice.h"

#include <utility>

#include "host/KeyCodes.h"

c_InputDevice::c_InputDevice() = default;

void c_InputDevice::SetJoystickPoller(JoystickPoller poller) { joystickPoller_ = std::move(poller); }

void c_InputDevice::AddHit(int key) {
    if (hitListCount_ >= input::kHitListSize) return;
    hitCount_[static_cast<size_t>(key)] += 1;
    const int modifiers =
        (keyDown_[keys::kShift] ? input::kShiftHeld : 0) | (keyDown_[keys::kControl] ? input::kControlHeld : 0);
    hitModifiers_[static_cast<size_t>(hitListCount_)] = static_cast<uint8_t>(modifiers);
    hitList_[static_cast<size_t>(hitListCount_++)] = key;
}

// The left button and the first finger are one pointer: each goes down with
// the other so touch-style code and mouse-style code both see the press.
void c_InputDevice::RegisterKeyDown(int key) {
    if (!ValidKey(key) || keyDown_[static_cast<size_t>(key)]) return;
    keyDown_[static_cast<size_t>(key)] = true;
    AddHit(key);
    int coupled = 0;
    if (key == input::KEYCODE_MOUSE_LEFT) coupled = input::KEYCODE_TOUCH_FIRST;
    if (key == input::KEYCODE_TOUCH_FIRST) coupled = input::KEYCODE_MOUSE_LEFT;
    if (coupled != 0) {
        keyDown_[static_cast<size_t>(coupled)] = true;
        AddHit(coupled);
    }
}

void c_InputDevice::RegisterKeyUp(int key) {
    if (!ValidKey(key) || !keyDown_[static_cast<size_t>(key)]) return;
    keyDown_[static_cast<size_t>(key)] = false;
    if (key == input::KEYCODE_MOUSE_LEFT) keyDown_[input::KEYCODE_TOUCH_FIRST] = false;
    if (key == input::KEYCODE_TOUCH_FIRST) keyDown_[input::KEYCODE_MOUSE_LEFT] = false;
}

void c_InputDevice::KeyEvent(int event, int data) {
    switch (event) {
        case EVENT_KEY_PRESSED:
            RegisterKeyDown(data);
            pressedKey_ = ValidKey(data) ? data : 0;
            break;
        case EVENT_KEY_RELEASED:
            RegisterKeyUp(data);
            pressedKey_ = 0;
            break;
        case EVENT_CHAR_TYPED:
            // The host types a key's character right after its press, so the
            // key still pending is the one that typed it.
            if (charCount_ < input::kCharQueueSize) {
                charKeys_[static_cast<size_t>(charCount_)] = pressedKey_;
                charQueue_[static_cast<size_t>(charCount_++)] = data;
            }
            pressedKey_ = 0;
            break;
        default:
            break;
    }
}

void c_InputDevice::MouseEvent(int event, int data, float x, float y, float z) {
    switch (event) {
        case EVENT_BUTTON_PRESSED:
            RegisterKeyDown(data + 1);
            [[fallthrough]];
        case EVENT_POINTER_MOVED:
            mouseX_ = x;
            mouseY_ = y;
            mouseZ_ = z;
            touchX_[0] = x;
            touchY_[0] = y;
            break;
        case EVENT_BUTTON_RELEASED:
            RegisterKeyUp(data + 1);
            break;
        default:
            break;
    }
}

void c_InputDevice::TouchEvent(int event, int data, float x, float y) {
    if (data < 0 || data >= kTouchCount) return;
    const size_t finger = static_cast<size_t>(data);
    switch (event) {
        case EVENT_TOUCH_BEGAN:
            RegisterKeyDown(input::KEYCODE_TOUCH_FIRST + data);
            [[fallthrough]];
        case EVENT_TOUCH_MOVED:
            touchX_[finger] = x;
            touchY_[finger] = y;
            if (data == 0) {
                mouseX_ = x;
                mouseY_ = y;
            }
            break;
        case EVENT_TOUCH_ENDED:
            RegisterKeyUp(input::KEYCODE_TOUCH_FIRST + data);
            break;
        default:
            break;
    }
}

void c_InputDevice::MotionEvent(int event, int /*data*/, float x, float y, float z) {
    if (event != EVENT_ACCELERATION) return;
    accelX_ = x;
    accelY_ = y;
    accelZ_ = z;
}

void c_InputDevice::BeginUpdate() {
    if (!joystickPoller_) return;
    for (int port = 0; port < kJoystickPorts; ++port) {
        c_JoyState& state = joysticks_[static_cast<size_t>(port)];
        if (!joystickPoller_(port, state)) break;
        for (int button = 0; button < kJoystickButtons; ++button) {
            const int key = input::KEYCODE_JOY_FIRST + kJoystickButtons * port + button;
            const size_t index = static_cast<size_t>(key);
            if (state.buttons[static_cast<size_t>(button)]) {
                if (!keyDown_[index]) {
                    keyDown_[index] = true;
                    AddHit(key);
                }
            } else {
                keyDown_[index] = false;
            }
        }
    }
}

void c_InputDevice::EndUpdate() {
    for (int i = 0; i < hitListCount_; ++i) hitCount_[static_cast<size_t>(hitList_[static_cast<size_t>(i)])] = 0;
    hitListCount_ = 0;
    charReadIndex_ = 0;
    charCount_ = 0;
    lastCharKey_ = 0;
}

int c_InputDevice::KeyDown(int key) const { return ValidKey(key) && keyDown_[static_cast<size_t>(key)] ? 1 : 0; }

int c_InputDevice::KeyHit(int key) const { return ValidKey(key) ? hitCount_[static_cast<size_t>(key)] : 0; }

int c_InputDevice::MouseHit(int button) const { return button > 510 ? 0 : KeyHit(button + 1); }

int c_InputDevice::GetChar() {
    if (charReadIndex_ == charCount_) {
        lastCharKey_ = 0;
        return 0;
    }
    lastCharKey_ = charKeys_[static_cast<size_t>(charReadIndex_)];
    return charQueue_[static_cast<size_t>(charReadIndex_++)];
}

int c_InputDevice::PeekChar() const {
    return charReadIndex_ == charCount_ ? 0 : charQueue_[static_cast<size_t>(charReadIndex_)];
}

int c_InputDevice::ChordHit(int key, int modifiers) const {
    int hits = 0;
    for (int i = 0; i < hitListCount_; ++i) {
        const size_t entry = static_cast<size_t>(i);
        if (hitList_[entry] == key && hitModifiers_[entry] == modifiers) ++hits;
    }
    return hits;
}

float c_InputDevice::MouseX() const { return mouseX_; }

float c_InputDevice::MouseY() const { return mouseY_; }

float c_InputDevice::MouseWheel() {
    const float wheel = mouseZ_;
    mouseZ_ = 0;
    return wheel;
}
