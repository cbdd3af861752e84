#include "hosts/vst2/HostDriver.h"

#include "framework/core/SaturateToFloat.h"
#include "hosts/common/GuardedBuffers.h"

#include <algorithm>
#include <type_traits>

namespace vst2host {

namespace {
template <class Sample>
Sample ToSample(double value)
{
  if constexpr (std::is_same_v<Sample, float>)
    return SaturateToFloat(value);
  else
    return value;
}
}  // namespace

HostDriver::HostDriver(vst2::PluginEntryProc entry) : mEntry(entry) {}

HostDriver::~HostDriver()
{
  Close();
}

bool HostDriver::Create()
{
  mEffect = mHost.Create(mEntry);
  if (mEffect && mEffect->magic != vst2::kEffectMagic)
    mEffect = nullptr;
  return mEffect != nullptr;
}

intptr_t HostDriver::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
  return mEffect ? mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt) : 0;
}

void HostDriver::Open(double sampleRate, int maxBlockSize)
{
  mSampleRate = sampleRate;
  mHost.timeInfo.sampleRate = sampleRate;
  Dispatch(vst2::effOpen);
  Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  Dispatch(vst2::effSetBlockSize, 0, maxBlockSize);
  Resume();
}

void HostDriver::Suspend()
{
  Dispatch(vst2::effMainsChanged, 0, 0);
}

void HostDriver::Resume()
{
  Dispatch(vst2::effMainsChanged, 0, 1);
}

void HostDriver::Close()
{
  if (!mEffect)
    return;
  Suspend();
  Dispatch(vst2::effClose);
  mHost.Release();
  mEffect = nullptr;
}

float HostDriver::GetParameter(int idx)
{
  return mEffect ? mEffect->getParameter(mEffect, idx) : 0.0f;
}

void HostDriver::SetParameter(int idx, float value)
{
  if (mEffect)
    mEffect->setParameter(mEffect, idx, value);
}

namespace {
// Text opcodes get a buffer far larger than the plug-in may fill, so an overlong write shows.
std::string TextOf(HostDriver& driver, int32_t opcode, int32_t index)
{
  char text[256] = {};
  driver.Dispatch(opcode, index, 0, text);
  text[sizeof(text) - 1] = 0;
  return text;
}
}  // namespace

std::string HostDriver::ParamName(int idx)
{
  return TextOf(*this, vst2::effGetParamName, idx);
}

std::string HostDriver::ParamLabel(int idx)
{
  return TextOf(*this, vst2::effGetParamLabel, idx);
}

std::string HostDriver::ParamDisplay(int idx)
{
  return TextOf(*this, vst2::effGetParamDisplay, idx);
}

std::string HostDriver::EffectName()
{
  return TextOf(*this, vst2::effGetEffectName, 0);
}

int HostDriver::FindParam(const std::string& name)
{
  for (int i = 0; i < NumParams(); ++i)
  {
    if (ParamName(i) == name)
      return i;
  }
  return -1;
}

bool HostDriver::SetParamText(int idx, const std::string& text)
{
  return Dispatch(vst2::effString2Parameter, idx, 0, const_cast<char*>(text.c_str())) == 1;
}

std::vector<unsigned char> HostDriver::GetChunk(bool bank)
{
  void* data = nullptr;
  const intptr_t size = Dispatch(vst2::effGetChunk, bank ? 0 : 1, 0, &data);
  if (size <= 0 || !data)
    return {};
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(bytes, bytes + size);
}

bool HostDriver::SetChunk(bool bank, const std::vector<unsigned char>& data)
{
  return Dispatch(vst2::effSetChunk, bank ? 0 : 1, static_cast<intptr_t>(data.size()),
                  const_cast<unsigned char*>(data.data())) == 1;
}

bool HostDriver::Arrange(int channels)
{
  if (!mEffect || channels < 1 || channels > 2)
    return false;
  vst2::VstSpeakerArrangement in{}, out{};
  in.type = out.type = channels == 1 ? vst2::kSpeakerArrMono : vst2::kSpeakerArrStereo;
  in.numChannels = out.numChannels = channels;
  Suspend();
  const bool taken = Dispatch(vst2::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out) == 1;
  Resume();
  mArrangedChannels = taken ? channels : 0;
  return taken;
}

int HostDriver::OutputChannels() const
{
  const int outputs = mEffect ? std::max(mEffect->numOutputs, 0) : 0;
  return mArrangedChannels > 0 ? std::min(mArrangedChannels, outputs) : outputs;
}

HostDriver::Channels HostDriver::Render(const Channels& input, int blockSize, bool doublePrecision)
{
  const size_t total = input.empty() ? 0 : input[0].size();
  Channels output(static_cast<size_t>(OutputChannels()), std::vector<double>(total, 0.0));
  if (!mEffect || total == 0 || blockSize <= 0)
    return output;
  if (doublePrecision)
    RenderBlocks<double>(input, output, blockSize);
  else
    RenderBlocks<float>(input, output, blockSize);
  return output;
}

template <class Sample>
void HostDriver::RenderBlocks(const Channels& input, Channels& output, int blockSize)
{
  hostcommon::GuardedBuffers<Sample> in(std::max(mEffect->numInputs, 0), blockSize),
    out(std::max(mEffect->numOutputs, 0), blockSize);
  const size_t total = input[0].size();
  for (size_t start = 0; start < total; start += static_cast<size_t>(blockSize))
  {
    const int frames = static_cast<int>(std::min(static_cast<size_t>(blockSize), total - start));
    for (int ch = 0; ch < in.Channels(); ++ch)
    {
      const std::vector<double>& source = input[static_cast<size_t>(ch) % input.size()];
      for (int i = 0; i < frames; ++i)
        in.Channel(ch)[i] = ToSample<Sample>(source[start + static_cast<size_t>(i)]);
    }
    out.Fill(Sample(0));
    mHost.timeInfo = MakeTimeInfo(mSampleRate, mSamplePos, mHost.timeInfo.tempo > 0.0 ? mHost.timeInfo.tempo : 0.0);
    if constexpr (std::is_same_v<Sample, double>)
      mEffect->processDoubleReplacing(mEffect, in.Pointers(), out.Pointers(), frames);
    else
      mEffect->processReplacing(mEffect, in.Pointers(), out.Pointers(), frames);
    mSamplePos += frames;
    if (!in.GuardsIntact() || !out.GuardsIntact())
      Problem("process wrote outside the host's buffers");
    if (!out.AllFinite(static_cast<int>(output.size()), frames))
      Problem("process wrote non-finite samples");
    for (size_t ch = 0; ch < output.size(); ++ch)
      std::copy_n(out.Channel(static_cast<int>(ch)), frames, output[ch].begin() + static_cast<std::ptrdiff_t>(start));
  }
}

void HostDriver::Problem(const std::string& what)
{
  if (std::find(mProblems.begin(), mProblems.end(), what) == mProblems.end())
    mProblems.push_back(what);
}

}  // namespace vst2host
