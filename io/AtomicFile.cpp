// Atomic whole-file saves: temporary file, write, fsync, close, rename.
#include "io/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "io/DataPath.h"

namespace {
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
    const std::string target = mapped.ToBytes();

    std::string pattern = target + ".tmp-XXXXXX";
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
