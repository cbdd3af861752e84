#pragma once
// Planar audio held by the host tool: one vector of samples per channel, all the same length.

#include <cstddef>
#include <vector>

namespace plughost {

struct AudioBuffer
{
  double sampleRate = 44100.0;
  std::vector<std::vector<double>> channels;

  int numChannels() const { return static_cast<int>(channels.size()); }
  std::size_t numFrames() const { return channels.empty() ? 0 : channels[0].size(); }
  void resize(int numChannels, std::size_t numFrames)
  {
    channels.assign(static_cast<std::size_t>(numChannels), std::vector<double>(numFrames, 0.0));
  }
};

}  // namespace plughost
