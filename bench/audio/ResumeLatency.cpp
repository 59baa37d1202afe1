// How long a key waits for its first mixed sample: with the sound device kept
// mixing through silence, with pausing on and keys in quick succession (the
// device is still mixing), and with pausing on after a long silence, where
// either the note resumes the paused device (as it once did) or the key press
// does, a moment before the note's update. A key falls at any moment of the
// update period: the note starts 0..20 ms after it. Measured: from the key,
// and from the note's PlaySample, until the source's play position first
// moves, on OpenAL Soft's null device (it mixes in real time, one period at a
// time). Also what PlaySample and StopChannel cost. Prints figures only.
#include <AL/al.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "audio/gxtkAudio.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kTrials = 60;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

constexpr int kUpdatePeriodMicroseconds = 20000;

struct Figures {
    std::vector<double> fromKey, firstSample, play, stop, pause;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}
double Largest(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

Figures Measure(bool pause, bool longSilence, bool resumeAtKey) {
    Figures figures;
    gxtkAudio audio;
    if (!audio.HasContext()) return figures;
    audio.SetDevicePause(pause);
    auto sample = audio.LoadSample(String(std::string(ZRB_BENCH_DATA_DIR) + "/saw_64.wav"));
    if (!sample) {
        std::printf("cannot load saw_64.wav from %s\n", ZRB_BENCH_DATA_DIR);
        std::exit(1);
    }
    std::srand(17);
    for (int trial = 0; trial < kTrials; ++trial) {
        // Keys come at any moment of the mixer's period.
        std::this_thread::sleep_for(std::chrono::microseconds(30000 + std::rand() % 23000));
        const int updates = longSilence ? gxtkAudio::kSilentUpdatesBeforePause : 1;
        const auto pauseStart = Clock::now();
        for (int update = 0; update < updates; ++update) audio.AfterUpdate();
        figures.pause.push_back(Seconds(pauseStart));
        const auto key = Clock::now();
        if (resumeAtKey) audio.ResumeForInput();
        std::this_thread::sleep_for(std::chrono::microseconds(std::rand() % kUpdatePeriodMicroseconds));
        const auto start = Clock::now();
        audio.PlaySample(sample, 1, 1);
        figures.play.push_back(Seconds(start));
        const unsigned int source = audio.ChannelSource(1);
        ALint offset = 0;
        while (Seconds(start) < 1.0) {
            alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
            if (offset > 0) break;
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        figures.firstSample.push_back(Seconds(start));
        figures.fromKey.push_back(Seconds(key));
        const auto stopStart = Clock::now();
        audio.StopChannel(1);
        figures.stop.push_back(Seconds(stopStart));
    }
    return figures;
}

}  // namespace

int main() {
    setenv("ALSOFT_DRIVERS", "null", 0);
    const struct {
        const char* label;
        bool pause, longSilence, resumeAtKey;
    } kModes[] = {{"always mixing", false, false, true},
                  {"pausing, keys close", true, false, true},
                  {"after 2 s, by note", true, true, false},
                  {"after 2 s, by key", true, true, true}};
    double betweenNotes = 0;
    for (const auto& mode : kModes) {
        const Figures f = Measure(mode.pause, mode.longSilence, mode.resumeAtKey);
        if (f.firstSample.empty()) {
            std::printf("no default device\n");
            return 0;
        }
        const char* label = mode.label;
        const double fromKey = Median(f.fromKey) * 1e3;
        std::printf("%-20s key to first mixed sample: median %.2f ms, largest %.2f ms (%d keys)", label, fromKey,
                    Largest(f.fromKey) * 1e3, kTrials);
        if (mode.pause && !mode.longSilence) betweenNotes = fromKey;
        if (mode.longSilence) std::printf("  goal: within 2 ms of keys close (%+.2f ms)", fromKey - betweenNotes);
        std::printf("\n");
        std::printf("%-20s note's update to first mixed sample: median %.2f ms, largest %.2f ms\n", label,
                    Median(f.firstSample) * 1e3, Largest(f.firstSample) * 1e3);
        std::printf("%-20s PlaySample %.3f ms, StopChannel %.3f ms (medians)\n", label, Median(f.play) * 1e3,
                    Median(f.stop) * 1e3);
        if (mode.longSilence)
            std::printf("%-20s the pause itself (after the silence) %.3f ms (median)\n", label, Median(f.pause) * 1e3);
    }
    return 0;
}
