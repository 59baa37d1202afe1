// The page's window queries: the page sizes the canvas itself (in whole
// device-pixel steps), so the tracker's window is always at 1x; Ctrl+letter
// keys arrive already as the letter the key types (web/page.js).
#include "host/WindowQueries.h"

float PrimaryMonitorContentScale() { return 1.0f; }

const char* KeyNameOnLayout(int /*key*/, int /*scancode*/) { return nullptr; }
