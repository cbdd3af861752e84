#include "tools/plughost/Render.h"

#include "tools/plughost/AudioFile.h"

#include <algorithm>
#include <cstdio>

namespace plughost {

RenderSink::RenderSink(std::string path, WavFormat format, double sampleRate)
  : mPath(std::move(path)), mFormat(format), mSampleRate(sampleRate)
{}

RenderSink::~RenderSink()
{
  if (mWriter && !mFinished)
  {
    mWriter.reset();
    std::remove(mPath.c_str());
  }
}

bool RenderSink::add(const AudioBuffer& chunk, std::string& error)
{
  mMeter.add(chunk);
  mDigest.add(chunk);
  if (mPath.empty())
    return true;
  if (!mWriter)
    mWriter = createAudioFile(mPath, chunk.numChannels(), mSampleRate, mFormat, error);
  return mWriter && mWriter->write(chunk, error);
}

bool RenderSink::finish(std::string& error)
{
  if (mPath.empty())
    return true;
  // A render of no frames still leaves a file: a mono one without samples.
  if (!mWriter)
    mWriter = createAudioFile(mPath, 1, mSampleRate, mFormat, error);
  mFinished = mWriter && mWriter->finish(error);
  return mFinished;
}

namespace {
void dropFront(AudioBuffer& audio, std::size_t frames)
{
  for (auto& channel : audio.channels)
    channel.erase(channel.begin(), channel.begin() + static_cast<std::ptrdiff_t>(frames));
}
}  // namespace

bool streamRender(AudioReader& reader, std::size_t chunkFrames, std::uint64_t latency, const ChunkProcess& process,
                  RenderSink& sink, SignalMeter& inputMeter, ProgressBar& progress, std::string& error)
{
  AudioBuffer in, out;
  std::uint64_t toDrop = latency, tail = latency, done = 0;
  const std::uint64_t total = reader.numFrames() + latency;
  for (;;)
  {
    if (!reader.read(chunkFrames, in, error))
      return false;
    inputMeter.add(in);
    if (in.numFrames() == 0)
    {
      if (tail == 0)
        break;
      const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(tail, chunkFrames));
      in.resize(reader.numChannels(), n);
      tail -= n;
    }
    if (!process(in, out, error))
      return false;
    const auto drop = static_cast<std::size_t>(std::min<std::uint64_t>(toDrop, out.numFrames()));
    dropFront(out, drop);
    toDrop -= drop;
    if (!sink.add(out, error))
      return false;
    done += in.numFrames();
    progress.update(done, total);
  }
  progress.finish();
  return sink.finish(error);
}

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

bool vst3ChunkProcess(vst3host::HostDriver& driver, double sampleRate, ChunkProcess& process, std::uint64_t& latency,
                      std::string& error)
{
  vst3host::AudioBuffers& inputs = driver.inputs();
  vst3host::AudioBuffers& outputs = driver.outputs();
  if (outputs.busCount() < 1 || outputs.channelCount(0) < 1)
  {
    error = "the plug-in has no audio output";
    return false;
  }
  const vst3::uint32 reported = driver.processor()->getLatencySamples();
  latency = reported <= 60.0 * sampleRate ? reported : 0;
  process = [&driver, &inputs, &outputs](const AudioBuffer& in, AudioBuffer& out, std::string& why) {
    const int inChannels = inputs.busCount() > 0 ? inputs.channelCount(0) : 0;
    const int outChannels = outputs.channelCount(0);
    const std::size_t frames = in.numFrames();
    const auto block = static_cast<std::size_t>(driver.settings().maxBlock);
    out.sampleRate = in.sampleRate;
    out.resize(outChannels, frames);
    for (std::size_t pos = 0; pos < frames; pos += block)
    {
      const auto n = static_cast<vst3::int32>(std::min(block, frames - pos));
      for (int c = 0; c < inChannels; ++c)
      {
        const auto& source = in.channels[static_cast<std::size_t>(c % std::max(1, in.numChannels()))];
        for (vst3::int32 i = 0; i < n; ++i)
          inputs.setSample(0, c, i, source[pos + static_cast<std::size_t>(i)]);
      }
      const vst3::tresult r = driver.process(n);
      if (r != vst3::kResultOk)
      {
        why = "process failed: " + vst3host::resultName(r);
        return false;
      }
      for (int c = 0; c < outChannels; ++c)
        for (vst3::int32 i = 0; i < n; ++i)
          out.channels[static_cast<std::size_t>(c)][pos + static_cast<std::size_t>(i)] = outputs.sample(0, c, i);
    }
    return true;
  };
  return true;
}

}  // namespace plughost
