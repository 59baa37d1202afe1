// Song names typed by the user, confined to the songs folder.
#pragma once

#include "runtime/String.h"

// The name the tracker writes unsaved work to.
extern const char* const kAutosaveName;

// The file of a typed song name inside data/songs/, as a real path whose
// characters are the file name's bytes (the name itself in UTF-8). False for
// a name that is blank, absolute, has an empty, "." or ".." part, names a
// folder, or reaches outside the songs folder through a link.
bool ResolveSongName(const String& name, String& filePath);
