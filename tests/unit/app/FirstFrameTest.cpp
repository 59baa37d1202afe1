// The application's hooks as the delegate calls them, over the recording
// drawing layer and audio twin: the first frame, drawn before any update,
// already shows what the frames after the first update show.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "app/SoundEngine.h"
#include "host/Framework.h"
#include "host/Game.h"
#include "host/InputDevice.h"
#include "io/DataPath.h"
#include "screen/ScreenRedraw.h"
#include "tests/support/RecordingAudio.h"
#include "tests/support/RecordingGraphics.h"
#include "tests/support/TempFolder.h"

namespace {

// A host already started, without the delegate's device creation.
class StartedGame : public BBGame {
public:
    StartedGame() { started_ = true; }
};

TEST(FirstFrame, EqualsTheFrameAfterTheFirstUpdate) {
    TempFolder folder("zrb-first-frame");
    ASSERT_TRUE(folder.Made());
    ASSERT_TRUE(folder.MakeFolder("data"));
    SetAppDirectory(String(folder.Path()));
    StartedGame game;
    ResetFrameworkGlobals(&game);
    FrameworkGlobals& fw = Framework();
    auto* graphics = new RecordingGraphics;  // the framework owns its context
    delete fw.context;
    fw.context = graphics;
    RecordingAudio audio;
    c_InputDevice input;
    fw.audioDevice = &audio;
    fw.inputDevice = &input;

    c_SoundEngine engine;
    engine.OnCreate();
    engine.OnRender();
    const auto first = graphics->log;
    ASSERT_GE(graphics->Find("rect 0 0 640 475"), 0) << "the first frame draws everything";

    input.BeginUpdate();
    engine.OnUpdate();
    input.EndUpdate();
    graphics->Clear();
    MainScreenRedraw().Invalidate();  // the whole screen again, to compare every line
    engine.OnRender();
    const auto& second = graphics->log;
    for (size_t i = 0; i < first.size() && i < second.size(); ++i)
        ASSERT_EQ(first[i], second[i]) << "first difference at line " << i;
    EXPECT_EQ(first.size(), second.size());

    fw.audioDevice = nullptr;
    fw.inputDevice = nullptr;
}

}  // namespace
