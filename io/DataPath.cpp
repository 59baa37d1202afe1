// Data paths: maps "korvanth://data/" names onto the folder beside the executable.
#include "io/DataPath.h"
