// BBGlfwGame: window creation, the GLFW callbacks that turn window-system
// events into host events, joystick polling and the frame loop.
//
// Sections: construction; window; callbacks; joysticks; frame loop.
#include "host/GlfwGame.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "graphics/gxtkGraphics.h"
#include "host/FrameLoop.h"
#include "host/Framework.h"
#include "host/HostOptions.h"
#include "host/InputDevice.h"
#include "host/JoystickLayout.h"
#include "host/KeyTranslation.h"
#include "host/TerminationRequests.h"
#include "host/WindowQueries.h"
#include "host/WindowScale.h"
#include "runtime/String.h"

namespace {
constexpr int kLastGlfwKey = GLFW_KEY_LAST;  // 348
constexpr int kGlfwJoystickIds = 16;
constexpr int kMouseButtonsDelivered = 3;

void PrintLine(const char* text) {
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
}  // namespace

// ---- construction

BBGlfwGame::BBGlfwGame() {
    if (GLFWmonitor* monitor = glfwGetPrimaryMonitor()) {
        if (const GLFWvidmode* mode = glfwGetVideoMode(monitor)) {
            desktopMode_ = {mode->width,     mode->height,   mode->redBits,
                            mode->greenBits, mode->blueBits, mode->refreshRate};
        }
    }
}

BBGlfwGame* BBGlfwGame::GlfwGame() { return static_cast<BBGlfwGame*>(BBGame::Game()); }

int BBGlfwGame::ElapsedMillis() { return static_cast<int>(glfwGetTime() * 1000); }

// ---- window

void BBGlfwGame::GetWindowSize(int* width, int* height, int* framebufferWidth, int* framebufferHeight) {
    if (!window_) {
        BBGame::GetWindowSize(width, height, framebufferWidth, framebufferHeight);
        return;
    }
    *width = GetDeviceWidth();
    *height = GetDeviceHeight();
    *framebufferWidth = framebufferWidth_;
    *framebufferHeight = framebufferHeight_;
}

void BBGlfwGame::RequestFullPresent() {
    if (gxtkGraphics* graphics = Framework().graphicsDevice) graphics->RequestFullPresent();
}

// The window manager's answer (the size callback) sets the scale.
void BBGlfwGame::SetWindowScale(int scale) {
    scale = window_scale::Fit(scale, drawingWidth_, drawingHeight_, desktopMode_[0], desktopMode_[1]);
    if (!window_ || scale == scale_) return;
    const int width = drawingWidth_ * scale, height = drawingHeight_ * scale;
    // A larger window moves back onto the screen where it would reach past it.
    int x = 0, y = 0;
    glfwGetWindowPos(window_, &x, &y);
    const int fittedX = std::max(0, std::min(x, desktopMode_[0] - width));
    const int fittedY = std::max(0, std::min(y, desktopMode_[1] - height));
    if (desktopMode_[0] > 0 && (fittedX != x || fittedY != y)) glfwSetWindowPos(window_, fittedX, fittedY);
    glfwSetWindowSize(window_, width, height);
}

std::vector<c_DisplayMode> BBGlfwGame::GetDisplayModes() {
    std::vector<c_DisplayMode> modes;
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    if (!monitor) return modes;
    int count = 0;
    const GLFWvidmode* list = glfwGetVideoModes(monitor, &count);
    for (int i = 0; list && i < count; ++i) {
        if (list[i].refreshRate == 0 || list[i].refreshRate == 60) modes.push_back({list[i].width, list[i].height});
    }
    return modes;
}

c_DisplayMode BBGlfwGame::GetDesktopMode() { return {desktopMode_[0], desktopMode_[1]}; }

void BBGlfwGame::SetSwapInterval(int interval) {
    swapInterval_ = interval;
    if (interval >= 0 && window_) glfwSwapInterval(interval);
}

void BBGlfwGame::OpenDeviceWindow(int width, int height, int flags) {
    if (window_) {
        // Keys held across the re-creation would otherwise stay down forever.
        for (int key = 0; key <= kLastGlfwKey; ++key) {
            const int code = keys::TranslateGlfwKey(key);
            if (code != 0 && glfwGetKey(window_, key) == GLFW_PRESS) KeyEvent(EVENT_KEY_RELEASED, code);
        }
        glfwDestroyWindow(window_);
        window_ = nullptr;
    }

    glfwWindowHint(GLFW_RED_BITS, 8);
    glfwWindowHint(GLFW_GREEN_BITS, 8);
    glfwWindowHint(GLFW_BLUE_BITS, 8);
    glfwWindowHint(GLFW_ALPHA_BITS, 8);
    glfwWindowHint(GLFW_DEPTH_BITS, (flags & kDepthBuffer) ? 32 : 0);
    glfwWindowHint(GLFW_STENCIL_BITS, (flags & kStencilBuffer) ? 8 : 0);
    glfwWindowHint(GLFW_RESIZABLE, (flags & kResizable) ? GLFW_TRUE : GLFW_FALSE);
    glfwWindowHint(GLFW_DECORATED, (flags & kDecorated) ? GLFW_TRUE : GLFW_FALSE);
    glfwWindowHint(GLFW_FLOATING, (flags & kFloating) ? GLFW_TRUE : GLFW_FALSE);
    glfwWindowHint(GLFW_VISIBLE, (flags & kFullscreen) ? GLFW_TRUE : GLFW_FALSE);
    glfwWindowHint(GLFW_DOUBLEBUFFER, (flags & kSingleBuffer) ? GLFW_FALSE : GLFW_TRUE);
    glfwWindowHint(GLFW_SAMPLES, 0);
    glfwWindowHint(GLFW_REFRESH_RATE, 60);

    if (flags & kFullscreen) {
        int count = 0;
        GLFWmonitor** monitors = glfwGetMonitors(&count);
        GLFWmonitor* monitor = nullptr;
        if (monitors && count > 0) {
            int index = (flags & kSecondMonitor) ? 1 : 0;
            if (index >= count) index = count - 1;
            monitor = monitors[index];
        }
        window_ = glfwCreateWindow(width, height, kWindowTitle, monitor, nullptr);
    } else {
        window_ = glfwCreateWindow(width, height, kWindowTitle, nullptr, nullptr);
        if (window_) {
            glfwSetWindowPos(window_, (desktopMode_[0] - width) / 2, (desktopMode_[1] - height) / 2);
            glfwShowWindow(window_);
        }
    }
    if (!window_) {
        PrintLine("glfwCreateWindow FAILED!");
        std::abort();
    }

    ++ContextGeneration();
    drawingWidth_ = width;
    drawingHeight_ = height;
    width_ = width;
    height_ = height;
    scale_ = 1;
    glfwGetFramebufferSize(window_, &framebufferWidth_, &framebufferHeight_);
    focused_ = glfwGetWindowAttrib(window_, GLFW_FOCUSED) != 0;

    glfwMakeContextCurrent(window_);
    if (swapInterval_ >= 0) glfwSwapInterval(swapInterval_);

    glfwSetKeyCallback(window_, OnKey);
    glfwSetCharCallback(window_, OnChar);
    glfwSetMouseButtonCallback(window_, OnMouseButton);
    glfwSetScrollCallback(window_, OnScroll);
    glfwSetCursorPosCallback(window_, OnCursorPos);
    glfwSetWindowCloseCallback(window_, OnWindowClose);
    glfwSetWindowSizeCallback(window_, OnWindowSize);
    glfwSetFramebufferSizeCallback(window_, OnFramebufferSize);
    glfwSetWindowFocusCallback(window_, OnWindowFocus);
    glfwSetWindowRefreshCallback(window_, OnWindowRefresh);
    glfwSetWindowIconifyCallback(window_, OnWindowIconify);

    if (!(flags & kFullscreen)) {
        const int scale =
            window_scale::Initial(PrimaryMonitorContentScale(), width, height, desktopMode_[0], desktopMode_[1]);
        if (scale > 1) {
            SetWindowScale(scale);
            glfwSetWindowPos(window_, (desktopMode_[0] - width * scale) / 2, (desktopMode_[1] - height * scale) / 2);
        }
    }
}

// ---- callbacks

// Ctrl+Plus, Ctrl+Minus and Ctrl+0 belong to the window; the tracker never sees them.
bool BBGlfwGame::HandleScaleKey(int key, int action, int mods) {
    if (!(mods & GLFW_MOD_CONTROL)) return false;
    int change = 0;
    switch (key) {
        case GLFW_KEY_EQUAL:
        case GLFW_KEY_KP_ADD:
        case GLFW_KEY_RIGHT_BRACKET:  // "+" on German keyboards
            change = 1;
            break;
        case GLFW_KEY_MINUS:
        case GLFW_KEY_KP_SUBTRACT:
        case GLFW_KEY_SLASH:  // "-" on German keyboards
            change = -1;
            break;
        case GLFW_KEY_0:
        case GLFW_KEY_KP_0:
            break;
        default:
            return false;
    }
    if (action == GLFW_PRESS || action == GLFW_REPEAT) SetWindowScale(change == 0 ? 1 : scale_ + change);
    return true;
}

// GLFW names keys by their place on a US keyboard, which the note keys want;
// shortcuts want the letter printed on the key, so with Ctrl a key that types
// a letter counts as that letter (Ctrl+Z undoes on German and French
// keyboards too). Its release goes out under the code its press did.
int BBGlfwGame::ShortcutKey(int key, int scancode, int action, int mods) {
    static_assert(kKeySlots == GLFW_KEY_LAST + 1, "one slot per GLFW key");
    if (key < 0 || key > GLFW_KEY_LAST) return key;
    int& pressedAs = pressedAsLetter_[static_cast<size_t>(key)];
    if (action == GLFW_PRESS) {
        pressedAs = 0;
        const char* name = (mods & GLFW_MOD_CONTROL) ? KeyNameOnLayout(key, scancode) : nullptr;
        if (name && name[0] != '\0' && name[1] == '\0') {
            const int letter = std::toupper(static_cast<unsigned char>(name[0]));
            if (letter >= GLFW_KEY_A && letter <= GLFW_KEY_Z && letter != key) pressedAs = letter;
        }
    }
    const int asKey = pressedAs != 0 ? pressedAs : key;
    if (action == GLFW_RELEASE) pressedAs = 0;
    return asKey;
}

void BBGlfwGame::OnKey(GLFWwindow* /*window*/, int key, int scancode, int action, int mods) {
    BBGlfwGame* game = GlfwGame();
    if (game->HandleScaleKey(key, action, mods)) return;
    const int code = keys::TranslateGlfwKey(game->ShortcutKey(key, scancode, action, mods));
    if (code == 0) return;
    if (action == GLFW_RELEASE) {
        game->KeyEvent(EVENT_KEY_RELEASED, code);
    } else if (action == GLFW_PRESS || action == GLFW_REPEAT) {
        // A repeat of a held key is not a new hit; the device ignores it, but
        // it does type the key's character again.
        game->KeyEvent(EVENT_KEY_PRESSED, code);
        if (const int character = keys::KeyPressCharacter(code)) game->KeyEvent(EVENT_CHAR_TYPED, character);
    }
}

void BBGlfwGame::OnChar(GLFWwindow* /*window*/, unsigned int codePoint) {
    GlfwGame()->KeyEvent(EVENT_CHAR_TYPED, static_cast<int>(codePoint));
}

void BBGlfwGame::OnMouseButton(GLFWwindow* window, int button, int action, int /*mods*/) {
    if (button < 0 || button >= kMouseButtonsDelivered) return;
    double x = 0, y = 0;
    glfwGetCursorPos(window, &x, &y);
    BBGlfwGame* game = GlfwGame();
    const float fx = window_scale::ToDrawing(x, game->scale_), fy = window_scale::ToDrawing(y, game->scale_);
    if (action == GLFW_PRESS) {
        game->MouseEvent(EVENT_BUTTON_PRESSED, button, fx, fy, 0);
    } else if (action == GLFW_RELEASE) {
        game->MouseEvent(EVENT_BUTTON_RELEASED, button, fx, fy, 0);
    }
}

void BBGlfwGame::OnScroll(GLFWwindow* window, double /*xOffset*/, double yOffset) {
    double x = 0, y = 0;
    glfwGetCursorPos(window, &x, &y);
    BBGlfwGame* game = GlfwGame();
    game->MouseEvent(EVENT_POINTER_MOVED, -1, window_scale::ToDrawing(x, game->scale_),
                     window_scale::ToDrawing(y, game->scale_), static_cast<float>(yOffset));
}

void BBGlfwGame::OnCursorPos(GLFWwindow* /*window*/, double x, double y) {
    BBGlfwGame* game = GlfwGame();
    game->MouseEvent(EVENT_POINTER_MOVED, -1, window_scale::ToDrawing(x, game->scale_),
                     window_scale::ToDrawing(y, game->scale_), 0);
}

// The close button is a key: the application decides (and the delegate quits).
void BBGlfwGame::OnWindowClose(GLFWwindow* window) {
    glfwSetWindowShouldClose(window, GLFW_FALSE);
    BBGlfwGame* game = GlfwGame();
    game->KeyEvent(EVENT_KEY_PRESSED, input::KEYCODE_WINDOW_CLOSE);
    game->KeyEvent(EVENT_KEY_RELEASED, input::KEYCODE_WINDOW_CLOSE);
}

// A window manager that refuses a size keeps the tracker at a scale that fits.
void BBGlfwGame::OnWindowSize(GLFWwindow* /*window*/, int width, int height) {
    BBGlfwGame* game = GlfwGame();
    game->width_ = width;
    game->height_ = height;
    game->scale_ = window_scale::Fit(window_scale::kMaxScale, game->drawingWidth_, game->drawingHeight_, width, height);
    game->RequestFullPresent();
}

void BBGlfwGame::OnFramebufferSize(GLFWwindow* /*window*/, int width, int height) {
    BBGlfwGame* game = GlfwGame();
    game->framebufferWidth_ = width;
    game->framebufferHeight_ = height;
    game->RequestFullPresent();
}

void BBGlfwGame::OnWindowFocus(GLFWwindow* /*window*/, int focused) { GlfwGame()->focused_ = focused != 0; }

// Exposed (uncovered, mapped): the window system lost what it showed.
void BBGlfwGame::OnWindowRefresh(GLFWwindow* /*window*/) { GlfwGame()->RequestFullPresent(); }

void BBGlfwGame::OnWindowIconify(GLFWwindow* /*window*/, int iconified) {
    if (!iconified) GlfwGame()->RequestFullPresent();
}

// ---- joysticks

void BBGlfwGame::EnumerateJoysticks() {
    joystickCount_ = 0;
    for (int id = 0; id < kGlfwJoystickIds && joystickCount_ < static_cast<int>(joystickIds_.size()); ++id) {
        if (glfwJoystickPresent(id)) joystickIds_[static_cast<size_t>(joystickCount_++)] = id;
    }
    joysticksEnumerated_ = true;
}

int BBGlfwGame::CountJoysticks(bool update) {
    if (update || !joysticksEnumerated_) EnumerateJoysticks();
    return joystickCount_;
}

bool BBGlfwGame::PollJoystick(int port, c_JoyState& state) {
    if (!joysticksEnumerated_) EnumerateJoysticks();
    if (port < 0 || port >= joystickCount_) return false;
    const int id = joystickIds_[static_cast<size_t>(port)];
    int axisCount = 0, buttonCount = 0;
    const float* axes = glfwGetJoystickAxes(id, &axisCount);
    if (!axes) return false;
    const unsigned char* buttons = glfwGetJoystickButtons(id, &buttonCount);
    if (!buttons) return false;
    joystick::ApplyLayout(axes, axisCount, buttons, buttonCount, state);
    return true;
}

// ---- frame loop

class BBGlfwGame::LoopSteps : public FrameSteps {
public:
    LoopSteps(BBGlfwGame& game, FrameLoopClock& clock) : game_(game), clock_(clock) {}
    bool ShouldClose() override { return glfwWindowShouldClose(game_.window_); }
    void Render() override {
        game_.RenderApp();
        // A frame that changed nothing, or whose rectangles were copied
        // already, is not swapped.
        const gxtkGraphics* graphics = Framework().graphicsDevice;
        if (!graphics || graphics->SwapNeeded()) glfwSwapBuffers(game_.window_);
        if (!frameShown_) {
            frameShown_ = true;
            game_.FirstFrameShown();
        }
    }
    void PollEvents(bool wait) override {
        if (wait) {
            clock_.WaitEvents();
        } else {
            clock_.PollEvents();
        }
    }
    bool Focused() override { return game_.focused_; }
    bool Suspended() override { return game_.Suspended(); }
    void Resume() override { game_.ResumeApp(); }
    void Update() override {
        game_.TraceUpdate();
        game_.UpdateApp();
    }

private:
    BBGlfwGame& game_;
    FrameLoopClock& clock_;
    bool frameShown_ = false;
};

// Here, where LoopSteps is complete.
BBGlfwGame::~BBGlfwGame() = default;

void BBGlfwGame::TraceUpdate() {
    std::FILE* trace = TestHostOptions().updateTrace;
    if (!trace) return;
    const gxtkGraphics* graphics = Framework().graphicsDevice;
    std::fprintf(trace, "%.6f %lld %lld\n", glfwGetTime(), graphics ? graphics->PresentCount() : 0,
                 graphics ? graphics->PresentedPixels() : 0);
    std::fflush(trace);
}

void BBGlfwGame::Run() {
    OpenDeviceWindow(kWindowWidth, kWindowHeight, kWindowFlags);
    StartApp();
    loopClock_ = MakeFrameLoopClock();
    loopSteps_ = std::make_unique<LoopSteps>(*this, *loopClock_);
    RunFrameLoop([this] { return RunIteration(); });
}

bool BBGlfwGame::RunIteration() {
    if (!pacer_.RunIteration(*loopSteps_, *loopClock_)) return false;
    EndOnTerminationRequest();
    return true;
}
