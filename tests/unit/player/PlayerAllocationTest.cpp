// A tick allocates nothing once the first row has been played: this
// executable replaces the global operator new to count allocations.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "audio/SilentAudio.h"
#include "player/Player.h"
#include "tests/unit/player/PlayerTestSupport.h"

namespace {
std::atomic<long> allocationCount{0};
}  // namespace

void* operator new(std::size_t size) {
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {
using namespace playertest;

// SilentAudio records nothing, so only the player's own allocations count.
TEST(PlayerAllocation, TicksAfterTheFirstRowAllocateNothing) {
    TrackerState state;
    BuildEmptySong(state);
    FillWaveBank(state);
    Instrument lead;
    lead.wav = 1;
    lead.pwm = 7;
    lead.sweep = 3;
    lead.amount = 15;
    lead.speed = 2;
    lead.arp1 = 3;
    lead.arp2 = 7;
    lead.e2p = 2;
    SetInstrument(state, 1, lead);
    const char* notes[4] = {"y", "q", "n", "i"};
    for (int row = 0; row < 32; ++row)
        for (int c = 0; c < 4; ++c)
            SetCell(state, 0, row, c, row % 4 == 0 ? notes[c] : (row % 4 == 2 ? "#" : "."), "8", "1", "2");
    SetCell(state, 0, 31, 0, "-");
    StartPlaying(state, 1);
    SilentAudio audio;
    PlayerTick(state, audio);

    const long before = allocationCount.load();
    for (int tick = 0; tick < 200; ++tick) PlayerTick(state, audio);
    EXPECT_EQ(before, allocationCount.load());
    EXPECT_GT(audio.soundingCalls, 200 * 16);
}
}  // namespace
