// Every VST3 interface and record of the layer, for code that deals with all of them.
#pragma once

#include "sdk/vst3/FUnknown.h"
#include "sdk/vst3/IAudioProcessor.h"
#include "sdk/vst3/IBStream.h"
#include "sdk/vst3/IComponent.h"
#include "sdk/vst3/IConnectionPoint.h"
#include "sdk/vst3/IEditController.h"
#include "sdk/vst3/IEventList.h"
#include "sdk/vst3/IHostApplication.h"
#include "sdk/vst3/IParameterChanges.h"
#include "sdk/vst3/IPluginFactory.h"
#include "sdk/vst3/IPlugView.h"
#include "sdk/vst3/IUnitInfo.h"
