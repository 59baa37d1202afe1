// c_SoundEngine's hooks: start-up loads every resource and builds the empty
// song, each update runs the transport, player and editor, each frame draws
// the tracker screen.
#include "app/SoundEngine.h"

#include "editor/Editor.h"
#include "host/Framework.h"
#include "player/StartUp.h"
#include "screen/Screen.h"
#include "screen/ScreenRedraw.h"
#include "song/WorkSafety.h"

int c_SoundEngine::OnCreate() {
    StartUp(*this, Audio(), Graphics(), SetUpdateRate);
    // The first frame comes before the first update: it shows the values as
    // the panel widgets hold them in range (with no click, they only clamp),
    // not as the empty song leaves them, so it doesn't change a moment later.
    RunPanelWidgets(*this, c_InputDevice());
    return 0;
}

int c_SoundEngine::OnUpdate() {
    UpdateStep(*this, Input(), Audio(), SetUpdateRate);
    AutosaveTick(*this);
    return 0;
}

void c_SoundEngine::OnClose() { SaveUnsavedWork(*this); }

int c_SoundEngine::OnRender() {
    RenderScreen(*this, Graphics(), MainScreenRedraw());
    return 0;
}
