// The data folder's platform part: where the program's folder is, when no
// one has set it (SetAppDirectory). Each platform's file defines it: the
// executable's folder from /proc on Linux (io/linux/ExecutableDirectory.cpp).
#pragma once

#include "runtime/String.h"

// The folder that holds data/ (no trailing "/"); asked once, on the first
// data path that needs it. A platform that cannot answer ends the program:
// every data file would be unreachable.
String LookUpAppDirectory();
