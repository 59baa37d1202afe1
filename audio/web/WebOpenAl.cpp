// The OpenAL table for the page: emscripten's OpenAL over WebAudio. It has
// no loopback device and no output limiter, so the page renders nothing
// offline (the export tool stays on the desktop); pausing the device
// suspends the page's audio context.
//
// The one difference in level: a mono source in the middle reaches each
// stereo channel at 0.5957 in the desktop's OpenAL Soft (measured through
// its loopback device, 1.19.1), but at 0.7071 (equal power) in WebAudio's
// panner, 1.5 dB louder. Source gains are scaled by the ratio here, so the
// page plays at the desktop's level.
#include "audio/LibraryOpenAl.h"

namespace {
constexpr float kDesktopCentreGain = 0.5957f;
constexpr float kWebAudioCentreGain = 0.70711f;
constexpr float kToDesktopLevel = kDesktopCentreGain / kWebAudioCentreGain;

class WebOpenAl final : public LibraryOpenAl {
public:
    void Sourcef(unsigned int source, int param, float value) override {
        LibraryOpenAl::Sourcef(source, param, param == AL_GAIN ? value * kToDesktopLevel : value);
    }
    float GetSourcef(unsigned int source, int param) override {
        const float value = LibraryOpenAl::GetSourcef(source, param);
        return param == AL_GAIN ? value / kToDesktopLevel : value;
    }
};
}  // namespace

std::unique_ptr<OpenAlApi> MakeOpenAlApi() { return std::make_unique<WebOpenAl>(); }
