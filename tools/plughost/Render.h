#pragma once
// Runs audio through a plug-in as a host renders a track, a chunk at a time so that memory
// stays the same for any length: the input is read, processed and written chunk by chunk,
// and level figures and the digest are gathered on the way.

#include "hosts/vst3/HostDriver.h"
#include "tools/plughost/AudioStream.h"
#include "tools/plughost/ProgressBar.h"
#include "tools/plughost/SignalStats.h"
#include "tools/plughost/WavFile.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace plughost {

// One chunk through the plug-in: out receives as many frames of the plug-in's output as in
// holds. False with a reason when the plug-in fails.
using ChunkProcess = std::function<bool(const AudioBuffer& in, AudioBuffer& out, std::string& error)>;

// Where the output goes: level figures, the digest, and the output file when there is one
// (made with the first chunk, when the channel count is known). A file left unfinished is
// removed, so a failed render leaves no partial file behind.
class RenderSink
{
public:
  // An empty path: no file.
  RenderSink(std::string path, WavFormat format, double sampleRate);
  ~RenderSink();
  RenderSink(const RenderSink&) = delete;
  RenderSink& operator=(const RenderSink&) = delete;

  bool add(const AudioBuffer& chunk, std::string& error);
  bool finish(std::string& error);

  SignalStats stats() const { return mMeter.stats(); }
  std::uint64_t digest() const { return mDigest.value(); }
  std::uint64_t clippedSamples() const { return mWriter ? mWriter->clippedSamples() : 0; }

private:
  std::string mPath;
  WavFormat mFormat;
  double mSampleRate;
  std::unique_ptr<AudioWriter> mWriter;
  bool mFinished = false;
  SignalMeter mMeter;
  SampleDigest mDigest;
};

// Streams the reader through process into the sink, chunkFrames input frames at a time. The
// plug-in's latency is compensated: as many output frames are dropped from the start and
// rendered from silence past the end, so the output lines up with the input. The input's
// figures are gathered in inputMeter.
bool streamRender(AudioReader& reader, std::size_t chunkFrames, std::uint64_t latency, const ChunkProcess& process,
                  RenderSink& sink, SignalMeter& inputMeter, ProgressBar& progress, std::string& error);

// The chunk process of a VST3 plug-in that a host driver has started: input channel c of the
// plug-in's main input takes channel c of the audio (repeating the audio's channels when the
// plug-in has more); the output has the channels of the plug-in's main output. Sets the
// plug-in's latency (a latency beyond a minute is not believable and is taken as 0).
bool vst3ChunkProcess(vst3host::HostDriver& driver, double sampleRate, ChunkProcess& process, std::uint64_t& latency,
                      std::string& error);

// The speaker arrangement a host offers for an audio file's channel count (mono, stereo,
// otherwise empty so that the plug-in keeps its own).
vst3::SpeakerArrangement arrangementFor(int channels);

}  // namespace plughost
