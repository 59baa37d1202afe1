// Whole-file saves that never destroy the previous file: the bytes go to a
// temporary file in the same folder, are synced, and replace the target by
// rename only when everything succeeded. The previous file can be kept as a
// backup on the way, without reading it into memory.
#pragma once

#include <string>

#include "runtime/String.h"

// How a link in the target's place is treated.
enum class LinkHandling {
    // The user's own file: a symbolic link is followed to the file it names
    // (the link stays a link); a file with further hard links is rewritten in
    // place so every name keeps showing the same bytes.
    kFollow,
    // The program's own files (backups, autosaves): whatever has the name is
    // replaced; nothing is ever written through a link.
    kReplace,
};

struct SaveOptions {
    LinkHandling links = LinkHandling::kFollow;
    // When not empty, the file being replaced is kept under this real path
    // (a link in its place is replaced), made without reading the old file
    // into memory. A backup that can't be made is skipped and said in
    // SaveReport::backupSkipped; the save goes on.
    std::string backupPath;
};

struct SaveReport {
    std::string failure;        // why the save failed: the file and the cause
    std::string backupSkipped;  // why no backup was made, when one was asked for
};

// path: a "korvanth:" data path or a real path. False on any failure, with
// the old file untouched and no temporary file left behind.
bool SaveFileAtomically(const String& path, const std::string& bytes, const SaveOptions& options = {},
                        SaveReport* report = nullptr);

// The temporary names are hidden (a leading ".") and hold a "~", which no
// typed song name can, so the sweep never mistakes a song for one of them:
// ".NAME~tmp-" and six letters or digits.
bool IsTemporarySaveName(const std::string& fileName);
// Deletes the temporary files an interrupted save left in folder (a data
// path) and its sub-folders (links are not followed), only our own regular
// files older than minimumAgeSeconds, so that a save running in another
// instance at the same moment is left alone. Returns how many went.
int RemoveStaleTemporaryFiles(const String& folder, int minimumAgeSeconds);

// Makes the next saves fail at one step, until set back to None.
enum class AtomicFileFault { None, FailOpen, FailWriteMidway, FailSync, FailRename };
void SetAtomicFileFaultForTesting(AtomicFileFault fault);
