// The running side of IPlugAAX: one block per render context, the host setting parameters,
// edits and values reported to the host by identifier, and the transport queries the
// effect makes while it processes.
#include "framework/bindings/aax/AAX_VViewContainer.h"
#include "framework/bindings/aax/IPlugAAX.h"
#include "framework/core/PlugTrace.h"
#include "platform/ScopedLock.h"

#include <cmath>
#include <cstring>

namespace {
constexpr double kTicksPerQuarter = 960000.0;
constexpr uint32_t kStemChannelMask = 0xFFFF;

bool IsGoodTempo(double bpm)
{
  return std::isfinite(bpm) && bpm > 0.0;
}
}  // namespace

// ---- Render ---------------------------------------------------------------------------------------

void IPlugAAX::ProcessAudio(const AAX_RenderContext* context)
{
  ScopedLock lock(Mutex());
  bool bypassed = false;
  if (mMasterBypass)
    mMasterBypass->ReadBool(bypassed);
  const int nIn = HostStemChannels(true);
  const int nOut = HostStemChannels(false);
  if (DoesMidi())
    ReadMidi(context);
  mCurrentTransport = context->transport ? context->transport->Transport() : nullptr;
  const int nFrames = context->bufferLength ? *context->bufferLength : 0;

  ClearScratch();
  ConnectHostInputs(nIn);
  // A trace point, not a print: the audio thread must not wait on a console.
  TQ_TRACE("IPlugAAX::ProcessAudio", "attach input buffers: 0 - %d", NInChannels());
  ConnectHostOutputs(nOut);
  ProcessHostBlock(context->audioIn, context->audioOut, nFrames, bypassed ? kBlockBypass : kBlockProcess);
  // The host's transport belongs to this block.
  mCurrentTransport = nullptr;
}

int IPlugAAX::HostStemChannels(bool input)
{
  AAX_IController* controller = mRenderController;
  uint32_t stem = 0;
  if (!controller || (input ? controller->InStemLayout(&stem) : controller->OutStemLayout(&stem)) != kAAX_Success)
    return 0;
  return int(stem & kStemChannelMask);
}

void IPlugAAX::ReadMidi(const AAX_RenderContext* context)
{
  const AAX_MidiBuffer* midi = context->midiIn ? context->midiIn->MidiBuffer() : nullptr;
  if (!midi || !midi->packets)
    return;
  for (uint32_t i = 0; i < midi->count; ++i)
  {
    const unsigned char* packet = midi->packets + size_t(i) * kAAX_MidiPacketBytes;
    MidiMessage message;
    std::memcpy(&message.offset, packet, sizeof message.offset);
    message.status = packet[kAAX_MidiMessageOffset];
    message.data1 = packet[kAAX_MidiMessageOffset + 1];
    message.data2 = packet[kAAX_MidiMessageOffset + 2];
    HandleMidiMessage(&message);
  }
}

// ---- The host sets a parameter ------------------------------------------------------------------

ACFResult IPlugAAX::ApplyHostValue(const char* id, double normalized, uint32_t)
{
  const ACFResult applied = ApplyHostValueThen(id, normalized, [&](const AAX_IParameter& parameter) {
    const int paramIdx = ParamIndexOf(id);
    // The framework takes the value the AAX parameter settled on, so that a discrete
    // parameter runs the state the host shows; the editor's controls show what the host sent.
    if (paramIdx >= 0)
      SetParameterFromHost(paramIdx, parameter.NormalizedValue(), normalized);
  });
  if (applied != kAAX_Success)
    return applied;
  RecordHostChange(id);
  return kAAX_Success;
}

// ---- Edits and values reported to the host ------------------------------------------------------

void IPlugAAX::BeginInformHostOfParamChange(int paramIdx)
{
  if (const char* id = ParamId(paramIdx))
    BeginParameterGesture(id);
}

void IPlugAAX::InformHostOfParamChange(int paramIdx, double normalised)
{
  if (const char* id = ParamId(paramIdx))
    ChangeNormalizedValue(id, normalised);
}

void IPlugAAX::EndInformHostOfParamChange(int paramIdx)
{
  if (const char* id = ParamId(paramIdx))
    EndParameterGesture(id);
}

// ---- Transport: from the block being rendered; outside a render, or when the host cannot
// ---- say, the last good values stand

template <typename Read>
ACFResult IPlugAAX::ReadTransport(Read read) const
{
  return mCurrentTransport ? read(*mCurrentTransport) : kAAX_ErrMissingInterface;
}

int IPlugAAX::HostSamplePosition()
{
  int64_t samples = 0;
  if (ReadTransport([&](HostRenderTransport& t) { return t.ReadSamplePosition(&samples); }) != kAAX_Success)
    return 0;
  return int(uint32_t(uint64_t(samples)));
}

double IPlugAAX::HostTempo()
{
  double bpm = 0.0;
  if (ReadTransport([&](HostRenderTransport& t) { return t.ReadTempo(&bpm); }) == kAAX_Success && IsGoodTempo(bpm))
    mLastGoodTempo = bpm;
  return mLastGoodTempo;
}

void IPlugAAX::HostTimeSignature(int* numerator, int* denominator)
{
  int32_t upper = 0;
  int32_t lower = 0;
  if (ReadTransport([&](HostRenderTransport& t) { return t.ReadTimeSignature(&upper, &lower); }) != kAAX_Success)
    return;
  if (numerator)
    *numerator = upper;
  if (denominator)
    *denominator = lower;
}

void IPlugAAX::HostTransport(TransportInfo* info)
{
  if (!info)
    return;
  info->tempo = HostTempo();
  bool playing = false;
  if (ReadTransport([&](HostRenderTransport& t) { return t.ReadPlayState(&playing); }) == kAAX_Success)
    info->playing = playing;
  HostTimeSignature(&info->numerator, &info->denominator);
  int64_t ticks = 0;
  if (ReadTransport([&](HostRenderTransport& t) { return t.ReadTicks(&ticks); }) == kAAX_Success)
    info->ppqPos = double(ticks) / kTicksPerQuarter;
  int64_t samples = 0;
  if (ReadTransport([&](HostRenderTransport& t) { return t.ReadSamplePosition(&samples); }) == kAAX_Success)
    info->samplePos = double(samples);
  bool looping = false;
  int64_t start = 0;
  int64_t end = 0;
  if (ReadTransport([&](HostRenderTransport& t) { return t.ReadCycle(&looping, &start, &end); }) == kAAX_Success)
  {
    info->cycling = looping;
    info->cycleStart = double(start) / kTicksPerQuarter;
    info->cycleEnd = double(end) / kTicksPerQuarter;
  }
}

// ---- Editor size and latency --------------------------------------------------------------------

void IPlugAAX::ResizeEditor(int width, int height)
{
  IPlugEditor* editor = Editor();
  if (!editor)
    return;
  if (mHostView)
  {
    const AAX_Point size = {float(height), float(width)};
    mHostView->ChangeViewSize(&size);
  }
  EditorResized(editor);
}

void IPlugAAX::ChangeLatency(int samples)
{
  if (AAX_IController* controller = HostController())
    controller->ReportLatency(samples);
  IPlugBase::ChangeLatency(samples);
}
