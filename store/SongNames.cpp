// Song names: the typed name is checked part by part, then the deepest part
// that exists is resolved through its links and must still lie inside the
// songs folder, so neither "..", an absolute name nor a link carries a save or
// a load elsewhere. Names go to disk as UTF-8, so a file named by any other
// program (for example with an umlaut) is found.
#include "store/SongNames.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "io/DataPath.h"

const char* const kAutosaveName = "autosave";

namespace {
const String kSongFolder = "korvanth://data/songs";

bool PartsAcceptable(const String& name) {
    if (name.Trim().Empty() || name.StartsWith("/")) return false;
    for (const String& part : name.Split("/"))
        if (part.Empty() || part == "." || part == "..") return false;
    return true;
}

std::string AbsoluteFolder(std::string folder) {
    if (!folder.empty() && folder[0] == '/') return folder;
    char here[PATH_MAX];
    if (!getcwd(here, sizeof here)) return std::string();
    return std::string(here) + "/" + folder;
}

bool RealPath(const std::string& path, std::string& real) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved) return false;
    real = resolved;
    std::free(resolved);
    return true;
}

// UTF-8, except the lone surrogates a listed file name keeps its undecodable
// bytes in, which go back to disk as those bytes.
std::string NameBytes(const String& name) {
    std::string bytes;
    for (int i = 0; i < name.Length(); ++i) {
        const String::CodePoint c = name[i];
        if (c >= 0xDC80 && c <= 0xDCFF)
            bytes += static_cast<char>(c - 0xDC00);
        else
            bytes += String::FromChar(c).ToUtf8();
    }
    return bytes;
}

bool Inside(const std::string& path, const std::string& folder) {
    return path == folder || path.compare(0, folder.size() + 1, folder + "/") == 0;
}

// The deepest existing part of the path, links followed, lies in the folder.
// A folder that does not exist yet holds no links; the save then fails or
// makes it.
bool StaysInside(const std::string& path, const std::string& folder) {
    std::string folderReal;
    if (!RealPath(folder, folderReal)) return true;
    std::string candidate = path;
    while (candidate.size() > folder.size()) {
        struct stat info;
        if (lstat(candidate.c_str(), &info) == 0) {
            std::string real;
            return RealPath(candidate, real) && Inside(real, folderReal);
        }
        candidate = candidate.substr(0, candidate.rfind('/'));
    }
    return true;
}
}  // namespace

bool ResolveSongName(const String& name, String& filePath) {
    if (!PartsAcceptable(name)) return false;
    const std::string folder = AbsoluteFolder(MapToFilePath(kSongFolder).ToBytes());
    if (folder.empty()) return false;
    const std::string path = folder + "/" + NameBytes(name);
    if (!StaysInside(path, folder)) return false;
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return false;
    filePath = String(path);
    return true;
}
