// HostOptions: presentation choices that only test programs change (the
// shipped program keeps the defaults and reads no environment of its own).
// A test program sets them before the host starts the application.
#pragma once

#include <cstdio>

struct HostOptions {
    bool garbageBackBuffer = false;    // fill the back buffer with garbage every frame
    bool copiedFrames = false;         // keep frames by copies even where framebuffer objects exist
    bool partialPresent = true;        // copy changed rectangles where the window system can
    std::FILE* updateTrace = nullptr;  // one glfwGetTime line per update
    // Pause the sound device while nothing plays. OpenAL Soft's wave writer
    // (the tests' sound capture) corrupts its file header when paused.
    bool devicePause = true;
};

HostOptions& TestHostOptions();
