#pragma once

#include "framework/bindings/aax/AAX_CEffectParameters.h"
#include "framework/bindings/aax/AAX_EffectDescription.h"
#include "sdk/aax/HostRenderContext.h"

// The effect-parameters object of a framework plug-in: the host's render procedure reaches
// each instance through the address it had this object write into the context's private
// block, and the effect description declares that context.
class AAX_CIPlugParameters : public AAX_CEffectParameters
{
public:
  AAX_CIPlugParameters();
  ~AAX_CIPlugParameters() override;

  // Asked for the instance field, writes this object's address; other fields, and blocks too
  // small for an address, are zero-filled.
  ACFResult FillCustomData(uint32_t dataType, void* block, uint32_t size) override;

  // One block of this instance.
  virtual void ProcessAudio(const AAX_RenderContext* context);

  // Declares one configuration's render context, properties and render procedure on a new
  // component of the effect; answers the OR of the host's results.
  static ACFResult BuildComponent(AAX_IEffectDescriptor* effect, const EffectSetupInfo& setup);

  // The render procedure: every instance context from first up to end renders its block. A
  // context without an instance is skipped, and nothing thrown reaches the host.
  static void RenderEntry(AAX_RenderContext* const* first, AAX_RenderContext* const* end);

  // The object behind an effect-parameters interface the host hands back, when it is one of
  // this module's live objects; else null.
  static AAX_CIPlugParameters* FromInterface(const void* face);

protected:
  AAX_IParameter* mMasterBypass = nullptr;  // owned by the parameter table
  // The host's transport of the block being rendered; null outside a render.
  HostRenderTransport* mCurrentTransport = nullptr;
};
