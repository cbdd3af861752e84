// Small host-side objects for the layer's tests. They live on the stack and only count
// their references, so a test can check that every reference taken was given back.
#pragma once

#include <string>
#include <vector>

#include "sdk/vst3/Interfaces.h"
#include "sdk/vst3/StringConvert.h"

namespace vst3test {

using namespace vst3;

// Counts references; answers FUnknown and the listed interfaces with the same object.
template <typename... Is>
class Counted : public Is...
{
public:
  tresult PLUGIN_API queryInterface(const TUID id, void** obj) override
  {
    if (!obj)
      return kInvalidArgument;
    *obj = nullptr;
    if (iidEqual(id, FUnknown::iid))
      *obj = static_cast<FUnknown*>(first());
    (void)(... || tryAs<Is>(id, obj));
    if (!*obj)
      return kNoInterface;
    ++refs;
    return kResultOk;
  }
  uint32 PLUGIN_API addRef() override { return static_cast<uint32>(++refs); }
  uint32 PLUGIN_API release() override { return static_cast<uint32>(--refs); }

  FUnknown* unknown() { return static_cast<FUnknown*>(first()); }

  int refs = 1;

private:
  template <typename I>
  bool tryAs(const TUID id, void** obj)
  {
    if (!iidEqual(id, I::iid))
      return false;
    *obj = static_cast<I*>(this);
    return true;
  }
  template <typename I, typename...>
  struct First
  {
    using type = I;
  };
  typename First<Is...>::type* first() { return this; }
};

class FakeHost : public Counted<IHostApplication>
{
public:
  tresult PLUGIN_API getName(TChar* name) override
  {
    str8ToStr16(name, "Test Host", 128);
    return kResultOk;
  }
  tresult PLUGIN_API createInstance(char*, char*, void** obj) override
  {
    if (obj)
      *obj = nullptr;
    return kNotImplemented;
  }
};

// Records the values of performed edits.
template <typename... More>
class Handler : public Counted<IComponentHandler, More...>
{
public:
  tresult PLUGIN_API beginEdit(ParamID) override { return kResultOk; }
  tresult PLUGIN_API performEdit(ParamID, ParamValue v) override
  {
    edits.push_back(v);
    return kResultOk;
  }
  tresult PLUGIN_API endEdit(ParamID) override { return kResultOk; }
  tresult PLUGIN_API restartComponent(int32) override { return kResultOk; }
  std::vector<double> edits;
};

using FakeHandler = Handler<>;

class FakeHandler2 : public Handler<IComponentHandler2>
{
public:
  tresult PLUGIN_API setDirty(TBool state) override
  {
    dirty = state != 0;
    return kResultOk;
  }
  tresult PLUGIN_API requestOpenEditor(FIDString) override { return kResultOk; }
  tresult PLUGIN_API startGroupEdit() override
  {
    ++groupEdits;
    return kResultOk;
  }
  tresult PLUGIN_API finishGroupEdit() override
  {
    --groupEdits;
    return kResultOk;
  }
  bool dirty = false;
  int groupEdits = 0;
};

class FakeFrame : public Counted<IPlugFrame>
{
public:
  tresult PLUGIN_API resizeView(IPlugView*, ViewRect* r) override
  {
    if (r)
      last = *r;
    return kResultOk;
  }
  ViewRect last{};
};

// An attribute list holding one string, written the way a careless host might: the whole
// buffer filled, no terminator when the text is long.
class FakeAttributes : public Counted<IAttributeList>
{
public:
  std::u16string text;
  tresult PLUGIN_API setInt(AttrID, int64) override { return kResultFalse; }
  tresult PLUGIN_API getInt(AttrID, int64&) override { return kResultFalse; }
  tresult PLUGIN_API setFloat(AttrID, double) override { return kResultFalse; }
  tresult PLUGIN_API getFloat(AttrID, double&) override { return kResultFalse; }
  tresult PLUGIN_API setString(AttrID, const TChar*) override { return kResultFalse; }
  tresult PLUGIN_API getString(AttrID id, TChar* out, uint32 bytes) override
  {
    if (std::string(id) != "Text")
      return kResultFalse;
    const size_t units = bytes / sizeof(TChar);
    for (size_t i = 0; i < units; ++i)
      out[i] = i < text.size() ? text[i] : 0;
    return kResultOk;
  }
  tresult PLUGIN_API setBinary(AttrID, const void*, uint32) override { return kResultFalse; }
  tresult PLUGIN_API getBinary(AttrID, const void*&, uint32&) override { return kResultFalse; }
};

class FakeMessage : public Counted<IMessage>
{
public:
  std::string id = "TextMessage";
  FakeAttributes attributes;
  FIDString PLUGIN_API getMessageID() override { return id.c_str(); }
  void PLUGIN_API setMessageID(FIDString s) override { id = s ? s : ""; }
  IAttributeList* PLUGIN_API getAttributes() override { return &attributes; }
};

class FakeConnection : public Counted<IConnectionPoint>
{
public:
  tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
  tresult PLUGIN_API disconnect(IConnectionPoint*) override
  {
    ++disconnects;
    return kResultOk;
  }
  tresult PLUGIN_API notify(IMessage*) override { return kResultOk; }
  int disconnects = 0;
};

// Prefill for out-pointers, so a test sees whether a refusal cleared them.
inline void* junkPointer()
{
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x1234));
}

}  // namespace vst3test
