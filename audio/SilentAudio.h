// SilentAudio: an audio driver that accepts every call and sounds nothing,
// for running the sequencer where only its timing matters (the export tool,
// benchmarks, the player's allocation test). It counts the calls that would
// have sounded, so a caller can see the player spoke and a benchmark's loop
// cannot be optimised away.
#pragma once

#include "audio/AudioDevice.h"

class SilentAudio : public AudioDevice {
public:
    // PlaySample, StopChannel, SetVolume and SetRate calls so far.
    long soundingCalls = 0;

    void Suspend() override {}
    void Resume() override {}
    std::shared_ptr<gxtkSample> LoadSample(const String&) override { return nullptr; }
    int PlaySample(const std::shared_ptr<gxtkSample>&, int, int) override { return ++soundingCalls, 0; }
    void StopChannel(int) override { ++soundingCalls; }
    void PauseChannel(int) override {}
    void ResumeChannel(int) override {}
    int ChannelState(int) override { return audio::kStopped; }
    void SetVolume(int, float) override { ++soundingCalls; }
    void SetPan(int, float) override {}
    void SetRate(int, float) override { ++soundingCalls; }
    int PlayMusic(const String&, int) override { return -1; }
    void StopMusic() override {}
    void PauseMusic() override {}
    void ResumeMusic() override {}
    int MusicState() override { return 0; }
    void SetMusicVolume(float) override {}
};
