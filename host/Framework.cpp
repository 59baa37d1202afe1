// Framework globals. Held in a heap object that is never destroyed so that
// exit() from inside a callback runs no destructors of live devices.
#include "host/Framework.h"

#include "graphics/GraphicsContext.h"
#include "host/Game.h"
#include "host/GameDelegate.h"

FrameworkGlobals& Framework() {
    static FrameworkGlobals* globals = new FrameworkGlobals();
    return *globals;
}

void ResetFrameworkGlobals(BBGame* game) {
    FrameworkGlobals& fw = Framework();
    // Only tests reset more than once; what a previous reset made goes.
    delete fw.context;
    delete fw.delegate;
    const int argc = fw.argc;
    char** argv = fw.argv;
    fw = FrameworkGlobals();
    fw.argc = argc;
    fw.argv = argv;
    fw.game = game;
    fw.context = new c_GraphicsContext();
}

void SetUpdateRate(int hz) {
    FrameworkGlobals& fw = Framework();
    fw.updateRate = hz;
    if (fw.game) fw.game->SetUpdateRate(hz);
}

int UpdateRate() { return Framework().updateRate; }

void RefreshDeviceSize() {
    FrameworkGlobals& fw = Framework();
    if (!fw.game || !fw.context) return;
    fw.context->deviceWidth = fw.game->GetDeviceWidth();
    fw.context->deviceHeight = fw.game->GetDeviceHeight();
}

void CollectDisplayModes() {
    FrameworkGlobals& fw = Framework();
    if (!fw.game) return;
    fw.displayModes.clear();
    for (const c_DisplayMode& mode : fw.game->GetDisplayModes()) {
        bool seen = false;
        for (const c_DisplayMode& kept : fw.displayModes)
            if (kept.width == mode.width && kept.height == mode.height) seen = true;
        if (!seen) fw.displayModes.push_back(mode);
    }
    c_DisplayMode desktop = fw.game->GetDesktopMode();
    if (desktop.width == 0 && desktop.height == 0 && fw.context) {
        desktop.width = fw.context->deviceWidth;
        desktop.height = fw.context->deviceHeight;
    }
    fw.desktopMode = desktop;
}
