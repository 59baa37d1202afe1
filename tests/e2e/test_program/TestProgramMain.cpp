// zrbtracker-test: the tracker built from the same sources with the test
// hooks the shipped program does not have, switched by environment variables:
//   ZRB_GARBAGE_BACKBUFFER=1  fill the back buffer with garbage every frame
//   ZRB_KEPT_FRAMES=copy      keep frames by copies, not a framebuffer object
//   ZRB_PRESENT=swap          present whole frames by swapping
//   ZRB_DEVICE_PAUSE=off      keep the sound device mixing while silent (the
//                             wave writer's file breaks when its device pauses)
//   ZRB_REDRAW=all            draw every frame as designed, skipping nothing
//   ZRB_TRACE_UPDATES=<file>  one line per update: glfwGetTime, frames
//                             presented so far, window pixels presented so far
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/SoundEngine.h"
#include "host/HostMain.h"
#include "host/HostOptions.h"
#include "screen/ScreenRedraw.h"

namespace {
bool EnvironmentSays(const char* name, const char* wanted) {
    const char* value = std::getenv(name);
    return value && std::strcmp(value, wanted) == 0;
}
}  // namespace

int main(int argc, char** argv) {
    HostOptions& options = TestHostOptions();
    options.garbageBackBuffer = EnvironmentSays("ZRB_GARBAGE_BACKBUFFER", "1");
    options.copiedFrames = EnvironmentSays("ZRB_KEPT_FRAMES", "copy");
    options.partialPresent = !EnvironmentSays("ZRB_PRESENT", "swap");
    options.devicePause = !EnvironmentSays("ZRB_DEVICE_PAUSE", "off");
    if (const char* trace = std::getenv("ZRB_TRACE_UPDATES"); trace && *trace)
        options.updateTrace = std::fopen(trace, "w");
    MainScreenRedraw().skipping = !EnvironmentSays("ZRB_REDRAW", "all");
    return HostMain(argc, argv, [] { new c_SoundEngine(); });
}
