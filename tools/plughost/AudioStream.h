#pragma once
// Audio read and written a chunk at a time, so a render holds a few blocks whatever the
// length of the file.

#include "tools/plughost/AudioBuffer.h"

#include <cstdint>
#include <string>

namespace plughost {

class AudioReader
{
public:
  virtual ~AudioReader() = default;
  virtual double sampleRate() const = 0;
  virtual int numChannels() const = 0;
  // Frames in all (those a damaged file lacks included).
  virtual std::uint64_t numFrames() const = 0;
  // The next frames, at most maxFrames of them, replace chunk's samples; chunk has no frames
  // at the end. False with a reason when the source fails.
  virtual bool read(std::size_t maxFrames, AudioBuffer& chunk, std::string& error) = 0;
};

class AudioWriter
{
public:
  virtual ~AudioWriter() = default;
  // Appends a chunk with the writer's channel count. False with a reason when it fails.
  virtual bool write(const AudioBuffer& chunk, std::string& error) = 0;
  // Completes the file; false with a reason when it cannot.
  virtual bool finish(std::string& error) = 0;
  // Samples beyond what the format holds, written at its limits.
  virtual std::uint64_t clippedSamples() const = 0;
};

// Everything a reader has left, as one buffer; a null reader (one that could not be opened,
// the reason already given) fails.
bool readAll(AudioReader* reader, AudioBuffer& out, std::string& error);
// The whole buffer, and the file completed; a null writer fails.
bool writeAll(AudioWriter* writer, const AudioBuffer& in, std::string& error);

}  // namespace plughost
