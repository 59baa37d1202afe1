// BBGame: the host base — delegate, flags, update rate and the event wrappers
// that deliver host events to the delegate. BBGameDelegate: the receiver.
// GLFW-specific parts live in BBGlfwGame (host/GlfwGame.h).
#pragma once

#include <vector>

#include "host/FramePacer.h"
#include "host/Framework.h"
#include "runtime/Object.h"
#include "runtime/String.h"

struct c_JoyState;

class BBGameDelegate : public Object {
public:
    virtual void StartApp() {}
    virtual void SuspendApp() {}
    virtual void ResumeApp() {}
    virtual void UpdateApp() {}
    virtual void RenderApp() {}
    // Once, after the first frame went to the screen (its swap included).
    virtual void FirstFrameShown() {}
    virtual void KeyEvent(int /*event*/, int /*data*/) {}
    virtual void MouseEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/, float /*z*/) {}
    virtual void TouchEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void MotionEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/, float /*z*/) {}
    virtual void ReleaseGraphics() {}
};

class BBGame {
public:
    BBGame();
    virtual ~BBGame();
    BBGame(const BBGame&) = delete;
    BBGame& operator=(const BBGame&) = delete;

    // The one host, reachable from the GLFW callbacks.
    static BBGame* Game();

    virtual void SetDelegate(BBGameDelegate* delegate) { delegate_ = delegate; }
    virtual BBGameDelegate* Delegate() { return delegate_; }
    virtual void SetKeyboardEnabled(bool enabled) { keyboardEnabled_ = enabled; }
    virtual bool KeyboardEnabled() { return keyboardEnabled_; }
    virtual void SetUpdateRate(int hz) { pacer_.SetUpdateRate(hz); }
    virtual int UpdateRate() { return pacer_.UpdateRate(); }
    virtual bool Started() { return started_; }
    virtual bool Suspended() { return suspended_; }
    virtual int ElapsedMillis() { return 0; }
    virtual String LoadString(const String& path);
    virtual int CountJoysticks(bool /*update*/) { return 0; }
    virtual bool PollJoystick(int /*port*/, c_JoyState& /*state*/) { return false; }
    virtual int GetDeviceWidth() { return 0; }
    virtual int GetDeviceHeight() { return 0; }
    // Window size in window units and framebuffer size in pixels.
    virtual void GetWindowSize(int* width, int* height, int* framebufferWidth, int* framebufferHeight);
    virtual void OpenDeviceWindow(int /*width*/, int /*height*/, int /*flags*/) {}
    virtual std::vector<c_DisplayMode> GetDisplayModes() { return {}; }
    virtual c_DisplayMode GetDesktopMode() { return {}; }
    virtual void SetSwapInterval(int /*interval*/) {}
    [[noreturn]] virtual void ExitOnUncaught();
    // Objects are shared by reference counting, so nothing is left to find.
    virtual void ReclaimAfterEvent() {}

    // Event wrappers: each delivers only in the state its event belongs to,
    // and ends the program if a hook lets an exception escape.
    virtual void StartApp();
    virtual void SuspendApp();
    virtual void ResumeApp();
    virtual void UpdateApp();
    virtual void RenderApp();
    virtual void FirstFrameShown();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y, float z);
    virtual void TouchEvent(int event, int data, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual void ReleaseGraphics();

protected:
    template <typename Deliver>
    void DeliverGuarded(Deliver deliver);

    BBGameDelegate* delegate_ = nullptr;
    bool keyboardEnabled_ = false;
    bool started_ = false;
    bool suspended_ = false;
    FramePacer pacer_;
};
