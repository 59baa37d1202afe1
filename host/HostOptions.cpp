// HostOptions: the one process-wide set, defaults unless a test program changes it.
#include "host/HostOptions.h"

HostOptions& TestHostOptions() {
    static HostOptions options;
    return options;
}
