// A tick allocates nothing once the first row has been played: this
// executable replaces the global operator new to count allocations.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

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

// A driver that records nothing, so that only the player's own allocations count.
class SilentAudio : public AudioDevice {
public:
    long calls = 0;
    void Suspend() override {}
    void Resume() override {}
    std::shared_ptr<gxtkSample> LoadSample(const String&) override { return nullptr; }
    int PlaySample(const std::shared_ptr<gxtkSample>&, int, int) override { return ++calls, 0; }
    void StopChannel(int) override { ++calls; }
    void PauseChannel(int) override {}
    void ResumeChannel(int) override {}
    int ChannelState(int) override { return 0; }
    void SetVolume(int, float) override { ++calls; }
    void SetPan(int, float) override {}
    void SetRate(int, float) override { ++calls; }
    int PlayMusic(const String&, int) override { return -1; }
    void StopMusic() override {}
    void PauseMusic() override {}
    void ResumeMusic() override {}
    int MusicState() override { return 0; }
    void SetMusicVolume(float) override {}
};

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
    EXPECT_GT(audio.calls, 200 * 16);
}
}  // namespace
