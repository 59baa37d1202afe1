// SIGTERM, SIGINT and SIGHUP end the program between two loop steps: the
// handler only records the signal; the frame loop asks the application to
// keep its work (OnClose) and exits with status 128 + signal.
#pragma once

// Signals inherited as ignored (nohup) stay ignored. A second signal before
// the loop acted on the first ends the process at once.
void InstallTerminationSignals();
// The signal that asked the program to end, or 0.
int PendingTerminationSignal();
// Called by the frame loop: when a termination signal arrived, runs the
// application's OnClose and ends the process; otherwise returns at once.
void EndOnTerminationSignal();
