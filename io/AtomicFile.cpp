// Atomic whole-file saves: temporary file, write, fsync, close, rename.
// A symbolic link is followed to the file it names, so the link survives; a
// file with several hard links is rewritten in place (see SaveInPlace).
#include "io/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "io/DataPath.h"

namespace {
const std::string kTemporaryMark = ".tmp-";
constexpr size_t kTemporaryLetters = 6;  // mkstemp's XXXXXX

AtomicFileFault g_fault = AtomicFileFault::None;

bool Faulted(AtomicFileFault step) { return g_fault == step; }

// The new file gets the old file's permissions, or the usual ones for a
// newly created file (mkstemp would leave it readable by the owner only).
mode_t PermissionsFor(const std::string& target) {
    struct stat existing;
    if (stat(target.c_str(), &existing) == 0) return existing.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool WriteEverything(int fd, const std::string& bytes) {
    size_t done = 0;
    const size_t limit = Faulted(AtomicFileFault::FailWriteMidway) ? bytes.size() / 2 : bytes.size();
    while (done < limit) {
        const ssize_t written = write(fd, bytes.data() + done, limit - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return done == bytes.size();
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The file a chain of symbolic links ends at (it may not exist yet: a
// dangling link is saved through by creating its target). Empty for a loop.
constexpr int kMaxLinkHops = 40;

std::string FollowLinks(std::string path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::vector<char> buffer(PATH_MAX + 1);
        const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
        if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return std::string();
        const std::string target(buffer.data(), static_cast<size_t>(length));
        path = target[0] == '/' ? target : FolderOf(path) + "/" + target;
    }
    return std::string();
}

bool HasOtherHardLinks(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink > 1;
}

// A rename would give this name a new inode and cut it off from its other
// links, which would keep the old song. Writing in place keeps every link on
// the same data; the price is that a kill during the write can leave a mixed
// file, so the bytes are synced before the call reports success.
bool SaveInPlace(const std::string& target, const std::string& bytes) {
    const int fd = Faulted(AtomicFileFault::FailOpen) ? -1 : open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = WriteEverything(fd, bytes);
    ok = ok && ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
    ok = ok && !Faulted(AtomicFileFault::FailSync) && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    return ok;
}

// Makes the rename itself durable; the save already succeeded if this fails.
void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}
}  // namespace

void SetAtomicFileFaultForTesting(AtomicFileFault fault) { g_fault = fault; }

bool SaveFileAtomically(const String& path, const std::string& bytes) {
    const String mapped = MapToFilePath(path);
    if (mapped.Empty()) return false;
    const std::string target = FollowLinks(mapped.ToBytes());
    if (target.empty()) return false;
    if (HasOtherHardLinks(target)) return SaveInPlace(target, bytes);

    std::string pattern = target + kTemporaryMark + std::string(kTemporaryLetters, 'X');
    std::vector<char> temporary(pattern.begin(), pattern.end());
    temporary.push_back('\0');
    const int fd = Faulted(AtomicFileFault::FailOpen) ? -1 : mkstemp(temporary.data());
    if (fd < 0) return false;
    const char* temporaryPath = temporary.data();

    bool ok = fchmod(fd, PermissionsFor(target)) == 0;
    ok = ok && WriteEverything(fd, bytes);
    ok = ok && !Faulted(AtomicFileFault::FailSync) && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && !Faulted(AtomicFileFault::FailRename) && std::rename(temporaryPath, target.c_str()) == 0;
    if (!ok) {
        unlink(temporaryPath);
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}

bool IsTemporarySaveName(const std::string& fileName) {
    const size_t suffix = kTemporaryMark.size() + kTemporaryLetters;
    if (fileName.size() <= suffix) return false;
    const size_t mark = fileName.size() - suffix;
    if (fileName.compare(mark, kTemporaryMark.size(), kTemporaryMark) != 0) return false;
    for (size_t i = mark + kTemporaryMark.size(); i < fileName.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(fileName[i]))) return false;
    return true;
}

int RemoveStaleTemporaryFiles(const String& folder, int minimumAgeSeconds) {
    const String mapped = MapToFilePath(folder);
    if (mapped.Empty()) return 0;
    const std::string path = mapped.ToBytes();
    DIR* dir = opendir(path.c_str());
    if (!dir) return 0;
    const time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (!IsTemporarySaveName(name)) continue;
        const std::string file = path + "/" + name;
        struct stat info;
        if (lstat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) continue;
        if (now - info.st_mtime < minimumAgeSeconds) continue;
        if (unlink(file.c_str()) == 0) ++removed;
    }
    closedir(dir);
    return removed;
}
