// Runtime errors and the ways the process ends: RuntimeError (report, then the
// debugger protocol on standard input), QuitApp (the normal end), fatal
// signals, and language exceptions that nobody caught.
//
// Language exceptions are classes derived from ThrowableObject, thrown by
// value and caught as `const ThrowableObject&` (anything they need to refer to
// is held by shared_ptr inside them). Host event wrappers catch that and call
// ExitOnUncaught.
#pragma once

#include "runtime/Object.h"
#include "runtime/String.h"

class ThrowableObject : public Object {};

// Prints "Korvanth Runtime Error : " + message and an empty line on standard
// output, then runs the debugger protocol. An empty message exits with 0.
[[noreturn]] void RuntimeError(const String& message);
// The normal end of the program: exit status 0, nothing printed.
[[noreturn]] void QuitApp();
// Prints "Korvanth Runtime Error : Uncaught Korvanth Exception", exits 255.
[[noreturn]] void ExitOnUncaught();
[[noreturn]] void ExitOnUncaught(const ThrowableObject& exception);
// Installs the fatal-signal report for SIGSEGV, SIGILL, SIGFPE and SIGBUS.
void InstallSignalHandlers();
// The report a fatal signal gives ("Memory access violation", ...,
// "Unknown signal"); reachable directly so every message can be checked.
[[noreturn]] void ReportFatalSignal(int signalNumber);
// The text the signal report uses for a signal number.
const char* FatalSignalMessage(int signalNumber);
