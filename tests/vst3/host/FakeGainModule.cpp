// The module export of the fake gain plug-in; the entry and exit functions come from the
// layer's module-entry objects.
#include "sdk/vst3/ModuleEntry.h"
#include "tests/vst3/host/FakeGainFactory.h"

extern "C" TQ_VST3_EXPORT vst3::IPluginFactory* PLUGIN_API GetPluginFactory()
{
  return fakegain::obtainFactory();
}
