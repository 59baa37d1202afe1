// libsndfile output through a temporary file beside the target. The pending
// temporary name is also kept in a fixed buffer so that an interrupt handler
// can remove it without allocating.
#include "tools/render/SoundFileOutput.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace render {
namespace {
constexpr double kVorbisQuality = 0.6;
constexpr size_t kPendingPathBytes = 4096;
// Writes reach the system in pieces of this size (one tick is 3.5 KB).
constexpr size_t kWriteBytes = size_t{1} << 20;
constexpr char kPartialMarker[] = ".partial-";
constexpr int kPartialSuffixLength = 6;  // mkstemp's XXXXXX
constexpr time_t kStaleSeconds = 60;

// The temporary files a signal handler must remove, one slot per output
// open at once (the mix and its four stems); a slot is free when not marked.
constexpr int kPendingSlots = 8;
char g_pendingPath[kPendingSlots][kPendingPathBytes];
volatile std::sig_atomic_t g_pending[kPendingSlots] = {};

// The slot now holding `path`, or -1 when none is free.
int SetPending(const std::string& path) {
    if (path.empty() || path.size() >= kPendingPathBytes) return -1;
    for (int slot = 0; slot < kPendingSlots; ++slot) {
        if (g_pending[slot]) continue;
        std::memcpy(g_pendingPath[slot], path.c_str(), path.size() + 1);
        g_pending[slot] = 1;
        return slot;
    }
    return -1;
}

void ClearPending(int& slot) {
    if (slot >= 0) g_pending[slot] = 0;
    slot = -1;
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

sf_count_t VirtualLength(void* self) { return static_cast<SoundFileOutput*>(self)->FileLength(); }
sf_count_t VirtualSeek(sf_count_t offset, int whence, void* self) {
    return static_cast<SoundFileOutput*>(self)->Seek(offset, whence);
}
sf_count_t VirtualRead(void* data, sf_count_t count, void* self) {
    return static_cast<SoundFileOutput*>(self)->Read(data, count);
}
sf_count_t VirtualWrite(const void* data, sf_count_t count, void* self) {
    return static_cast<SoundFileOutput*>(self)->WriteBytes(data, count);
}
sf_count_t VirtualTell(void* self) { return static_cast<SoundFileOutput*>(self)->Tell(); }

// ".NAME.partial-XXXXXX" with a known sound extension in NAME.
bool IsPartialName(const std::string& name) {
    const size_t marker = name.rfind(kPartialMarker);
    if (name.size() < 2 || name[0] != '.' || marker == std::string::npos ||
        name.size() - marker - (sizeof kPartialMarker - 1) != kPartialSuffixLength)
        return false;
    return SoundFileFormatFor(name.substr(1, marker - 1)) != 0;
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
    std::string target = path;
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            error = "cannot write output (Is a directory)";
            return false;
        }
        // A FIFO or device can't be replaced by renaming a file over it, and
        // writing a sound file into one (with its header rewritten at the end)
        // can't work: say so rather than replace it.
        if (!S_ISREG(existing.st_mode)) {
            error = "is not a regular file (a FIFO, device or socket); choose a file name";
            return false;
        }
        struct stat link {};
        if (lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            char resolved[PATH_MAX];
            if (realpath(path.c_str(), resolved)) target = resolved;
        }
    }
    std::string pattern = DirectoryOf(target) + "/." + BaseNameOf(target) + kPartialMarker + "XXXXXX";
    fd_ = mkstemp(pattern.data());
    if (fd_ < 0) {
        error = std::string("cannot write output (") + std::strerror(errno) + ")";
        return false;
    }
    temporaryPath_ = pattern;
    path_ = target;
    pendingSlot_ = SetPending(temporaryPath_);
    ApplyUmaskPermissions(fd_);
    pending_.clear();
    pending_.reserve(kWriteBytes);
    pendingStart_ = position_ = length_ = 0;
    writeErrno_ = 0;
    static SF_VIRTUAL_IO io = {VirtualLength, VirtualSeek, VirtualRead, VirtualWrite, VirtualTell};
    file_ = sf_open_virtual(&io, SFM_WRITE, &info, this);
    if (!file_) {
        error = Failure(sf_strerror(nullptr));
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
    if (sf_writef_short(file_, interleavedStereo, frames) != frames || writeErrno_ != 0) {
        error = Failure(sf_strerror(file_));
        return false;
    }
    return true;
}

std::string SoundFileOutput::Failure(const std::string& libraryText) const {
    return "cannot write output (" + (writeErrno_ != 0 ? std::string(std::strerror(writeErrno_)) : libraryText) + ")";
}

bool SoundFileOutput::Flush() {
    size_t done = 0;
    while (done < pending_.size() && writeErrno_ == 0) {
        const ssize_t wrote = pwrite(fd_, pending_.data() + done, pending_.size() - done,
                                     static_cast<off_t>(pendingStart_ + static_cast<int64_t>(done)));
        if (wrote > 0)
            done += static_cast<size_t>(wrote);
        else if (wrote < 0 && errno == EINTR)
            continue;
        else
            writeErrno_ = wrote < 0 ? errno : EIO;
    }
    pendingStart_ += static_cast<int64_t>(pending_.size());
    pending_.clear();
    return writeErrno_ == 0;
}

int64_t SoundFileOutput::FileLength() { return length_; }

int64_t SoundFileOutput::Seek(int64_t offset, int whence) {
    const int64_t base = whence == SEEK_CUR ? position_ : whence == SEEK_END ? length_ : 0;
    if (base + offset < 0) return -1;
    position_ = base + offset;
    return position_;
}

int64_t SoundFileOutput::Read(void* data, int64_t count) {
    if (!Flush()) return 0;
    pendingStart_ = position_;
    const ssize_t got = pread(fd_, data, static_cast<size_t>(count), static_cast<off_t>(position_));
    if (got <= 0) return 0;
    position_ += got;
    return got;
}

int64_t SoundFileOutput::WriteBytes(const void* data, int64_t count) {
    if (writeErrno_ != 0) return 0;
    // A write elsewhere than right after the gathered bytes (a header
    // rewrite) sends those first.
    if (position_ != pendingStart_ + static_cast<int64_t>(pending_.size())) {
        if (!Flush()) return 0;
        pendingStart_ = position_;
    }
    const char* bytes = static_cast<const char*>(data);
    pending_.insert(pending_.end(), bytes, bytes + count);
    position_ += count;
    if (position_ > length_) length_ = position_;
    if (pending_.size() >= kWriteBytes && !Flush()) return 0;
    return count;
}

bool SoundFileOutput::Commit(std::string& error) { return Finish(error) && Place(error); }

bool SoundFileOutput::Finish(std::string& error) {
    if (!file_) {
        error = "cannot write output (not open)";
        return false;
    }
    const int closed = sf_close(file_);
    file_ = nullptr;
    bool written = closed == 0 && Flush();
    if (written && fsync(fd_) != 0) {
        writeErrno_ = errno;
        written = false;
    }
    if (close(fd_) != 0 && written) {
        writeErrno_ = errno;
        written = false;
    }
    fd_ = -1;
    if (!written) {
        error = Failure(sf_error_number(closed));
        Abandon();
        return false;
    }
    return true;
}

bool SoundFileOutput::Place(std::string& error) {
    if (temporaryPath_.empty() || file_ || fd_ >= 0) {
        error = "cannot write output (not finished)";
        return false;
    }
    if (std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
        error = std::string("cannot write output (") + std::strerror(errno) + ")";
        Abandon();
        return false;
    }
    ClearPending(pendingSlot_);
    temporaryPath_.clear();
    return true;
}

void SoundFileOutput::Abandon() {
    if (file_) {
        sf_close(file_);
        file_ = nullptr;
    }
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    pending_.clear();
    if (!temporaryPath_.empty()) {
        ClearPending(pendingSlot_);
        unlink(temporaryPath_.c_str());
        temporaryPath_.clear();
    }
}

namespace {
// The regular file at path kept under a partial name beside it until the
// outputs are all in place: a hard link (the name keeps its file meanwhile),
// or the file itself moved aside where links don't work. Empty when there is
// no older file; false when it can't be kept.
bool KeepOlder(const std::string& path, std::string& kept, bool& movedAside) {
    kept.clear();
    movedAside = false;
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return true;
    std::string pattern = DirectoryOf(path) + "/." + BaseNameOf(path) + kPartialMarker + "XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return false;
    close(fd);
    unlink(pattern.c_str());
    if (link(path.c_str(), pattern.c_str()) != 0) {
        if (std::rename(path.c_str(), pattern.c_str()) != 0) return false;
        movedAside = true;
    }
    kept = pattern;
    return true;
}

void PutBackOlder(const std::string& path, const std::string& kept) {
    if (kept.empty())
        unlink(path.c_str());
    else
        std::rename(kept.c_str(), path.c_str());
}
}  // namespace

bool CommitTogether(const std::vector<SoundFileOutput*>& outputs, size_t& failedIndex, std::string& error) {
    for (size_t i = 0; i < outputs.size(); ++i) {
        if (!outputs[i]->Finish(error)) {
            failedIndex = i;
            return false;
        }
    }
    std::vector<std::string> kept(outputs.size());
    std::vector<bool> movedAside(outputs.size(), false);
    size_t placed = 0;
    bool ok = true;
    for (; placed < outputs.size(); ++placed) {
        bool aside = false;
        if (!KeepOlder(outputs[placed]->TargetPath(), kept[placed], aside)) {
            error = std::string("cannot write output (") + std::strerror(errno) + ")";
            ok = false;
            break;
        }
        movedAside[placed] = aside;
        if (!outputs[placed]->Place(error)) {
            ok = false;
            break;
        }
    }
    if (ok) {
        for (const std::string& name : kept)
            if (!name.empty()) unlink(name.c_str());
        return true;
    }
    failedIndex = placed;
    // The one that failed was not placed: its older file goes back only if
    // it was moved aside. The ones before it are taken back.
    if (placed < outputs.size() && !kept[placed].empty()) {
        if (movedAside[placed])
            std::rename(kept[placed].c_str(), outputs[placed]->TargetPath().c_str());
        else
            unlink(kept[placed].c_str());
    }
    for (size_t i = 0; i < placed; ++i) PutBackOlder(outputs[i]->TargetPath(), kept[i]);
    for (SoundFileOutput* output : outputs) output->Abandon();
    return false;
}

void RemoveStalePartials(const std::string& path) {
    const std::string folder = DirectoryOf(path);
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    const time_t now = std::time(nullptr);
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (!IsPartialName(name)) continue;
        const std::string full = folder + "/" + name;
        struct stat info {};
        if (lstat(full.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid() &&
            now - info.st_mtime > kStaleSeconds)
            unlink(full.c_str());
    }
    closedir(dir);
}

void RemovePendingOutput() {
    for (int slot = 0; slot < kPendingSlots; ++slot)
        if (g_pending[slot]) unlink(g_pendingPath[slot]);
}
}  // namespace render
