// The exports a VST3 module offers its host. GetPluginFactory is defined by the plug-in;
// the entry and exit functions come from the module-entry object library (tq_vst3sdk_entry),
// which every module links.
#pragma once

#include "sdk/vst3/IPluginFactory.h"

extern "C" {
// Returns the module's factory with one reference that belongs to the caller.
TQ_VST3_EXPORT vst3::IPluginFactory* PLUGIN_API GetPluginFactory();

// Counted: only the first entry and the last exit do anything; a surplus exit fails.
TQ_VST3_EXPORT bool InitDll();
TQ_VST3_EXPORT bool ExitDll();
#if !defined(_WIN32)
TQ_VST3_EXPORT bool ModuleEntry(void* sharedLibraryHandle);
TQ_VST3_EXPORT bool ModuleExit();
#endif
}

namespace vst3 {

// The module's handle, recorded by the first entry and cleared by the last exit: on Linux
// the handle given to ModuleEntry, on Windows the module this code is linked into.
void* moduleHandle();

// Number of entries not yet matched by an exit.
int moduleEntryCount();

}  // namespace vst3
