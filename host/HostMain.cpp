// HostMain: GLFW error reporting and initialisation, the host, the signal
// report, the locale, the framework globals, the application, then Run.
#include "host/HostMain.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/Framework.h"
#include "host/GlfwGame.h"
#include "host/TerminationRequests.h"
#include "runtime/RuntimeError.h"

namespace {
void ReportGlfwError(int error, const char* description) {
    std::printf("GLFW Error: err=%i, msg=%s\n", error, description);
    std::fflush(stdout);
}
// Mesa's software renderer (llvmpipe) spreads each draw over worker threads;
// with frames as small as ours they cost more than they give. Its thread
// count is read when the GL is first set up, so it is chosen before glfwInit,
// and only when rendering will be in software: no GPU device node, or Mesa
// told to. A count the user set is kept.
void PreferSingleThreadedSoftwareGl() {
    if (std::getenv("LP_NUM_THREADS")) return;
    const char* software = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    const char* gallium = std::getenv("GALLIUM_DRIVER");
    const bool forced = (software && *software && std::strcmp(software, "0") != 0) ||
                        (gallium && std::strcmp(gallium, "llvmpipe") == 0);
    const bool noDevice = access("/dev/dri/renderD128", R_OK | W_OK) != 0 && access("/dev/dri/card0", R_OK | W_OK) != 0;
    if (forced || noDevice) setenv("LP_NUM_THREADS", "0", 0);
}
}  // namespace

int HostMain(int argc, char** argv, const std::function<void()>& createApplication) {
    PreferSingleThreadedSoftwareGl();
    glfwSetErrorCallback(ReportGlfwError);
    if (!glfwInit()) {
        std::puts("glfwInit failed");
        std::fflush(stdout);
        std::exit(-1);
    }
    // The host lives until the process ends.
    BBGlfwGame* game = new BBKorvanthGame();
    Framework().argc = argc;
    Framework().argv = argv;

    InstallSignalHandlers();
    InstallTerminationRequests();
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");

    ResetFrameworkGlobals(game);
    try {
        createApplication();
    } catch (const ThrowableObject& exception) {
        glfwTerminate();
        ExitOnUncaught(exception);
    }
    if (game->Delegate()) game->Run();
    glfwTerminate();
    return 0;
}
