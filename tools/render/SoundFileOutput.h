// Writing the rendered sound with libsndfile. The file is written under a
// temporary name beside the target and renamed only when complete, so a
// failed or interrupted export never leaves a partial file behind.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>

namespace render {
// The libsndfile format for the output's extension (.wav, .flac, .ogg in any
// case), or 0 when the extension is not one of them.
int SoundFileFormatFor(const std::string& path);

// The most stereo frames a file of that format can hold (a WAV file's sizes
// are 32-bit); no limit is returned as INT64_MAX.
int64_t MaxFramesFor(int format);

class SoundFileOutput {
public:
    SoundFileOutput() = default;
    SoundFileOutput(const SoundFileOutput&) = delete;
    SoundFileOutput& operator=(const SoundFileOutput&) = delete;
    // Removes the temporary file unless Commit succeeded.
    ~SoundFileOutput();

    // Creates the temporary file for a stereo file at `sampleRate`.
    bool Open(const std::string& path, int sampleRate, std::string& error);
    bool Write(const int16_t* interleavedStereo, int frames, std::string& error);
    // Finishes the file and moves it to its name, replacing an older file.
    bool Commit(std::string& error);
    // Closes and removes the temporary file.
    void Abandon();

    // The temporary file's name while one is open (for tests and clean-up).
    const std::string& TemporaryPath() const { return temporaryPath_; }

private:
    std::string path_;
    std::string temporaryPath_;
    SNDFILE* file_ = nullptr;
};

// Removes the temporary file of the output being written, if any; safe to call
// from a signal handler.
void RemovePendingOutput();
}  // namespace render
