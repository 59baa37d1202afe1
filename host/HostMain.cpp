// HostMain: GLFW error reporting and initialisation, the host, the signal
// report, the locale, the framework globals, the application, then Run.
#include "host/HostMain.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "host/Framework.h"
#include "host/GlfwGame.h"
#include "host/TerminationSignals.h"
#include "runtime/RuntimeError.h"

namespace {
void ReportGlfwError(int error, const char* description) {
    std::printf("GLFW Error: err=%i, msg=%s\n", error, description);
    std::fflush(stdout);
}
}  // namespace

int HostMain(int argc, char** argv, const std::function<void()>& createApplication) {
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
    InstallTerminationSignals();
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
