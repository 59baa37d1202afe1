// c_GameDelegate: turns host events into calls on the application — creates
// the devices at start, brackets every update with the input device's begin
// and end steps and every frame with the graphics driver's begin and end.
#pragma once

#include "host/Game.h"

class gxtkGraphics;
class AudioDevice;
class gxtkAudio;
class c_InputDevice;

class c_GameDelegate : public BBGameDelegate {
public:
    void StartApp() override;
    void SuspendApp() override;
    void ResumeApp() override;
    void UpdateApp() override;
    void RenderApp() override;
    void FirstFrameShown() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y, float z) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void ReleaseGraphics() override;

    // Empty until StartApp; never released.
    gxtkGraphics* graphics = nullptr;
    AudioDevice* audio = nullptr;
    gxtkAudio* openAl = nullptr;  // the same device as audio
    c_InputDevice* input = nullptr;
};
