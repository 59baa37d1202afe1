// The OpenAL table over libopenal (OpenAL Soft). Loopback rendering asks the
// mixer for float samples and converts them here: integer output would be
// dithered, and float output with the limiter switched off is bit-exact from
// run to run whatever the user's configuration says.
#include "audio/OpenAlApi.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <cmath>
#include <vector>

namespace {

class LibraryOpenAl : public OpenAlApi {
public:
    ~LibraryOpenAl() override {
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

    bool OpenLoopbackDevice(int sampleRate) override {
        if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) return false;
        auto openLoopback =
            reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
        auto formatSupported = reinterpret_cast<LPALCISRENDERFORMATSUPPORTEDSOFT>(
            alcGetProcAddress(nullptr, "alcIsRenderFormatSupportedSOFT"));
        render_ = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
        if (!openLoopback || !formatSupported || !render_) return false;
        device_ = openLoopback(nullptr);
        if (!device_) return false;
        if (!formatSupported(device_, sampleRate, ALC_STEREO_SOFT, ALC_FLOAT_SOFT)) return false;
        const bool limiterKnown = alcIsExtensionPresent(device_, "ALC_SOFT_output_limiter");
        std::vector<ALCint> attributes = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                                          ALC_FLOAT_SOFT,           ALC_FREQUENCY,   sampleRate};
        if (limiterKnown) {
            attributes.push_back(ALC_OUTPUT_LIMITER_SOFT);
            attributes.push_back(ALC_FALSE);
        }
        attributes.push_back(0);
        context_ = alcCreateContext(device_, attributes.data());
        if (!context_) return false;
        return alcMakeContextCurrent(context_) == ALC_TRUE;
    }

    bool CreateContext() override {
        context_ = alcCreateContext(device_, nullptr);
        return context_ != nullptr;
    }

    bool MakeContextCurrent() override { return alcMakeContextCurrent(context_) == ALC_TRUE; }

    bool PauseDevice(bool pause) override {
        if (!device_ || !alcIsExtensionPresent(device_, "ALC_SOFT_pause_device")) return false;
        const char* name = pause ? "alcDevicePauseSOFT" : "alcDeviceResumeSOFT";
        auto function = reinterpret_cast<LPALCDEVICEPAUSESOFT>(alcGetProcAddress(device_, name));
        if (!function) return false;
        function(device_);
        return alcGetError(device_) == ALC_NO_ERROR;
    }

    bool RenderSamples(int16_t* interleavedStereo, int frames) override {
        if (!render_ || !device_ || !context_ || frames < 0) return false;
        if (alcGetCurrentContext() != context_) alcMakeContextCurrent(context_);
        mix_.resize(static_cast<size_t>(frames) * 2);
        render_(device_, mix_.data(), frames);
        for (size_t i = 0; i < mix_.size(); ++i) {
            const float scaled = std::nearbyint(mix_[i] * 32768.0f);
            interleavedStereo[i] = static_cast<int16_t>(scaled > 32767.0f    ? 32767.0f
                                                        : scaled < -32768.0f ? -32768.0f
                                                                             : scaled);
        }
        return true;
    }

    bool RenderFloatSamples(float* interleavedStereo, int frames) override {
        if (!render_ || !device_ || !context_ || frames < 0) return false;
        if (alcGetCurrentContext() != context_) alcMakeContextCurrent(context_);
        render_(device_, interleavedStereo, frames);
        return true;
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
    LPALCRENDERSAMPLESSOFT render_ = nullptr;
    std::vector<float> mix_;
};

}  // namespace

std::unique_ptr<OpenAlApi> MakeOpenAlApi() { return std::make_unique<LibraryOpenAl>(); }
