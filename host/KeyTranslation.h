// Translation of GLFW key tokens into the application's key codes, and the
// characters that pressing (or auto-repeating) an editing key types.
// Header-only and using only GLFW's key constants, so tests need no window.
#pragma once

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <array>
#include <cstdint>

namespace keys {

constexpr int kFirstTranslated = 32;                                // GLFW_KEY_SPACE
constexpr int kLastTranslated = 345;                                // GLFW_KEY_RIGHT_CONTROL
constexpr int kTableSize = kLastTranslated - kFirstTranslated + 1;  // 314
// Cursor and page keys type a character above the 16-bit range so that the
// editor can tell them from printable text.
constexpr int kSpecialCharBase = 65536;
constexpr int kDeleteChar = 127;

using Table = std::array<uint8_t, kTableSize>;

constexpr Table BuildTable() {
    Table t{};
    auto set = [&t](int glfwKey, int code) {
        t[static_cast<size_t>(glfwKey - kFirstTranslated)] = static_cast<uint8_t>(code);
    };
    for (int k = GLFW_KEY_0; k <= GLFW_KEY_9; ++k) set(k, k);
    for (int k = GLFW_KEY_A; k <= GLFW_KEY_Z; ++k) set(k, k);
    set(GLFW_KEY_SPACE, 32);
    set(GLFW_KEY_APOSTROPHE, 222);
    set(GLFW_KEY_COMMA, 188);
    set(GLFW_KEY_MINUS, 189);
    set(GLFW_KEY_PERIOD, 190);
    set(GLFW_KEY_SLASH, 191);
    set(GLFW_KEY_SEMICOLON, 186);
    set(GLFW_KEY_EQUAL, 187);
    set(GLFW_KEY_LEFT_BRACKET, 219);
    set(GLFW_KEY_BACKSLASH, 220);
    set(GLFW_KEY_RIGHT_BRACKET, 221);
    set(GLFW_KEY_GRAVE_ACCENT, 192);
    set(GLFW_KEY_ESCAPE, 27);
    set(GLFW_KEY_ENTER, 13);
    set(GLFW_KEY_TAB, 9);
    set(GLFW_KEY_BACKSPACE, 8);
    set(GLFW_KEY_INSERT, 45);
    set(GLFW_KEY_DELETE, 46);
    set(GLFW_KEY_RIGHT, 39);
    set(GLFW_KEY_LEFT, 37);
    set(GLFW_KEY_DOWN, 40);
    set(GLFW_KEY_UP, 38);
    set(GLFW_KEY_PAGE_UP, 33);
    set(GLFW_KEY_PAGE_DOWN, 34);
    set(GLFW_KEY_HOME, 36);
    set(GLFW_KEY_END, 35);
    for (int k = GLFW_KEY_F1; k <= GLFW_KEY_F12; ++k) set(k, 112 + (k - GLFW_KEY_F1));
    for (int k = GLFW_KEY_KP_0; k <= GLFW_KEY_KP_9; ++k) set(k, 96 + (k - GLFW_KEY_KP_0));
    set(GLFW_KEY_KP_DECIMAL, 110);
    set(GLFW_KEY_KP_DIVIDE, 111);
    set(GLFW_KEY_KP_MULTIPLY, 106);
    set(GLFW_KEY_KP_SUBTRACT, 109);
    set(GLFW_KEY_KP_ADD, 107);
    set(GLFW_KEY_LEFT_SHIFT, 16);
    set(GLFW_KEY_RIGHT_SHIFT, 16);
    set(GLFW_KEY_LEFT_CONTROL, 17);
    set(GLFW_KEY_RIGHT_CONTROL, 17);
    return t;
}

inline constexpr Table kTable = BuildTable();

// The application key code of a GLFW key, or 0 when the key is not delivered.
constexpr int TranslateGlfwKey(int glfwKey) {
    if (glfwKey < kFirstTranslated || glfwKey > kLastTranslated) return 0;
    return kTable[static_cast<size_t>(glfwKey - kFirstTranslated)];
}

// The character a press or repeat of an application key types besides the
// GLFW character callback, or 0 for keys that type through that callback.
constexpr int KeyPressCharacter(int code) {
    switch (code) {
        case 8:
        case 9:
        case 13:
        case 27:
            return code;
        case 33:
        case 34:
        case 35:
        case 36:
        case 37:
        case 38:
        case 39:
        case 40:
        case 45:
            return code + kSpecialCharBase;
        case 46:
            return kDeleteChar;
        default:
            return 0;
    }
}

}  // namespace keys
