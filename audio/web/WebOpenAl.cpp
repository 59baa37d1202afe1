// The OpenAL table for the page: emscripten's OpenAL over WebAudio. It has
// no loopback device and no output limiter, so the page renders nothing
// offline (the export tool stays on the desktop); pausing the device
// suspends the page's audio context.
#include "audio/LibraryOpenAl.h"

std::unique_ptr<OpenAlApi> MakeOpenAlApi() { return std::make_unique<LibraryOpenAl>(); }
