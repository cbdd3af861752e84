#include "tools/plughost/Render.h"

#include <algorithm>

namespace plughost {

vst3::SpeakerArrangement arrangementFor(int channels)
{
  switch (channels)
  {
  case 1:
    return vst3::arrangement::kMono;
  case 2:
    return vst3::arrangement::kStereo;
  default:
    return vst3::arrangement::kEmpty;
  }
}

bool render(vst3host::HostDriver& driver, const AudioBuffer& in, AudioBuffer& out, std::string& error)
{
  vst3host::AudioBuffers& inputs = driver.inputs();
  vst3host::AudioBuffers& outputs = driver.outputs();
  if (outputs.busCount() < 1 || outputs.channelCount(0) < 1)
  {
    error = "the plug-in has no audio output";
    return false;
  }
  const int inChannels = inputs.busCount() > 0 ? inputs.channelCount(0) : 0;
  const int outChannels = outputs.channelCount(0);
  const std::size_t frames = in.numFrames();
  AudioBuffer result;
  result.sampleRate = in.sampleRate;
  result.resize(outChannels, frames);
  // The plug-in's latency is rendered past the end and dropped from the start, so the result
  // lines up with the input. A latency beyond a minute is not believable and is ignored.
  const vst3::uint32 reported = driver.processor()->getLatencySamples();
  const std::size_t latency = reported <= 60.0 * in.sampleRate ? reported : 0;
  const std::size_t total = frames + latency;
  const auto block = static_cast<std::size_t>(driver.settings().maxBlock);
  for (std::size_t pos = 0; pos < total; pos += block)
  {
    const auto n = static_cast<vst3::int32>(std::min(block, total - pos));
    for (int c = 0; c < inChannels; ++c)
    {
      const auto& source = in.channels[static_cast<std::size_t>(c % std::max(1, in.numChannels()))];
      for (vst3::int32 i = 0; i < n; ++i)
      {
        const std::size_t at = pos + static_cast<std::size_t>(i);
        inputs.setSample(0, c, i, at < frames ? source[at] : 0.0);
      }
    }
    const vst3::tresult r = driver.process(n);
    if (r != vst3::kResultOk)
    {
      error = "process failed at frame " + std::to_string(pos) + ": " + vst3host::resultName(r);
      return false;
    }
    for (int c = 0; c < outChannels; ++c)
    {
      for (vst3::int32 i = 0; i < n; ++i)
      {
        const std::size_t at = pos + static_cast<std::size_t>(i);
        if (at >= latency)
          result.channels[static_cast<std::size_t>(c)][at - latency] = outputs.sample(0, c, i);
      }
    }
  }
  out = std::move(result);
  return true;
}

}  // namespace plughost
