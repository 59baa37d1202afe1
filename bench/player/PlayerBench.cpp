// Prints the cost of one PlayerTick with four sounding channels, measured
// against a driver that does nothing, so that only the player is timed.
#include <chrono>
#include <cstdio>
#include <memory>

#include "audio/SilentAudio.h"
#include "player/Player.h"
#include "song/InstrumentValues.h"
#include "song/SongModel.h"

namespace {

void SetCell(TrackerState& state, int row, int channel, const char* note) {
    const char* cell[4] = {note, "8", "1", "2"};
    for (int kind = 0; kind < 4; ++kind) {
        String& column = state.songColumns[static_cast<size_t>(kind * 4 + channel)];
        column = ReplaceChar(column, row + 1, cell[kind]);
    }
}

TrackerState FourChannelSong(int speed) {
    TrackerState state;
    BuildEmptySong(state);
    for (int slot = 0; slot < tracker::kWaveforms; ++slot)
        state.waveBank[static_cast<size_t>(slot)] = std::make_shared<c_Sound>(std::make_shared<gxtkSample>(slot + 1));
    // WAV 1, PWM 8, E2P 2, SWP 3, AMT 15, ENV 200, SPD 2, ARP 4/7: every stage busy.
    InstrumentValues busy;
    busy.wav = 1;
    busy.pwm = 8;
    busy.e2p = 2;
    busy.sweep = 3;
    busy.amount = 15;
    busy.env = 200;
    busy.speed = 2;
    busy.arp1 = 4;
    busy.arp2 = 7;
    WriteInstrument(state, 1, busy);
    const char* notes[4] = {"y", "c", "b", "q"};
    for (int row = 0; row < 32; row += 2)
        for (int c = 0; c < 4; ++c) SetCell(state, row, c, notes[(c + row / 2) % 4]);
    state.songSpeed = speed;
    return state;
}

double NanosecondsPerTick(int speed, int ticks) {
    TrackerState state = FourChannelSong(speed);
    SilentAudio audio;
    for (int i = 0; i < speed; ++i) PlayerTick(state, audio);  // first row played
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < ticks; ++i) PlayerTick(state, audio);
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::nano>(end - start).count() / ticks;
}

}  // namespace

int main() {
    const int ticks = 200000;
    std::printf("PlayerTick, four sounding channels, %d ticks\n", ticks);
    std::printf("  speed 4 (row step every 4th tick): %8.1f ns per tick\n", NanosecondsPerTick(4, ticks));
    std::printf("  speed 1 (row step every tick):     %8.1f ns per tick\n", NanosecondsPerTick(1, ticks));
    return 0;
}
