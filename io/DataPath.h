// Data paths: "korvanth://data/" + relative path names a file in the data
// folder of the program (beside the executable on the desktop).
#pragma once

#include <cstdio>

#include "runtime/String.h"

// Bare names go into the data folder; paths with a scheme, "/" or "./" stay.
String ToDataPath(const String& path);
// The file-system path, or the empty string when the path can't be mapped.
String MapToFilePath(const String& path);
// The program's folder (no trailing "/"), found once by the platform.
String AppDirectory();
// Replaces the program's folder; tests point the data folder elsewhere.
void SetAppDirectory(const String& directory);
// fopen of the mapped path; none when it can't be mapped or opened.
FILE* OpenFile(const String& path, const char* mode);
// For reading whole files: none unless the path names a regular file of at
// most maxBytes (a negative limit: any size). A FIFO, device, folder or
// socket is refused without waiting on it.
FILE* OpenRegularFile(const String& path, long long maxBytes = -1);
// Makes the folder a data path names, and any missing folder above it. True
// when it is (now) a folder; false when something else has the name.
bool MakeFolder(const String& path);
