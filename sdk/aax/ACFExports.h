// The seven functions an AAX module exports, as the host calls them, and the names it finds
// them by: on 32-bit Windows the decorated standard-call names, elsewhere the plain ones.
#pragma once

#include "sdk/aax/ACFUnknown.h"

using ACFStartupProc = ACFResult(ACF_STDCALL*)(IACFUnknown* host);
using ACFShutdownProc = ACFResult(ACF_STDCALL*)(IACFUnknown* host);
using ACFCanUnloadNowProc = ACFResult(ACF_STDCALL*)(IACFUnknown* host);
using ACFGetSDKVersionProc = ACFResult(ACF_STDCALL*)(uint64_t* version);
using ACFRegisterPluginProc = ACFResult(ACF_STDCALL*)(IACFUnknown* host, IACFUnknown** definition);
using ACFRegisterComponentProc = ACFResult(ACF_STDCALL*)(IACFUnknown* host, uint32_t componentId,
                                                         IACFUnknown** component);
using ACFGetClassFactoryProc = ACFResult(ACF_STDCALL*)(IACFUnknown* host, const ACFGuid& classId, const ACFGuid& iid,
                                                       void** factory);

#if defined(_WIN32) && defined(__i386__)
#define TQ_ACF_EXPORT_NAME(name, bytes) "_" #name "@" #bytes
#else
#define TQ_ACF_EXPORT_NAME(name, bytes) #name
#endif
constexpr const char* kACFStartupName = TQ_ACF_EXPORT_NAME(ACFStartup, 4);
constexpr const char* kACFShutdownName = TQ_ACF_EXPORT_NAME(ACFShutdown, 4);
constexpr const char* kACFCanUnloadNowName = TQ_ACF_EXPORT_NAME(ACFCanUnloadNow, 4);
constexpr const char* kACFGetSDKVersionName = TQ_ACF_EXPORT_NAME(ACFGetSDKVersion, 4);
constexpr const char* kACFRegisterPluginName = TQ_ACF_EXPORT_NAME(ACFRegisterPlugin, 8);
constexpr const char* kACFRegisterComponentName = TQ_ACF_EXPORT_NAME(ACFRegisterComponent, 12);
constexpr const char* kACFGetClassFactoryName = TQ_ACF_EXPORT_NAME(ACFGetClassFactory, 16);
#undef TQ_ACF_EXPORT_NAME

// The SDK version a module reports.
constexpr uint64_t kACF_SDKVersion = 0x00000201007756BFull;
// What ACFRegisterPlugin hands back: the collection's plug-in definition.
constexpr ACFGuid kIID_ACFPluginDefinition = {
  0x00EEF015, 0x7FD0, 0x11D6, {0x84, 0x85, 0x00, 0x30, 0x65, 0x42, 0xA0, 0x24}};
