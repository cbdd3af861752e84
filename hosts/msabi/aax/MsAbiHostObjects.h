#pragma once

// The host's objects, as a host built with Microsoft's compiler implements them: one
// identity and reference count behind several interfaces ("faces"), every query, reference
// and operation written to the call log in the words the recording host of the tree uses.
#include "hosts/msabi/aax/MsAbiSupport.h"

namespace msabi {

class HostObject : public Unknown
{
public:
  HostObject(CallLog& log, const char* label);
  // Labelled by kind and number: "Effect1".
  HostObject(CallLog& log, const char* kind, int number);

  Result __stdcall QueryInterface(const Guid& iid, void** out) override;
  uint32 __stdcall AddRef() override { return CountUp(mLabel); }
  uint32 __stdcall Release() override { return CountDown(mLabel); }

  int32 RefCount() const { return mRefCount; }
  const char* Label() const { return mLabel; }
  CallLog& Log() const { return mLog; }

  void Offer(const Guid& iid, Unknown* face, const char* faceLabel);
  uint32 CountUp(const char* face);
  uint32 CountDown(const char* face);
  // Logs "<face>.<operation>(<arguments>)"; every operation succeeds.
  Result Record(const char* face, const char* operation, const Args& arguments);

private:
  struct Face
  {
    Guid iid;
    Unknown* face;
    const char* label;
  };

  CallLog& mLog;
  char mLabel[24] = {};
  int32 mRefCount = 0;
  Face mFaces[6] = {};
  int mFaceCount = 0;
};

// An interface of a host object that shares the object's identity and count.
template <typename I>
class HostFace : public I
{
public:
  HostFace(HostObject& owner, const char* label) : mOwner(owner), mLabel(label) {}

  Result __stdcall QueryInterface(const Guid& iid, void** out) override { return mOwner.QueryInterface(iid, out); }
  uint32 __stdcall AddRef() override { return mOwner.CountUp(mLabel); }
  uint32 __stdcall Release() override { return mOwner.CountDown(mLabel); }

protected:
  template <typename... A>
  Result Record(const char* operation, A... arguments)
  {
    Args text(mOwner.Log());
    ((text << arguments), ...);
    return mOwner.Record(mLabel, operation, text);
  }

  HostObject& mOwner;
  const char* mLabel;
};

// A description object or the host services, made by the registration host's factory and
// labelled by kind and number ("Effect1"), its second interface by the label and "/2".
class MadeObject : public HostObject
{
public:
  MadeObject(CallLog& log, const char* kind, int number);

  AnyProcedure procedures[2] = {};
  AnyProcedure processProcedure = nullptr;
  char secondLabel[28] = {};
};

// The host object handed to start-up and registration, with its component factory.
class RegistrationHost : public HostObject
{
public:
  explicit RegistrationHost(CallLog& log);

  Result CreateInstance(const Guid& classId, const Guid& iid, void** out);
  // The procedure the first effect registered under that id, or null.
  AnyProcedure Procedure(uint32 procedureId) const;
  // The process procedure of the first component, or null.
  AnyProcedure ProcessProcedure() const;
  // Host objects whose references did not all come back.
  int Unbalanced() const;

private:
  MadeObject* Make(const char* kind);
  MadeObject* Find(const char* label) const;

  MadeObject* mMade[16] = {};
  int mMadeCount = 0;
  int mCollections = 0, mEffects = 0, mComponents = 0, mMaps = 0, mServices = 0;
};

// What the instance's host object answers.
struct InstanceSettings
{
  float sampleRate = 48000.0f;
  uint32 inStem = 0x00010002;
  uint32 outStem = 0x00010002;
};

// The host object an instance (or its editor) is started with: controller, automation and
// transport faces. A value request is answered at once by applying the value, as a host does.
class InstanceHost : public HostObject
{
public:
  InstanceHost(CallLog& log, const char* label);

  Result __stdcall QueryInterface(const Guid& iid, void** out) override;

  InstanceSettings settings;
  // The instance requests are applied to; as an editor's host object, also handed out.
  EffectParameters* effect = nullptr;
  bool offerEffect = false;
  int requests = 0;

  void AnswerRequest(const char* id, double normalized);
};

// The host's view of an editor ("View"): its window, no modifiers of its own; it leaves
// every click on a parameter to the editor.
class ViewHost : public HostObject
{
public:
  ViewHost(CallLog& log, void* window);
};

// A string the host owns and lends the module to write into.
class HostText final : public HostString
{
public:
  HostText() = default;
  explicit HostText(const char* text) { AssignChars(text); }

  void Destroy(unsigned) override {}
  uint32 CharCount() const override { return mLength; }
  uint32 CapacityLimit() const override { return sizeof mText - 1; }
  const char* Chars() const override { return mText; }
  void AssignChars(const char* text) override;
  HostString& AssignCharsChained(const char* text) override;
  HostString& AssignFrom(const HostString& other) override;

private:
  char mText[256] = {};
  uint32 mLength = 0;
};

}  // namespace msabi
