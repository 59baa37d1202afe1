// Translation of GLFW key tokens into the application's key codes
// (host/KeyCodes.h names them, with the characters editing keys type).
// Header-only and using only GLFW's key constants, so tests need no window.
#pragma once

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <array>
#include <cstdint>

#include "host/KeyCodes.h"

namespace keys {

constexpr int kFirstTranslated = 32;                                // GLFW_KEY_SPACE
constexpr int kLastTranslated = 345;                                // GLFW_KEY_RIGHT_CONTROL
constexpr int kTableSize = kLastTranslated - kFirstTranslated + 1;  // 314

using Table = std::array<uint8_t, kTableSize>;

constexpr Table BuildTable() {
    Table t{};
    auto set = [&t](int glfwKey, int code) {
        t[static_cast<size_t>(glfwKey - kFirstTranslated)] = static_cast<uint8_t>(code);
    };
    for (int k = GLFW_KEY_0; k <= GLFW_KEY_9; ++k) set(k, k);
    for (int k = GLFW_KEY_A; k <= GLFW_KEY_Z; ++k) set(k, k);
    set(GLFW_KEY_SPACE, kSpace);
    set(GLFW_KEY_APOSTROPHE, kApostrophe);
    set(GLFW_KEY_COMMA, kComma);
    set(GLFW_KEY_MINUS, kMinus);
    set(GLFW_KEY_PERIOD, kPeriod);
    set(GLFW_KEY_SLASH, kSlash);
    set(GLFW_KEY_SEMICOLON, kSemicolon);
    set(GLFW_KEY_EQUAL, kEqual);
    set(GLFW_KEY_LEFT_BRACKET, kLeftBracket);
    set(GLFW_KEY_BACKSLASH, kBackslash);
    set(GLFW_KEY_RIGHT_BRACKET, kRightBracket);
    set(GLFW_KEY_GRAVE_ACCENT, kGraveAccent);
    set(GLFW_KEY_ESCAPE, kEscape);
    set(GLFW_KEY_ENTER, kEnter);
    set(GLFW_KEY_TAB, kTab);
    set(GLFW_KEY_BACKSPACE, kBackspace);
    set(GLFW_KEY_INSERT, kInsert);
    set(GLFW_KEY_DELETE, kDelete);
    set(GLFW_KEY_RIGHT, kRight);
    set(GLFW_KEY_LEFT, kLeft);
    set(GLFW_KEY_DOWN, kDown);
    set(GLFW_KEY_UP, kUp);
    set(GLFW_KEY_PAGE_UP, kPageUp);
    set(GLFW_KEY_PAGE_DOWN, kPageDown);
    set(GLFW_KEY_HOME, kHome);
    set(GLFW_KEY_END, kEnd);
    for (int k = GLFW_KEY_F1; k <= GLFW_KEY_F12; ++k) set(k, kF1 + (k - GLFW_KEY_F1));
    for (int k = GLFW_KEY_KP_0; k <= GLFW_KEY_KP_9; ++k) set(k, kKeypad0 + (k - GLFW_KEY_KP_0));
    set(GLFW_KEY_KP_DECIMAL, kKeypadDecimal);
    set(GLFW_KEY_KP_DIVIDE, kKeypadDivide);
    set(GLFW_KEY_KP_MULTIPLY, kKeypadMultiply);
    set(GLFW_KEY_KP_SUBTRACT, kKeypadSubtract);
    set(GLFW_KEY_KP_ADD, kKeypadAdd);
    set(GLFW_KEY_LEFT_SHIFT, kShift);
    set(GLFW_KEY_RIGHT_SHIFT, kShift);
    set(GLFW_KEY_LEFT_CONTROL, kControl);
    set(GLFW_KEY_RIGHT_CONTROL, kControl);
    return t;
}

inline constexpr Table kTable = BuildTable();

// The application key code of a GLFW key, or 0 when the key is not delivered.
constexpr int TranslateGlfwKey(int glfwKey) {
    if (glfwKey < kFirstTranslated || glfwKey > kLastTranslated) return 0;
    return kTable[static_cast<size_t>(glfwKey - kFirstTranslated)];
}

}  // namespace keys
