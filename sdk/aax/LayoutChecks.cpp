// Compile-time checks of our AAX declarations against the binary facts, for whichever of
// the three targets is being built: record layouts, interface objects that are a table
// pointer and nothing else, no C++ virtual destructor anywhere (g++ would give it two slots,
// the host's compiler one), and the type of every operation the module calls or answers,
// calling convention included: on 32-bit Windows the unknown's three operations are stdcall
// and every other one thiscall, and a wrong one would be called wrongly by every host. Table
// slots are checked by calling through them, in the tests.
#include "sdk/aax/AAX_IACFEffectGUI.h"
#include "sdk/aax/AAX_IACFEffectParameters.h"
#include "sdk/aax/ACFExports.h"
#include "sdk/aax/AbiChecks.h"
#include "sdk/aax/HostCollectionInterface.h"
#include "sdk/aax/HostControllerInterface.h"
#include "sdk/aax/HostRenderContext.h"
#include "sdk/aax/HostViewContainerInterface.h"

#include <cstddef>
#include <type_traits>

namespace {
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "ids and chunk headers are stored little-endian");

// ---- Records ---------------------------------------------------------------------------------
static_assert(sizeof(ACFGuid) == 16 && offsetof(ACFGuid, data2) == 4 && offsetof(ACFGuid, data3) == 6 &&
                offsetof(ACFGuid, data4) == 8,
              "ACFGuid");
static_assert(sizeof(AAX_ChunkHeader) == 56 && offsetof(AAX_ChunkHeader, version) == 4 &&
                offsetof(AAX_ChunkHeader, reserved) == 8 && offsetof(AAX_ChunkHeader, chunkId) == 20 &&
                offsetof(AAX_ChunkHeader, name) == 24 && kAAX_ChunkDataOffset == 56,
              "chunk record header");
static_assert(sizeof(AAX_Point) == 8 && offsetof(AAX_Point, horizontal) == 4, "view size point");
static_assert(sizeof(ACFProcedure) == sizeof(void*), "procedures are pointer-sized");
// The render context is one pointer-sized word per field; MIDI packets are read bytewise.
static_assert(sizeof(AAX_RenderContext) == 10 * sizeof(void*) && kAAX_FieldAudioIn == 0 && kAAX_FieldAudioOut == 1 &&
                kAAX_FieldBufferLength == 3 && kAAX_FieldMidiIn == 5 && kAAX_FieldGlobalMidi == 6 &&
                kAAX_FieldTransport == 7 && kAAX_FieldInstance == 8 && kAAX_FieldMeters == 9,
              "render context fields");
static_assert(offsetof(AAX_MidiBuffer, packets) == sizeof(void*), "MIDI buffer: count, then the packets");
static_assert(FourCC("elck") == 0x656C636Bu && FourCC("none") == 0x6E6F6E65u, "four-character codes");

// ---- Interfaces: a table pointer and no data ---------------------------------------------------
static_assert(
  kAAX_BareTables<IACFUnknown, HostComponentFactoryInterface, HostCollectionInterface, HostEffectDescriptorInterface2,
                  HostComponentDescriptorInterface2, HostPropertyMapInterface2, HostServicesInterface,
                  HostViewContainerInterface, HostControllerInterface2, HostAutomationInterface,
                  HostTransportInterface2, AAX_IACFEffectParameters_V2, AAX_IACFEffectGUI>,
  "host interfaces");
// The render nodes and the string are plain C++ interfaces, without the unknown's three
// operations; their destructor entry is a slot of its own.
static_assert(kAAX_BareTables<HostMidiNode, HostTransportNode, HostRenderTransport, AAX_IString>, "plain interfaces");

// ---- Operation types, calling convention included ---------------------------------------------
static_assert(std::is_same<decltype(&IACFUnknown::QueryInterface),
                           ACFResult (TQ_AAX_UNKNOWN_CC IACFUnknown::*)(const ACFGuid&, void**)>::value &&
                std::is_same<decltype(&IACFUnknown::AddRef), uint32_t (TQ_AAX_UNKNOWN_CC IACFUnknown::*)()>::value &&
                std::is_same<decltype(&IACFUnknown::Release), uint32_t (TQ_AAX_UNKNOWN_CC IACFUnknown::*)()>::value,
              "the unknown's three operations are stdcall");
#if defined(_WIN32) && defined(__i386__)
static_assert(!std::is_same<decltype(&IACFUnknown::AddRef), uint32_t (TQ_AAX_OPERATION_CC IACFUnknown::*)()>::value,
              "the compiler tells stdcall from thiscall");
// The exports are stdcall, the registered procedures cdecl.
static_assert(std::is_same<ACFStartupProc, ACFResult(__stdcall*)(IACFUnknown*)>::value &&
                !std::is_same<ACFStartupProc, ACFResult (*)(IACFUnknown*)>::value &&
                std::is_same<ACFGetClassFactoryProc,
                             ACFResult(__stdcall*)(IACFUnknown*, const ACFGuid&, const ACFGuid&, void**)>::value,
              "exports");
static_assert(std::is_same<AAX_RenderProcedure, void(__attribute__((cdecl)) *)(AAX_RenderContext* const*,
                                                                               AAX_RenderContext* const*)>::value &&
                std::is_same<AAX_CreateProcedure, IACFUnknown*(__attribute__((cdecl)) *)()>::value &&
                std::is_same<ACFProcedure, void(__attribute__((cdecl)) *)()>::value,
              "registered procedures");
#endif

TQ_AAX_SIG(HostComponentFactoryInterface, CreateInstance, ACFResult, const ACFGuid&, IACFUnknown*, const ACFGuid&,
           void**);
TQ_AAX_SIG(HostCollectionInterface, RegisterEffect, ACFResult, const char*, HostEffectDescriptorInterface*);
TQ_AAX_SIG(HostCollectionInterface, AppendMakerName, ACFResult, const char*);
TQ_AAX_SIG(HostCollectionInterface, AppendBundleName, ACFResult, const char*);
TQ_AAX_SIG(HostCollectionInterface, StoreBundleVersion, ACFResult, uint32_t);
TQ_AAX_SIG(HostCollectionInterface, AttachPropertyMap, ACFResult, HostPropertyMapInterface*);
TQ_AAX_SIG(HostEffectDescriptorInterface, AttachComponent, ACFResult, HostComponentDescriptorInterface*);
TQ_AAX_SIG(HostEffectDescriptorInterface, AppendEffectName, ACFResult, const char*);
TQ_AAX_SIG(HostEffectDescriptorInterface, AppendCategory, ACFResult, uint32_t);
TQ_AAX_SIG(HostEffectDescriptorInterface, RegisterProcedure, ACFResult, ACFProcedure, uint32_t);
TQ_AAX_SIG(HostEffectDescriptorInterface2, Unused11, ACFResult, ACFWord, ACFWord, ACFWord, ACFWord);
TQ_AAX_SIG(HostComponentDescriptorInterface, DeclareAudioInput, ACFResult, uint32_t);
TQ_AAX_SIG(HostComponentDescriptorInterface, DeclareAudioOutput, ACFResult, uint32_t);
TQ_AAX_SIG(HostComponentDescriptorInterface, DeclareBufferLength, ACFResult, uint32_t);
TQ_AAX_SIG(HostComponentDescriptorInterface, DeclareAuxStem, ACFResult, uint32_t, uint32_t, const char*);
TQ_AAX_SIG(HostComponentDescriptorInterface, DeclarePrivateData, ACFResult, uint32_t, uint32_t, uint32_t);
TQ_AAX_SIG(HostComponentDescriptorInterface, DeclareMidiNode, ACFResult, uint32_t, uint32_t, const char*, uint32_t);
TQ_AAX_SIG(HostComponentDescriptorInterface, RegisterProcessProcedure, ACFResult, ACFProcedure,
           HostPropertyMapInterface*, void*, void*, void*);
TQ_AAX_SIG(HostComponentDescriptorInterface, DeclareMeters, ACFResult, uint32_t, const uint32_t*, uint32_t);
TQ_AAX_SIG(HostComponentDescriptorInterface2, Unused19, ACFResult, ACFWord, ACFWord);
TQ_AAX_SIG(HostPropertyMapInterface, ReadProperty, bool, uint32_t, uint32_t*);
TQ_AAX_SIG(HostPropertyMapInterface, StoreProperty, ACFResult, uint32_t, uint32_t);
TQ_AAX_SIG(HostPropertyMapInterface2, Unused7, bool, ACFWord, ACFWord, ACFWord);
TQ_AAX_SIG(HostServicesInterface, SendTrace, ACFResult, int32_t, const char*);
TQ_AAX_SIG(HostViewContainerInterface, NativeWindow, void*);
TQ_AAX_SIG(HostViewContainerInterface, CurrentModifiers, ACFResult, uint32_t*);
TQ_AAX_SIG(HostViewContainerInterface, ChangeViewSize, ACFResult, const AAX_Point*);
TQ_AAX_SIG(HostViewContainerInterface, ForwardParameterClick, ACFResult, const char*, uint32_t);

TQ_AAX_SIG(HostControllerInterface, ReadSampleRate, ACFResult, float*);
TQ_AAX_SIG(HostControllerInterface, InStemLayout, ACFResult, uint32_t*);
TQ_AAX_SIG(HostControllerInterface, OutStemLayout, ACFResult, uint32_t*);
TQ_AAX_SIG(HostControllerInterface, ReportLatency, ACFResult, int32_t);
TQ_AAX_SIG(HostControllerInterface, SendPacket, ACFResult, uint32_t, const void*, uint32_t);
TQ_AAX_SIG(HostControllerInterface2, Unused22, ACFResult, uint64_t*);
TQ_AAX_SIG(HostAutomationInterface, EnrolParameter, ACFResult, const char*);
TQ_AAX_SIG(HostAutomationInterface, WithdrawParameter, ACFResult, const char*);
TQ_AAX_SIG(HostAutomationInterface, RequestValue, ACFResult, const char*, double);
TQ_AAX_SIG(HostAutomationInterface, AnnounceValue, ACFResult, const char*, double);
TQ_AAX_SIG(HostAutomationInterface, StartTouch, ACFResult, const char*);
TQ_AAX_SIG(HostAutomationInterface, StopTouch, ACFResult, const char*);
TQ_AAX_SIG(HostTransportInterface, ReadTempo, ACFResult, double*);
TQ_AAX_SIG(HostTransportInterface, ReadTimeSignature, ACFResult, int32_t*, int32_t*);
TQ_AAX_SIG(HostTransportInterface, ReadPlayState, ACFResult, bool*);
TQ_AAX_SIG(HostTransportInterface, ReadTicks, ACFResult, int64_t*);
TQ_AAX_SIG(HostTransportInterface, ReadCycle, ACFResult, bool*, int64_t*, int64_t*);
TQ_AAX_SIG(HostTransportInterface, ReadSamplePosition, ACFResult, int64_t*);

TQ_AAX_SIG(AAX_IString, DeletingDestructor, void, uint32_t);
TQ_AAX_SIG(AAX_IString, AssignChars, void, const char*);
TQ_AAX_SIG(AAX_IString, AssignCharsChained, AAX_IString*, const char*);
TQ_AAX_SIG(AAX_IString, AssignFrom, AAX_IString*, const AAX_IString*);
TQ_AAX_CSIG(AAX_IString, CharCount, uint32_t);
TQ_AAX_CSIG(AAX_IString, Chars, const char*);

TQ_AAX_SIG(HostMidiNode, DeletingDestructor, void, uint32_t);
TQ_AAX_SIG(HostMidiNode, MidiBuffer, AAX_MidiBuffer*);
TQ_AAX_SIG(HostTransportNode, DeletingDestructor, void, uint32_t);
TQ_AAX_SIG(HostTransportNode, Transport, HostRenderTransport*);
TQ_AAX_SIG(HostRenderTransport, DeletingDestructor, void, uint32_t);
TQ_AAX_SIG(HostRenderTransport, ReadTempo, ACFResult, double*);
TQ_AAX_SIG(HostRenderTransport, ReadTimeSignature, ACFResult, int32_t*, int32_t*);
TQ_AAX_SIG(HostRenderTransport, ReadPlayState, ACFResult, bool*);
TQ_AAX_SIG(HostRenderTransport, ReadTicks, ACFResult, int64_t*);
TQ_AAX_SIG(HostRenderTransport, ReadCycle, ACFResult, bool*, int64_t*, int64_t*);
TQ_AAX_SIG(HostRenderTransport, ReadSamplePosition, ACFResult, int64_t*);

TQ_AAX_SIG(AAX_IACFEffectGUI, StartInstance, ACFResult, IACFUnknown*);
TQ_AAX_SIG(AAX_IACFEffectGUI, StopInstance, ACFResult);
TQ_AAX_SIG(AAX_IACFEffectGUI, AttachViewContainer, ACFResult, IACFUnknown*);
TQ_AAX_SIG(AAX_IACFEffectGUI, QueryViewSize, ACFResult, AAX_Point*);
TQ_AAX_SIG(AAX_IACFEffectGUI, ParameterNotice, ACFResult, const char*);
TQ_AAX_SIG(AAX_IACFEffectGUI, RefuseRequest, ACFResult, ACFWord, ACFWord);
TQ_AAX_SIG(AAX_IACFEffectGUI, IdleThreeArgsB, ACFResult, ACFWord, ACFWord, ACFWord);

using EP = AAX_IACFEffectParameters;
TQ_AAX_SIG(EP, StartInstance, ACFResult, IACFUnknown*);
TQ_AAX_SIG(EP, StopInstance, ACFResult);
TQ_AAX_SIG(EP, HandleHostNotification, ACFResult, uint32_t, const void*, uint32_t);
TQ_AAX_CSIG(EP, CountParameters, ACFResult, int32_t*);
TQ_AAX_CSIG(EP, CopyParameterShortName, ACFResult, const char*, AAX_IString*, int32_t);
TQ_AAX_CSIG(EP, ParseParameterText, ACFResult, const char*, double*, const AAX_IString*);
TQ_AAX_CSIG(EP, FormatNormalizedValue, ACFResult, const char*, double, AAX_IString*, int32_t);
TQ_AAX_SIG(EP, ChangeNormalizedValue, ACFResult, const char*, double);
TQ_AAX_SIG(EP, ApplyHostValue, ACFResult, const char*, double, uint32_t);
TQ_AAX_SIG(EP, FillCustomData, ACFResult, uint32_t, void*, uint32_t);
TQ_AAX_SIG(EP, MeasureChunk, ACFResult, uint32_t, int32_t*);
TQ_AAX_SIG(EP, WriteChunk, ACFResult, uint32_t, AAX_ChunkHeader*);
TQ_AAX_SIG(EP, ReadChunk, ACFResult, uint32_t, const AAX_ChunkHeader*);
TQ_AAX_SIG(EP, MatchChunk, ACFResult, const AAX_ChunkHeader*, bool*);
TQ_AAX_SIG(EP, EmptyAnswer, ACFResult, ACFWord, ACFWord, ACFWord, uint32_t*);
TQ_AAX_SIG(EP, IdleTwoArgsC, ACFResult, ACFWord, ACFWord);
}  // namespace
