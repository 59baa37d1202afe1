// EarlyAudio: the sound device is opened on a short-lived helper thread while
// the main thread makes the window and its GL context (on a software GL that
// alone takes about 0.2 s), so that the first frame comes sooner.
//
// Why this is safe in a single-threaded program: the helper makes only OpenAL
// calls and builds only its own gxtkAudio; the main thread makes no OpenAL
// call until TakeOpenedAudio, which joins the helper first (the join orders
// everything the helper did before what follows). Nothing writes the
// environment or the locale while it runs (both are set before). It runs with
// every signal blocked, so the termination handlers still run on the main
// thread only.
#pragma once

class gxtkAudio;

// Starts opening the default device; call once, before the window is made.
void StartOpeningAudio();
// The opened device (never null); opens it here when StartOpeningAudio was not called.
gxtkAudio* TakeOpenedAudio();
