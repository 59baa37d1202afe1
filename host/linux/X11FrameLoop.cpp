// The frame loop on the Linux desktop: a blocking while loop, and
// WindowEventClock, the loop's clock on X11. The clock sleeps on the window
// system's connection rather than on a plain timer, so that an iteration in
// which nothing arrived skips GLFW's event poll (each poll reads the X socket,
// GLFW's wake-up pipe and its joystick watch: about a third of an idle
// update). Events that arrive during a sleep go to GLFW at once and the sleep
// runs on to its end, so updates keep their schedule. Without an X display
// it is a plain timer and every poll is GLFW's. The sleep is ppoll on the X
// connection with the remaining time, Xlib's queue checked before each wait
// (replies read by GL calls can queue events).
#include <cerrno>
#include <cmath>
#include <ctime>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <X11/Xlib.h>
#include <X11/Xlibint.h>  // the request buffer's fill
#include <dlfcn.h>
#include <poll.h>
#undef min
#undef max

#include "host/FrameLoop.h"

namespace {
Display* XDisplay(void* display) { return static_cast<Display*>(display); }

timespec Duration(double seconds) {
    const double whole = std::floor(seconds);
    timespec span{};
    span.tv_sec = static_cast<time_t>(whole);
    span.tv_nsec = static_cast<long>((seconds - whole) * 1e9);
    return span;
}

class WindowEventClock final : public FrameLoopClock {
public:
    WindowEventClock();
    double Now() override { return glfwGetTime(); }
    void Sleep(double seconds) override;
    // In place of glfwPollEvents.
    void PollEvents() override;
    void WaitEvents() override { glfwWaitEvents(); }

    // A poll still goes to GLFW at least this often (joysticks plugged in).
    static constexpr int kMaxSkippedPolls = 24;

private:
    void* display_ = nullptr;  // the X connection; null: not X11
    bool quiet_ = false;       // the last sleep ended with nothing arrived
    int skippedPolls_ = 0;
};

// Looked up rather than linked: a GLFW built for another window system has no
// X11 entry point, and the loop then keeps GLFW's own polling.
WindowEventClock::WindowEventClock() {
    using GetDisplay = Display* (*)();
    if (auto get = reinterpret_cast<GetDisplay>(dlsym(RTLD_DEFAULT, "glfwGetX11Display"))) display_ = get();
}

void WindowEventClock::Sleep(double seconds) {
    quiet_ = false;
    if (!(seconds > 0)) return;
    const double deadline = Now() + seconds;
    if (!display_) {
        SystemFrameClock(glfwGetTime).Sleep(seconds);
        return;
    }
    Display* display = XDisplay(display_);
    // What GLFW's poll would have sent. XFlush reads the socket too, so it is
    // called only when requests wait in Xlib's buffer.
    if (display->bufptr != display->buffer) XFlush(display);
    for (;;) {
        if (XEventsQueued(display, QueuedAlready) > 0) glfwPollEvents();
        const double remaining = deadline - Now();
        if (remaining <= 0) return;
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        const timespec span = Duration(remaining);
        const int ready = ppoll(&connection, 1, &span, nullptr);
        if (ready == 0) {
            quiet_ = true;
            return;
        }
        if (ready > 0) {
            glfwPollEvents();
        } else if (errno != EINTR) {
            SystemFrameClock(glfwGetTime).Sleep(deadline - Now());
            return;
        }
    }
}

void WindowEventClock::PollEvents() {
    const bool skip =
        display_ && quiet_ && skippedPolls_ < kMaxSkippedPolls && XEventsQueued(XDisplay(display_), QueuedAlready) == 0;
    quiet_ = false;
    if (skip) {
        ++skippedPolls_;
        return;
    }
    skippedPolls_ = 0;
    glfwPollEvents();
}
}  // namespace

std::unique_ptr<FrameLoopClock> MakeFrameLoopClock() { return std::make_unique<WindowEventClock>(); }

void RunFrameLoop(std::function<bool()> iteration) {
    while (iteration()) {
    }
}
