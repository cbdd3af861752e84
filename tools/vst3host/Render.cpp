#include "tools/vst3host/Render.h"

#include <algorithm>

namespace vst3host {

vst3::SpeakerArrangement arrangementFor(int channels)
{
  switch (channels) {
    case 1: return vst3::arrangement::kMono;
    case 2: return vst3::arrangement::kStereo;
    default: return vst3::arrangement::kEmpty;
  }
}

bool render(fakehost::HostDriver& driver, const AudioBuffer& in, AudioBuffer& out, std::string& error)
{
  fakehost::AudioBuffers& inputs = driver.inputs();
  fakehost::AudioBuffers& outputs = driver.outputs();
  if (outputs.busCount() < 1 || outputs.channelCount(0) < 1) {
    error = "the plug-in has no audio output";
    return false;
  }
  const int inChannels = inputs.busCount() > 0 ? inputs.channelCount(0) : 0;
  const int outChannels = outputs.channelCount(0);
  const std::size_t frames = in.numFrames();
  AudioBuffer result;
  result.sampleRate = in.sampleRate;
  result.resize(outChannels, frames);
  const auto block = static_cast<std::size_t>(driver.settings().maxBlock);
  for (std::size_t pos = 0; pos < frames; pos += block) {
    const auto n = static_cast<vst3::int32>(std::min(block, frames - pos));
    for (int c = 0; c < inChannels; ++c) {
      const auto& source = in.channels[static_cast<std::size_t>(c % std::max(1, in.numChannels()))];
      for (vst3::int32 i = 0; i < n; ++i) inputs.setSample(0, c, i, source[pos + static_cast<std::size_t>(i)]);
    }
    const vst3::tresult r = driver.process(n);
    if (r != vst3::kResultOk) {
      error = "process failed at frame " + std::to_string(pos) + ": " + fakehost::resultName(r);
      return false;
    }
    for (int c = 0; c < outChannels; ++c)
      for (vst3::int32 i = 0; i < n; ++i)
        result.channels[static_cast<std::size_t>(c)][pos + static_cast<std::size_t>(i)] = outputs.sample(0, c, i);
  }
  out = std::move(result);
  return true;
}

}  // namespace vst3host
