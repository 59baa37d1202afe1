// SilentAudio: an audio driver that accepts every call and sounds nothing,
// for running the sequencer where only its timing matters.
#pragma once

#include "audio/AudioDevice.h"

class SilentAudio : public AudioDevice {
public:
    void Suspend() override {}
    void Resume() override {}
    std::shared_ptr<gxtkSample> LoadSample(const String&) override { return nullptr; }
    int PlaySample(const std::shared_ptr<gxtkSample>&, int, int) override { return 0; }
    void StopChannel(int) override {}
    void PauseChannel(int) override {}
    void ResumeChannel(int) override {}
    int ChannelState(int) override { return audio::kStopped; }
    void SetVolume(int, float) override {}
    void SetPan(int, float) override {}
    void SetRate(int, float) override {}
    int PlayMusic(const String&, int) override { return -1; }
    void StopMusic() override {}
    void PauseMusic() override {}
    void ResumeMusic() override {}
    int MusicState() override { return 0; }
    void SetMusicVolume(float) override {}
};
