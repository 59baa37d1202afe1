// WindowEventClock: the frame loop's clock on X11. It sleeps on the window
// system's connection rather than on a plain timer, so that an iteration in
// which nothing arrived skips GLFW's event poll (each poll reads the X socket,
// GLFW's wake-up pipe and its joystick watch: about a third of an idle
// update). Events that arrive during a sleep go to GLFW at once and the sleep
// runs on to its end, so updates keep their schedule. Without an X display
// it is a plain timer and every poll is GLFW's.
#pragma once

#include "host/FramePacer.h"

class WindowEventClock : public FrameClock {
public:
    // GLFW must be initialised (and its window made) before.
    WindowEventClock();
    double Now() override;
    void Sleep(double seconds) override;
    // In place of glfwPollEvents.
    void PollEvents();

    // A poll still goes to GLFW at least this often (joysticks plugged in).
    static constexpr int kMaxSkippedPolls = 24;

private:
    void* display_ = nullptr;  // the X connection; null: not X11
    bool quiet_ = false;       // the last sleep ended with nothing arrived
    int skippedPolls_ = 0;
};
