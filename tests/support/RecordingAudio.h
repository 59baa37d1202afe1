// RecordingAudio: the audio driver's twin for tests. Logs every call as one
// readable line ("SetRate 5 1.0594631") and keeps simple channel states.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "audio/AudioDevice.h"
#include "tests/support/CallLog.h"

class RecordingAudio : public AudioDevice, public CallLog {
public:
    int states[33] = {};

    static std::string Number(float value) {
        char text[48];
        std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
        return text;
    }

    void Suspend() override { log.push_back("Suspend"); }
    void Resume() override { log.push_back("Resume"); }
    std::shared_ptr<gxtkSample> LoadSample(const String& path) override {
        log.push_back("LoadSample " + path.ToBytes());
        return nullptr;
    }
    int PlaySample(const std::shared_ptr<gxtkSample>& sample, int channel, int flags) override {
        log.push_back("PlaySample " + std::to_string(channel) + " buffer " +
                      std::to_string(sample ? sample->buffer : 0) + " flags " + std::to_string(flags));
        states[channel] = audio::kPlaying;
        return 0;
    }
    void StopChannel(int channel) override {
        log.push_back("StopChannel " + std::to_string(channel));
        states[channel] = audio::kStopped;
    }
    void PauseChannel(int channel) override { log.push_back("PauseChannel " + std::to_string(channel)); }
    void ResumeChannel(int channel) override { log.push_back("ResumeChannel " + std::to_string(channel)); }
    int ChannelState(int channel) override { return states[channel]; }
    void SetVolume(int channel, float volume) override {
        log.push_back("SetVolume " + std::to_string(channel) + " " + Number(volume));
    }
    void SetPan(int channel, float pan) override {
        log.push_back("SetPan " + std::to_string(channel) + " " + Number(pan));
    }
    void SetRate(int channel, float rate) override {
        log.push_back("SetRate " + std::to_string(channel) + " " + Number(rate));
    }
    int PlayMusic(const String& path, int) override {
        log.push_back("PlayMusic " + path.ToBytes());
        return -1;
    }
    void StopMusic() override { log.push_back("StopMusic"); }
    void PauseMusic() override { log.push_back("PauseMusic"); }
    void ResumeMusic() override { log.push_back("ResumeMusic"); }
    int MusicState() override { return 0; }
    void SetMusicVolume(float volume) override { log.push_back("SetMusicVolume " + Number(volume)); }
};
