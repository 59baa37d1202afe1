// Audio driver figures: the cost of one sequencer tick of parameter updates
// (SetVolume + SetRate on 8 channels) on the loopback and the null device, and
// offline render speed of 8 looping sources. Prints figures only.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "audio/gxtkAudio.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kChannels = 8;
constexpr int kRate = 44100;

const char* const kWaves[kChannels] = {"ramp_64.wav", "ramp_b_64.wav", "ramp_c_64.wav", "saw_64.wav",
                                       "fx2b.wav",    "tri_64.wav",    "hnoise.wav",    "ramp_64.wav"};

std::vector<std::shared_ptr<gxtkSample>> StartVoices(gxtkAudio& audio) {
    std::vector<std::shared_ptr<gxtkSample>> samples;
    for (int i = 0; i < kChannels; ++i) {
        samples.push_back(audio.LoadSample(String(std::string(ZRB_BENCH_DATA_DIR) + "/" + kWaves[i])));
        if (!samples.back()) {
            std::printf("cannot load %s from %s\n", kWaves[i], ZRB_BENCH_DATA_DIR);
            std::exit(1);
        }
        audio.SetVolume(i + 1, 0.4f);
        audio.PlaySample(samples.back(), i + 1, 1);
    }
    return samples;
}

double NanosecondsPerTick(gxtkAudio& audio) {
    constexpr int kTicks = 200000;
    const auto start = Clock::now();
    for (int tick = 0; tick < kTicks; ++tick) {
        for (int channel = 1; channel <= kChannels; ++channel) {
            audio.SetVolume(channel, 0.5f + 0.001f * static_cast<float>(tick % 100));
            audio.SetRate(channel, 1.0f + 0.01f * static_cast<float>(channel));
        }
    }
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / kTicks;
}

}  // namespace

int main() {
    setenv("ALSOFT_DRIVERS", "null", 0);  // the default device without a sound card
    {
        std::unique_ptr<gxtkAudio> loopback = gxtkAudio::OpenLoopback(kRate);
        if (!loopback) {
            std::printf("no loopback device\n");
            return 1;
        }
        auto samples = StartVoices(*loopback);
        std::printf("loopback: SetVolume+SetRate on %d channels: %.0f ns per tick\n", kChannels,
                    NanosecondsPerTick(*loopback));

        constexpr int kSeconds = 120;
        constexpr int kBlock = 1024;
        std::vector<int16_t> block(kBlock * 2);
        const auto start = Clock::now();
        for (long frames = 0; frames < static_cast<long>(kSeconds) * kRate; frames += kBlock)
            loopback->RenderFrames(block.data(), kBlock);
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("loopback: %d looping sources: %.0f seconds of audio per wall second (%d s in %.3f s)\n", kChannels,
                    kSeconds / wall, kSeconds, wall);
        samples.clear();
    }
    {
        gxtkAudio device;
        if (device.HasContext()) {
            auto samples = StartVoices(device);
            std::printf("default device: SetVolume+SetRate on %d channels: %.0f ns per tick\n", kChannels,
                        NanosecondsPerTick(device));
            samples.clear();
        }
    }
    return 0;
}
