// Whole-file reads: text decoding and raw bytes.
#include "io/TextFile.h"
