// The frame loop in a page: the browser drives it, calling one iteration per
// timer tick (emscripten_set_main_loop), and the clock never sleeps; the
// pacer then runs an update only when one is due, so the player keeps its
// 50 Hz. A timer rather than animation frames: a hidden tab's timers still
// run, only slower, so the song goes on (slowed) instead of stopping.
#include <emscripten/emscripten.h>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "host/FrameLoop.h"

namespace {
// Ticks per second: a due update waits at most one tick.
constexpr int kTicksPerSecond = 100;

class BrowserClock final : public FrameLoopClock {
public:
    double Now() override { return glfwGetTime(); }
    bool CanSleep() const override { return false; }
    void Sleep(double /*seconds*/) override {}
    // Events arrive through the page's listeners between ticks.
    void PollEvents() override { glfwPollEvents(); }
    void WaitEvents() override { glfwPollEvents(); }
};

std::function<bool()>& Iteration() {
    static std::function<bool()> iteration;
    return iteration;
}

void Tick() {
    if (!Iteration()()) emscripten_cancel_main_loop();
}
}  // namespace

std::unique_ptr<FrameLoopClock> MakeFrameLoopClock() { return std::make_unique<BrowserClock>(); }

void RunFrameLoop(std::function<bool()> iteration) {
    Iteration() = std::move(iteration);
    // Never returns: the browser calls Tick from now on.
    emscripten_set_main_loop(Tick, kTicksPerSecond, 1);
}
