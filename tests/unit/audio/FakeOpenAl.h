// A recording fake of the OpenAL table: sources, buffers and their states as
// OpenAL keeps them, a source limit, and a readable log of every call.
#pragma once

#include <AL/al.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "audio/OpenAlApi.h"

class FakeOpenAl : public OpenAlApi {
public:
    std::vector<std::string> log;
    std::set<std::string> openableDevices = {"default"};
    bool contextCreates = true;
    bool contextBecomesCurrent = true;
    size_t sourceLimit = 256;

    std::map<unsigned int, int> sourceState;
    std::map<unsigned int, unsigned int> sourceBuffer;
    std::set<unsigned int> buffers;

    void Clear() { log.clear(); }
    // A one-shot sample reaching its end.
    void Finish(unsigned int source) { sourceState[source] = AL_STOPPED; }
    int Count(const std::string& prefix) const {
        int count = 0;
        for (const auto& line : log) count += line.compare(0, prefix.size(), prefix) == 0;
        return count;
    }

    bool OpenDevice(const char* name) override {
        const std::string device = name ? name : "default";
        log.push_back("OpenDevice " + device);
        return openableDevices.count(device) > 0;
    }
    bool OpenLoopbackDevice(int) override { return false; }
    bool CreateContext() override {
        log.push_back("CreateContext");
        return contextCreates;
    }
    bool MakeContextCurrent() override {
        log.push_back("MakeContextCurrent");
        return contextBecomesCurrent;
    }
    bool RenderSamples(int16_t*, int) override { return false; }
    bool PauseDevice(bool pause) override {
        log.push_back(pause ? "PauseDevice" : "ResumeDevice");
        return true;
    }
    void DistanceModel(int model) override { log.push_back("DistanceModel " + std::to_string(model)); }
    int GetError() override {
        const int error = error_;
        error_ = AL_NO_ERROR;
        return error;
    }

    unsigned int GenSource() override {
        log.push_back("GenSource");
        if (sourceState.size() >= sourceLimit) {
            error_ = AL_INVALID_VALUE;
            return 0;
        }
        const unsigned int source = nextName_++;
        sourceState[source] = AL_INITIAL;
        return source;
    }
    void SourceStop(unsigned int source) override {
        log.push_back("SourceStop " + std::to_string(source));
        if (Known(source)) sourceState[source] = AL_STOPPED;
    }
    void SourcePlay(unsigned int source) override {
        log.push_back("SourcePlay " + std::to_string(source));
        if (Known(source)) sourceState[source] = AL_PLAYING;
    }
    void SourcePause(unsigned int source) override {
        log.push_back("SourcePause " + std::to_string(source));
        if (Known(source) && sourceState[source] == AL_PLAYING) sourceState[source] = AL_PAUSED;
    }
    void Sourcei(unsigned int source, int param, int value) override {
        log.push_back("Sourcei " + std::to_string(source) + " " + ParamName(param) + " " + std::to_string(value));
        if (!Known(source)) return;
        if (param == AL_BUFFER) {
            const int state = sourceState[source];
            if (state == AL_PLAYING || state == AL_PAUSED) {
                error_ = AL_INVALID_OPERATION;
                return;
            }
            sourceBuffer[source] = static_cast<unsigned int>(value);
        }
    }
    void Sourcef(unsigned int source, int param, float value) override {
        log.push_back("Sourcef " + std::to_string(source) + " " + ParamName(param) + " " + Number(value));
    }
    void Source3f(unsigned int source, int param, float x, float y, float z) override {
        log.push_back("Source3f " + std::to_string(source) + " " + ParamName(param) + " " + Number(x) + " " +
                      Number(y) + " " + Number(z));
    }
    int SourceState(unsigned int source) override {
        log.push_back("SourceState " + std::to_string(source));
        if (!Known(source)) {
            error_ = AL_INVALID_NAME;
            return AL_INITIAL;
        }
        return sourceState[source];
    }
    unsigned int GenBuffer() override {
        const unsigned int buffer = nextName_++;
        buffers.insert(buffer);
        log.push_back("GenBuffer " + std::to_string(buffer));
        return buffer;
    }
    void BufferData(unsigned int buffer, int format, const void*, int size, int sampleRate) override {
        log.push_back("BufferData " + std::to_string(buffer) + " format " + std::to_string(format) + " size " +
                      std::to_string(size) + " rate " + std::to_string(sampleRate));
    }
    void DeleteBuffer(unsigned int buffer) override {
        log.push_back("DeleteBuffer " + std::to_string(buffer));
        for (const auto& attached : sourceBuffer) {
            if (attached.second == buffer) {
                error_ = AL_INVALID_OPERATION;
                return;
            }
        }
        buffers.erase(buffer);
    }

    static std::string Number(float value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.4g", static_cast<double>(value));
        return text;
    }

private:
    bool Known(unsigned int source) const { return sourceState.count(source) > 0; }
    static std::string ParamName(int param) {
        switch (param) {
            case AL_BUFFER:
                return "BUFFER";
            case AL_LOOPING:
                return "LOOPING";
            case AL_GAIN:
                return "GAIN";
            case AL_PITCH:
                return "PITCH";
            case AL_POSITION:
                return "POSITION";
            default:
                return std::to_string(param);
        }
    }
    int error_ = AL_NO_ERROR;
    unsigned int nextName_ = 1;
};
