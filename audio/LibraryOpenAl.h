// LibraryOpenAl: the OpenAlApi over an OpenAL library's core calls (AL 1.1,
// ALC 1.1) and the device pause most libraries offer. Loopback rendering and
// exact source positions are extensions: this base says it has none, and the
// platform's file derives from it to add them (audio/linux/OpenAlSoftApi.cpp).
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include "audio/OpenAlApi.h"

class LibraryOpenAl : public OpenAlApi {
public:
    ~LibraryOpenAl() override;

    bool OpenDevice(const char* name) override;
    bool OpenLoopbackDevice(int /*sampleRate*/) override { return false; }
    bool CreateContext() override;
    bool MakeContextCurrent() override;
    bool PauseDevice(bool pause) override;
    bool RenderSamples(int16_t* /*interleavedStereo*/, int /*frames*/) override { return false; }

    void DistanceModel(int model) override { alDistanceModel(model); }
    int GetError() override { return alGetError(); }

    unsigned int GenSource() override;
    void SourceStop(unsigned int source) override { alSourceStop(source); }
    void SourcePlay(unsigned int source) override { alSourcePlay(source); }
    void SourcePause(unsigned int source) override { alSourcePause(source); }
    void Sourcei(unsigned int source, int param, int value) override { alSourcei(source, param, value); }
    void Sourcef(unsigned int source, int param, float value) override { alSourcef(source, param, value); }
    void Source3f(unsigned int source, int param, float x, float y, float z) override {
        alSource3f(source, param, x, y, z);
    }
    int SourceState(unsigned int source) override;
    int GetSourcei(unsigned int source, int param) override;
    float GetSourcef(unsigned int source, int param) override;

    unsigned int GenBuffer() override;
    void BufferData(unsigned int buffer, int format, const void* data, int size, int sampleRate) override {
        alBufferData(buffer, format, data, size, sampleRate);
    }
    void DeleteBuffer(unsigned int buffer) override { alDeleteBuffers(1, &buffer); }

protected:
    // Owned: the context is destroyed and the device closed with the table.
    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
};
