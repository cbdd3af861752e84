#pragma once

// The format binding the effect derives from, chosen by the module being built: each
// module compiles the effect with exactly one of these defined. Every binding takes the
// same constructor arguments: its instance information, then the plug-in's description
// (parameter count, channel configurations, presets, names, version, ids, latency,
// flags), then the side-chain channel count.
#if defined(TQ_BINDING_VST3)
#include "framework/bindings/vst3/IPlugVST3.h"
using PlugBinding = IPlugVST3;
#elif defined(TQ_BINDING_VST2)
#include "framework/bindings/vst2/IPlugVST.h"
using PlugBinding = IPlugVST;
#elif defined(TQ_BINDING_AAX)
#include "framework/bindings/aax/IPlugAAX.h"
using PlugBinding = IPlugAAX;
#elif defined(TQ_BINDING_TEST)
#include "framework/bindings/test/IPlugTestBinding.h"
using PlugBinding = IPlugTestBinding;
#else
#error "No plug-in binding chosen for this build of the effect"
#endif
