// The audio driver's operations as the rest of the program sees them.
// gxtkAudio (OpenAL) implements them; tests use a recording twin.
#pragma once

#include <memory>

#include "runtime/String.h"

// One decoded sound in the driver: an OpenAL buffer name (0 = none).
class gxtkSample {
public:
    explicit gxtkSample(unsigned int buffer = 0) : buffer(buffer) {}
    virtual ~gxtkSample();
    // Queues the buffer for deletion; the driver deletes it at its next flush.
    virtual void Discard();
    unsigned int buffer;
};

// The framework's wrapper of a sample for application code.
class c_Sound {
public:
    explicit c_Sound(std::shared_ptr<gxtkSample> sample) : sample(std::move(sample)) {}
    std::shared_ptr<gxtkSample> sample;
};

namespace audio {
constexpr int kChannelCount = 32;
constexpr int kMusicChannel = 32;
enum ChannelStateValue { kStopped = 0, kPlaying = 1, kPaused = 2 };
}  // namespace audio

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    virtual void Suspend() = 0;
    virtual void Resume() = 0;
    // A decoded sample, or none when the file can't be read. The path is in
    // the data-path scheme ("korvanth://data/...") or a real path.
    virtual std::shared_ptr<gxtkSample> LoadSample(const String& path) = 0;
    virtual int PlaySample(const std::shared_ptr<gxtkSample>& sample, int channel, int flags) = 0;
    virtual void StopChannel(int channel) = 0;
    virtual void PauseChannel(int channel) = 0;
    virtual void ResumeChannel(int channel) = 0;
    virtual int ChannelState(int channel) = 0;
    virtual void SetVolume(int channel, float volume) = 0;
    virtual void SetPan(int channel, float pan) = 0;
    virtual void SetRate(int channel, float rate) = 0;
    virtual int PlayMusic(const String& path, int flags) = 0;
    virtual void StopMusic() = 0;
    virtual void PauseMusic() = 0;
    virtual void ResumeMusic() = 0;
    virtual int MusicState() = 0;
    virtual void SetMusicVolume(float volume) = 0;
};

// Framework functions over a driver.
// LoadSound maps a bare name onto the data folder; none when it can't be loaded.
std::shared_ptr<c_Sound> LoadSound(AudioDevice& audio, const String& path);
// Plays when the sound and its sample exist; nothing otherwise.
void PlaySound(AudioDevice& audio, const c_Sound* sound, int channel, int flags);
