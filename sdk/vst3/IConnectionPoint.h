// Messaging between a component and its controller, and the messages it carries.
#pragma once

#include "sdk/vst3/FUnknown.h"

namespace vst3 {

class IAttributeList : public FUnknown
{
public:
  virtual tresult PLUGIN_API setInt(AttrID id, int64 value) = 0;
  virtual tresult PLUGIN_API getInt(AttrID id, int64& value) = 0;
  virtual tresult PLUGIN_API setFloat(AttrID id, double value) = 0;
  virtual tresult PLUGIN_API getFloat(AttrID id, double& value) = 0;
  virtual tresult PLUGIN_API setString(AttrID id, const TChar* string) = 0;
  virtual tresult PLUGIN_API getString(AttrID id, TChar* string, uint32 sizeInBytes) = 0;
  virtual tresult PLUGIN_API setBinary(AttrID id, const void* data, uint32 sizeInBytes) = 0;
  virtual tresult PLUGIN_API getBinary(AttrID id, const void*& data, uint32& sizeInBytes) = 0;
  TQ_VST3_IID(1E5F0AEB, CC7F4533, A2544011, 38AD5EE4);
};

class IMessage : public FUnknown
{
public:
  virtual FIDString PLUGIN_API getMessageID() = 0;
  virtual void PLUGIN_API setMessageID(FIDString id) = 0;
  virtual IAttributeList* PLUGIN_API getAttributes() = 0;
  TQ_VST3_IID(936F033B, C6C047DB, BB0882F8, 13C1E613);
};

class IConnectionPoint : public FUnknown
{
public:
  virtual tresult PLUGIN_API connect(IConnectionPoint* other) = 0;
  virtual tresult PLUGIN_API disconnect(IConnectionPoint* other) = 0;
  virtual tresult PLUGIN_API notify(IMessage* message) = 0;
  TQ_VST3_IID(70A4156F, 6E6E4026, 989148BF, AA60D8D1);
};

}  // namespace vst3
