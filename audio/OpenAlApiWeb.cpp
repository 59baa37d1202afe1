// The OpenAL table for the page: emscripten's OpenAL over WebAudio. It has
// no loopback device and no output limiter, so the page renders nothing
// offline (the export tool stays on the desktop); pausing the device
// suspends the page's audio context.
#include <AL/al.h>
#include <AL/alc.h>

#include "audio/OpenAlApi.h"

namespace {

using DevicePauseFunction = void (*)(ALCdevice*);

class WebOpenAl : public OpenAlApi {
public:
    ~WebOpenAl() override {
        if (context_) {
            if (alcGetCurrentContext() == context_) alcMakeContextCurrent(nullptr);
            alcDestroyContext(context_);
        }
        if (device_) alcCloseDevice(device_);
    }

    bool OpenDevice(const char* name) override {
        device_ = alcOpenDevice(name);
        return device_ != nullptr;
    }
    bool OpenLoopbackDevice(int /*sampleRate*/) override { return false; }
    bool CreateContext() override {
        context_ = alcCreateContext(device_, nullptr);
        return context_ != nullptr;
    }
    bool MakeContextCurrent() override { return alcMakeContextCurrent(context_) == ALC_TRUE; }
    bool RenderSamples(int16_t* /*interleavedStereo*/, int /*frames*/) override { return false; }

    bool PauseDevice(bool pause) override {
        if (!device_ || !alcIsExtensionPresent(device_, "ALC_SOFT_pause_device")) return false;
        auto function = reinterpret_cast<DevicePauseFunction>(
            alcGetProcAddress(device_, pause ? "alcDevicePauseSOFT" : "alcDeviceResumeSOFT"));
        if (!function) return false;
        function(device_);
        return alcGetError(device_) == ALC_NO_ERROR;
    }

    void DistanceModel(int model) override { alDistanceModel(model); }
    int GetError() override { return alGetError(); }

    unsigned int GenSource() override {
        ALuint source = 0;
        alGenSources(1, &source);
        return source;
    }
    void SourceStop(unsigned int source) override { alSourceStop(source); }
    void SourcePlay(unsigned int source) override { alSourcePlay(source); }
    void SourcePause(unsigned int source) override { alSourcePause(source); }
    void Sourcei(unsigned int source, int param, int value) override { alSourcei(source, param, value); }
    void Sourcef(unsigned int source, int param, float value) override { alSourcef(source, param, value); }
    void Source3f(unsigned int source, int param, float x, float y, float z) override {
        alSource3f(source, param, x, y, z);
    }
    int SourceState(unsigned int source) override {
        ALint state = AL_INITIAL;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        return state;
    }

    unsigned int GenBuffer() override {
        ALuint buffer = 0;
        alGenBuffers(1, &buffer);
        return buffer;
    }
    void BufferData(unsigned int buffer, int format, const void* data, int size, int sampleRate) override {
        alBufferData(buffer, format, data, size, sampleRate);
    }
    void DeleteBuffer(unsigned int buffer) override { alDeleteBuffers(1, &buffer); }

private:
    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
};

}  // namespace

std::unique_ptr<OpenAlApi> MakeOpenAlApi() { return std::make_unique<WebOpenAl>(); }
