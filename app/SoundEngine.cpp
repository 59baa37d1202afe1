// c_SoundEngine's hooks: start-up loads every resource and builds the empty
// song, each update runs the transport, player and editor, each frame draws
// the tracker screen.
#include "app/SoundEngine.h"

#include <chrono>

#include "editor/Editor.h"
#include "host/Framework.h"
#include "player/StartUp.h"
#include "screen/Screen.h"
#include "screen/ScreenRedraw.h"
#include "store/Autosave.h"

namespace {
// The autosave interval is wall-clock time: counted in updates it stretched
// whenever updates fell behind.
double MonotonicSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
}  // namespace

int c_SoundEngine::OnCreate() {
    StartUp(*this, Audio(), Graphics(), SetUpdateRate);
    // The first frame comes before the first update: it shows the values as
    // the panel widgets hold them in range (with no click, they only clamp),
    // not as the empty song leaves them, so it doesn't change a moment later.
    RunPanelWidgets(*this, c_InputDevice());
    return 0;
}

int c_SoundEngine::OnUpdate() {
    UpdateStep(*this, overlay, Input(), Audio(), SetUpdateRate);
    AutosaveTick(*this, MonotonicSeconds());
    return 0;
}

void c_SoundEngine::OnClose() { SaveUnsavedWork(*this); }

int c_SoundEngine::OnRender() {
    RenderScreen(*this, overlay, Graphics(), MainScreenRedraw());
    return 0;
}
