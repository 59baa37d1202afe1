// The host's state file "./.korvanthstate" in the working directory: one
// UTF-8 text saved and loaded whole.
#pragma once

#include "runtime/String.h"

// 0 when saved, -1 when the file can't be opened, -2 on a short write.
int SaveState(const String& text);
// The decoded text, or the empty string when there is no file.
String LoadState();
