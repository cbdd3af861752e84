#pragma once
// The fake gain plug-in's factory information, shared by the in-process tests and the module.

#include "sdk/vst3/CPluginFactory.h"

namespace fakegain {

vst3::IPluginFactory* obtainFactory();

}  // namespace fakegain
