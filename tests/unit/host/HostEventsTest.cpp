// The host's event wrappers and the delegate's update bracket, without a
// window: a logging delegate shows which events get through in each state.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/App.h"
#include "host/Framework.h"
#include "host/Game.h"
#include "host/GameDelegate.h"
#include "host/InputDevice.h"
#include "runtime/RuntimeError.h"

namespace {

class LoggingDelegate : public BBGameDelegate {
public:
    std::vector<std::string> log;
    void StartApp() override { log.push_back("start"); }
    void SuspendApp() override { log.push_back("suspend"); }
    void ResumeApp() override { log.push_back("resume"); }
    void UpdateApp() override { log.push_back("update"); }
    void RenderApp() override { log.push_back("render"); }
    void KeyEvent(int event, int data) override {
        log.push_back("key " + std::to_string(event) + " " + std::to_string(data));
    }
    void MouseEvent(int, int, float, float, float) override { log.push_back("mouse"); }
};

TEST(HostEvents, NothingButStartIsDeliveredBeforeStart) {
    BBGame game;
    LoggingDelegate delegate;
    game.SetDelegate(&delegate);
    game.KeyEvent(EVENT_KEY_PRESSED, 65);
    game.MouseEvent(EVENT_POINTER_MOVED, -1, 1, 2, 0);
    game.UpdateApp();
    game.RenderApp();
    game.ResumeApp();
    EXPECT_TRUE(delegate.log.empty());
    game.StartApp();
    game.StartApp();
    game.KeyEvent(EVENT_KEY_PRESSED, 65);
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"start", "key 1 65"}));
    EXPECT_TRUE(game.Started());
}

TEST(HostEvents, SuspendedHostRendersButDoesNotUpdate) {
    BBGame game;
    LoggingDelegate delegate;
    game.SetDelegate(&delegate);
    game.StartApp();
    game.SuspendApp();
    game.SuspendApp();
    game.UpdateApp();
    game.RenderApp();
    game.ResumeApp();
    game.ResumeApp();
    game.UpdateApp();
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"start", "suspend", "render", "resume", "update"}));
}

TEST(HostEvents, UpdateRateRestartsTheSchedule) {
    BBGame game;
    game.SetUpdateRate(50);
    EXPECT_EQ(game.UpdateRate(), 50);
    game.SetUpdateRate(0);
    EXPECT_EQ(game.UpdateRate(), 0);
}

// A host already started, without the delegate's device creation.
class StartedGame : public BBGame {
public:
    StartedGame() { started_ = true; }
};

class RecordingApp : public c_App {
public:
    std::vector<std::string> seen;
    int OnUpdate() override {
        seen.push_back("update hit " + std::to_string(Input().KeyHit(65)) + " char " +
                       std::to_string(Input().GetChar()));
        return 0;
    }
};

class DelegateTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFrameworkGlobals(&game); }
    StartedGame game;
};

TEST_F(DelegateTest, AppRegistersItselfAndItsDelegate) {
    RecordingApp app;
    EXPECT_EQ(Framework().app, &app);
    ASSERT_NE(Framework().delegate, nullptr);
    EXPECT_EQ(game.Delegate(), Framework().delegate);
}

TEST_F(DelegateTest, FrameworkSetUpdateRateReachesTheHost) {
    SetUpdateRate(50);
    EXPECT_EQ(UpdateRate(), 50);
    EXPECT_EQ(game.UpdateRate(), 50);
}

TEST_F(DelegateTest, UpdateSeesThisUpdatesInputAndClearsItAfterwards) {
    RecordingApp app;
    c_GameDelegate& delegate = *Framework().delegate;
    c_InputDevice input;
    delegate.input = &input;
    Framework().inputDevice = &input;
    delegate.KeyEvent(EVENT_KEY_PRESSED, 65);
    delegate.KeyEvent(EVENT_CHAR_TYPED, 'a');
    delegate.UpdateApp();
    delegate.UpdateApp();
    EXPECT_EQ(app.seen, (std::vector<std::string>{"update hit 1 char 97", "update hit 0 char 0"}));
    EXPECT_EQ(input.KeyDown(65), 1);
}

TEST_F(DelegateTest, SecondApplicationIsARuntimeError) {
    RecordingApp app;
    EXPECT_EXIT(
        {
            // The error's debugger protocol reads standard input: give it none.
            if (!std::freopen("/dev/null", "r", stdin)) std::_Exit(3);
            RecordingApp second;
        },
        ::testing::ExitedWithCode(255), "");
}

TEST_F(DelegateTest, WindowCloseKeyQuitsWithStatusZero) {
    RecordingApp app;
    c_GameDelegate& delegate = *Framework().delegate;
    c_InputDevice input;
    delegate.input = &input;
    EXPECT_EXIT(delegate.KeyEvent(EVENT_KEY_PRESSED, input::KEYCODE_WINDOW_CLOSE), ::testing::ExitedWithCode(0), "");
    // Its release, and other keys, don't end anything.
    delegate.KeyEvent(EVENT_KEY_RELEASED, input::KEYCODE_WINDOW_CLOSE);
    delegate.KeyEvent(EVENT_KEY_PRESSED, 431);
    EXPECT_EQ(input.KeyDown(431), 1);
}

TEST_F(DelegateTest, ExceptionEscapingAHookEndsTheProgramWith255) {
    class ThrowingApp : public c_App {
        int OnUpdate() override { throw ThrowableObject(); }
    } app;
    c_InputDevice input;
    Framework().delegate->input = &input;
    EXPECT_EXIT(game.UpdateApp(), ::testing::ExitedWithCode(255), "");
}

}  // namespace
