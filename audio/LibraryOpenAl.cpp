// LibraryOpenAl: the device and context, the device pause
// (ALC_SOFT_pause_device, looked up by name) and the source queries.
#include "audio/LibraryOpenAl.h"

LibraryOpenAl::~LibraryOpenAl() {
    if (context_) {
        if (alcGetCurrentContext() == context_) alcMakeContextCurrent(nullptr);
        alcDestroyContext(context_);
    }
    if (device_) alcCloseDevice(device_);
}

bool LibraryOpenAl::OpenDevice(const char* name) {
    device_ = alcOpenDevice(name);
    return device_ != nullptr;
}

bool LibraryOpenAl::CreateContext() {
    context_ = alcCreateContext(device_, nullptr);
    return context_ != nullptr;
}

bool LibraryOpenAl::MakeContextCurrent() { return alcMakeContextCurrent(context_) == ALC_TRUE; }

bool LibraryOpenAl::PauseDevice(bool pause) {
    if (!device_ || !alcIsExtensionPresent(device_, "ALC_SOFT_pause_device")) return false;
    const char* name = pause ? "alcDevicePauseSOFT" : "alcDeviceResumeSOFT";
    using PauseFunction = void (*)(ALCdevice*);
    auto function = reinterpret_cast<PauseFunction>(alcGetProcAddress(device_, name));
    if (!function) return false;
    function(device_);
    return alcGetError(device_) == ALC_NO_ERROR;
}

unsigned int LibraryOpenAl::GenSource() {
    ALuint source = 0;
    alGenSources(1, &source);
    return source;
}

int LibraryOpenAl::SourceState(unsigned int source) {
    ALint state = AL_INITIAL;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

int LibraryOpenAl::GetSourcei(unsigned int source, int param) {
    ALint value = 0;
    alGetSourcei(source, param, &value);
    return value;
}

float LibraryOpenAl::GetSourcef(unsigned int source, int param) {
    ALfloat value = 0;
    alGetSourcef(source, param, &value);
    return value;
}

unsigned int LibraryOpenAl::GenBuffer() {
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    return buffer;
}
