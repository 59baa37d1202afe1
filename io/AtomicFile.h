// Whole-file saves that never destroy the previous file: the bytes go to a
// temporary file in the same folder, are synced, and replace the target by
// rename only when everything succeeded.
#pragma once

#include <string>

#include "runtime/String.h"

// path: a "korvanth:" data path or a real path. False on any failure, with
// the old file untouched and no temporary file left behind.
bool SaveFileAtomically(const String& path, const std::string& bytes);

// True for the names SaveFileAtomically gives its temporary files: the
// target's name, ".tmp-" and six letters or digits.
bool IsTemporarySaveName(const std::string& fileName);
// Deletes the temporary files an interrupted save left in folder (a data
// path), only our own regular files older than minimumAgeSeconds, so that a
// save running in another instance at the same moment is left alone.
// Returns how many went.
int RemoveStaleTemporaryFiles(const String& folder, int minimumAgeSeconds);

// Makes the next saves fail at one step, until set back to None.
enum class AtomicFileFault { None, FailOpen, FailWriteMidway, FailSync, FailRename };
void SetAtomicFileFaultForTesting(AtomicFileFault fault);
