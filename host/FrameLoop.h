// The frame loop's platform part: the clock the loop sleeps on with the
// window-event polls that go with it, and who drives the iterations. The
// pacing itself (host/FramePacer) is shared. On the Linux desktop the loop
// blocks in a while loop and sleeps on the X connection
// (host/linux/X11FrameLoop.cpp); a host that owns the loop (a browser page)
// calls the iteration once per frame instead.
#pragma once

#include <functional>
#include <memory>

#include "host/FramePacer.h"

class FrameLoopClock : public FrameClock {
public:
    // One poll of window events between updates; a clock that knows nothing
    // arrived may skip it.
    virtual void PollEvents() = 0;
    // Blocks until a window event arrives (the application is suspended);
    // a platform that cannot block polls.
    virtual void WaitEvents() = 0;
};

// GLFW is initialised and the window made before.
std::unique_ptr<FrameLoopClock> MakeFrameLoopClock();

// Runs iteration until it returns false, then returns (the caller then shuts
// GLFW down). A platform whose host drives the frames must not return before
// that (a browser: emscripten_set_main_loop simulating an infinite loop), and
// its frames may run after this call's stack is gone: the iteration refers
// only to objects that outlive the call.
void RunFrameLoop(std::function<bool()> iteration);
