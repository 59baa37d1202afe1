// libsndfile output through a temporary file beside the target. The pending
// temporary name is also kept in a fixed buffer so that an interrupt handler
// can remove it without allocating.
#include "tools/render/SoundFileOutput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace render {
namespace {
constexpr double kVorbisQuality = 0.6;
constexpr size_t kPendingPathBytes = 4096;

// The temporary file a signal handler must remove; empty when none.
char g_pendingPath[kPendingPathBytes];
volatile std::sig_atomic_t g_pending = 0;

void SetPending(const std::string& path) {
    g_pending = 0;
    if (path.empty() || path.size() >= kPendingPathBytes) return;
    std::memcpy(g_pendingPath, path.c_str(), path.size() + 1);
    g_pending = 1;
}

std::string Lowercase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// New files get the permissions the user's umask gives, not mkstemp's 0600.
void ApplyUmaskPermissions(int fd) {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
}
}  // namespace

int SoundFileFormatFor(const std::string& path) {
    const std::string name = Lowercase(BaseNameOf(path));
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return 0;
    const std::string extension = name.substr(dot);
    if (extension == ".wav") return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    if (extension == ".flac") return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    if (extension == ".ogg") return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    return 0;
}

int64_t MaxFramesFor(int format) {
    constexpr int64_t kHeaderReserve = 4096;
    constexpr int64_t kBytesPerFrame = 4;
    if ((format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV) return (int64_t{UINT32_MAX} - kHeaderReserve) / kBytesPerFrame;
    return INT64_MAX;
}

SoundFileOutput::~SoundFileOutput() { Abandon(); }

bool SoundFileOutput::Open(const std::string& path, int sampleRate, std::string& error) {
    Abandon();
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = SoundFileFormatFor(path);
    if (info.format == 0 || !sf_format_check(&info)) {
        error = "unknown output format (use .wav, .flac or .ogg)";
        return false;
    }
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
        error = "cannot write output (Is a directory)";
        return false;
    }
    std::string pattern = DirectoryOf(path) + "/." + BaseNameOf(path) + ".partial-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        error = std::string("cannot write output (") + std::strerror(errno) + ")";
        return false;
    }
    temporaryPath_ = pattern;
    path_ = path;
    SetPending(temporaryPath_);
    ApplyUmaskPermissions(fd);
    file_ = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
    if (!file_) {
        error = std::string("cannot write output (") + sf_strerror(nullptr) + ")";
        close(fd);
        Abandon();
        return false;
    }
    if ((info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_VORBIS) {
        double quality = kVorbisQuality;
        sf_command(file_, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    }
    return true;
}

bool SoundFileOutput::Write(const int16_t* interleavedStereo, int frames, std::string& error) {
    if (!file_) {
        error = "cannot write output (not open)";
        return false;
    }
    if (sf_writef_short(file_, interleavedStereo, frames) != frames) {
        error = std::string("cannot write output (") + sf_strerror(file_) + ")";
        return false;
    }
    return true;
}

bool SoundFileOutput::Commit(std::string& error) {
    if (!file_) {
        error = "cannot write output (not open)";
        return false;
    }
    sf_write_sync(file_);
    const int closed = sf_close(file_);
    file_ = nullptr;
    if (closed != 0) {
        error = std::string("cannot write output (") + sf_error_number(closed) + ")";
        Abandon();
        return false;
    }
    if (std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
        error = std::string("cannot write output (") + std::strerror(errno) + ")";
        Abandon();
        return false;
    }
    g_pending = 0;
    temporaryPath_.clear();
    return true;
}

void SoundFileOutput::Abandon() {
    if (file_) {
        sf_close(file_);
        file_ = nullptr;
    }
    if (!temporaryPath_.empty()) {
        g_pending = 0;
        unlink(temporaryPath_.c_str());
        temporaryPath_.clear();
    }
}

void RemovePendingOutput() {
    if (g_pending) unlink(g_pendingPath);
}
}  // namespace render
