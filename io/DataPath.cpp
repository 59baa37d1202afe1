// Data paths: bare names go to "korvanth://data/", and "korvanth:" paths map
// onto folders in the program's folder, which the platform finds once
// (io/AppDirectoryLookup.h) unless it was set first.
#include "io/DataPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "io/AppDirectoryLookup.h"

namespace {
const String kScheme = "korvanth:";
const String kDataPrefix = "korvanth://data/";
const String kInternalPrefix = "korvanth://internal/";
const String kExternalPrefix = "korvanth://external/";

struct Directories {
    bool known = false;
    String app;
    String internal;
};

Directories& CachedDirectories() {
    static Directories directories;
    return directories;
}

const Directories& KnownDirectories() {
    Directories& directories = CachedDirectories();
    if (!directories.known) SetAppDirectory(LookUpAppDirectory());
    return directories;
}
}  // namespace

String ToDataPath(const String& path) {
    const int scheme = path.Find(":/");
    if (scheme >= 0 && path.Find("/") == scheme + 1) return path;
    if (path.StartsWith("./") || path.StartsWith("/")) return path;
    return kDataPrefix + path;
}

String AppDirectory() { return KnownDirectories().app; }

void SetAppDirectory(const String& directory) {
    Directories& directories = CachedDirectories();
    directories.known = true;
    directories.app = directory;
    directories.internal = directory + "/internal";
}

String MapToFilePath(const String& path) {
    if (!path.StartsWith(kScheme)) return path;
    const Directories& directories = KnownDirectories();
    if (path.StartsWith(kDataPrefix)) return directories.app + "/data/" + path.Slice(kDataPrefix.Length());
    if (path.StartsWith(kInternalPrefix)) return directories.internal + "/" + path.Slice(kInternalPrefix.Length());
    if (path.StartsWith(kExternalPrefix)) return directories.app + "/external/" + path.Slice(kExternalPrefix.Length());
    return String();
}

FILE* OpenFile(const String& path, const char* mode) {
    const String filePath = MapToFilePath(path);
    if (filePath.Empty()) return nullptr;
    return std::fopen(filePath.ToBytes().c_str(), mode);
}

bool MakeFolder(const String& path) {
    const String mapped = MapToFilePath(path);
    if (mapped.Empty()) return false;
    const std::string folder = mapped.ToBytes();
    // Existing folders just say EEXIST; the final stat tells the outcome.
    for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1))
        mkdir(folder.substr(0, slash).c_str(), 0777);
    mkdir(folder.c_str(), 0777);
    struct stat info;
    return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

FILE* OpenRegularFile(const String& path, long long maxBytes) {
    const String filePath = MapToFilePath(path);
    if (filePath.Empty()) return nullptr;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = open(filePath.ToBytes().c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info;
    const bool fits = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && (maxBytes < 0 || info.st_size <= maxBytes);
    const int flags = fits ? fcntl(fd, F_GETFL) : -1;
    FILE* file = flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 ? fdopen(fd, "rb") : nullptr;
    if (!file) close(fd);
    return file;
}
