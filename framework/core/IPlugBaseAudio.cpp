// Channel records, host buffer attachment, block processing and bypass of IPlugBase.
#include "framework/core/IPlugBase.h"

#include "framework/core/SaturateToFloat.h"

#include <algorithm>
#include <cstring>

namespace {
void ZeroDoubles(double* p, int n)
{
  if (p && n > 0)
    std::memset(p, 0, sizeof(double) * static_cast<size_t>(n));
}

void FloatToDouble(const float* in, double* out, int n)
{
  int i = 0;
  for (; i + 4 <= n; i += 4)
  {
    out[i] = in[i];
    out[i + 1] = in[i + 1];
    out[i + 2] = in[i + 2];
    out[i + 3] = in[i + 3];
  }
  for (; i < n; ++i)
    out[i] = in[i];
}

void DoubleToFloat(const double* in, float* out, int n)
{
  for (int i = 0; i < n; ++i)
    out[i] = SaturateToFloat(in[i]);
}

// The sum is made in float, as the host's own mix would be, and kept in the float range.
void AddDoubleToFloat(const double* in, float* out, int n)
{
  for (int i = 0; i < n; ++i)
    out[i] = SaturateToFloat(out[i] + SaturateToFloat(in[i]));
}

// The channels an operation on (first, count) visits.
void ClipRange(int first, int count, int nChannels, int* begin, int* end)
{
  *begin = std::max(first, 0);
  const int64_t last = int64_t(first) + std::max(count, 0);
  *end = static_cast<int>(std::clamp<int64_t>(last, *begin, std::max(nChannels, *begin)));
  if (*begin > nChannels)
    *begin = *end = nChannels;
}

void Disconnect(ChannelIO* channel, int blockSize)
{
  channel->connected = false;
  channel->host = ChannelIO::kHostNone;
  channel->hostDouble = nullptr;
  channel->hostFloat = nullptr;
  ZeroDoubles(channel->Scratch(), blockSize);
}
}  // namespace

bool IPlugBase::IsInChannelConnected(int idx) const
{
  const ChannelIO* channel = mInChannels.At(idx);
  return channel && channel->connected;
}

const char* IPlugBase::InChannelLabel(int idx) const
{
  const ChannelIO* channel = mInChannels.At(idx);
  const char* label = channel ? channel->label.Get() : nullptr;
  return label ? label : "";
}

const char* IPlugBase::OutChannelLabel(int idx) const
{
  const ChannelIO* channel = mOutChannels.At(idx);
  const char* label = channel ? channel->label.Get() : nullptr;
  return label ? label : "";
}

bool IPlugBase::IsOutChannelConnected(int idx) const
{
  const ChannelIO* channel = mOutChannels.At(idx);
  return channel && channel->connected;
}

void IPlugBase::ResolveSlots(int offset)
{
  double** in = InputPointers();
  for (int i = 0, n = NInChannels(); i < n; ++i)
  {
    const ChannelIO* channel = mInChannels.At(i);
    in[i] = channel->host == ChannelIO::kHostDouble ? channel->hostDouble + offset : channel->Scratch();
  }
  double** out = OutputPointers();
  for (int i = 0, n = NOutChannels(); i < n; ++i)
  {
    const ChannelIO* channel = mOutChannels.At(i);
    out[i] = channel->host == ChannelIO::kHostDouble ? channel->hostDouble + offset : channel->Scratch();
  }
}

namespace {

// Marks channels [first, first + count) of a list connected or not; returns the end of
// the range that exists.
int SetConnected(PtrList<ChannelIO>& channels, int first, int count, bool connected, int blockSize)
{
  int begin, end;
  ClipRange(first, count, channels.Count(), &begin, &end);
  for (int i = begin; i < end; ++i)
  {
    ChannelIO* channel = channels.At(i);
    if (connected)
    {
      channel->connected = true;
      channel->host = ChannelIO::kHostNone;
    }
    else
    {
      Disconnect(channel, blockSize);
    }
  }
  return end;
}

}  // namespace

void IPlugBase::ConnectInputs(int first, int count, bool connected)
{
  SetConnected(mInChannels, first, count, connected, mBlockSize);
  ResolveSlots(0);
}

int IPlugBase::ConnectOutputs(int first, int count, bool connected)
{
  const int end = SetConnected(mOutChannels, first, count, connected, mBlockSize);
  ResolveSlots(0);
  return end;
}

namespace {

void SetHostBuffer(ChannelIO* channel, double* buffer)
{
  channel->hostDouble = buffer;
  channel->hostFloat = nullptr;
  channel->host = buffer ? ChannelIO::kHostDouble : ChannelIO::kHostNone;
}

void SetHostBuffer(ChannelIO* channel, float* buffer)
{
  channel->hostDouble = nullptr;
  channel->hostFloat = buffer;
  channel->host = buffer ? ChannelIO::kHostFloat : ChannelIO::kHostNone;
}

// Gives the connected channels of [first, first + count) the host's buffers, in order (a
// null array means none); then(channel, buffer) runs for each channel bound.
template <class Sample, class Then>
void BindHostBuffers(PtrList<ChannelIO>& channels, int first, int count, Sample** host, Then then)
{
  int begin, end, next = 0;
  ClipRange(first, count, channels.Count(), &begin, &end);
  for (int i = begin; i < end; ++i)
  {
    ChannelIO* channel = channels.At(i);
    if (!channel->connected)
      continue;
    Sample* buffer = host ? host[next++] : nullptr;
    SetHostBuffer(channel, buffer);
    then(channel, buffer);
  }
}

void NothingMore(ChannelIO*, const void*) {}

}  // namespace

void IPlugBase::BindInputsDouble(int first, int count, double** host)
{
  BindHostBuffers(mInChannels, first, count, host, [this](ChannelIO* channel, double* buffer) {
    if (!buffer)
      ZeroDoubles(channel->Scratch(), mBlockSize);
  });
  ResolveSlots(0);
}

void IPlugBase::BindInputsFloat(int first, int count, float** host, int nFrames)
{
  const int n = std::clamp(nFrames, 0, mBlockSize);
  BindHostBuffers(mInChannels, first, count, host, [this, n](ChannelIO* channel, float* buffer) {
    if (buffer && channel->Scratch())
      FloatToDouble(buffer, channel->Scratch(), n);
    else
      ZeroDoubles(channel->Scratch(), mBlockSize);
  });
  ResolveSlots(0);
}

void IPlugBase::BindOutputsDouble(int first, int count, double** host)
{
  BindHostBuffers(mOutChannels, first, count, host, NothingMore);
  ResolveSlots(0);
}

void IPlugBase::BindOutputsFloat(int first, int count, float** host)
{
  BindHostBuffers(mOutChannels, first, count, host, NothingMore);
  ResolveSlots(0);
}

bool IPlugBase::ChangeBlockSize(int nFrames)
{
  if (nFrames == mBlockSize)
    return true;
  if (nFrames < 0 || int64_t(nFrames) * int64_t(sizeof(double)) > INT32_MAX)
    return false;
  const int bytes = nFrames * static_cast<int>(sizeof(double));

  // Make every new scratch block first, so that a failure leaves the old ones in place.
  const int nChannels = NInChannels() + NOutChannels();
  PtrList<GrowBuffer> fresh;
  bool ok = true;
  for (int i = 0; i < nChannels && ok; ++i)
  {
    GrowBuffer* buffer = new GrowBuffer(GrowBuffer::kPageGranularity);
    buffer->SetSize(bytes, true);
    ok = buffer->Size() == bytes && fresh.Append(buffer);
    if (!ok)
      delete buffer;
    else
      ZeroDoubles(static_cast<double*>(buffer->Data()), nFrames);
  }
  if (ok)
  {
    for (int i = 0; i < nChannels; ++i)
    {
      ChannelIO* channel = i < NInChannels() ? mInChannels.At(i) : mOutChannels.At(i - NInChannels());
      channel->scratch.Swap(*fresh.At(i));
    }
    mBlockSize = nFrames;
  }
  fresh.DeleteAll();
  ResolveSlots(0);
  return ok;
}

void IPlugBase::ClearScratch()
{
  for (int i = 0, n = NInChannels(); i < n; ++i)
    ZeroDoubles(mInChannels.At(i)->Scratch(), mBlockSize);
  for (int i = 0, n = NOutChannels(); i < n; ++i)
    ZeroDoubles(mOutChannels.At(i)->Scratch(), mBlockSize);
}

void IPlugBase::PrepareSlice(int offset, int nFrames)
{
  for (int i = 0, n = NInChannels(); i < n; ++i)
  {
    ChannelIO* channel = mInChannels.At(i);
    // The first slice was converted when the buffer was bound.
    if (channel->host == ChannelIO::kHostFloat && offset > 0)
      FloatToDouble(channel->hostFloat + offset, channel->Scratch(), nFrames);
  }
  ResolveSlots(offset);
}

void IPlugBase::WriteBackSlice(int offset, int nFrames, EWriteBack mode)
{
  if (mode == kWriteNone)
    return;
  for (int i = 0, n = NOutChannels(); i < n; ++i)
  {
    const ChannelIO* channel = mOutChannels.At(i);
    if (!channel->connected || channel->host != ChannelIO::kHostFloat)
      continue;
    if (mode == kWriteReplace)
      DoubleToFloat(channel->Scratch(), channel->hostFloat + offset, nFrames);
    else
      AddDoubleToFloat(channel->Scratch(), channel->hostFloat + offset, nFrames);
  }
}

void IPlugBase::SilenceHostOutputs(int nFrames)
{
  for (int i = 0, n = NOutChannels(); i < n; ++i)
  {
    const ChannelIO* channel = mOutChannels.At(i);
    if (!channel->connected)
      continue;
    if (channel->host == ChannelIO::kHostDouble)
      ZeroDoubles(channel->hostDouble, nFrames);
    else if (channel->host == ChannelIO::kHostFloat)
      std::memset(channel->hostFloat, 0, sizeof(float) * static_cast<size_t>(nFrames));
  }
}

template <class Process>
void IPlugBase::RunSlices(int nFrames, EWriteBack mode, Process process)
{
  if (nFrames <= 0)
    return;
  if (mBlockSize <= 0)
  {
    // No scratch to work in: the block is refused and the host hears silence.
    if (mode != kWriteAccumulate)
      SilenceHostOutputs(nFrames);
    return;
  }
  for (int offset = 0; offset < nFrames; offset += mBlockSize)
  {
    const int n = std::min(mBlockSize, nFrames - offset);
    PrepareSlice(offset, n);
    process(n);
    WriteBackSlice(offset, n, mode);
  }
  ResolveSlots(0);
}

void IPlugBase::RunDouble(int nFrames)
{
  RunSlices(nFrames, kWriteNone, [this](int n) { ProcessBlockDouble(InputPointers(), OutputPointers(), n); });
}

void IPlugBase::RunFloat(int nFrames)
{
  RunSlices(nFrames, kWriteReplace, [this](int n) { ProcessBlockDouble(InputPointers(), OutputPointers(), n); });
}

void IPlugBase::RunFloatAccumulate(int nFrames)
{
  RunSlices(nFrames, kWriteAccumulate, [this](int n) { ProcessBlockDouble(InputPointers(), OutputPointers(), n); });
}

void IPlugBase::BypassDouble(int nFrames)
{
  BypassSlices(nFrames, kWriteNone);
}

void IPlugBase::BypassFloat(int nFrames)
{
  BypassSlices(nFrames, kWriteReplace);
}

void IPlugBase::BypassSlices(int nFrames, EWriteBack mode)
{
  RunSlices(nFrames, mode, [this](int n) {
    if (mLatency > 0 && mDelay)
      mDelay->Run(InputPointers(), OutputPointers(), n);
    else
      IPlugBase::ProcessBlockDouble(InputPointers(), OutputPointers(), n);
  });
}

void IPlugBase::ProcessBlockDouble(double** inputs, double** outputs, int nFrames)
{
  PassThrough(inputs, outputs, nFrames);
}

void IPlugBase::ProcessBlockFloat(float** inputs, float** outputs, int nFrames)
{
  PassThrough(inputs, outputs, nFrames);
}

// The inputs unchanged to the outputs of the same number; outputs without an input are silent.
template <class Sample>
void IPlugBase::PassThrough(Sample** inputs, Sample** outputs, int nFrames)
{
  if (!outputs || nFrames <= 0)
    return;
  for (int i = 0, nOut = NOutChannels(), nIn = NInChannels(); i < nOut; ++i)
  {
    Sample* out = outputs[i];
    if (!out)
      continue;
    const Sample* in = inputs && i < nIn ? inputs[i] : nullptr;
    if (!in)
      std::memset(out, 0, sizeof(Sample) * static_cast<size_t>(nFrames));
    else if (in != out)
      std::memmove(out, in, sizeof(Sample) * static_cast<size_t>(nFrames));
  }
}

void IPlugBase::ChangeLatency(int samples)
{
  mLatency = std::max(samples, 0);
  if (mDelay)
    mDelay->SetLength(mLatency);
}

void IPlugBase::SetBypassDelayLine(BypassDelayLine* line)
{
  if (line == mDelay)
    return;
  delete mDelay;
  mDelay = line;
  if (mDelay)
    mDelay->SetLength(mLatency);
}

void IPlugBase::ClampToStereo()
{
  if (NInChannels() > 2)
    ConnectInputs(2, NInChannels() - 2, false);
}
