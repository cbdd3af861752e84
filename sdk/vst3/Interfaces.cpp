// Compiles every interface header once, so the layout assertions are checked in each build.
#include "sdk/vst3/Interfaces.h"
