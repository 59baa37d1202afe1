// The framework's process-wide globals (current application, delegate, host,
// devices, drawing context, update rate, display modes) and the framework
// functions over them. Devices are created once and never released.
#pragma once

#include <vector>

class c_App;
class c_GameDelegate;
class BBGame;
class gxtkGraphics;
class AudioDevice;
class c_InputDevice;
class c_GraphicsContext;

struct c_DisplayMode {
    int width = 0;
    int height = 0;
};

struct FrameworkGlobals {
    c_App* app = nullptr;
    c_GameDelegate* delegate = nullptr;
    BBGame* game = nullptr;
    gxtkGraphics* graphicsDevice = nullptr;
    AudioDevice* audioDevice = nullptr;
    c_InputDevice* inputDevice = nullptr;
    // Holds the render target and the cached device size as well.
    c_GraphicsContext* context = nullptr;
    int updateRate = 0;
    std::vector<c_DisplayMode> displayModes;
    c_DisplayMode desktopMode;
    // The program takes no arguments; they are kept, nothing reads them.
    int argc = 0;
    char** argv = nullptr;
};

FrameworkGlobals& Framework();

// No application, no delegate, no devices, the given host, a fresh drawing
// context, no display modes, update rate 0. The framework owns the context
// and the delegate; the devices are never released.
void ResetFrameworkGlobals(BBGame* game);

// Stores the rate in the framework's copy and passes it to the host.
void SetUpdateRate(int hz);
int UpdateRate();

// Copies the host's window size into the drawing context's cache.
void RefreshDeviceSize();
// Keeps the first host display mode of each distinct size, and the desktop
// mode (or the device size when the host has none).
void CollectDisplayModes();
