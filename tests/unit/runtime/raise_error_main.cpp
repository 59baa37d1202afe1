// Ends the process through one runtime-error road chosen by the argument:
// error <message> | quit | uncaught | signal <SEGV|ILL|FPE|BUS> | unknown-signal.
#include <csignal>
#include <cstring>

#include "runtime/RuntimeError.h"

namespace {
class TestException : public ThrowableObject {};

int SignalNamed(const char* name) {
    if (std::strcmp(name, "SEGV") == 0) return SIGSEGV;
    if (std::strcmp(name, "ILL") == 0) return SIGILL;
    if (std::strcmp(name, "FPE") == 0) return SIGFPE;
    if (std::strcmp(name, "BUS") == 0) return SIGBUS;
    return SIGUSR1;
}
}  // namespace

int main(int argc, char** argv) {
    InstallSignalHandlers();
    const char* road = argc > 1 ? argv[1] : "";
    const char* argument = argc > 2 ? argv[2] : "";
    if (std::strcmp(road, "error") == 0) RuntimeError(argument);
    if (std::strcmp(road, "quit") == 0) QuitApp();
    if (std::strcmp(road, "signal") == 0) std::raise(SignalNamed(argument));
    if (std::strcmp(road, "unknown-signal") == 0) ReportFatalSignal(SIGUSR1);
    if (std::strcmp(road, "uncaught") == 0) {
        try {
            throw TestException();
        } catch (const ThrowableObject& exception) {
            ExitOnUncaught(exception);
        }
    }
    return 3;  // no road taken
}
