#include "hosts/vst3/ProcessDataBuilder.h"

#include <cstring>

namespace vst3host {

ProcessDataBuilder::ProcessDataBuilder(vst3::int32 symbolicSampleSize, vst3::int32 frames)
{
  std::memset(&mData, 0, sizeof mData);
  mData.processMode = vst3::kRealtime;
  mData.symbolicSampleSize = symbolicSampleSize;
  mData.numSamples = frames;
}

ProcessDataBuilder& ProcessDataBuilder::mode(vst3::int32 processMode)
{
  mData.processMode = processMode;
  return *this;
}

ProcessDataBuilder& ProcessDataBuilder::inputs(AudioBuffers& buffers)
{
  mData.numInputs = buffers.busCount();
  mData.inputs = buffers.buses();
  return *this;
}

ProcessDataBuilder& ProcessDataBuilder::outputs(AudioBuffers& buffers)
{
  mData.numOutputs = buffers.busCount();
  mData.outputs = buffers.buses();
  return *this;
}

ProcessDataBuilder& ProcessDataBuilder::emptyBuses(AudioBuffers& inputs, AudioBuffers& outputs)
{
  if (inputs.busCount() > 0)
  {
    mEmptyIn = inputs.buses()[0];
    mEmptyIn.numChannels = 0;
    mData.inputs = &mEmptyIn;
  }
  if (outputs.busCount() > 0)
  {
    mEmptyOut = outputs.buses()[0];
    mEmptyOut.numChannels = 0;
    mData.outputs = &mEmptyOut;
  }
  mData.numInputs = 0;
  mData.numOutputs = 0;
  return *this;
}

ProcessDataBuilder& ProcessDataBuilder::changes(vst3::IParameterChanges* in, vst3::IParameterChanges* out)
{
  mData.inputParameterChanges = in;
  mData.outputParameterChanges = out;
  return *this;
}

ProcessDataBuilder& ProcessDataBuilder::events(vst3::IEventList* in, vst3::IEventList* out)
{
  mData.inputEvents = in;
  mData.outputEvents = out;
  return *this;
}

ProcessDataBuilder& ProcessDataBuilder::context(vst3::ProcessContext* transport)
{
  mData.processContext = transport;
  return *this;
}

}  // namespace vst3host
