// Data paths: "korvanth://data/" + relative path names a file in the data
// folder beside the executable.
#pragma once

#include <cstdio>

#include "runtime/String.h"

// Bare names go into the data folder; paths with a scheme, "/" or "./" stay.
String ToDataPath(const String& path);
// The file-system path, or the empty string when the path can't be mapped.
String MapToFilePath(const String& path);
// The folder holding the executable (no trailing "/"), found once.
String AppDirectory();
// Replaces the executable's folder; tests point the data folder elsewhere.
void SetAppDirectory(const String& directory);
// fopen of the mapped path; none when it can't be mapped or opened.
FILE* OpenFile(const String& path, const char* mode);
