#include "hosts/vst2/HostDriver.h"

#include <algorithm>
#include <type_traits>

namespace vst2host {

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

HostDriver::Channels HostDriver::Render(const Channels& input, int blockSize, bool doublePrecision)
{
  const int total = input.empty() ? 0 : static_cast<int>(input[0].size());
  const int nOut = mEffect ? mEffect->numOutputs : 0;
  Channels output(static_cast<size_t>(nOut), std::vector<double>(static_cast<size_t>(total), 0.0));
  for (int start = 0; start < total && blockSize > 0; start += blockSize)
  {
    const int frames = std::min(blockSize, total - start);
    if (doublePrecision)
      RenderBlock<double>(input, output, start, frames);
    else
      RenderBlock<float>(input, output, start, frames);
  }
  return output;
}

template <class Sample>
void HostDriver::RenderBlock(const Channels& input, Channels& output, int start, int frames)
{
  const size_t nIn = static_cast<size_t>(mEffect->numInputs);
  std::vector<std::vector<Sample>> in(nIn, std::vector<Sample>(static_cast<size_t>(frames), Sample(0)));
  std::vector<std::vector<Sample>> out(output.size(), std::vector<Sample>(static_cast<size_t>(frames), Sample(0)));
  std::vector<Sample*> inPtrs, outPtrs;
  for (size_t ch = 0; ch < nIn; ++ch)
  {
    // A mono signal feeds every input.
    const std::vector<double>& source = input[std::min(ch, input.size() - 1)];
    for (int i = 0; i < frames; ++i)
      in[ch][static_cast<size_t>(i)] = static_cast<Sample>(source[static_cast<size_t>(start + i)]);
    inPtrs.push_back(in[ch].data());
  }
  for (auto& channel : out)
    outPtrs.push_back(channel.data());

  mHost.timeInfo = MakeTimeInfo(mSampleRate, mSamplePos, mHost.timeInfo.tempo > 0.0 ? mHost.timeInfo.tempo : 0.0);
  if constexpr (std::is_same_v<Sample, double>)
    mEffect->processDoubleReplacing(mEffect, inPtrs.data(), outPtrs.data(), frames);
  else
    mEffect->processReplacing(mEffect, inPtrs.data(), outPtrs.data(), frames);
  mSamplePos += frames;

  for (size_t ch = 0; ch < output.size(); ++ch)
  {
    for (int i = 0; i < frames; ++i)
      output[ch][static_cast<size_t>(start + i)] = out[ch][static_cast<size_t>(i)];
  }
}

}  // namespace vst2host
