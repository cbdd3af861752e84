#include "hosts/aax/HostDriver.h"

#include "framework/core/SaturateToFloat.h"
#include "hosts/aax/HostString.h"
#include "hosts/common/GuardedBuffers.h"

#include <algorithm>

namespace aaxhost {

namespace {
constexpr uint32_t kMonoStem = 0x00000001;
constexpr uint32_t kStereoStem = 0x00010002;
constexpr double kTempo = 120.0;
constexpr double kTicksPerQuarter = 960000.0;
constexpr int32_t kTextLimit = 32;
}  // namespace

HostDriver::HostDriver(const EntryPoints& entries) : mEntries(entries)
{
  // The collection hands out the plug-in definition registration asks for.
  mRegistration.extraCollectionInterfaces.push_back({kIID_ACFPluginDefinition, "Definition"});
}

HostDriver::~HostDriver()
{
  Close();
}

bool HostDriver::Register(std::string& error)
{
  if (mEntries.startup(&mRegistration) != kAAX_Success)
  {
    error = "the module refused to start up";
    return false;
  }
  mStarted = true;
  const ACFResult registered = mEntries.registerPlugin(&mRegistration, &mDefinition);
  if (registered != kAAX_Success)
  {
    error = "the module's registration failed (" + std::to_string(registered) + ")";
    return false;
  }
  if (!mRegistration.Procedure(kAAX_ProcEffectParameters) || !mRegistration.ProcessProcedure())
  {
    error = "the module registered no create or render procedure";
    return false;
  }
  return true;
}

bool HostDriver::Open(double sampleRate, int channels, std::string& error)
{
  auto create = reinterpret_cast<AAX_CreateProcedure>(mRegistration.Procedure(kAAX_ProcEffectParameters));
  IACFUnknown* made = create ? create() : nullptr;
  void* face = nullptr;
  if (!made || made->QueryInterface(AAX_IACFEffectParameters_V2::kIID, &face) != kAAX_Success || !face)
  {
    error = "the module made no effect-parameters object";
    return false;
  }
  mParameters = static_cast<AAX_IACFEffectParameters*>(face);
  mChannels = channels == 1 ? 1 : 2;
  mSampleRate = sampleRate;
  mInstance.sampleRate = float(sampleRate);
  mInstance.inStem = mInstance.outStem = mChannels == 1 ? kMonoStem : kStereoStem;
  mInstance.tempo = kTempo;
  mInstance.playing = true;
  mInstance.onRequestValue = [this](const char* id, double value) { mParameters->ApplyHostValue(id, value, 0); };
  if (mParameters->StartInstance(&mInstance) != kAAX_Success || mRender.Bind(mParameters) != kAAX_Success)
  {
    error = "the instance did not start";
    return false;
  }
  return true;
}

void HostDriver::Close()
{
  CloseEditor();
  if (mParameters)
  {
    mParameters->StopInstance();
    mInstance.onRequestValue = nullptr;
    mParameters->Release();
    mParameters = nullptr;
  }
  if (mDefinition)
  {
    mDefinition->Release();
    mDefinition = nullptr;
  }
  if (mStarted)
    mEntries.shutdown(&mRegistration);
  mStarted = false;
}

bool HostDriver::OpenEditor(void* parent, int& width, int& height, std::string& error)
{
  auto create = reinterpret_cast<AAX_CreateProcedure>(mRegistration.Procedure(kAAX_ProcEffectGUI));
  IACFUnknown* made = create && mParameters ? create() : nullptr;
  void* face = nullptr;
  if (!made || made->QueryInterface(AAX_IACFEffectGUI::kIID, &face) != kAAX_Success || !face)
  {
    error = "the module made no editor object";
    return false;
  }
  mEditor = static_cast<AAX_IACFEffectGUI*>(face);
  // The editor's host object hands out the instance it belongs to.
  mEditorHost.OfferEffectParameters(mParameters);
  AAX_Point size = {0.0f, 0.0f};
  if (mEditor->StartInstance(&mEditorHost) != kAAX_Success || mEditor->QueryViewSize(&size) != kAAX_Success ||
      size.horizontal < 1.0f || size.vertical < 1.0f)
  {
    error = "the editor object did not start or has no size";
    return false;
  }
  width = int(size.horizontal);
  height = int(size.vertical);
  mView.window = parent;
  // This host keeps none of the editor's clicks for itself.
  mLog.FailWith("View.ForwardParameterClick", kAAX_ErrUnsupported);
  mEditor->AttachViewContainer(&mView);
  return true;
}

void HostDriver::CloseEditor()
{
  if (!mEditor)
    return;
  mEditor->AttachViewContainer(nullptr);
  mEditor->StopInstance();
  mEditor->Release();
  mEditor = nullptr;
}

ACFResult HostDriver::LiveObjects() const
{
  return mEntries.canUnloadNow(nullptr);
}

std::string HostDriver::EffectName() const
{
  // Logged as: Effect1.AppendEffectName("name")
  const std::vector<std::string> calls = mLog.Matching("Effect1.AppendEffectName(\"");
  if (calls.empty())
    return "";
  const size_t open = calls.front().find('"');
  return calls.front().substr(open + 1, calls.front().rfind('"') - open - 1);
}

// ---- Parameters ---------------------------------------------------------------------------------

int HostDriver::NumParams() const
{
  int32_t count = 0;
  return mParameters && mParameters->CountParameters(&count) == kAAX_Success ? count : 0;
}

std::string HostDriver::ParamId(int index) const
{
  HostString id;
  mParameters->CopyParameterIdAt(index, &id);
  return id.Text();
}

std::string HostDriver::ParamName(const std::string& id) const
{
  HostString name;
  mParameters->CopyParameterName(id.c_str(), &name);
  return name.Text();
}

std::string HostDriver::ParamDisplay(const std::string& id) const
{
  HostString text;
  mParameters->FormatCurrentValue(id.c_str(), &text, kTextLimit);
  return text.Text();
}

double HostDriver::ParamNormalized(const std::string& id) const
{
  double value = 0.0;
  mParameters->QueryNormalizedValue(id.c_str(), &value);
  return value;
}

std::string HostDriver::FindParam(const std::string& name) const
{
  for (int i = 0; i < NumParams(); ++i)
  {
    const std::string id = ParamId(i);
    if (ParamName(id) == name)
      return id;
  }
  return "";
}

bool HostDriver::SetParamText(const std::string& id, const std::string& text)
{
  const HostString typed(text);
  double normalized = 0.0;
  return mParameters->ParseParameterText(id.c_str(), &normalized, &typed) == kAAX_Success &&
         SetParamNormalized(id, normalized);
}

bool HostDriver::SetParamNormalized(const std::string& id, double normalized)
{
  return mParameters->ApplyHostValue(id.c_str(), normalized, 0) == kAAX_Success;
}

// ---- State --------------------------------------------------------------------------------------

std::vector<unsigned char> HostDriver::SaveChunk()
{
  uint32_t chunkId = 0;
  int32_t size = 0;
  if (mParameters->ChunkIdAt(0, &chunkId) != kAAX_Success ||
      mParameters->MeasureChunk(chunkId, &size) != kAAX_Success || size < 0)
    return {};
  std::vector<unsigned char> record(kAAX_ChunkDataOffset + size_t(size));
  auto* header = reinterpret_cast<AAX_ChunkHeader*>(record.data());
  if (mParameters->WriteChunk(chunkId, header) != kAAX_Success || header->size != size)
    return {};
  return std::vector<unsigned char>(record.begin() + kAAX_ChunkDataOffset, record.end());
}

bool HostDriver::LoadChunk(const std::vector<unsigned char>& data)
{
  uint32_t chunkId = 0;
  if (mParameters->ChunkIdAt(0, &chunkId) != kAAX_Success)
    return false;
  std::vector<unsigned char> record(kAAX_ChunkDataOffset + data.size());
  auto* header = reinterpret_cast<AAX_ChunkHeader*>(record.data());
  header->size = int32_t(data.size());
  header->chunkId = chunkId;
  std::copy(data.begin(), data.end(), record.begin() + kAAX_ChunkDataOffset);
  return mParameters->ReadChunk(chunkId, header) == kAAX_Success;
}

// ---- Audio --------------------------------------------------------------------------------------

HostDriver::Channels HostDriver::Render(const Channels& input, int blockSize)
{
  const size_t frames = input.empty() ? 0 : input[0].size();
  const size_t channels = size_t(mChannels);
  Channels output(channels, std::vector<double>(frames));
  if (input.empty() || blockSize <= 0)
    return output;
  hostcommon::GuardedBuffers<float> in(mChannels, blockSize), out(mChannels, blockSize);
  const std::vector<AAX_RenderContext*> contexts = {mRender.Context()};
  auto render = reinterpret_cast<AAX_RenderProcedure>(mRegistration.ProcessProcedure());
  for (size_t start = 0; start < frames; start += size_t(blockSize))
  {
    const size_t n = std::min(size_t(blockSize), frames - start);
    for (int c = 0; c < mChannels; ++c)
    {
      const std::vector<double>& source = input[size_t(c) % input.size()];
      for (size_t i = 0; i < n; ++i)
        in.Channel(c)[i] = SaturateToFloat(source[start + i]);
    }
    out.Fill(0.0f);
    mInstance.samplePosition = mSamplePosition;
    mInstance.ticks = int64_t(double(mSamplePosition) / mSampleRate * kTempo / 60.0 * kTicksPerQuarter);
    mRender.SetBlock(in.Pointers(), out.Pointers(), int32_t(n));
    RenderContexts(render, contexts);
    if (!in.GuardsIntact() || !out.GuardsIntact())
      Problem("the render wrote outside the host's buffers");
    if (!out.AllFinite(mChannels, int(n)))
      Problem("the render wrote non-finite samples");
    for (int c = 0; c < mChannels; ++c)
      std::copy_n(out.Channel(c), n, output[size_t(c)].begin() + std::ptrdiff_t(start));
    mSamplePosition += int64_t(n);
  }
  return output;
}

void HostDriver::Problem(const std::string& what)
{
  if (std::find(mProblems.begin(), mProblems.end(), what) == mProblems.end())
    mProblems.push_back(what);
}

}  // namespace aaxhost
