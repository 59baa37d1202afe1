// Writing the rendered sound with libsndfile. The file is written under a
// temporary name beside the target and renamed only when complete, so a
// failed or interrupted export never leaves a partial file behind. libsndfile
// writes through our own file functions: they gather its many small writes
// into large ones and keep the system's reason when a write fails.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

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

    // Creates the temporary file for a stereo file at `sampleRate`. An
    // existing output that is not a regular file (a FIFO, a device) is
    // refused; a symbolic link to a file is followed, so the file it points
    // to is replaced and the link kept.
    bool Open(const std::string& path, int sampleRate, std::string& error);
    bool Write(const int16_t* interleavedStereo, int frames, std::string& error);
    // Finishes the file and moves it to its name, replacing an older file.
    bool Commit(std::string& error);
    // Commit in two steps, for outputs that stand or fall together: Finish
    // completes the temporary file, Place moves it to its name.
    bool Finish(std::string& error);
    bool Place(std::string& error);
    // The file the output replaces (a link followed).
    const std::string& TargetPath() const { return path_; }
    // Closes and removes the temporary file.
    void Abandon();

    // The temporary file's name while one is open (for tests and clean-up).
    const std::string& TemporaryPath() const { return temporaryPath_; }

    // libsndfile's file functions, over the fields below.
    int64_t FileLength();
    int64_t Seek(int64_t offset, int whence);
    int64_t Read(void* data, int64_t count);
    int64_t WriteBytes(const void* data, int64_t count);
    int64_t Tell() const { return position_; }

private:
    bool Flush();
    std::string Failure(const std::string& libraryText) const;

    std::string path_;
    std::string temporaryPath_;
    SNDFILE* file_ = nullptr;
    int fd_ = -1;
    std::vector<char> pending_;  // bytes not yet written, from pendingStart_ on
    int64_t pendingStart_ = 0;
    int64_t position_ = 0;
    int64_t length_ = 0;
    int writeErrno_ = 0;    // the first failed write's reason
    int pendingSlot_ = -1;  // where a signal handler finds temporaryPath_
};

// Commits every output or none: when one can't be finished or placed, the
// ones already placed are taken back (their older files, if any, return) and
// failedIndex names the one that failed.
bool CommitTogether(const std::vector<SoundFileOutput*>& outputs, size_t& failedIndex, std::string& error);

// Removes stale temporary files of earlier, killed exports beside `path`:
// only names of our own pattern, owned by us and older than a minute.
void RemoveStalePartials(const std::string& path);

// Removes the temporary files of the outputs being written, if any; safe to
// call from a signal handler.
void RemovePendingOutput();
}  // namespace render
