#pragma once

// The guard lives beside the mutex it holds.
#include "platform/PlugMutex.h"
