// Atomic whole-file saves: temporary file, write, fsync, close, rename.
// A user's symbolic link is followed to the file it names, so the link
// survives; a user's file with several hard links is rewritten in place (see
// SaveInPlace). The program's own files replace whatever has their name.
//
// Sections: helpers, backups, saving, temporary files.
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
#include <cstring>
#include <ctime>
#include <vector>

#include "io/DataPath.h"

namespace {
const std::string kTemporaryMark = "~tmp-";
constexpr size_t kTemporaryLetters = 6;  // mkstemp's XXXXXX
constexpr size_t kCopyChunkBytes = 64 * 1024;
// Deeper sub-folders than this are not swept (a guard, not a real limit).
constexpr int kMaxSweepDepth = 32;

AtomicFileFault g_fault = AtomicFileFault::None;

bool Faulted(AtomicFileFault step) { return g_fault == step; }

std::string Describe(const std::string& path, int error) { return path + ": " + std::strerror(error); }

// The new file gets the old file's permissions, or the usual ones for a
// newly created file (mkstemp would leave it readable by the owner only).
// target is never a link here: links were followed, or are replaced.
mode_t PermissionsFor(const std::string& target) {
    struct stat existing;
    if (lstat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) return existing.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// errno is set on failure (EIO for an injected one).
bool WriteEverything(int fd, const std::string& bytes) {
    size_t done = 0;
    const size_t limit = Faulted(AtomicFileFault::FailWriteMidway) ? bytes.size() / 2 : bytes.size();
    while (done < limit) {
        const ssize_t written = write(fd, bytes.data() + done, limit - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    if (done != bytes.size()) errno = EIO;
    return done == bytes.size();
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

// A temporary file beside target, open for writing; -1 with errno set.
int CreateTemporary(const std::string& target, std::string& temporaryPath) {
    const std::string pattern =
        FolderOf(target) + "/." + BaseOf(target) + kTemporaryMark + std::string(kTemporaryLetters, 'X');
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (Faulted(AtomicFileFault::FailOpen)) {
        errno = EIO;
        return -1;
    }
    const int fd = mkstemp(name.data());
    if (fd >= 0) temporaryPath = name.data();
    return fd;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Makes the rename itself durable; the save already succeeded if this fails.
void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// ---- Backups.

bool CopyStream(int from, int to) {
    std::vector<char> chunk(kCopyChunkBytes);
    for (;;) {
        const ssize_t count = read(from, chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return false;
        if (count == 0) return true;
        if (!WriteEverything(to, std::string(chunk.data(), static_cast<size_t>(count)))) return false;
    }
}

// The temporary becomes backupPath; a link or file there is replaced.
bool PlaceBackup(const std::string& temporary, const std::string& backupPath, std::string& failure) {
    if (std::rename(temporary.c_str(), backupPath.c_str()) == 0) return true;
    failure = Describe(backupPath, errno);
    unlink(temporary.c_str());
    return false;
}

// A hard link to source under a temporary name beside backupPath; false
// when links don't work here (linksWork) or no name could be had.
bool LinkBackup(const std::string& source, const std::string& backupPath, std::string& temporary, std::string& failure,
                bool& linksWork) {
    const int fd = CreateTemporary(backupPath, temporary);
    if (fd < 0) {
        failure = Describe(FolderOf(backupPath), errno);
        return false;
    }
    // Only the free name is wanted: the link takes it.
    close(fd);
    unlink(temporary.c_str());
    if (link(source.c_str(), temporary.c_str()) == 0) return true;
    linksWork = false;
    temporary.clear();
    return false;
}

bool CopyBackup(const std::string& source, const std::string& backupPath, std::string& temporary,
                std::string& failure) {
    const int from = open(source.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    if (from < 0) {
        failure = Describe(source, errno);
        return false;
    }
    const int to = CreateTemporary(backupPath, temporary);
    if (to < 0) {
        failure = Describe(FolderOf(backupPath), errno);
        close(from);
        return false;
    }
    bool ok = fchmod(to, PermissionsFor(source)) == 0 && CopyStream(from, to) && fsync(to) == 0;
    const int error = errno;
    ok = (close(to) == 0) && ok;
    close(from);
    if (!ok) {
        failure = Describe(backupPath, error);
        unlink(temporary.c_str());
        temporary.clear();
    }
    return ok;
}

// The regular file at source, kept under a temporary name beside backupPath
// (empty when there is nothing to keep): a hard link, or a streamed copy
// where links don't work or the source is about to be rewritten in place.
// The old file is never read into memory whole.
bool PrepareBackup(const std::string& source, const std::string& backupPath, bool copyRequired, std::string& temporary,
                   std::string& failure) {
    temporary.clear();
    struct stat from;
    if (stat(source.c_str(), &from) != 0 || !S_ISREG(from.st_mode)) return true;
    struct stat existing;
    // Already the backup (left so by an earlier version's failed save).
    if (lstat(backupPath.c_str(), &existing) == 0 && SameFile(existing, from)) return true;
    bool linksWork = !copyRequired;
    if (linksWork && LinkBackup(source, backupPath, temporary, failure, linksWork)) return true;
    if (linksWork) return false;  // no temporary name could be made
    return CopyBackup(source, backupPath, temporary, failure);
}

// ---- Saving.

// A rename would give this name a new inode and cut it off from its other
// links, which would keep the old song. Writing in place keeps every link on
// the same data. The new size is reserved before the first byte changes, so
// a full disk fails the save with the old bytes intact; what remains at risk
// is a kill or an I/O error during the write itself.
bool SaveInPlace(const std::string& target, const std::string& bytes, std::string& failure) {
    const int fd = Faulted(AtomicFileFault::FailOpen) ? -1 : open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        failure = Describe(target, Faulted(AtomicFileFault::FailOpen) ? EIO : errno);
        return false;
    }
    if (!bytes.empty()) {
        const int error = posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()));
        if (error != 0 && error != EOPNOTSUPP && error != EINVAL) {
            failure = Describe(target, error);
            close(fd);
            return false;
        }
    }
    bool ok = WriteEverything(fd, bytes);
    ok = ok && ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
    ok = ok && !Faulted(AtomicFileFault::FailSync) && fsync(fd) == 0;
    const int error = Faulted(AtomicFileFault::FailSync) ? EIO : errno;
    ok = (close(fd) == 0) && ok;
    if (!ok) failure = Describe(target, error);
    return ok;
}

bool SaveByRename(const std::string& target, const std::string& bytes, std::string& failure) {
    std::string temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) {
        failure = Describe(target, errno);
        return false;
    }
    bool ok = fchmod(fd, PermissionsFor(target)) == 0;
    ok = ok && WriteEverything(fd, bytes);
    ok = ok && !Faulted(AtomicFileFault::FailSync) && fsync(fd) == 0;
    int error = Faulted(AtomicFileFault::FailSync) ? EIO : errno;
    ok = (close(fd) == 0) && ok;
    if (ok && Faulted(AtomicFileFault::FailRename)) {
        ok = false;
        error = EIO;
    }
    if (ok && std::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        failure = Describe(target, error);
        unlink(temporary.c_str());
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}
}  // namespace

void SetAtomicFileFaultForTesting(AtomicFileFault fault) { g_fault = fault; }

bool SaveFileAtomically(const String& path, const std::string& bytes, const SaveOptions& options, SaveReport* report) {
    SaveReport ignored;
    SaveReport& out = report ? *report : ignored;
    const String mapped = MapToFilePath(path);
    if (mapped.Empty()) {
        out.failure = path.ToBytes() + ": not a data path";
        return false;
    }
    const bool follow = options.links == LinkHandling::kFollow;
    const std::string target = follow ? FollowLinks(mapped.ToBytes()) : mapped.ToBytes();
    if (target.empty()) {
        out.failure = Describe(mapped.ToBytes(), ELOOP);
        return false;
    }
    // Other hard links, not counting a backup that still shares the file.
    bool inPlace = false;
    struct stat info;
    if (follow && stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        nlink_t links = info.st_nlink;
        struct stat backup;
        if (!options.backupPath.empty() && lstat(options.backupPath.c_str(), &backup) == 0 && SameFile(backup, info))
            --links;
        inPlace = links > 1;
    }
    std::string backup;
    if (!options.backupPath.empty() && !PrepareBackup(target, options.backupPath, inPlace, backup, out.backupSkipped))
        backup.clear();
    // An in-place rewrite needs its backup first: it covers a kill during
    // the write. A rename keeps the old file until it succeeds, so the
    // backup goes in place only then, and a failed save leaves the older
    // backup as it was.
    if (inPlace) {
        if (!backup.empty()) PlaceBackup(backup, options.backupPath, out.backupSkipped);
        return SaveInPlace(target, bytes, out.failure);
    }
    const bool saved = SaveByRename(target, bytes, out.failure);
    if (!backup.empty()) {
        if (saved)
            PlaceBackup(backup, options.backupPath, out.backupSkipped);
        else
            unlink(backup.c_str());
    }
    return saved;
}

// ---- Temporary files.

bool IsTemporarySaveName(const std::string& fileName) {
    const size_t suffix = kTemporaryMark.size() + kTemporaryLetters;
    if (fileName.size() <= suffix + 1 || fileName[0] != '.') return false;
    const size_t mark = fileName.size() - suffix;
    if (fileName.compare(mark, kTemporaryMark.size(), kTemporaryMark) != 0) return false;
    for (size_t i = mark + kTemporaryMark.size(); i < fileName.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(fileName[i]))) return false;
    return true;
}

namespace {
int SweepFolder(const std::string& path, time_t now, int minimumAgeSeconds, int depth) {
    DIR* dir = opendir(path.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string file = path + "/" + name;
        struct stat info;
        if (lstat(file.c_str(), &info) != 0) continue;
        if (S_ISDIR(info.st_mode)) {
            if (depth < kMaxSweepDepth) removed += SweepFolder(file, now, minimumAgeSeconds, depth + 1);
            continue;
        }
        if (!IsTemporarySaveName(name) || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) continue;
        if (now - info.st_mtime < minimumAgeSeconds) continue;
        if (unlink(file.c_str()) == 0) ++removed;
    }
    closedir(dir);
    return removed;
}
}  // namespace

int RemoveStaleTemporaryFiles(const String& folder, int minimumAgeSeconds) {
    const String mapped = MapToFilePath(folder);
    if (mapped.Empty()) return 0;
    return SweepFolder(mapped.ToBytes(), std::time(nullptr), minimumAgeSeconds, 0);
}
