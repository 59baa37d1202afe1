// The frame loop's pacing run against a fake clock: the steps log what the
// loop asked for and when, so the schedule can be read off exactly.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/FramePacer.h"

namespace {

class FakeClock : public FrameClock {
public:
    double now = 100.0;
    bool canSleep = true;
    std::vector<double> sleeps;
    double Now() override { return now; }
    void Sleep(double seconds) override {
        sleeps.push_back(seconds);
        if (canSleep) now += seconds;  // a clock that cannot sleep returns at once
    }
    bool CanSleep() const override { return canSleep; }
};

class FakeSteps : public FrameSteps {
public:
    explicit FakeSteps(FakeClock& clock) : clock_(clock) {}
    bool close = false;
    bool suspended = false;
    bool focused = true;
    double renderCost = 0;  // seconds one frame takes
    std::function<void()> onUpdate;
    std::vector<std::string> log;
    std::vector<double> updateTimes;

    bool ShouldClose() override { return close; }
    void Render() override {
        log.push_back("render");
        clock_.now += renderCost;
    }
    void PollEvents(bool wait) override { log.push_back(wait ? "wait" : "poll"); }
    bool Focused() override { return focused; }
    bool Suspended() override { return suspended; }
    void Resume() override {
        log.push_back("resume");
        suspended = false;
    }
    void Update() override {
        log.push_back("update");
        updateTimes.push_back(clock_.now);
        if (onUpdate) onUpdate();
    }
    int Count(const std::string& what) const {
        int n = 0;
        for (const auto& entry : log) n += entry == what;
        return n;
    }

private:
    FakeClock& clock_;
};

class FramePacerTest : public ::testing::Test {
protected:
    FakeClock clock;
    FakeSteps steps{clock};
    FramePacer pacer;
    bool Iterate() { return pacer.RunIteration(steps, clock); }
};

TEST_F(FramePacerTest, RateZeroRunsOneUpdatePerIterationWithoutSleeping) {
    steps.renderCost = 0.5;
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(Iterate());
    EXPECT_EQ(steps.Count("update"), 5);
    EXPECT_EQ(steps.Count("render"), 5);
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_EQ(pacer.NextUpdateTime(), 0);
    const std::vector<std::string> first(steps.log.begin(), steps.log.begin() + 3);
    EXPECT_EQ(first, (std::vector<std::string>{"render", "poll", "update"}));
}

TEST_F(FramePacerTest, RendersBeforeTheFirstUpdate) {
    pacer.SetUpdateRate(50);
    Iterate();
    EXPECT_EQ(steps.log.front(), "render");
    EXPECT_EQ(steps.Count("update"), 1);
}

TEST_F(FramePacerTest, UpdatesFollowAnAbsoluteScheduleWithoutDrift) {
    pacer.SetUpdateRate(50);
    steps.renderCost = 0.0037;
    for (int i = 0; i < 500; ++i) Iterate();
    ASSERT_EQ(steps.updateTimes.size(), 500u);
    const double start = steps.updateTimes.front();
    for (size_t k = 0; k < steps.updateTimes.size(); ++k)
        ASSERT_NEAR(steps.updateTimes[k], start + 0.02 * static_cast<double>(k), 1e-9) << k;
}

TEST_F(FramePacerTest, StallLongerThanFourPeriodsRunsFourUpdatesThenRestartsTheSchedule) {
    pacer.SetUpdateRate(50);
    Iterate();  // schedule starts
    steps.log.clear();
    steps.updateTimes.clear();
    steps.renderCost = 0.2;  // ten periods
    Iterate();
    EXPECT_EQ(steps.log, (std::vector<std::string>{"render", "poll", "update", "update", "update", "update"}));
    EXPECT_EQ(pacer.NextUpdateTime(), 0);
    // The next iteration renders once, does not sleep, and starts afresh.
    steps.renderCost = 0;
    steps.log.clear();
    const size_t sleepsBefore = clock.sleeps.size();
    const double restart = clock.now;
    Iterate();
    EXPECT_EQ(steps.log, (std::vector<std::string>{"render", "poll", "update"}));
    EXPECT_EQ(clock.sleeps.size(), sleepsBefore);
    EXPECT_DOUBLE_EQ(pacer.NextUpdateTime(), restart + 0.02);
    Iterate();
    EXPECT_NEAR(clock.sleeps.back(), 0.02, 1e-12);
}

TEST_F(FramePacerTest, ShortStallIsCaughtUpWithoutDroppingUpdates) {
    pacer.SetUpdateRate(50);
    Iterate();
    const double first = steps.updateTimes.front();
    steps.renderCost = 0.05;  // two and a half periods late
    Iterate();
    steps.renderCost = 0;
    for (int i = 0; i < 5; ++i) Iterate();
    // Every scheduled update ran; the schedule still counts from the first.
    EXPECT_DOUBLE_EQ(pacer.NextUpdateTime(), first + 0.02 * static_cast<double>(steps.updateTimes.size()));
}

TEST_F(FramePacerTest, SetUpdateRateInsideUpdateEndsTheCatchUpRun) {
    pacer.SetUpdateRate(50);
    Iterate();
    int updates = 0;
    steps.onUpdate = [&] {
        if (++updates == 2) pacer.SetUpdateRate(50);
    };
    steps.renderCost = 0.2;
    steps.log.clear();
    Iterate();
    EXPECT_EQ(steps.Count("update"), 2);
    EXPECT_EQ(pacer.NextUpdateTime(), 0);
    // The new schedule starts at the next iteration, from the current time.
    steps.renderCost = 0;
    steps.onUpdate = nullptr;
    const double now = clock.now;
    Iterate();
    EXPECT_DOUBLE_EQ(steps.updateTimes.back(), now);
}

TEST_F(FramePacerTest, SetUpdateRateToZeroSwitchesToOneUpdatePerFrame) {
    pacer.SetUpdateRate(50);
    Iterate();
    steps.onUpdate = [&] { pacer.SetUpdateRate(0); };
    Iterate();
    steps.onUpdate = nullptr;
    clock.sleeps.clear();
    steps.log.clear();
    Iterate();
    EXPECT_EQ(steps.Count("update"), 1);
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST_F(FramePacerTest, CloseRequestEndsTheLoopBeforeRendering) {
    steps.close = true;
    EXPECT_FALSE(Iterate());
    EXPECT_TRUE(steps.log.empty());
}

TEST_F(FramePacerTest, SuspendedHostWaitsForEventsAndDoesNotUpdate) {
    pacer.SetUpdateRate(50);
    steps.suspended = true;
    steps.focused = false;
    Iterate();
    EXPECT_EQ(steps.log, (std::vector<std::string>{"render", "wait"}));
    steps.focused = true;
    steps.log.clear();
    Iterate();
    EXPECT_EQ(steps.log, (std::vector<std::string>{"render", "wait", "resume", "update"}));
}

TEST_F(FramePacerTest, LosingFocusKeepsUpdating) {
    pacer.SetUpdateRate(50);
    steps.focused = false;
    for (int i = 0; i < 3; ++i) Iterate();
    EXPECT_EQ(steps.Count("update"), 3);
}

// A host that calls each iteration at its own frame rate (a browser) and a
// clock that never sleeps: the updates keep their own rate, whether frames
// come faster (60 Hz) or slower (30 Hz) than updates.
TEST_F(FramePacerTest, ClockThatCannotSleepKeepsTheUpdateRateAtAnyFrameRate) {
    clock.canSleep = false;
    pacer.SetUpdateRate(50);
    for (const double frameRate : {60.0, 30.0}) {
        steps.updateTimes.clear();
        steps.renderCost = 1.0 / frameRate;
        const double start = clock.now;
        while (clock.now < start + 10.0) Iterate();
        EXPECT_NEAR(static_cast<double>(steps.updateTimes.size()), 500.0, 2.0) << frameRate;
        EXPECT_LE(steps.updateTimes.back(), clock.now);
    }
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST(SystemFrameClock, IgnoresNonPositiveSleeps) {
    SystemFrameClock clock([] { return 1.5; });
    clock.Sleep(0);
    clock.Sleep(-1);
    EXPECT_EQ(clock.Now(), 1.5);
}

}  // namespace
