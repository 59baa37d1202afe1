// TEMPORARY until the platform seams land.
#include <GLFW/glfw3.h>
#include <emscripten.h>
#include <sys/stat.h>

#include "host/WindowEventClock.h"
#include "io/DataPath.h"

WindowEventClock::WindowEventClock() {}
double WindowEventClock::Now() { return glfwGetTime(); }
void WindowEventClock::Sleep(double seconds) { emscripten_sleep(static_cast<unsigned>(seconds * 1000)); }
void WindowEventClock::PollEvents() { glfwPollEvents(); }
namespace {
struct Start {
    Start() {
        umask(022);
        SetAppDirectory("/app");
    }
} start;
}  // namespace
