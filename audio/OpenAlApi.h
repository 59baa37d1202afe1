// The thin table of OpenAL calls the driver makes. The real one forwards to
// libopenal; tests substitute a recording fake. Device and context handles
// live inside the table, so callers never see ALC types.
#pragma once

#include <cstdint>
#include <memory>

class OpenAlApi {
public:
    virtual ~OpenAlApi() = default;

    // Device and context. A null name opens the default device.
    virtual bool OpenDevice(const char* name) = 0;
    // A loopback device rendering stereo at the rate, with its context
    // created and current; false when the extension or format is missing.
    virtual bool OpenLoopbackDevice(int sampleRate) = 0;
    virtual bool CreateContext() = 0;
    virtual bool MakeContextCurrent() = 0;
    // Interleaved 16-bit stereo from a loopback device; false otherwise.
    virtual bool RenderSamples(int16_t* interleavedStereo, int frames) = 0;
    // The mixer's own float samples (full scale +-1.0) from a loopback device.
    virtual bool RenderFloatSamples(float* /*interleavedStereo*/, int /*frames*/) { return false; }

    virtual void DistanceModel(int model) = 0;
    virtual int GetError() = 0;

    // The name alGenSources wrote, or 0 when it wrote none.
    virtual unsigned int GenSource() = 0;
    virtual void SourceStop(unsigned int source) = 0;
    virtual void SourcePlay(unsigned int source) = 0;
    virtual void SourcePause(unsigned int source) = 0;
    virtual void Sourcei(unsigned int source, int param, int value) = 0;
    virtual void Sourcef(unsigned int source, int param, float value) = 0;
    virtual void Source3f(unsigned int source, int param, float x, float y, float z) = 0;
    // AL_SOURCE_STATE of the source.
    virtual int SourceState(unsigned int source) = 0;

    // alGetSourcei and alGetSourcef of one value.
    virtual int GetSourcei(unsigned int /*source*/, int /*param*/) { return 0; }
    virtual float GetSourcef(unsigned int /*source*/, int /*param*/) { return 0; }
    // The source's read position with its fraction (32.32 fixed point sample
    // offset), where the library reports one (AL_SOFT_source_latency); then
    // CanReportExactOffsets is true.
    virtual bool CanReportExactOffsets() { return false; }
    virtual int64_t ExactSampleOffset(unsigned int /*source*/) { return 0; }

    virtual unsigned int GenBuffer() = 0;
    virtual void BufferData(unsigned int buffer, int format, const void* data, int size, int sampleRate) = 0;
    virtual void DeleteBuffer(unsigned int buffer) = 0;

    // Pauses or resumes the device's mixing (ALC_SOFT_pause_device); false
    // when the device can't, and then it mixes on as before.
    virtual bool PauseDevice(bool /*pause*/) { return false; }
};

// The table over the platform's OpenAL library (a LibraryOpenAl, defined in
// the platform's file: audio/linux/OpenAlSoftApi.cpp on the desktop).
std::unique_ptr<OpenAlApi> MakeOpenAlApi();
