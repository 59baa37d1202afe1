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
    return 0;
}

int c_SoundEngine::OnUpdate() {
    UpdateStep(*this, overlay, Input(), Audio(), SetUpdateRate);
    AutosaveTick(*this);
    return 0;
}

void c_SoundEngine::OnClose() { SaveUnsavedWork(*this); }

int c_SoundEngine::OnRender() {
    RenderScreen(*this, overlay, Graphics(), MainScreenRedraw());
    return 0;
}
