#include "hosts/msabi/aax/MsAbiHostObjects.h"

namespace msabi {

namespace {
const void* Ptr(const void* pointer)
{
  return pointer;
}
const void* Ptr(AnyProcedure procedure)
{
  return reinterpret_cast<const void*>(procedure);
}

class CollectionFace : public HostFace<Collection>
{
public:
  using HostFace::HostFace;
  Result Unused3() override { return Record("Unused3"); }
  Result Unused4() override { return Record("Unused4"); }
  Result Unused5() override { return Record("Unused5"); }
  Result Unused6() override { return Record("Unused6"); }
  Result RegisterEffect(const char* effectId, EffectDescriptor* effect) override
  {
    return Record("RegisterEffect", effectId, Ptr(effect));
  }
  Result AppendMakerName(const char* name) override { return Record("AppendMakerName", name); }
  Result AppendBundleName(const char* name) override { return Record("AppendBundleName", name); }
  Result StoreBundleVersion(uint32 version) override { return Record("StoreBundleVersion", version); }
  Result AttachPropertyMap(PropertyMap* properties) override { return Record("AttachPropertyMap", Ptr(properties)); }
};

class EffectFace : public HostFace<EffectDescriptor2>
{
public:
  using HostFace::HostFace;
  Result AttachComponent(ComponentDescriptor* component) override { return Record("AttachComponent", Ptr(component)); }
  Result AppendEffectName(const char* name) override { return Record("AppendEffectName", name); }
  Result AppendCategory(uint32 category) override { return Record("AppendCategory", category); }
  Result Unused6(Word a, Word b) override { return Record("Unused6", a, b); }
  Result RegisterProcedure(AnyProcedure procedure, uint32 procedureId) override
  {
    const Result result = Record("RegisterProcedure", Ptr(procedure), procedureId);
    if (procedureId < 2)
      static_cast<MadeObject&>(mOwner).procedures[procedureId] = procedure;
    return result;
  }
  Result Unused8(PropertyMap* properties) override { return Record("Unused8", Ptr(properties)); }
  Result Unused9(Word a, Word b) override { return Record("Unused9", a, b); }
  Result Unused10(Word a, Word b, PropertyMap* properties) override
  {
    return Record("Unused10", a, b, Ptr(properties));
  }
  Result Unused11(Word a, Word b, Word c, Word d) override { return Record("Unused11", a, b, c, d); }
};

class ComponentFace : public HostFace<ComponentDescriptor2>
{
public:
  using HostFace::HostFace;
  Result Unused3() override { return Record("Unused3"); }
  Result Unused4(Word a, Word b) override { return Record("Unused4", a, b); }
  Result DeclareAudioInput(uint32 field) override { return Record("DeclareAudioInput", field); }
  Result DeclareAudioOutput(uint32 field) override { return Record("DeclareAudioOutput", field); }
  Result DeclareBufferLength(uint32 field) override { return Record("DeclareBufferLength", field); }
  Result Unused8(Word a) override { return Record("Unused8", a); }
  Result Unused9(Word a) override { return Record("Unused9", a); }
  Result Unused10(Word a) override { return Record("Unused10", a); }
  Result Unused11(Word a, Word b, Word c) override { return Record("Unused11", a, b, c); }
  Result DeclareAuxStem(uint32 field, uint32 stemFormat, const char* name) override
  {
    return Record("DeclareAuxStem", field, stemFormat, name);
  }
  Result DeclarePrivateData(uint32 field, uint32 size, uint32 options) override
  {
    return Record("DeclarePrivateData", field, size, options);
  }
  Result Unused14(Word a, Word b) override { return Record("Unused14", a, b); }
  Result DeclareMidiNode(uint32 field, uint32 kind, const char* name, uint32 mask) override
  {
    return Record("DeclareMidiNode", field, kind, name, mask);
  }
  Result RegisterProcessProcedure(AnyProcedure procedure, PropertyMap* properties, void* a, void* b, void* c) override
  {
    const Result result = Record("RegisterProcessProcedure", Ptr(procedure), Ptr(properties), Ptr(a), Ptr(b), Ptr(c));
    static_cast<MadeObject&>(mOwner).processProcedure = procedure;
    return result;
  }
  Result Unused17(Word a, Word b, PropertyMap* properties, Word c, Word d, Word e) override
  {
    return Record("Unused17", a, b, Ptr(properties), c, d, e);
  }
  Result DeclareMeters(uint32 field, const uint32* ids, uint32 count) override
  {
    return Record("DeclareMeters", field, Ptr(ids), count);
  }
  Result Unused19(Word a, Word b) override { return Record("Unused19", a, b); }
};

class MapFace : public HostFace<PropertyMap2>
{
public:
  using HostFace::HostFace;
  bool ReadProperty(uint32 number, uint32* value) override
  {
    Record("ReadProperty", number, Ptr(value));
    return false;
  }
  Result StoreProperty(uint32 number, uint32 value) override { return Record("StoreProperty", number, value); }
  Result Unused5(Word a) override { return Record("Unused5", a); }
  Result Unused6(Word a, Word b, Word c) override { return Record("Unused6", a, b, c); }
  bool Unused7(Word a, Word b, Word c) override { return Record("Unused7", a, b, c) == kOk; }
};

class ServicesFace : public HostFace<HostServices>
{
public:
  using HostFace::HostFace;
  Result Unused3(Word a, Word b, Word c) override { return Record("Unused3", a, b, c); }
  Result SendTrace(int32 priority, const char* text) override { return Record("SendTrace", priority, text); }
};

class FactoryFace : public HostFace<ComponentFactory>
{
public:
  explicit FactoryFace(RegistrationHost& host) : HostFace(host, "Factory"), mHost(host) {}
  Result CreateInstance(const Guid& classId, Unknown* outer, const Guid& iid, void** out) override
  {
    Record("CreateInstance", Ptr(outer));
    return mHost.CreateInstance(classId, iid, out);
  }

private:
  RegistrationHost& mHost;
};

class ControllerFace : public HostFace<Controller2>
{
public:
  ControllerFace(InstanceHost& host, const char* label) : HostFace(host, label), mHost(host) {}
  Result Unused3(Word a) override { return Record("Unused3", a); }
  Result ReadSampleRate(float* rate) override { return Answer("ReadSampleRate", rate, mHost.settings.sampleRate); }
  Result InStemLayout(uint32* stem) override { return Answer("InStemLayout", stem, mHost.settings.inStem); }
  Result OutStemLayout(uint32* stem) override { return Answer("OutStemLayout", stem, mHost.settings.outStem); }
  Result Unused7(Word a) override { return Record("Unused7", a); }
  Result Unused8(Word a, Word b) override { return Record("Unused8", a, b); }
  Result Unused9(Word a) override { return Record("Unused9", a); }
  Result ReportLatency(int32 samples) override { return Record("ReportLatency", samples); }
  Result Unused11(Word a, Word b, Word c) override { return Record("Unused11", a, b, c); }
  Result SendPacket(uint32 packetId, const void* bytes, uint32 size) override
  {
    return Record("SendPacket", packetId, Ptr(bytes), size);
  }
  Result Unused13(Word a, Word b) override { return Record("Unused13", a, b); }
  Result Unused14(Word a, Word b) override { return Record("Unused14", a, b); }
  Result Unused15(Word a) override { return Record("Unused15", a); }
  Result Unused16(Word a, Word b) override { return Record("Unused16", a, b); }
  Result Unused17(Word a) override { return Record("Unused17", a); }
  Result Unused18(Word a) override { return Record("Unused18", a); }
  Result Unused19(Word a, Word b) override { return Record("Unused19", a, b); }
  Result Unused20(Word a, Word b, Word c) override { return Record("Unused20", a, b, c); }
  Result Unused21(Word a) override { return Record("Unused21", a); }
  Result Unused22(uint64* value) override { return Answer("Unused22", value, 0ull); }
  Result Unused23(Word a) override { return Record("Unused23", a); }

private:
  template <typename T>
  Result Answer(const char* operation, T* out, T value)
  {
    const Result result = Record(operation);
    if (out)
      *out = value;
    return result;
  }

  InstanceHost& mHost;
};

class AutomationFace : public HostFace<Automation>
{
public:
  AutomationFace(InstanceHost& host) : HostFace(host, "Automation"), mHost(host) {}
  Result EnrolParameter(const char* id) override { return Record("EnrolParameter", id); }
  Result WithdrawParameter(const char* id) override { return Record("WithdrawParameter", id); }
  Result RequestValue(const char* id, double normalized) override
  {
    const Result result = Record("RequestValue", id);
    mHost.AnswerRequest(id, normalized);
    return result;
  }
  Result AnnounceValue(const char* id, double) override { return Record("AnnounceValue", id); }
  Result StartTouch(const char* id) override { return Record("StartTouch", id); }
  Result StopTouch(const char* id) override { return Record("StopTouch", id); }
  Result Unused9(Word a, Word b) override { return Record("Unused9", a, b); }

private:
  InstanceHost& mHost;
};

// The instance's transport interfaces, offered and never read: the module takes its
// transport from the render context.
class TransportFace : public HostFace<Transport2>
{
public:
  using HostFace::HostFace;
  Result ReadTempo(double*) override { return Record("ReadTempo"); }
  Result ReadTimeSignature(int32*, int32*) override { return Record("ReadTimeSignature"); }
  Result ReadPlayState(bool*) override { return Record("ReadPlayState"); }
  Result ReadTicks(int64*) override { return Record("ReadTicks"); }
  Result ReadCycle(bool*, int64*, int64*) override { return Record("ReadCycle"); }
  Result ReadSamplePosition(int64*) override { return Record("ReadSamplePosition"); }
  Result Unused9(Word a, Word b, Word c) override { return Record("Unused9", a, b, c); }
  Result Unused10(Word a, Word b, Word c, Word d, Word e) override { return Record("Unused10", a, b, c, d, e); }
  Result Unused11(Word a) override { return Record("Unused11", a); }
  Result Unused12(Word a) override { return Record("Unused12", a); }
  Result Unused13(Word a) override { return Record("Unused13", a); }
  Result Unused14(Word a, Word b) override { return Record("Unused14", a, b); }
  Result Unused15(Word a, Word b) override { return Record("Unused15", a, b); }
  Result Unused16(Word a) override { return Record("Unused16", a); }
};
class ViewFace : public HostFace<ViewContainer>
{
public:
  ViewFace(HostObject& owner, void* window) : HostFace(owner, "View"), mWindow(window) {}
  Result Unused3() override { return Record("Unused3"); }
  void* NativeWindow() override
  {
    Record("NativeWindow");
    return mWindow;
  }
  Result CurrentModifiers(uint32* modifiers) override
  {
    if (modifiers)
      *modifiers = 0;
    return Record("CurrentModifiers");
  }
  Result ChangeViewSize(const ViewPoint*) override { return Record("ChangeViewSize"); }
  Result ForwardParameterClick(const char* id, uint32 modifiers) override
  {
    Record("ForwardParameterClick", id, modifiers);
    return kNotTaken;
  }
  Result Unused8(Word a, Word b) override { return Record("Unused8", a, b); }
  Result Unused9(Word a, Word b) override { return Record("Unused9", a, b); }

private:
  // Any answer but success leaves the click to the editor.
  static constexpr Result kNotTaken = -20009;

  void* mWindow;
};
}  // namespace

// ---- Host objects -------------------------------------------------------------------------------

HostObject::HostObject(CallLog& log, const char* label) : mLog(log)
{
  CopyText(mLabel, sizeof mLabel, label);
  mLog.Name(static_cast<Unknown*>(this), mLabel);
}

void HostObject::Offer(const Guid& iid, Unknown* face, const char* faceLabel)
{
  if (mFaceCount < int(sizeof mFaces / sizeof mFaces[0]))
    mFaces[mFaceCount++] = {iid, face, faceLabel};
  mLog.Name(face, faceLabel);
}

Result __stdcall HostObject::QueryInterface(const Guid& iid, void** out)
{
  Unknown* found = nullptr;
  const char* asked = "unknown";
  if (SameGuid(iid, kUnknownId))
  {
    found = this;
    asked = mLabel;
  }
  for (int i = 0; i < mFaceCount; ++i)
    if (SameGuid(iid, mFaces[i].iid))
    {
      asked = mFaces[i].label;
      found = mFaces[i].face;
    }
  mLog.Add(mLabel, ".QueryInterface(", asked, ")");
  if (!out)
    return kBadPointer;
  *out = found;
  if (!found)
    return kNoInterface;
  found->AddRef();
  return kOk;
}

uint32 HostObject::CountUp(const char* face)
{
  mLog.Add(face, ".AddRef()");
  return uint32(++mRefCount);
}

uint32 HostObject::CountDown(const char* face)
{
  mLog.Add(face, ".Release()");
  return uint32(--mRefCount);
}

Result HostObject::Record(const char* face, const char* operation, const Args& arguments)
{
  mLog.Add(face, ".", operation, "(", arguments.Text(), ")");
  return kOk;
}

HostObject::HostObject(CallLog& log, const char* kind, int number) : mLog(log)
{
  char digits[24];
  FormatInteger(number, digits);
  CopyText(mLabel, sizeof mLabel, kind);
  const uint32 length = TextLength(mLabel);
  CopyText(mLabel + length, sizeof mLabel - length, digits);
  mLog.Name(static_cast<Unknown*>(this), mLabel);
}

MadeObject::MadeObject(CallLog& log, const char* kind, int number) : HostObject(log, kind, number)
{
  CopyText(secondLabel, sizeof secondLabel, Label());
  const uint32 length = TextLength(secondLabel);
  CopyText(secondLabel + length, sizeof secondLabel - length, "/2");
}

// ---- Registration ------------------------------------------------------------------------------

RegistrationHost::RegistrationHost(CallLog& log) : HostObject(log, "Host")
{
  Offer(ids::kFactory, Arena::Make<FactoryFace>(*this), "Factory");
}

MadeObject* RegistrationHost::Make(const char* kind)
{
  int& count = SameText(kind, "Collection")  ? mCollections
               : SameText(kind, "Effect")    ? mEffects
               : SameText(kind, "Component") ? mComponents
               : SameText(kind, "Map")       ? mMaps
                                             : mServices;
  if (mMadeCount == int(sizeof mMade / sizeof mMade[0]))
    return nullptr;
  MadeObject* made = Arena::Make<MadeObject>(Log(), kind, ++count);
  mMade[mMadeCount++] = made;
  return made;
}

MadeObject* RegistrationHost::Find(const char* label) const
{
  for (int i = 0; i < mMadeCount; ++i)
    if (SameText(mMade[i]->Label(), label))
      return mMade[i];
  return nullptr;
}

Result RegistrationHost::CreateInstance(const Guid& classId, const Guid& iid, void** out)
{
  if (!out)
    return kBadPointer;
  *out = nullptr;
  MadeObject* made = nullptr;
  if (SameGuid(classId, ids::kCollectionClass) && (made = Make("Collection")))
  {
    auto* face = Arena::Make<CollectionFace>(*made, made->Label());
    made->Offer(ids::kCollection, face, made->Label());
    // The collection hands out the plug-in definition registration asks for.
    made->Offer(ids::kPluginDefinition, face, "Definition");
  }
  else if (SameGuid(classId, ids::kEffectClass) && (made = Make("Effect")))
  {
    made->Offer(ids::kEffect, Arena::Make<EffectFace>(*made, made->Label()), made->Label());
    made->Offer(ids::kEffect2, Arena::Make<EffectFace>(*made, made->secondLabel), made->secondLabel);
  }
  else if (SameGuid(classId, ids::kComponentClass) && (made = Make("Component")))
  {
    made->Offer(ids::kComponent, Arena::Make<ComponentFace>(*made, made->Label()), made->Label());
    made->Offer(ids::kComponent2, Arena::Make<ComponentFace>(*made, made->secondLabel), made->secondLabel);
  }
  else if (SameGuid(classId, ids::kMapClass) && (made = Make("Map")))
  {
    made->Offer(ids::kMap, Arena::Make<MapFace>(*made, made->Label()), made->Label());
    made->Offer(ids::kMap2, Arena::Make<MapFace>(*made, made->secondLabel), made->secondLabel);
  }
  else if (SameGuid(classId, ids::kServicesClass) && (made = Make("Services")))
    made->Offer(ids::kServices, Arena::Make<ServicesFace>(*made, made->Label()), made->Label());
  if (!made)
    return kNoInterface;
  return made->QueryInterface(iid, out);
}

AnyProcedure RegistrationHost::Procedure(uint32 procedureId) const
{
  const MadeObject* effect = Find("Effect1");
  return effect && procedureId < 2 ? effect->procedures[procedureId] : nullptr;
}

AnyProcedure RegistrationHost::ProcessProcedure() const
{
  const MadeObject* component = Find("Component1");
  return component ? component->processProcedure : nullptr;
}

int RegistrationHost::Unbalanced() const
{
  int unbalanced = RefCount() != 0 ? 1 : 0;
  for (int i = 0; i < mMadeCount; ++i)
    unbalanced += mMade[i]->RefCount() != 0 ? 1 : 0;
  return unbalanced;
}

// ---- Instances ---------------------------------------------------------------------------------

InstanceHost::InstanceHost(CallLog& log, const char* label) : HostObject(log, label)
{
  Offer(ids::kController, Arena::Make<ControllerFace>(*this, "Controller"), "Controller");
  Offer(ids::kController2, Arena::Make<ControllerFace>(*this, "Controller2"), "Controller2");
  Offer(ids::kAutomation, Arena::Make<AutomationFace>(*this), "Automation");
  Offer(ids::kTransport, Arena::Make<TransportFace>(*this, "Transport"), "Transport");
  Offer(ids::kTransport2, Arena::Make<TransportFace>(*this, "Transport2"), "Transport2");
}

Result __stdcall InstanceHost::QueryInterface(const Guid& iid, void** out)
{
  if (!SameGuid(iid, ids::kEffectParameters))
    return HostObject::QueryInterface(iid, out);
  Log().Add(Label(), ".QueryInterface(EffectParameters)");
  if (!out)
    return kBadPointer;
  *out = offerEffect ? effect : nullptr;
  if (!*out)
    return kNoInterface;
  effect->AddRef();
  return kOk;
}

void InstanceHost::AnswerRequest(const char* id, double normalized)
{
  ++requests;
  if (effect)
    effect->ApplyHostValue(id, normalized, 0);
}

ViewHost::ViewHost(CallLog& log, void* window) : HostObject(log, "ViewHost")
{
  Offer(ids::kViewContainer, Arena::Make<ViewFace>(*this, window), "View");
}

// ---- Strings -----------------------------------------------------------------------------------

void HostText::AssignChars(const char* text)
{
  CopyText(mText, sizeof mText, text);
  mLength = TextLength(mText);
}

HostString& HostText::AssignCharsChained(const char* text)
{
  AssignChars(text);
  return *this;
}

HostString& HostText::AssignFrom(const HostString& other)
{
  AssignChars(other.Chars());
  return *this;
}

}  // namespace msabi
