#include "framework/bindings/aax/AAX_CIPlugParameters.h"

#include <cstring>
#include <mutex>
#include <set>

namespace {
// The module's live effect-parameters objects, by the interface the host holds, so that an
// interface handed back by the host is only used when it is one of ours.
std::mutex& LiveLock()
{
  static std::mutex lock;
  return lock;
}
std::set<const void*>& LiveObjects()
{
  static std::set<const void*> live;
  return live;
}
const void* Face(const AAX_CIPlugParameters* object)
{
  return static_cast<const AAX_IACFEffectParameters*>(object);
}
}  // namespace

AAX_CIPlugParameters::AAX_CIPlugParameters()
{
  std::lock_guard<std::mutex> lock(LiveLock());
  LiveObjects().insert(Face(this));
}

AAX_CIPlugParameters::~AAX_CIPlugParameters()
{
  std::lock_guard<std::mutex> lock(LiveLock());
  LiveObjects().erase(Face(this));
}

AAX_CIPlugParameters* AAX_CIPlugParameters::FromInterface(const void* face)
{
  std::lock_guard<std::mutex> lock(LiveLock());
  if (!face || !LiveObjects().count(face))
    return nullptr;
  return static_cast<AAX_CIPlugParameters*>(
    const_cast<AAX_IACFEffectParameters*>(static_cast<const AAX_IACFEffectParameters*>(face)));
}

ACFResult AAX_CIPlugParameters::FillCustomData(uint32_t dataType, void* block, uint32_t size)
{
  if (dataType != kAAX_FieldInstance || !block || size < sizeof(void*))
    return AAX_CEffectParameters::FillCustomData(dataType, block, size);
  AAX_CIPlugParameters* self = this;
  std::memset(block, 0, size);
  std::memcpy(block, &self, sizeof self);
  return kAAX_Success;
}

void AAX_CIPlugParameters::ProcessAudio(const AAX_RenderContext*) {}

void AAX_CIPlugParameters::RenderEntry(AAX_RenderContext* const* first, AAX_RenderContext* const* end)
{
  for (AAX_RenderContext* const* at = first; at && at < end; ++at)
  {
    const AAX_RenderContext* context = *at;
    if (!context || !context->instance || !*context->instance)
      continue;
    try
    {
      static_cast<AAX_CIPlugParameters*>(*context->instance)->ProcessAudio(context);
    }
    catch (...)
    {
      // That instance's block is lost; the host and the other instances go on.
    }
  }
}
