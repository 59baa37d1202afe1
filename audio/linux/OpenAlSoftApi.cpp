// The OpenAL table on the Linux desktop, over OpenAL Soft: LibraryOpenAl plus
// its extensions, loopback rendering with the output limiter switched off
// and exact source positions. Loopback rendering asks the mixer for float
// samples and converts them here: integer output would be dithered, and
// float output with the limiter off is bit-exact from run to run whatever
// the user's configuration says.
#include <AL/alext.h>

#include <cmath>
#include <vector>

#include "audio/LibraryOpenAl.h"

namespace {

class OpenAlSoftApi final : public LibraryOpenAl {
public:
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

    bool CanReportExactOffsets() override { return ExactPositionQuery() != nullptr; }
    int64_t ExactSampleOffset(unsigned int source) override {
        ALint64SOFT position[2] = {0, 0};
        if (const LPALGETSOURCEI64VSOFT query = ExactPositionQuery())
            query(source, AL_SAMPLE_OFFSET_LATENCY_SOFT, position);
        return position[0];
    }

private:
    // Asked of the current context once: the answer is the library's.
    static LPALGETSOURCEI64VSOFT ExactPositionQuery() {
        static const LPALGETSOURCEI64VSOFT query =
            alIsExtensionPresent("AL_SOFT_source_latency")
                ? reinterpret_cast<LPALGETSOURCEI64VSOFT>(alGetProcAddress("alGetSourcei64vSOFT"))
                : nullptr;
        return query;
    }

    LPALCRENDERSAMPLESSOFT render_ = nullptr;
    std::vector<float> mix_;
};

}  // namespace

std::unique_ptr<OpenAlApi> MakeOpenAlApi() { return std::make_unique<OpenAlSoftApi>(); }
