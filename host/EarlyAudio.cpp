// EarlyAudio: one std::thread, started with all signals blocked, joined on take.
#include "host/EarlyAudio.h"

#include <pthread.h>

#include <csignal>
#include <thread>

#include "audio/gxtkAudio.h"

namespace {
std::thread g_opener;
gxtkAudio* g_opened = nullptr;
}  // namespace

void StartOpeningAudio() {
    if (g_opener.joinable() || g_opened) return;
    sigset_t all, previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);  // the helper inherits the full mask
    g_opener = std::thread([] { g_opened = new gxtkAudio(); });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

gxtkAudio* TakeOpenedAudio() {
    if (g_opener.joinable()) g_opener.join();
    gxtkAudio* audio = g_opened ? g_opened : new gxtkAudio();
    g_opened = nullptr;
    return audio;
}
