// Process entry: the host's start-up sequence around the tracker.
#include "app/SoundEngine.h"
#include "host/HostMain.h"

int main(int argc, char** argv) {
    // The application object lives until the process ends.
    return HostMain(argc, argv, [] { new c_SoundEngine(); });
}
