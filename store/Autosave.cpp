// The autosave rotation, the fallback folder and the start-up notice. Every
// write is the same atomic save as F11, so a failed or interrupted autosave
// never damages the previous one; the autosave files are the tracker's own
// and never written through a link.
//
// Sections: file names, the rotation, the fallback folder, the public roads.
#include "store/Autosave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "io/AtomicFile.h"
#include "song/SongFile.h"
#include "song/SongList.h"
#include "store/SongFolder.h"
#include "store/SongNames.h"

const char* const kAutosaveKeptStatus = "Autosaved: F12";

namespace {
// Left in the songs folder while the newest autosave holds work that was
// never saved under a name; hidden, so the song list does not show it.
const char* const kNoticeName = ".autosave-unsaved";
const char* const kFallbackFolderName = "zrbtracker";

void Say(const std::string& line) { std::fprintf(stderr, "zrbtracker: %s\n", line.c_str()); }

// ---- File names.

std::string RotationName(const std::string& folder, int index) {
    std::string name = folder + "/" + kAutosaveName;
    if (index > 0) name += "." + std::to_string(index);
    return name;
}

std::string SongsFolder() {
    std::string folder = SongFolderPath();
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

// ---- The rotation.

// Absent (true, present false), or a file or link the rotation may move or
// replace; anything else (a folder) stops it.
bool RotationSlotUsable(const std::string& path, bool& present, std::string& why) {
    struct stat info;
    present = lstat(path.c_str(), &info) == 0;
    if (!present && errno == ENOENT) return true;
    if (!present) {
        why = path + ": " + std::strerror(errno);
        return false;
    }
    if (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)) return true;
    why = path + ": not a file";
    return false;
}

// Moves every autosave one place down, the oldest dropping off. A slot the
// rotation can't use stops it before anything would be overwritten.
bool Rotate(const std::string& folder, std::string& why) {
    for (int index = tracker::kAutosavesKept - 1; index >= 1; --index) {
        const std::string from = RotationName(folder, index - 1);
        const std::string to = RotationName(folder, index);
        bool fromPresent = false;
        bool toPresent = false;
        if (!RotationSlotUsable(from, fromPresent, why) || !RotationSlotUsable(to, toPresent, why)) return false;
        if (!fromPresent) continue;
        if (std::rename(from.c_str(), to.c_str()) != 0) {
            why = to + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

// The newest autosave in folder: rewritten while it holds this work,
// otherwise written after the rotation made room.
bool WriteRotated(const std::string& folder, const std::string& bytes, bool& holdsThisWork, std::string& why) {
    if (!holdsThisWork && !Rotate(folder, why)) return false;
    SaveOptions options;
    options.links = LinkHandling::kReplace;
    SaveReport report;
    if (!SaveFileAtomically(String(RotationName(folder, 0)), bytes, options, &report)) {
        why = report.failure;
        return false;
    }
    holdsThisWork = true;
    return true;
}

// An empty file, made without a sync: it costs the autosave next to nothing,
// and losing it in a crash only loses a hint. A link in its place is not
// followed.
void SetNotice() {
    const std::string path = SongsFolder() + "/" + kNoticeName;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0) close(fd);
}

bool ClearNotice() {
    const std::string path = SongsFolder() + "/" + kNoticeName;
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
    unlink(path.c_str());
    return true;
}

// ---- The fallback folder.

std::string AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

std::vector<std::string> FallbackFolders() {
    std::vector<std::string> folders;
    if (const std::string state = AbsoluteVariable("XDG_STATE_HOME"); !state.empty())
        folders.push_back(state + "/" + kFallbackFolderName);
    if (const std::string home = AbsoluteVariable("HOME"); !home.empty())
        folders.push_back(home + "/.local/state/" + kFallbackFolderName);
    std::string temporary = AbsoluteVariable("TMPDIR");
    if (temporary.empty()) temporary = P_tmpdir;
    folders.push_back(temporary + "/" + kFallbackFolderName + "-" + std::to_string(geteuid()));
    return folders;
}

// Makes folder and any missing folder above it, for this user only. The
// last part must be a real folder of ours (in a shared temporary folder
// someone else could have put a link there).
bool MakePrivateFolder(const std::string& folder, std::string& why) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            why = part + ": " + std::strerror(errno);
            return false;
        }
        if (slash == std::string::npos) break;
    }
    struct stat info;
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) {
        why = folder + ": not a folder of this user";
        return false;
    }
    return true;
}

bool WriteToFallback(TrackerState& state, const std::string& bytes) {
    for (const std::string& folder : FallbackFolders()) {
        std::string why;
        if (MakePrivateFolder(folder, why) &&
            WriteRotated(folder, bytes, state.unsavedWork.fallbackHoldsThisWork, why)) {
            Say("unsaved work written to " + RotationName(folder, 0));
            return true;
        }
        Say("autosave not written: " + why);
    }
    return false;
}

enum class Fallback { kAllowed, kNone };

bool WriteAutosave(TrackerState& state, Fallback fallback, std::string& why) {
    UnsavedWork& work = state.unsavedWork;
    const std::string bytes = EncodeSong(state).ToUtf8();
    MakeSongFolder();
    if (WriteRotated(SongsFolder(), bytes, work.autosaveHoldsThisWork, why)) {
        work.changedSinceAutosave = false;
        SetNotice();
        return true;
    }
    if (fallback == Fallback::kNone) return false;
    Say("autosave not written: " + why);
    if (WriteToFallback(state, bytes)) {
        work.changedSinceAutosave = false;
        return true;
    }
    Say("unsaved work lost: no autosave could be written anywhere");
    return false;
}
}  // namespace

void AutosaveTick(TrackerState& state, double nowSeconds) {
    UnsavedWork& work = state.unsavedWork;
    if (!work.clockStarted) {
        work.clockStarted = true;
        work.lastAutosaveSeconds = nowSeconds;
    }
    if (!work.changedSinceSave || !work.changedSinceAutosave) return;
    if (nowSeconds - work.lastAutosaveSeconds < tracker::kAutosaveIntervalSeconds) return;
    // A failed write is tried again after the next full interval, not on
    // every update.
    work.lastAutosaveSeconds = nowSeconds;
    std::string why;
    WriteAutosave(state, Fallback::kAllowed, why);
}

bool SaveUnsavedWork(TrackerState& state) {
    if (!state.unsavedWork.changedSinceSave) return true;
    std::string why;
    return WriteAutosave(state, Fallback::kAllowed, why);
}

bool KeepWorkBeforeLoad(TrackerState& state, std::string& failure) {
    if (!state.unsavedWork.changedSinceSave) return true;
    return WriteAutosave(state, Fallback::kNone, failure);
}

void ForgetAutosavedWork(TrackerState& state) {
    state.unsavedWork.autosaveHoldsThisWork = false;
    state.unsavedWork.fallbackHoldsThisWork = false;
    ClearNotice();
}

void NoteWorkSavedByName() { ClearNotice(); }

bool TakeAutosaveNotice() { return ClearNotice(); }

bool IsAutosaveName(const String& name) {
    if (name == String(kAutosaveName)) return true;
    for (int index = 1; index < tracker::kAutosavesKept; ++index)
        if (name == String(kAutosaveName) + "." + String(index)) return true;
    return false;
}
