// Ending the program from outside its window, the platform's way: on Linux
// SIGTERM, SIGINT and SIGHUP, and the X connection lost under the tracker
// (host/linux/TerminationSignals.cpp); a browser page being left would be
// another. Each asks the application to keep its work (OnClose) before the
// program ends.
#pragma once

// At start-up, after the window system is initialised and before the window
// opens.
void InstallTerminationRequests();
// Called by the frame loop between two iterations: when a request to end
// arrived, runs the application's OnClose and ends the process; otherwise
// returns at once.
void EndOnTerminationRequest();
