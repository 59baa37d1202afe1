// The program's folder on Linux: the folder of the executable, read from the
// /proc/<pid>/exe link.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "io/AppDirectoryLookup.h"

namespace {
constexpr int kExecutablePathBytes = 4096;
}

// A path we cannot resolve leaves every data file unreachable; stopping at
// once is clearer than failing on each file later.
String LookUpAppDirectory() {
    char link[32];
    std::snprintf(link, sizeof link, "/proc/%i/exe", static_cast<int>(getpid()));
    char buffer[kExecutablePathBytes];
    const ssize_t length = readlink(link, buffer, sizeof buffer);
    if (length < 0 || length >= kExecutablePathBytes) std::abort();
    const std::string path(buffer, static_cast<size_t>(length));
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) std::abort();
    return String(path.substr(0, slash));
}
