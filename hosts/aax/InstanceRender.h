#pragma once

#include "hosts/aax/InstanceHost.h"
#include "sdk/aax/AAX_IACFEffectParameters.h"
#include "sdk/aax/HostRenderContext.h"

#include <memory>
#include <vector>

namespace aaxhost {

// One instance as the host renders it: its render context with the private block the
// instance filled, the block length, the MIDI node ("MidiNode") and the transport node with
// its transport ("RenderTransport", answering from the instance host's transport fields).
// Calls are written to the instance host's log; results can be scripted there.
class InstanceRender
{
public:
  explicit InstanceRender(InstanceHost& host);
  ~InstanceRender();
  InstanceRender(const InstanceRender&) = delete;
  InstanceRender& operator=(const InstanceRender&) = delete;

  // Has the instance fill its private block, as a host does before the first render.
  ACFResult Bind(AAX_IACFEffectParameters* parameters);
  // The host's channel buffers and block length for the next render.
  void SetBlock(float** inputs, float** outputs, int32_t frames);
  // A MIDI message for the next render, at a sample offset into the block.
  void AddMidi(int32_t offset, uint8_t status, uint8_t data1, uint8_t data2);
  void ClearMidi() { mPackets.clear(); }
  // Context fields a host might leave empty.
  void OmitMidiNode(bool omit);
  void OmitTransportNode(bool omit);

  AAX_RenderContext* Context() { return &mContext; }

private:
  class MidiNode;
  class TransportNode;

  InstanceHost& mHost;
  std::vector<unsigned char> mPackets;
  std::unique_ptr<MidiNode> mMidiNode;
  std::unique_ptr<TransportNode> mTransportNode;
  int32_t mFrames = 0;
  void* mInstanceBlock = nullptr;
  AAX_RenderContext mContext{};
};

// Calls the module's render procedure once over the contexts, as the host renders one block
// of several instances.
void RenderContexts(AAX_RenderProcedure render, const std::vector<AAX_RenderContext*>& contexts);

}  // namespace aaxhost
