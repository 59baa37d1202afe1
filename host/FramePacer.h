// FramePacer: the frame loop's decisions — when to sleep, how many updates to
// run, when to drop a backlog — kept apart from GLFW behind two small
// interfaces so that the pacing can be driven by a fake clock in tests.
#pragma once

// Time source and sleep of the loop (glfwGetTime and nanosleep in the host).
class FrameClock {
public:
    virtual ~FrameClock() = default;
    virtual double Now() = 0;  // seconds
    virtual void Sleep(double seconds) = 0;
    // False for a loop whose host calls each iteration at its own pace (a
    // browser's frames) and that must never block: the pacer then does not
    // sleep, and an iteration that comes before the next update is due
    // renders and polls without updating.
    virtual bool CanSleep() const { return true; }
};

// The steps one loop iteration performs on the host.
class FrameSteps {
public:
    virtual ~FrameSteps() = default;
    virtual bool ShouldClose() = 0;
    virtual void Render() = 0;               // render one frame and swap buffers
    virtual void PollEvents(bool wait) = 0;  // wait: block until an event arrives
    virtual bool Focused() = 0;
    virtual bool Suspended() = 0;
    virtual void Resume() = 0;
    virtual void Update() = 0;
};

class FramePacer {
public:
    // Updates run back to back at most this often before the backlog is dropped.
    static constexpr int kMaxCatchUpUpdates = 4;

    // 0 means one update per frame. Always restarts the schedule.
    void SetUpdateRate(int hz);
    int UpdateRate() const { return updateRate_; }
    double UpdatePeriod() const { return updatePeriod_; }
    // 0 when no update is scheduled.
    double NextUpdateTime() const { return nextUpdateTime_; }

    // One pass of the loop; false when the window asked to close.
    bool RunIteration(FrameSteps& steps, FrameClock& clock);

private:
    int updateRate_ = 0;
    double updatePeriod_ = 0;
    double nextUpdateTime_ = 0;
};

// The real clock: a monotonic time source supplied by the host and nanosleep
// that resumes after an interrupting signal.
class SystemFrameClock : public FrameClock {
public:
    using TimeSource = double (*)();
    explicit SystemFrameClock(TimeSource now) : now_(now) {}
    double Now() override { return now_(); }
    void Sleep(double seconds) override;

private:
    TimeSource now_;
};
