// FramePacer: an absolute schedule of update times (next += period), so the
// update rate does not drift with the time spent rendering; a backlog longer
// than the catch-up limit is dropped by restarting the schedule.
#include "host/FramePacer.h"

#include <cerrno>
#include <cmath>
#include <ctime>

void FramePacer::SetUpdateRate(int hz) {
    updateRate_ = hz;
    if (hz != 0) updatePeriod_ = 1.0 / hz;
    nextUpdateTime_ = 0;
}

bool FramePacer::RunIteration(FrameSteps& steps, FrameClock& clock) {
    if (steps.ShouldClose()) return false;
    steps.Render();
    bool updateDue = true;
    if (nextUpdateTime_ != 0) {
        const double wait = nextUpdateTime_ - clock.Now();
        if (wait > 0 && clock.CanSleep()) clock.Sleep(wait);
        updateDue = wait <= 0 || clock.CanSleep();
    }
    steps.PollEvents(steps.Suspended());
    if (steps.Focused() && steps.Suspended()) {
        steps.Resume();
        nextUpdateTime_ = 0;
    }
    if (steps.Suspended() || (nextUpdateTime_ != 0 && !updateDue)) return true;
    if (updateRate_ == 0) {
        steps.Update();
        return true;
    }
    if (nextUpdateTime_ == 0) nextUpdateTime_ = clock.Now();
    for (int i = 0; i < kMaxCatchUpUpdates; ++i) {
        steps.Update();
        // The update changed the rate: its new schedule starts next iteration.
        if (nextUpdateTime_ == 0) return true;
        nextUpdateTime_ += updatePeriod_;
        if (nextUpdateTime_ > clock.Now()) return true;
    }
    nextUpdateTime_ = 0;
    return true;
}

void SystemFrameClock::Sleep(double seconds) {
    if (!(seconds > 0)) return;
    const double whole = std::floor(seconds);
    timespec request{};
    request.tv_sec = static_cast<time_t>(whole);
    request.tv_nsec = static_cast<long>((seconds - whole) * 1e9);
    timespec remaining{};
    while (nanosleep(&request, &remaining) == -1 && errno == EINTR) request = remaining;
}
