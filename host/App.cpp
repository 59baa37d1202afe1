// c_App: registration of the one application and its delegate.
#include "host/App.h"

#include "host/Framework.h"
#include "host/Game.h"
#include "host/GameDelegate.h"
#include "runtime/RuntimeError.h"

c_App::c_App() {
    FrameworkGlobals& fw = Framework();
    if (fw.app) RuntimeError("App has already been created");
    fw.app = this;
    fw.delegate = new c_GameDelegate();
    if (fw.game) fw.game->SetDelegate(fw.delegate);
}

// The tracker's application lives until the process ends; tests make several.
c_App::~c_App() {
    if (Framework().app == this) Framework().app = nullptr;
}

c_InputDevice& c_App::Input() const { return *Framework().inputDevice; }

AudioDevice& c_App::Audio() const { return *Framework().audioDevice; }

c_GraphicsContext& c_App::Graphics() const { return *Framework().context; }
