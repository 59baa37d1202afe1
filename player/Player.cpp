#include "player/Player.h"
