// gxtkAudio: the OpenAL audio driver. 32 numbered channels plus the music
// channel, each backed by at most one source created on first use; samples are
// whole-file buffers. Every OpenAL call goes through an OpenAlApi table.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "audio/AudioDevice.h"

class OpenAlApi;

// Buffer names waiting for deletion (process-wide); gxtkSample::Discard fills it.
std::vector<unsigned int>& DiscardedBuffers();

// The OpenAL buffer format for a sample layout; 0 for a layout it has none for.
int BufferFormatFor(int bytesPerSample, int channels);

class gxtkAudio : public AudioDevice {
public:
    // Opens the default device (then the two named fallbacks); without one it
    // prints why and runs on, silent.
    gxtkAudio();
    // The same construction over another OpenAL table (tests use a fake).
    explicit gxtkAudio(std::unique_ptr<OpenAlApi> al);
    // A driver whose device opens at Open(), or earlier when something is to
    // sound. Making the device's context takes about 30 ms, which the host
    // spends after the first frame is on screen. Until then samples keep
    // their decoded data, and volumes, rates and pans given to channels are
    // kept for the sources the channels get.
    struct OpenLaterTag {};
    explicit gxtkAudio(OpenLaterTag);
    gxtkAudio(std::unique_ptr<OpenAlApi> al, OpenLaterTag);
    void Open();
    bool Opened() const { return opened_; }
    // A driver over a loopback device rendering 16-bit stereo into memory;
    // none when the OpenAL library has no loopback support.
    static std::unique_ptr<gxtkAudio> OpenLoopback(int sampleRate = 44100);
    // Samples loaded by a driver must not outlive it: their buffer names
    // mean nothing to the next device.
    ~gxtkAudio() override;

    gxtkAudio(const gxtkAudio&) = delete;
    gxtkAudio& operator=(const gxtkAudio&) = delete;

    void Suspend() override;
    void Resume() override;
    std::shared_ptr<gxtkSample> LoadSample(const String& path) override;
    virtual bool LoadSampleData(gxtkSample& sample, const String& path);
    int PlaySample(const std::shared_ptr<gxtkSample>& sample, int channel, int flags) override;
    void StopChannel(int channel) override;
    void PauseChannel(int channel) override;
    void ResumeChannel(int channel) override;
    int ChannelState(int channel) override;
    void SetVolume(int channel, float volume) override;
    void SetPan(int channel, float pan) override;
    void SetRate(int channel, float rate) override;
    int PlayMusic(const String& path, int flags) override;
    void StopMusic() override;
    void PauseMusic() override;
    void ResumeMusic() override;
    int MusicState() override;
    void SetMusicVolume(float volume) override;

    // Deletes the discarded buffers that no source holds any more.
    void FlushDiscarded();
    // Mixes the next frames of a loopback driver into interleaved stereo;
    // false for a driver on a real device.
    bool RenderFrames(int16_t* interleavedStereo, int frames);
    // The same mix as floats, before any rounding or clipping.
    bool RenderFloatFrames(float* interleavedStereo, int frames);

    bool HasDevice() const { return hasDevice_; }
    bool HasContext() const { return hasContext_; }
    // After kSilentUpdatesBeforePause updates with no channel playing, the
    // device's mixer is paused (where the device can pause); the next channel
    // to play resumes it first.
    bool DevicePaused() const { return devicePaused_; }
    // The host calls this after every update.
    void AfterUpdate();
    // A key or button went down: a paused device resumes now, between
    // updates, so that a note the input starts at the next update sounds as
    // soon as any other (a resumed device mixes its first period a period
    // late). With nothing played it pauses again after the same silence.
    void ResumeForInput();
    static constexpr int kSilentUpdatesBeforePause = 100;  // 2 s at 50 updates/s
    // Off by default; the host switches it on.
    void SetDevicePause(bool pause);
    // The source name behind a channel (0 = none yet).
    unsigned int ChannelSource(int channel) const { return channels_[channel].source; }
    // The OpenAL table the driver calls (tools query their sources through it).
    OpenAlApi& Al() { return *al_; }

private:
    static constexpr float kUnknown = -1;
    struct Channel {
        unsigned int source = 0;
        std::shared_ptr<gxtkSample> sample;
        int flags = 0;
        int state = audio::kStopped;
        // Last gain and rate given to the source; kUnknown: not known.
        float gain = kUnknown;
        float rate = kUnknown;
        // Given before the device opened, for the source the channel gets.
        float wantedGain = kUnknown;
        float wantedRate = kUnknown;
        bool panWanted = false;
        float wantedPan = 0;
    };
    // A decoded file, as a buffer is made from it; no data when it can't be read.
    struct DecodedAudio {
        std::unique_ptr<unsigned char, void (*)(void*)> data{nullptr, std::free};
        int size = 0;
        int format = 0;
        int sampleRate = 0;
    };
    // A sample loaded before the device opened: its buffer is made on opening.
    struct PendingUpload {
        std::weak_ptr<gxtkSample> sample;
        DecodedAudio audio;
    };
    static constexpr int kChannelRecords = audio::kChannelCount + 1;

    struct LoopbackTag {};
    gxtkAudio(std::unique_ptr<OpenAlApi> al, LoopbackTag);
    void OpenDefaultDevice();
    void SetUpContext();
    static DecodedAudio Decode(const String& path);
    void Upload(gxtkSample& sample, const DecodedAudio& audio);
    void ClearChannels();
    bool Silent() const;
    void PauseDeviceWhenSilent();
    void ResumeDevice();
    // Makes sure the channel has a source, borrowing an idle one if OpenAL
    // can give no more.
    void AcquireSource(int channel);
    unsigned int SourceOf(int channel) {
        if (channels_[channel].source == 0) AcquireSource(channel);
        return channels_[channel].source;
    }

    std::unique_ptr<OpenAlApi> al_;
    bool hasDevice_ = false;
    bool hasContext_ = false;
    bool loopback_ = false;
    bool opened_ = true;
    std::vector<PendingUpload> pendingUploads_;
    bool devicePause_ = false;
    bool devicePaused_ = false;
    int silentUpdates_ = -1;  // updates since the last channel stopped; -1: not counting
    Channel channels_[kChannelRecords];
};
