#pragma once

#include "sdk/vst2/AEffect.h"

#if defined(_WIN32)
#define TQ_VST2_EXPORT
#else
#define TQ_VST2_EXPORT __attribute__((visibility("default")))
#endif

// The VST2 module's entry: a new plug-in object for the host whose callback is given, or
// null when it cannot be made. The module also exports it as "main", the older name.
extern "C" TQ_VST2_EXPORT vst2::AEffect* VST2_CALLBACK VSTPluginMain(vst2::AudioMasterCallback audioMaster);
