#pragma once

#include "framework/bindings/aax/AAX_EffectDescription.h"

#if defined(_WIN32)
#define TQ_ACF_EXPORT
#else
#define TQ_ACF_EXPORT __attribute__((visibility("default")))
#endif

// The module's one effect, as the module that links these entry points describes it.
const AAX_PlugDescription& ModulePlugDescription();

// The seven entry points of an AAX module. None lets an exception reach the host (it gets
// 0x8000FFFF instead), and none writes through a null out pointer.
extern "C" {
// Makes the module's host-services wrapper over the host object; a second call keeps the first.
TQ_ACF_EXPORT ACFResult ACF_STDCALL ACFStartup(IACFUnknown* host);
// Destroys the host-services wrapper.
TQ_ACF_EXPORT ACFResult ACF_STDCALL ACFShutdown(IACFUnknown* host);
// The number of the module's objects still alive: 0 means it may be unloaded.
TQ_ACF_EXPORT ACFResult ACF_STDCALL ACFCanUnloadNow(IACFUnknown* host);
TQ_ACF_EXPORT ACFResult ACF_STDCALL ACFGetSDKVersion(uint64_t* version);
// Describes the effect to the host and hands back the collection's plug-in definition.
TQ_ACF_EXPORT ACFResult ACF_STDCALL ACFRegisterPlugin(IACFUnknown* host, IACFUnknown** definition);
// The module offers no components and no class factories.
TQ_ACF_EXPORT ACFResult ACF_STDCALL ACFRegisterComponent(IACFUnknown* host, uint32_t componentId,
                                                         IACFUnknown** component);
TQ_ACF_EXPORT ACFResult ACF_STDCALL ACFGetClassFactory(IACFUnknown* host, const ACFGuid& classId, const ACFGuid& iid,
                                                       void** factory);
}
