// Runtime error reports, the debugger protocol on standard input, the fatal
// signal handler and the exits. Every road ends in ExitProcess so buffered
// output is never lost and no static destructor runs under a live window or
// audio context.
#include "runtime/RuntimeError.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace {
constexpr int kExitFailure = 255;        // exit(-1) as the shell sees it
constexpr int kDebuggerLineBytes = 256;  // fgets limit: 255 bytes + NUL

[[noreturn]] void ExitProcess(int status) {
    std::fflush(nullptr);
#ifdef __SANITIZE_ADDRESS__
    // _exit skips the sanitizer's exit-time leak check; the normal end of the
    // program (status 0) is still checked in sanitizer builds; a leak ends
    // with status 23, as the sanitizer itself would.
    if (status == 0 && __lsan_do_recoverable_leak_check() != 0) status = 23;
#endif
    _exit(status);
}

// Reads commands until one asks for the report again; the other commands end
// the process. The program records no source positions, so the position text
// in the marker is empty and "@" can only answer as for a null reference.
void RunDebuggerProtocol() {
    std::fprintf(stderr, "{{~~%s~~}}\n", "");
    std::fflush(stderr);
    LogError(String());
    for (;;) {
        char line[kDebuggerLineBytes];
        if (!std::fgets(line, sizeof line, stdin)) ExitProcess(kExitFailure);
        if (!std::strchr(line, '\n')) ExitProcess(kExitFailure);
        switch (line[0]) {
            case '?':
                break;
            case '@':
                LogError(String());
                break;
            case 'e':
            case 'l':
            case 'r':
            case 's':
                return;
            case 'q':
                ExitProcess(0);
            default:
                std::printf("????? %s ?????", line);
                ExitProcess(kExitFailure);
        }
    }
}

[[noreturn]] void ReportForever(const String& message) {
    const String headline = String("Korvanth Runtime Error : ") + message;
    for (;;) {
        Print(headline);
        Print(String());  // the stack description: no positions are kept
        RunDebuggerProtocol();
    }
}

void OnFatalSignal(int signalNumber) { ReportFatalSignal(signalNumber); }
}  // namespace

void RuntimeError(const String& message) {
    if (message.Empty()) ExitProcess(0);
    // The report shows the message as bytes, one per code point.
    ReportForever(String(message.ToBytes()));
}

void QuitApp() { RuntimeError(String()); }

void ExitOnUncaught() {
    Print("Korvanth Runtime Error : Uncaught Korvanth Exception");
    ExitProcess(kExitFailure);
}

void ExitOnUncaught(const ThrowableObject&) { ExitOnUncaught(); }

const char* FatalSignalMessage(int signalNumber) {
    switch (signalNumber) {
        case SIGSEGV:
            return "Memory access violation";
        case SIGILL:
            return "Illegal instruction";
        case SIGFPE:
            return "Floating point exception";
        case SIGBUS:
            return "Bus error";
        default:
            return "Unknown signal";
    }
}

void ReportFatalSignal(int signalNumber) { ReportForever(String(FatalSignalMessage(signalNumber))); }

void InstallSignalHandlers() {
    for (int signalNumber : {SIGSEGV, SIGILL, SIGFPE, SIGBUS}) std::signal(signalNumber, OnFatalSignal);
}
