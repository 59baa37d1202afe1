// The host's event wrappers and the delegate's update bracket, without a
// window: a logging delegate shows which events get through in each state.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "audio/gxtkAudio.h"
#include "host/App.h"
#include "host/Framework.h"
#include "host/Game.h"
#include "host/GameDelegate.h"
#include "host/InputDevice.h"
#include "runtime/RuntimeError.h"
#include "tests/unit/audio/FakeOpenAl.h"

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

// A note after a long silence: the paused sound device resumes on the key
// press, between updates, so the note's own update finds it mixing already.
TEST_F(DelegateTest, KeyPressAfterASilenceResumesTheDeviceBeforeTheNotesUpdate) {
    class NoteApp : public c_App {
    public:
        std::shared_ptr<gxtkSample> sample = std::make_shared<gxtkSample>(7);
        int OnUpdate() override {
            if (Input().KeyHit(81)) Audio().PlaySample(sample, 1, 1);
            if (Input().KeyHit(87)) Audio().StopChannel(1);
            return 0;
        }
    } app;
    FakeOpenAl* fake = new FakeOpenAl;
    gxtkAudio driver{std::unique_ptr<OpenAlApi>(fake)};
    driver.SetDevicePause(true);
    c_InputDevice input;
    c_GameDelegate& delegate = *Framework().delegate;
    delegate.input = &input;
    delegate.audio = &driver;
    delegate.openAl = &driver;
    Framework().inputDevice = &input;
    Framework().audioDevice = &driver;
    const auto silence = [&] {
        for (int i = 0; i < gxtkAudio::kSilentUpdatesBeforePause; ++i) delegate.UpdateApp();
    };
    silence();
    ASSERT_TRUE(driver.DevicePaused());

    fake->Clear();
    delegate.KeyEvent(EVENT_KEY_PRESSED, 81);
    EXPECT_EQ(fake->log, std::vector<std::string>{"ResumeDevice"});
    EXPECT_FALSE(driver.DevicePaused());
    delegate.UpdateApp();
    EXPECT_EQ(fake->Count("SourcePlay"), 1);
    EXPECT_EQ(fake->Count("ResumeDevice"), 1);
    delegate.KeyEvent(EVENT_KEY_RELEASED, 81);

    // A press while the device mixes, or a click, asks nothing of it; the
    // device still pauses after the next silence, and a click wakes it too.
    delegate.KeyEvent(EVENT_KEY_PRESSED, 87);
    delegate.UpdateApp();
    silence();
    EXPECT_EQ(fake->Count("ResumeDevice"), 1);
    EXPECT_TRUE(driver.DevicePaused());
    delegate.MouseEvent(EVENT_BUTTON_PRESSED, 0, 10, 10, 0);
    EXPECT_EQ(fake->Count("ResumeDevice"), 2);

    // A press that plays nothing lets the device pause again.
    silence();
    EXPECT_TRUE(driver.DevicePaused());
    Framework().audioDevice = nullptr;
    delegate.audio = nullptr;
    delegate.openAl = nullptr;
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
