#include "tools/plughost/AudioStream.h"

namespace plughost {

bool readAll(AudioReader* reader, AudioBuffer& out, std::string& error)
{
  if (!reader)
    return false;
  AudioBuffer all, chunk;
  all.sampleRate = reader->sampleRate();
  all.resize(reader->numChannels(), 0);
  for (;;)
  {
    if (!reader->read(65536, chunk, error))
      return false;
    if (chunk.numFrames() == 0)
      break;
    for (std::size_t c = 0; c < all.channels.size(); ++c)
      all.channels[c].insert(all.channels[c].end(), chunk.channels[c].begin(), chunk.channels[c].end());
  }
  out = std::move(all);
  return true;
}

bool writeAll(AudioWriter* writer, const AudioBuffer& in, std::string& error)
{
  return writer && writer->write(in, error) && writer->finish(error);
}

}  // namespace plughost
