// c_SoundEngine: the one application object — the tracker's state (song,
// player, editor, screen fields) and the three hooks the host calls.
#pragma once

#include "editor/OverlayState.h"
#include "host/App.h"
#include "song/TrackerState.h"

// The state comes first so its defaults are set before the application
// registers itself with the host.
class c_SoundEngine : public TrackerState, public c_App {
public:
    static constexpr int kUpdateRate = 50;

    int OnCreate() override;
    int OnUpdate() override;
    int OnRender() override;
    // Unsaved changes go to the autosave before the program ends.
    void OnClose() override;

    // The help page or song list shown over the screen, if any: the editor's
    // and the screen's, not part of the song.
    OverlayState overlay;
};
