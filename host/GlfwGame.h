// BBGlfwGame: the GLFW host — the window and its GL context, the input and
// window callbacks, joystick polling, and Run, the paced frame loop.
// BBKorvanthGame: the class the program instantiates.
#pragma once

#include <array>
#include <memory>

#include "host/Game.h"

struct GLFWwindow;
class FrameLoopClock;

class BBGlfwGame : public BBGame {
public:
    static constexpr int kWindowWidth = 640;
    static constexpr int kWindowHeight = 475;
    static constexpr int kWindowFlags = 4;  // decorated, windowed, fixed size
    static constexpr const char* kWindowTitle = "ZRB Tracker 1.0";

    // Window flag bits of OpenDeviceWindow.
    static constexpr int kFullscreen = 1;
    static constexpr int kResizable = 2;
    static constexpr int kDecorated = 4;
    static constexpr int kFloating = 8;
    static constexpr int kDepthBuffer = 16;
    static constexpr int kSingleBuffer = 32;
    static constexpr int kSecondMonitor = 64;
    static constexpr int kStencilBuffer = 128;

    BBGlfwGame();
    ~BBGlfwGame() override;

    static BBGlfwGame* GlfwGame();

    int ElapsedMillis() override;
    int CountJoysticks(bool update) override;
    bool PollJoystick(int port, c_JoyState& state) override;
    // The drawing size: the window's size in window units over the window scale.
    int GetDeviceWidth() override { return width_ / scale_; }
    int GetDeviceHeight() override { return height_ / scale_; }
    void GetWindowSize(int* width, int* height, int* framebufferWidth, int* framebufferHeight) override;
    void OpenDeviceWindow(int width, int height, int flags) override;
    std::vector<c_DisplayMode> GetDisplayModes() override;
    c_DisplayMode GetDesktopMode() override;
    void SetSwapInterval(int interval) override;

    GLFWwindow* Window() const { return window_; }

    // Window scale 1..4 (Ctrl+Plus, Ctrl+Minus, Ctrl+0): the window becomes
    // scale times the drawing size, limited to what fits on the screen.
    int WindowScale() const { return scale_; }
    void SetWindowScale(int scale);

    // Opens the window, starts the application and runs the frame loop (the
    // platform's, host/FrameLoop.h) until GLFW's close flag stays set.
    void Run();
    // One pass of the frame loop once Run has started it; false when the
    // window closed. A termination request ends the program here.
    bool RunIteration();

private:
    class LoopSteps;

    void EnumerateJoysticks();
    void TraceUpdate();
    void RequestFullPresent();
    bool HandleScaleKey(int key, int action, int mods);
    int ShortcutKey(int key, int scancode, int action, int mods);

    static void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
    static void OnChar(GLFWwindow* window, unsigned int codePoint);
    static void OnMouseButton(GLFWwindow* window, int button, int action, int mods);
    static void OnScroll(GLFWwindow* window, double xOffset, double yOffset);
    static void OnCursorPos(GLFWwindow* window, double x, double y);
    static void OnWindowClose(GLFWwindow* window);
    static void OnWindowSize(GLFWwindow* window, int width, int height);
    static void OnFramebufferSize(GLFWwindow* window, int width, int height);
    static void OnWindowFocus(GLFWwindow* window, int focused);
    static void OnWindowRefresh(GLFWwindow* window);
    static void OnWindowIconify(GLFWwindow* window, int iconified);

    static constexpr int kKeySlots = 349;  // GLFW_KEY_LAST + 1
    // width, height, red, green, blue bits, refresh rate of the primary monitor.
    std::array<int, 6> desktopMode_{};
    GLFWwindow* window_ = nullptr;
    // Made by Run; members so that a loop the platform drives can outlive Run.
    std::unique_ptr<FrameLoopClock> loopClock_;
    std::unique_ptr<LoopSteps> loopSteps_;
    int width_ = 0;
    int height_ = 0;
    // Kept from GLFW's callbacks, so the loop asks the X server nothing.
    int framebufferWidth_ = 0;
    int framebufferHeight_ = 0;
    bool focused_ = true;
    int scale_ = 1;
    int drawingWidth_ = kWindowWidth;  // the size the window was opened for
    int drawingHeight_ = kWindowHeight;
    int swapInterval_ = 1;
    std::array<int, 4> joystickIds_{};
    int joystickCount_ = 0;
    // The letter each held key was pressed as with Ctrl (0: as itself).
    std::array<int, kKeySlots> pressedAsLetter_{};
    bool joysticksEnumerated_ = false;
};

class BBKorvanthGame : public BBGlfwGame {
public:
    BBKorvanthGame() = default;
    ~BBKorvanthGame() override = default;
};
