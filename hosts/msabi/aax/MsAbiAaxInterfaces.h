#pragma once

// The AAX interfaces as a host built with Microsoft's compiler declares them, written down a
// second time and on their own: compiled for that ABI, these tables meet the module's. On
// x86 only QueryInterface, AddRef and Release are stdcall; every other operation is the
// compiler's default for members (thiscall). Where an interface has a destructor slot it is
// one slot, a deleting destructor taking flags. Operations a host never calls are declared
// with the argument words the tables give, so every slot lands where the host's does.

namespace msabi {

using int32 = int;
using uint32 = unsigned int;
using int64 = long long;
using uint64 = unsigned long long;
using Word = uint32;
using Result = int32;

static_assert(sizeof(int32) == 4 && sizeof(int64) == 8, "fixed-width types");

struct Guid
{
  uint32 data1;
  unsigned short data2;
  unsigned short data3;
  unsigned char data4[8];
};

bool SameGuid(const Guid& a, const Guid& b);

constexpr Result kOk = 0;
constexpr Result kNoInterface = Result(0x80000004u);
constexpr Result kBadPointer = Result(0x80000005u);

// ---- ACF: every table starts with these three --------------------------------------------------

class Unknown
{
public:
  virtual Result __stdcall QueryInterface(const Guid& iid, void** out) = 0;
  virtual uint32 __stdcall AddRef() = 0;
  virtual uint32 __stdcall Release() = 0;
};

constexpr Guid kUnknownId = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// ---- Plain C++ interfaces: thiscall at every slot -----------------------------------------------

class HostString
{
public:
  virtual void Destroy(unsigned flags) = 0;
  virtual uint32 CharCount() const = 0;
  virtual uint32 CapacityLimit() const = 0;
  virtual const char* Chars() const = 0;
  virtual void AssignChars(const char* text) = 0;
  virtual HostString& AssignCharsChained(const char* text) = 0;
  virtual HostString& AssignFrom(const HostString& other) = 0;
};

class AutomationDelegate;

// The module's parameter object, one destructor slot and 42 operations.
class Parameter
{
public:
  virtual void Destroy(unsigned flags) = 0;
  virtual const char* IdString() const = 0;
  virtual void AssignName(const void* name) = 0;
  virtual void FullName(void* out) const = 0;
  virtual void AddShortName(const void* name) = 0;
  virtual void ShortNameForLength(void* out, int32 limit) const = 0;
  virtual void ClearShortNames() = 0;
  virtual bool AcceptsAutomation() const = 0;
  virtual void AttachAutomationDelegate(AutomationDelegate* automation) = 0;
  virtual void BeginGesture() = 0;
  virtual void EndGesture() = 0;
  virtual void ChangeNormalizedValue(double normalized) = 0;
  virtual double NormalizedValue() const = 0;
  virtual void ChangeNormalizedDefault(double normalized) = 0;
  virtual double NormalizedDefault() const = 0;
  virtual void RestoreDefault() = 0;
  virtual void ChangeStepCount(uint32 steps) = 0;
  virtual uint32 StepCount() const = 0;
  virtual int32 CurrentStepIndex() const = 0;
  virtual void ChangeStepIndex(uint32 index) = 0;
  virtual bool CurrentValueTextLimited(int32 limit, HostString& out) const = 0;
  virtual bool CurrentValueText(HostString& out) const = 0;
  virtual bool NormalizedFromText(const HostString& text, double& out) const = 0;
  virtual bool TextOfNormalizedLimited(double normalized, int32 limit, HostString& out) const = 0;
  virtual bool TextOfNormalized(double normalized, HostString& out) const = 0;
  virtual bool ChangeValueFromText(const HostString& text) = 0;
  virtual bool ReadBool(bool& out) const = 0;
  virtual bool ReadInt32(int32& out) const = 0;
  virtual bool ReadFloat(float& out) const = 0;
  virtual bool ReadDouble(double& out) const = 0;
  virtual bool ReadString(HostString& out) const = 0;
  virtual bool WriteBool(bool value) = 0;
  virtual bool WriteInt32(int32 value) = 0;
  virtual bool WriteFloat(float value) = 0;
  virtual bool WriteDouble(double value) = 0;
  virtual bool WriteString(const HostString& value) = 0;
  virtual void ChangeValueKind(int32 kind) = 0;
  virtual int32 ValueKind() const = 0;
  virtual void ChangeLayoutWord(int32 word) = 0;
  virtual int32 LayoutWord() const = 0;
  virtual void ReplaceTaperDelegate(const void* taper, bool keepRealValue) = 0;
  virtual void ReplaceDisplayDelegate(const void* display) = 0;
  virtual void ApplyNormalizedValue(double normalized) = 0;
};

// The transport a render context's transport node hands out.
class RenderTransport
{
public:
  virtual void Destroy(unsigned flags) = 0;
  virtual Result ReadTempo(double* bpm) const = 0;
  virtual Result ReadTimeSignature(int32* numerator, int32* denominator) const = 0;
  virtual Result ReadPlayState(bool* playing) const = 0;
  virtual Result ReadTicks(int64* ticks) const = 0;
  virtual Result ReadCycle(bool* looping, int64* startTicks, int64* endTicks) const = 0;
  virtual Result ReadSamplePosition(int64* samples) const = 0;
};

struct MidiBuffer
{
  uint32 count;
  const unsigned char* packets;
};

class MidiNode
{
public:
  virtual void Destroy(unsigned flags) = 0;
  virtual MidiBuffer* Buffer() = 0;
};

class TransportNode
{
public:
  virtual void Destroy(unsigned flags) = 0;
  virtual void* Unused1() = 0;
  virtual void* Unused2() = 0;
  virtual RenderTransport* Transport() = 0;
};

// One instance's render context: a pointer-sized field per declared field number.
struct RenderContext
{
  float** audioIn;           // 0
  float** audioOut;          // 1
  void* unused2;             // 2
  int32* frames;             // 3
  void* unused4;             // 4
  MidiNode* midiIn;          // 5
  void* field6;              // 6
  TransportNode* transport;  // 7
  void** instance;           // 8
  void* field9;              // 9
};

static_assert(sizeof(RenderContext) == 10 * sizeof(void*), "one pointer per field");

using CreateProcedure = Unknown* (*)();
using RenderProcedure = void (*)(RenderContext* const* first, RenderContext* const* end);
using AnyProcedure = void (*)();

// ---- Host interfaces the module calls -----------------------------------------------------------

class ComponentFactory : public Unknown
{
public:
  virtual Result CreateInstance(const Guid& classId, Unknown* outer, const Guid& iid, void** out) = 0;
};

class PropertyMap : public Unknown
{
public:
  virtual bool ReadProperty(uint32 number, uint32* value) = 0;
  virtual Result StoreProperty(uint32 number, uint32 value) = 0;
  virtual Result Unused5(Word a) = 0;
};

class PropertyMap2 : public PropertyMap
{
public:
  virtual Result Unused6(Word a, Word b, Word c) = 0;
  virtual bool Unused7(Word a, Word b, Word c) = 0;
};

class ComponentDescriptor : public Unknown
{
public:
  virtual Result Unused3() = 0;
  virtual Result Unused4(Word a, Word b) = 0;
  virtual Result DeclareAudioInput(uint32 field) = 0;
  virtual Result DeclareAudioOutput(uint32 field) = 0;
  virtual Result DeclareBufferLength(uint32 field) = 0;
  virtual Result Unused8(Word a) = 0;
  virtual Result Unused9(Word a) = 0;
  virtual Result Unused10(Word a) = 0;
  virtual Result Unused11(Word a, Word b, Word c) = 0;
  virtual Result DeclareAuxStem(uint32 field, uint32 stemFormat, const char* name) = 0;
  virtual Result DeclarePrivateData(uint32 field, uint32 size, uint32 options) = 0;
  virtual Result Unused14(Word a, Word b) = 0;
  virtual Result DeclareMidiNode(uint32 field, uint32 kind, const char* name, uint32 mask) = 0;
  virtual Result RegisterProcessProcedure(AnyProcedure procedure, PropertyMap* properties, void* a, void* b,
                                          void* c) = 0;
  virtual Result Unused17(Word a, Word b, PropertyMap* properties, Word c, Word d, Word e) = 0;
  virtual Result DeclareMeters(uint32 field, const uint32* ids, uint32 count) = 0;
};

class ComponentDescriptor2 : public ComponentDescriptor
{
public:
  virtual Result Unused19(Word a, Word b) = 0;
};

class EffectDescriptor : public Unknown
{
public:
  virtual Result AttachComponent(ComponentDescriptor* component) = 0;
  virtual Result AppendEffectName(const char* name) = 0;
  virtual Result AppendCategory(uint32 category) = 0;
  virtual Result Unused6(Word a, Word b) = 0;
  virtual Result RegisterProcedure(AnyProcedure procedure, uint32 procedureId) = 0;
  virtual Result Unused8(PropertyMap* properties) = 0;
  virtual Result Unused9(Word a, Word b) = 0;
  virtual Result Unused10(Word a, Word b, PropertyMap* properties) = 0;
};

class EffectDescriptor2 : public EffectDescriptor
{
public:
  virtual Result Unused11(Word a, Word b, Word c, Word d) = 0;
};

class Collection : public Unknown
{
public:
  virtual Result Unused3() = 0;
  virtual Result Unused4() = 0;
  virtual Result Unused5() = 0;
  virtual Result Unused6() = 0;
  virtual Result RegisterEffect(const char* effectId, EffectDescriptor* effect) = 0;
  virtual Result AppendMakerName(const char* name) = 0;
  virtual Result AppendBundleName(const char* name) = 0;
  virtual Result StoreBundleVersion(uint32 version) = 0;
  virtual Result AttachPropertyMap(PropertyMap* properties) = 0;
};

class HostServices : public Unknown
{
public:
  virtual Result Unused3(Word a, Word b, Word c) = 0;
  virtual Result SendTrace(int32 priority, const char* text) = 0;
};

class Controller : public Unknown
{
public:
  virtual Result Unused3(Word a) = 0;
  virtual Result ReadSampleRate(float* rate) = 0;
  virtual Result InStemLayout(uint32* stem) = 0;
  virtual Result OutStemLayout(uint32* stem) = 0;
  virtual Result Unused7(Word a) = 0;
  virtual Result Unused8(Word a, Word b) = 0;
  virtual Result Unused9(Word a) = 0;
  virtual Result ReportLatency(int32 samples) = 0;
  virtual Result Unused11(Word a, Word b, Word c) = 0;
  virtual Result SendPacket(uint32 packetId, const void* bytes, uint32 size) = 0;
  virtual Result Unused13(Word a, Word b) = 0;
  virtual Result Unused14(Word a, Word b) = 0;
  virtual Result Unused15(Word a) = 0;
  virtual Result Unused16(Word a, Word b) = 0;
  virtual Result Unused17(Word a) = 0;
  virtual Result Unused18(Word a) = 0;
  virtual Result Unused19(Word a, Word b) = 0;
};

class Controller2 : public Controller
{
public:
  virtual Result Unused20(Word a, Word b, Word c) = 0;
  virtual Result Unused21(Word a) = 0;
  virtual Result Unused22(uint64* value) = 0;
  virtual Result Unused23(Word a) = 0;
};

class Automation : public Unknown
{
public:
  virtual Result EnrolParameter(const char* id) = 0;
  virtual Result WithdrawParameter(const char* id) = 0;
  virtual Result RequestValue(const char* id, double normalized) = 0;
  virtual Result AnnounceValue(const char* id, double normalized) = 0;
  virtual Result StartTouch(const char* id) = 0;
  virtual Result StopTouch(const char* id) = 0;
  virtual Result Unused9(Word a, Word b) = 0;
};

class Transport : public Unknown
{
public:
  virtual Result ReadTempo(double* bpm) = 0;
  virtual Result ReadTimeSignature(int32* numerator, int32* denominator) = 0;
  virtual Result ReadPlayState(bool* playing) = 0;
  virtual Result ReadTicks(int64* ticks) = 0;
  virtual Result ReadCycle(bool* looping, int64* startTicks, int64* endTicks) = 0;
  virtual Result ReadSamplePosition(int64* samples) = 0;
  virtual Result Unused9(Word a, Word b, Word c) = 0;
  virtual Result Unused10(Word a, Word b, Word c, Word d, Word e) = 0;
  virtual Result Unused11(Word a) = 0;
  virtual Result Unused12(Word a) = 0;
};

class Transport2 : public Transport
{
public:
  virtual Result Unused13(Word a) = 0;
  virtual Result Unused14(Word a, Word b) = 0;
  virtual Result Unused15(Word a, Word b) = 0;
  virtual Result Unused16(Word a) = 0;
};

// ---- The module's interfaces the host calls -----------------------------------------------------

// The host's chunk record: a header of 32-bit fields, then the data.
struct ChunkHeader
{
  int32 size;
  int32 version;
  uint32 reserved[3];
  uint32 chunkId;
  char name[32];
};

static_assert(sizeof(ChunkHeader) == 56, "the data starts at byte 56");

class EffectParameters : public Unknown
{
public:
  virtual Result StartInstance(Unknown* host) = 0;
  virtual Result StopInstance() = 0;
  virtual Result HandleHostNotification(uint32 type, const void* data, uint32 size) = 0;
  virtual Result CountParameters(int32* count) = 0;
  virtual Result CopyBypassParameterId(HostString* out) = 0;
  virtual Result QueryParameterAutomatable(const char* id, bool* out) = 0;
  virtual Result QueryParameterStepCount(const char* id, int32* out) = 0;
  virtual Result CopyParameterName(const char* id, HostString* out) = 0;
  virtual Result CopyParameterShortName(const char* id, HostString* out, int32 limit) = 0;
  virtual Result QueryParameterDefault(const char* id, double* out) = 0;
  virtual Result ChangeParameterDefault(const char* id, double normalized) = 0;
  virtual Result QueryParameterKind(const char* id, int32* out) = 0;
  virtual Result QueryParameterLayoutWord(const char* id, int32* out) = 0;
  virtual Result FindParameter(const char* id, Parameter** out) = 0;
  virtual Result FindParameterIndex(const char* id, int32* out) = 0;
  virtual Result CopyParameterIdAt(int32 index, HostString* out) = 0;
  virtual Result QueryParameterExtra(const char* id, uint32 selector, int32* out) = 0;
  virtual Result ParseParameterText(const char* id, double* out, const HostString* text) = 0;
  virtual Result FormatNormalizedValue(const char* id, double normalized, HostString* out, int32 limit) = 0;
  virtual Result FormatCurrentValue(const char* id, HostString* out, int32 limit) = 0;
  virtual Result QueryNormalizedValue(const char* id, double* out) = 0;
  virtual Result ChangeNormalizedValue(const char* id, double normalized) = 0;
  virtual Result ChangeNormalizedValueBy(const char* id, double delta) = 0;
  virtual Result BeginParameterGesture(const char* id) = 0;
  virtual Result EndParameterGesture(const char* id) = 0;
  virtual Result IdleTwoArgsA(Word a, Word b) = 0;
  virtual Result ApplyHostValue(const char* id, double normalized, uint32 cause) = 0;
  virtual Result ApplyHostValueBy(const char* id, double delta) = 0;
  virtual Result FlushPackets() = 0;
  virtual Result FillCustomData(uint32 type, void* out, uint32 size) = 0;
  virtual Result CountChunks(int32* out) = 0;
  virtual Result ChunkIdAt(int32 index, uint32* out) = 0;
  virtual Result MeasureChunk(uint32 chunkId, int32* size) = 0;
  virtual Result WriteChunk(uint32 chunkId, ChunkHeader* record) = 0;
  virtual Result ReadChunk(uint32 chunkId, const ChunkHeader* record) = 0;
  virtual Result MatchChunk(const ChunkHeader* record, bool* equal) = 0;
  virtual Result CountChanges(int32* out) = 0;
  virtual Result IdleNoArgsA() = 0;
  virtual Result UnsupportedFourArgs(Word a, Word b, Word c, Word d) = 0;
  virtual Result EmptyAnswer(Word a, Word b, Word c, Word* out) = 0;
  virtual Result IdleThreeArgs(Word a, Word b, Word c) = 0;
  virtual Result IdleNoArgsB() = 0;
  virtual Result UnsupportedOneArg(Word a) = 0;
  virtual Result IdleTwoArgsB(Word a, Word b) = 0;
  virtual Result IdleTwoArgsC(Word a, Word b) = 0;
};

struct ViewPoint
{
  float vertical;
  float horizontal;
};

// The host's view an editor opens in.
class ViewContainer : public Unknown
{
public:
  virtual Result Unused3() = 0;
  virtual void* NativeWindow() = 0;
  virtual Result CurrentModifiers(uint32* modifiers) = 0;
  virtual Result ChangeViewSize(const ViewPoint* size) = 0;
  virtual Result ForwardParameterClick(const char* id, uint32 modifiers) = 0;
  virtual Result Unused8(Word a, Word b) = 0;
  virtual Result Unused9(Word a, Word b) = 0;
};

class EffectGui : public Unknown
{
public:
  virtual Result StartInstance(Unknown* host) = 0;
  virtual Result StopInstance() = 0;
  virtual Result Unused5(Word a, Word b, Word c) = 0;
  virtual Result AttachViewContainer(Unknown* container) = 0;
  virtual Result QueryViewSize(ViewPoint* size) = 0;
};

// ---- Module exports: stdcall on x86 -------------------------------------------------------------

using StartupExport = Result(__stdcall*)(Unknown* host);
using ShutdownExport = Result(__stdcall*)(Unknown* host);
using CanUnloadNowExport = Result(__stdcall*)(Unknown* host);
using GetSdkVersionExport = Result(__stdcall*)(uint64* version);
using RegisterPluginExport = Result(__stdcall*)(Unknown* host, Unknown** definition);
using RegisterComponentExport = Result(__stdcall*)(Unknown* host, uint32 componentId, Unknown** component);
using GetClassFactoryExport = Result(__stdcall*)(Unknown* host, const Guid& classId, const Guid& iid, void** out);

// ---- Identifiers --------------------------------------------------------------------------------

namespace ids {
constexpr Guid kFactory = {0x382B6A96, 0x7FD0, 0x11D6, {0xBC, 0xFE, 0x00, 0x30, 0x65, 0x42, 0xA0, 0x24}};
constexpr Guid kCollectionClass = {0x89882C2D, 0x77BC, 0x42EF, {0x70, 0x7B, 0x79, 0x81, 0xB7, 0xBD, 0x0C, 0xCA}};
constexpr Guid kCollection = {0x96D42C2D, 0xEBBC, 0x41DF, {0xB1, 0xAB, 0x99, 0x91, 0xA2, 0xEE, 0x0C, 0xCA}};
constexpr Guid kEffectClass = {0x89872C2D, 0x75BC, 0x423F, {0x40, 0x1B, 0xF9, 0xA1, 0xBA, 0xAD, 0x0C, 0xCA}};
constexpr Guid kEffect = {0x96D42C2D, 0xEBBC, 0x41EF, {0xD1, 0xCB, 0x49, 0x94, 0x42, 0xE4, 0x0F, 0xDA}};
constexpr Guid kEffect2 = {0x41ECCC52, 0x416B, 0x4072, {0x84, 0xBD, 0x40, 0xB0, 0x52, 0x10, 0xA7, 0x4C}};
constexpr Guid kComponentClass = {0x94872C3D, 0x95BC, 0x413D, {0xD0, 0xDB, 0xD9, 0xB1, 0x2A, 0xAD, 0x0C, 0xCA}};
constexpr Guid kComponent = {0x96E42C2D, 0xE2BC, 0x51EF, {0x61, 0xC7, 0x48, 0x99, 0x4A, 0xEB, 0x0C, 0xDA}};
constexpr Guid kComponent2 = {0x1895259E, 0xAAA9, 0x4F0F, {0xA9, 0x85, 0x14, 0x98, 0x37, 0xB7, 0x6F, 0x89}};
constexpr Guid kMapClass = {0xA587AD3D, 0xD53C, 0x4ADC, {0xD0, 0xDD, 0xD9, 0xD1, 0x2D, 0xDD, 0xDC, 0xDA}};
constexpr Guid kMap = {0x96EE2C2D, 0xEECC, 0x5EFF, {0xE2, 0xD7, 0xE8, 0x49, 0xE3, 0xE2, 0xEE, 0xEE}};
constexpr Guid kMap2 = {0x7177DF80, 0x7C9C, 0x11E2, {0xB9, 0x2A, 0x08, 0x00, 0x20, 0x0C, 0x9A, 0x66}};
constexpr Guid kServicesClass = {0x88882C2D, 0xEBBC, 0x42EF, {0xC0, 0xAB, 0x89, 0x81, 0xB0, 0xBD, 0x0C, 0xCA}};
constexpr Guid kServices = {0x96D42C2D, 0xEBBC, 0x41EF, {0xB0, 0xAB, 0x99, 0x91, 0xA0, 0xED, 0x0C, 0xCA}};
constexpr Guid kPluginDefinition = {0x00EEF015, 0x7FD0, 0x11D6, {0x84, 0x85, 0x00, 0x30, 0x65, 0x42, 0xA0, 0x24}};
constexpr Guid kController = {0x9D5E3E3D, 0x52DC, 0x5EFB, {0x20, 0x18, 0xDE, 0x1D, 0xE2, 0xE6, 0x3F, 0x4E}};
constexpr Guid kController2 = {0x4C59AA0E, 0xD7C0, 0x4205, {0x8B, 0x6C, 0x32, 0x46, 0x8D, 0x42, 0xD2, 0x02}};
constexpr Guid kAutomation = {0x9D5E3D3D, 0x42DC, 0x5EFA, {0x22, 0x17, 0xEE, 0xE2, 0xE8, 0xE5, 0x3E, 0x2E}};
constexpr Guid kTransport = {0x5CEE4EF4, 0x6337, 0x4359, {0xB6, 0x3B, 0xFE, 0x58, 0xDC, 0x36, 0x54, 0x3A}};
constexpr Guid kTransport2 = {0x203CBD9F, 0x982C, 0x4FE6, {0xA8, 0x27, 0x07, 0x48, 0x02, 0x57, 0xAE, 0xC3}};
constexpr Guid kEffectParameters = {0x964E333D, 0x334C, 0x533F, {0xC2, 0xC7, 0x38, 0x34, 0xC3, 0xC2, 0x3E, 0x3E}};
constexpr Guid kEffectParameters2 = {0xF1F47D06, 0x308F, 0x4CC5, {0x9C, 0x7C, 0x50, 0xA8, 0x3F, 0x8A, 0xB8, 0x13}};
constexpr Guid kViewContainer = {0x22DA0BBC, 0xD550, 0x4D5E, {0x8C, 0xC6, 0x73, 0x44, 0x83, 0xB8, 0x83, 0x7F}};
constexpr Guid kEffectGui = {0x964E323D, 0x424C, 0x5E1A, {0x22, 0x27, 0x28, 0x24, 0x23, 0x22, 0x2E, 0x1E}};
}  // namespace ids

}  // namespace msabi
