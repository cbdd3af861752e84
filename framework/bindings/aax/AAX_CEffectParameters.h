#pragma once

#include "framework/bindings/aax/AAX_CChunkDataParser.h"
#include "framework/bindings/aax/AAX_VAutomationDelegate.h"
#include "framework/bindings/aax/AAX_VController.h"
#include "framework/bindings/aax/AAX_VTransport.h"
#include "framework/bindings/aax/CACFUnknown.h"
#include "framework/bindings/aax/PacketQueue.h"
#include "framework/bindings/aax/ParameterRegistry.h"
#include "sdk/aax/AAX_IACFEffectParameters.h"

#include <cmath>
#include <set>
#include <string>

// The module side of the effect-parameters interface.
class AAX_IEffectParameters : public AAX_IACFEffectParameters_V2
{
protected:
  ~AAX_IEffectParameters() = default;
};

// The object through which the host starts and stops an instance, reaches its parameters by
// identifier, exchanges saved state and collects data packets. It owns the instance's
// parameters, the wrappers over the host's controller, automation and transport (from
// StartInstance to StopInstance), a packet queue and the parser of its own chunk, 'elck',
// which holds every parameter's value by identifier. A plug-in derives from it and adds its
// parameters in DefineParameters.
//
// Every host-called operation checks the pointers it is given (-20002 for a missing out
// argument or text) and turns an exception into a result code; normalised values and deltas
// that are not finite are refused with -20002 and change nothing.
class AAX_CEffectParameters : public AAX_IEffectParameters, public CACFUnknown
{
public:
  static constexpr uint32_t kControlsChunkId = FourCC("elck");
  static constexpr const char* kControlsChunkName = "Complete Controls State";
  static constexpr uint32_t kPreviewNotification = FourCC("ASPv");
  static constexpr const char* kPreviewParameterId = "PreviewID";
  static constexpr const char* kMasterBypassParameterId = "MasterBypassID";

  AAX_CEffectParameters();
  ~AAX_CEffectParameters() override;

  // ---- IACFUnknown: forwarded to the controlling unknown ----
  ACFResult ACF_STDCALL QueryInterface(const ACFGuid& iid, void** out) override;
  uint32_t ACF_STDCALL AddRef() override;
  uint32_t ACF_STDCALL Release() override;

  // ---- Instance ----
  ACFResult StartInstance(IACFUnknown* hostController) override;
  ACFResult StopInstance() override;
  ACFResult HandleHostNotification(uint32_t type, const void* data, uint32_t size) override;

  // ---- Parameters by identifier ----
  ACFResult CountParameters(int32_t* count) const override;
  ACFResult CopyBypassParameterId(AAX_IString* id) const override;
  ACFResult QueryParameterAutomatable(const char* id, bool* automatable) const override;
  ACFResult QueryParameterStepCount(const char* id, int32_t* steps) const override;
  ACFResult CopyParameterName(const char* id, AAX_IString* name) const override;
  ACFResult CopyParameterShortName(const char* id, AAX_IString* name, int32_t limit) const override;
  ACFResult QueryParameterDefault(const char* id, double* normalized) const override;
  ACFResult ChangeParameterDefault(const char* id, double normalized) override;
  ACFResult QueryParameterKind(const char* id, int32_t* kind) const override;
  ACFResult QueryParameterLayoutWord(const char* id, int32_t* word) const override;
  ACFResult FindParameter(const char* id, AAX_IParameter** parameter) override;
  ACFResult FindParameterIndex(const char* id, int32_t* index) const override;
  ACFResult CopyParameterIdAt(int32_t index, AAX_IString* id) const override;
  ACFResult QueryParameterExtra(const char* id, uint32_t selector, int32_t* value) const override;

  // ---- Texts: a number trims itself to the host's limit; a list or on/off text comes whole ----
  ACFResult ParseParameterText(const char* id, double* normalized, const AAX_IString* text) const override;
  ACFResult FormatNormalizedValue(const char* id, double normalized, AAX_IString* text, int32_t limit) const override;
  ACFResult FormatCurrentValue(const char* id, AAX_IString* text, int32_t limit) const override;

  // ---- Values ----
  ACFResult QueryNormalizedValue(const char* id, double* normalized) const override;
  ACFResult ChangeNormalizedValue(const char* id, double normalized) override;
  ACFResult ChangeNormalizedValueBy(const char* id, double delta) override;
  ACFResult BeginParameterGesture(const char* id) override;
  ACFResult EndParameterGesture(const char* id) override;
  ACFResult IdleTwoArgsA(ACFWord, ACFWord) override { return kAAX_Success; }
  ACFResult ApplyHostValue(const char* id, double normalized, uint32_t cause) override;
  ACFResult ApplyHostValueBy(const char* id, double delta) override;
  ACFResult FlushPackets() override;
  ACFResult FillCustomData(uint32_t dataType, void* block, uint32_t size) override;

  // ---- Chunks ----
  ACFResult CountChunks(int32_t* count) const override;
  ACFResult ChunkIdAt(int32_t index, uint32_t* chunkId) const override;
  ACFResult MeasureChunk(uint32_t chunkId, int32_t* size) override;
  ACFResult WriteChunk(uint32_t chunkId, AAX_ChunkHeader* record) override;
  ACFResult ReadChunk(uint32_t chunkId, const AAX_ChunkHeader* record) override;
  ACFResult MatchChunk(const AAX_ChunkHeader* record, bool* equal) override;
  ACFResult CountChanges(int32_t* changes) const override;

  // ---- Operations without work here ----
  ACFResult IdleNoArgsA() override { return kAAX_Success; }
  ACFResult UnsupportedFourArgs(ACFWord, ACFWord, ACFWord, ACFWord) override { return kAAX_ErrUnsupported; }
  ACFResult EmptyAnswer(ACFWord, ACFWord, ACFWord, uint32_t* answer) override;
  ACFResult IdleThreeArgs(ACFWord, ACFWord, ACFWord) override { return kAAX_Success; }
  ACFResult IdleNoArgsB() override { return kAAX_Success; }
  ACFResult UnsupportedOneArg(ACFWord) override { return kAAX_ErrUnsupported; }
  ACFResult IdleTwoArgsB(ACFWord, ACFWord) override { return kAAX_Success; }
  ACFResult IdleTwoArgsC(ACFWord, ACFWord) override { return kAAX_Success; }

  // The plug-in's own parameters, added to Parameters() at the end of StartInstance.
  virtual ACFResult DefineParameters() { return kAAX_Success; }

  // ---- CACFUnknown: answers both revisions of the effect-parameters interface ----
  ACFResult InnerQueryInterface(const ACFGuid& iid, void** out) override;

  // The host's controller while the instance runs, null otherwise.
  AAX_IController* HostController() const { return mController; }
  // Leaves an identifier out of the 'elck' chunk, its comparison and its restore.
  void ExcludeFromChunk(const char* id);
  // Fills the parser with every included parameter's value, in parameter order.
  void CollectChunkValues();

protected:
  ParameterRegistry& Parameters() { return mParameters; }
  const ParameterRegistry& Parameters() const { return mParameters; }
  PacketQueue& Packets() { return mPackets; }
  // One more host-visible change; after the largest count it starts again at 0.
  void CountChange();
  // The first steps of the host setting a value: the parameter applies it (and reports it to
  // the host's automation); -20001 without the parameter, -20002 for a value that is not
  // finite. The parameter is handed to `then` when it took the value.
  template <typename Then>
  ACFResult ApplyHostValueThen(const char* id, double normalized, Then then)
  {
    return Change(id, normalized, [&](AAX_IParameter& parameter, double value) {
      parameter.ApplyNormalizedValue(value);
      then(parameter);
    });
  }
  // The last steps of the host setting a value: the packets fed by the parameter are marked,
  // and the change is counted.
  ACFResult RecordHostChange(const char* id);

private:
  // Deletes the parameters, then the wrappers (controller, automation, transport).
  void EndInstance();
  AAX_IParameter* Find(const char* id) const { return mParameters.FindMutable(id); }

  // A query of one parameter: -20002 without an out pointer, -20001 without the parameter,
  // else the answer of `read` stored in `out`.
  template <typename Out, typename Read>
  ACFResult Answer(const char* id, Out* out, Read read) const
  {
    if (!out)
      return kAAX_ErrBadTextOrOutput;
    const AAX_IParameter* parameter = Find(id);
    if (!parameter)
      return kAAX_ErrParameterNotFound;
    *out = read(*parameter);
    return kAAX_Success;
  }

  // A change of one parameter by a normalised value: -20001 without the parameter, -20002 for
  // a value that is not finite, and no exception reaches the host.
  template <typename Apply>
  ACFResult Change(const char* id, double normalized, Apply apply)
  {
    return GuardedHostCall([&] {
      AAX_IParameter* parameter = Find(id);
      if (!parameter)
        return kAAX_ErrParameterNotFound;
      if (!std::isfinite(normalized))
        return kAAX_ErrBadTextOrOutput;
      apply(*parameter, normalized);
      return kAAX_Success;
    });
  }

  int32_t mChangeCounter = 0;
  int32_t mLastChunkSize = 0;
  AAX_CChunkDataParser mParser;
  PacketQueue mPackets;
  ParameterRegistry mParameters;
  std::set<std::string> mExcluded;
  AAX_VController* mController = nullptr;
  AAX_VTransport* mTransport = nullptr;
  AAX_VAutomationDelegate* mAutomation = nullptr;
};
