// c_GameDelegate: device creation and the application hooks' brackets.
#include "host/GameDelegate.h"

#include "audio/gxtkAudio.h"
#include "graphics/GraphicsContext.h"
#include "graphics/gxtkGraphics.h"
#include "host/App.h"
#include "host/HostOptions.h"
#include "host/InputDevice.h"
#include "runtime/RuntimeError.h"

void c_GameDelegate::StartApp() {
    FrameworkGlobals& fw = Framework();
    BBGame* game = fw.game;
    graphics = new gxtkGraphics([game](int* width, int* height, int* framebufferWidth, int* framebufferHeight) {
        game->GetWindowSize(width, height, framebufferWidth, framebufferHeight);
    });
    const HostOptions& options = TestHostOptions();
    graphics->SetGarbageBackBuffer(options.garbageBackBuffer);
    graphics->SetCopiedFrames(options.copiedFrames);
    graphics->SetPartialPresent(options.partialPresent);
    fw.graphicsDevice = graphics;
    fw.context->device = graphics;
    fw.context->SetFont(nullptr);

    // The sound device opens once the first frame is shown: a window that
    // waits for the sound device's 30 ms looks slow to start.
    openAl = new gxtkAudio(gxtkAudio::OpenLaterTag{});
    openAl->SetDevicePause(options.devicePause);
    audio = openAl;
    fw.audioDevice = audio;

    input = new c_InputDevice();
    input->SetJoystickPoller([game](int port, c_JoyState& state) { return game->PollJoystick(port, state); });
    fw.inputDevice = input;

    RefreshDeviceSize();
    CollectDisplayModes();
    if (fw.app) fw.app->OnCreate();
}

void c_GameDelegate::SuspendApp() { audio->Suspend(); }

void c_GameDelegate::ResumeApp() { audio->Resume(); }

void c_GameDelegate::UpdateApp() {
    RefreshDeviceSize();
    input->BeginUpdate();
    if (c_App* app = Framework().app) app->OnUpdate();
    input->EndUpdate();
    if (openAl) openAl->AfterUpdate();
}

void c_GameDelegate::RenderApp() {
    FrameworkGlobals& fw = Framework();
    RefreshDeviceSize();
    graphics->BeginFrame();
    fw.context->renderTarget = graphics;
    fw.context->ResetDrawingState();
    if (fw.app) fw.app->OnRender();
    fw.context->renderTarget = nullptr;
    graphics->EndFrame();
}

void c_GameDelegate::FirstFrameShown() {
    if (openAl) openAl->Open();
}

void c_GameDelegate::KeyEvent(int event, int data) {
    // The sound device wakes on the press, not on the note of the next update.
    if (event == EVENT_KEY_PRESSED && openAl) openAl->ResumeForInput();
    input->KeyEvent(event, data);
    if (event == EVENT_KEY_PRESSED && (data == input::KEYCODE_WINDOW_CLOSE || data == input::KEYCODE_BACK_BUTTON)) {
        if (c_App* app = Framework().app) app->OnClose();
        QuitApp();
    }
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y, float z) {
    if (event == EVENT_BUTTON_PRESSED && openAl) openAl->ResumeForInput();
    input->MouseEvent(event, data, x, y, z);
}

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) { input->TouchEvent(event, data, x, y); }

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    input->MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::ReleaseGraphics() { graphics->DiscardResources(); }
