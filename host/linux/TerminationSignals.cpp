// Termination requests on Linux: SIGTERM, SIGINT and SIGHUP end the program
// between two loop steps with status 128 + signal. The handler stores the
// signal number in a sig_atomic_t and returns; saving and exiting happen on
// the main thread. Signals inherited as ignored (nohup) stay ignored; a
// second signal before the loop acted on the first ends the process at once.
// The X connection lost under the tracker (the server closed or went away)
// keeps the work too, and ends the program with 1 as Xlib's own handler did.
#include <X11/Xlib.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "host/App.h"
#include "host/Framework.h"
#include "host/TerminationRequests.h"

namespace {
constexpr int kSignalExitBase = 128;
constexpr int kConnectionLostStatus = 1;
volatile std::sig_atomic_t g_pendingSignal = 0;

// A second signal while the first is still waiting (the loop is stuck, or a
// runtime error report waits on standard input) ends the process the default
// way; signal and raise are safe inside a handler.
void RecordSignal(int signalNumber) {
    if (g_pendingSignal != 0) {
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    g_pendingSignal = signalNumber;
}

// Xlib calls this from whichever X or GL call found the connection gone, and
// ends the process if it returns. No X or GL call can work any more, so it
// does file work only: the application's OnClose writes the autosave.
int KeepWorkOnConnectionLoss(Display* display) {
    std::fprintf(stderr, "X connection to %s broken (explicit kill or server shutdown).\n", DisplayString(display));
    if (c_App* app = Framework().app) app->OnClose();
    std::fflush(nullptr);
    _exit(kConnectionLostStatus);
}
}  // namespace

void InstallTerminationRequests() {
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction current {};
        if (sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = RecordSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;  // the loop notices the flag; nothing needs to be interrupted
        sigaction(signalNumber, &action, nullptr);
    }
    // Process-wide in Xlib, and harmless when GLFW runs on another window system.
    XSetIOErrorHandler(KeepWorkOnConnectionLoss);
}

void EndOnTerminationRequest() {
    const int signalNumber = g_pendingSignal;
    if (signalNumber == 0) return;
    if (c_App* app = Framework().app) app->OnClose();
    std::fflush(nullptr);
    _exit(kSignalExitBase + signalNumber);
}
