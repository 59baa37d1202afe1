// Whole-file reads: text with encoding detection, and raw bytes.
#pragma once

#include <string>

#include "runtime/String.h"

// The byte-to-text rules of LoadString: UTF-16 by BOM, a skipped UTF-8 BOM,
// UTF-8, or one code point per byte when the bytes are not valid UTF-8.
String DecodeText(const std::string& bytes);
// ToDataPath, then the whole file decoded; empty when it can't be read, is
// not a regular file, or holds more than maxBytes (negative: no limit).
String LoadString(const String& path, long long maxBytes = -1);
// The whole file (path already in the data-path scheme or a real path); false
// when it can't be opened, is not a regular file or is over maxBytes.
bool LoadData(const String& path, std::string& bytes, long long maxBytes = -1);
