// WindowEventClock: ppoll on the X connection with the remaining time, Xlib's
// queue checked before each wait (replies read by GL calls can queue events).
#include "host/WindowEventClock.h"

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

namespace {
Display* XDisplay(void* display) { return static_cast<Display*>(display); }

timespec Duration(double seconds) {
    const double whole = std::floor(seconds);
    timespec span{};
    span.tv_sec = static_cast<time_t>(whole);
    span.tv_nsec = static_cast<long>((seconds - whole) * 1e9);
    return span;
}
}  // namespace

// Looked up rather than linked: a GLFW built for another window system has no
// X11 entry point, and the loop then keeps GLFW's own polling.
WindowEventClock::WindowEventClock() {
    using GetDisplay = Display* (*)();
    if (auto get = reinterpret_cast<GetDisplay>(dlsym(RTLD_DEFAULT, "glfwGetX11Display"))) display_ = get();
}

double WindowEventClock::Now() { return glfwGetTime(); }

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
