#include "tests/hosts/vst3/ProcessDataBuilder.h"

#include <cstring>

namespace fakehost {

ProcessDataBuilder::ProcessDataBuilder(vst3::int32 symbolicSampleSize, vst3::int32 frames)
{
  std::memset(&data_, 0, sizeof data_);
  data_.processMode = vst3::kRealtime;
  data_.symbolicSampleSize = symbolicSampleSize;
  data_.numSamples = frames;
}

ProcessDataBuilder& ProcessDataBuilder::mode(vst3::int32 processMode)
{
  data_.processMode = processMode;
  return *this;
}

ProcessDataBuilder& ProcessDataBuilder::inputs(AudioBuffers& buffers)
{
  data_.numInputs = buffers.busCount();
  data_.inputs = buffers.buses();
  return *this;
}

ProcessDataBuilder& ProcessDataBuilder::outputs(AudioBuffers& buffers)
{
  data_.numOutputs = buffers.busCount();
  data_.outputs = buffers.buses();
  return *this;
}

ProcessDataBuilder& ProcessDataBuilder::emptyBuses(AudioBuffers& inputs, AudioBuffers& outputs)
{
  if (inputs.busCount() > 0) {
    emptyIn_ = inputs.buses()[0];
    emptyIn_.numChannels = 0;
    data_.inputs = &emptyIn_;
  }
  if (outputs.busCount() > 0) {
    emptyOut_ = outputs.buses()[0];
    emptyOut_.numChannels = 0;
    data_.outputs = &emptyOut_;
  }
  data_.numInputs = 0;
  data_.numOutputs = 0;
  return *this;
}

ProcessDataBuilder& ProcessDataBuilder::changes(vst3::IParameterChanges* in, vst3::IParameterChanges* out)
{
  data_.inputParameterChanges = in;
  data_.outputParameterChanges = out;
  return *this;
}

ProcessDataBuilder& ProcessDataBuilder::events(vst3::IEventList* in, vst3::IEventList* out)
{
  data_.inputEvents = in;
  data_.outputEvents = out;
  return *this;
}

ProcessDataBuilder& ProcessDataBuilder::context(vst3::ProcessContext* transport)
{
  data_.processContext = transport;
  return *this;
}

}  // namespace fakehost
