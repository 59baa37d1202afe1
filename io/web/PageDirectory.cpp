// The data folder in the page's file system: the packaged data and the songs
// folder sit under /app. The page's process starts with a umask of 0777,
// which would save every song unreadable, so the usual one is set here,
// before the first data path is used and so before any file is written.
#include <sys/stat.h>

#include "io/AppDirectoryLookup.h"

String LookUpAppDirectory() {
    umask(022);
    return "/app";
}
