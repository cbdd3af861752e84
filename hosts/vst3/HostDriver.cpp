#include "hosts/vst3/HostDriver.h"

#include "hosts/vst3/MemoryStream.h"
#include "hosts/vst3/ProcessDataBuilder.h"

#include <algorithm>
#include <cstring>

namespace vst3host {

namespace {

bool acceptable(vst3::tresult r)
{
  return r == vst3::kResultOk || r == vst3::kNotImplemented;
}

// Marks the out-pointer before a query, to see whether a refusal cleared it.
void* const kUntouched = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x5EED));

std::string text(const char* field, std::size_t capacity)
{
  return std::string(field, strnlen(field, capacity));  // factory fields may fill the array
}

}  // namespace

std::string narrow(const vst3::TChar* text, std::size_t capacity)
{
  std::string out;
  for (std::size_t i = 0; text != nullptr && i < capacity && text[i] != 0; ++i)
  {
    char32_t c = text[i];
    const bool high = c >= 0xD800 && c < 0xDC00;
    if (high && i + 1 < capacity && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
    {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    else if (c >= 0xD800 && c < 0xE000)
    {
      c = 0xFFFD;  // an unpaired surrogate
    }
    if (c < 0x80)
    {
      out.push_back(static_cast<char>(c));
    }
    else if (c < 0x800)
    {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    else if (c < 0x10000)
    {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    else
    {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

namespace {

// Decodes one UTF-8 sequence at text[i], advancing i; malformed input gives U+FFFD.
char32_t decodeUtf8(const std::string& text, std::size_t& i)
{
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i++);
  if (lead < 0x80)
    return lead;
  int extra = 0;
  if (lead >= 0xC2 && lead <= 0xDF)
    extra = 1;
  else if (lead >= 0xE0 && lead <= 0xEF)
    extra = 2;
  else if (lead >= 0xF0 && lead <= 0xF4)
    extra = 3;
  else
    return 0xFFFD;
  char32_t c = lead & (0x7F >> (extra + 1));
  for (int k = 0; k < extra; ++k)
  {
    if (i >= text.size() || (byte(i) & 0xC0) != 0x80)
      return 0xFFFD;
    c = (c << 6) | (byte(i++) & 0x3F);
  }
  const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
  if (c < minimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
    return 0xFFFD;
  return c;
}

}  // namespace

void widen(const std::string& text, vst3::TChar* out, std::size_t capacity)
{
  if (out == nullptr || capacity == 0)
    return;
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size();)
  {
    const char32_t c = decodeUtf8(text, i);
    const std::size_t units = c >= 0x10000 ? 2 : 1;
    if (n + units > capacity - 1)
      break;  // never split a pair, always leave the terminator
    if (units == 2)
    {
      out[n++] = static_cast<vst3::TChar>(0xD800 + ((c - 0x10000) >> 10));
      out[n++] = static_cast<vst3::TChar>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
    else
    {
      out[n++] = static_cast<vst3::TChar>(c);
    }
  }
  out[n] = 0;
}

std::string resultName(vst3::tresult r)
{
  switch (r)
  {
  case vst3::kResultOk:
    return "kResultOk";
  case vst3::kResultFalse:
    return "kResultFalse";
  case vst3::kNoInterface:
    return "kNoInterface";
  case vst3::kInvalidArgument:
    return "kInvalidArgument";
  case vst3::kNotImplemented:
    return "kNotImplemented";
  case vst3::kInternalError:
    return "kInternalError";
  case vst3::kNotInitialized:
    return "kNotInitialized";
  case vst3::kOutOfMemory:
    return "kOutOfMemory";
  default:
    return "result " + std::to_string(r);
  }
}

template <class I>
I* HostDriver::query(vst3::FUnknown* from)
{
  if (from == nullptr)
    return nullptr;
  void* p = kUntouched;
  const vst3::tresult r = from->queryInterface(I::iid, &p);
  if (r == vst3::kResultOk && p != nullptr && p != kUntouched)
    return static_cast<I*>(p);
  if (r == vst3::kResultOk)
    problem("queryInterface answered success without an interface");
  else if (p != nullptr)
    problem("queryInterface refused but did not clear the out-pointer");
  return nullptr;
}

HostDriver::HostDriver(vst3::IPluginFactory* factory) : mFactory(factory)
{
  if (mFactory != nullptr)
    mFactory->addRef();
}

HostDriver::~HostDriver()
{
  unload();
  if (mFactory != nullptr)
    mFactory->release();
}

vst3::tresult HostDriver::expectOk(vst3::tresult r, const char* call)
{
  if (r != vst3::kResultOk)
    problem(std::string(call) + " answered " + resultName(r));
  return r;
}

void HostDriver::problem(const std::string& text)
{
  if (std::find(mProblems.begin(), mProblems.end(), text) == mProblems.end())
    mProblems.push_back(text);
}

vst3::tresult HostDriver::factoryInfo(vst3::PFactoryInfo& info)
{
  std::memset(&info, 0, sizeof info);
  return mFactory != nullptr ? mFactory->getFactoryInfo(&info) : vst3::kNotInitialized;
}

std::vector<ClassEntry> HostDriver::classes()
{
  std::vector<ClassEntry> out;
  if (mFactory == nullptr)
    return out;
  // Hosts ask for the newest factory interface first; only the answer's form matters here.
  if (auto* factory3 = query<vst3::IPluginFactory3>(mFactory))
    factory3->release();
  auto* factory2 = query<vst3::IPluginFactory2>(mFactory);
  const vst3::int32 count = mFactory->countClasses();
  for (vst3::int32 i = 0; i < count; ++i)
  {
    ClassEntry entry{};
    vst3::PClassInfo2 info2;
    std::memset(&info2, 0, sizeof info2);
    if (factory2 != nullptr && factory2->getClassInfo2(i, &info2) == vst3::kResultOk)
    {
      std::memcpy(entry.cid, info2.cid, sizeof entry.cid);
      entry.name = text(info2.name, sizeof info2.name);
      entry.category = text(info2.category, sizeof info2.category);
      entry.subCategories = text(info2.subCategories, sizeof info2.subCategories);
      entry.version = text(info2.version, sizeof info2.version);
      entry.sdkVersion = text(info2.sdkVersion, sizeof info2.sdkVersion);
    }
    else
    {
      vst3::PClassInfo info;
      std::memset(&info, 0, sizeof info);
      if (mFactory->getClassInfo(i, &info) != vst3::kResultOk)
      {
        problem("getClassInfo(" + std::to_string(i) + ") failed for a counted class");
        continue;
      }
      std::memcpy(entry.cid, info.cid, sizeof entry.cid);
      entry.name = text(info.name, sizeof info.name);
      entry.category = text(info.category, sizeof info.category);
    }
    out.push_back(entry);
  }
  if (factory2 != nullptr)
    factory2->release();
  return out;
}

vst3::tresult HostDriver::load()
{
  for (const ClassEntry& entry : classes())
    if (entry.category == vst3::kVstAudioEffectClass)
      return load(entry.cid);
  problem("the factory offers no audio effect class");
  return vst3::kResultFalse;
}

vst3::tresult HostDriver::load(const vst3::TUID cid)
{
  if (mStage != Stage::Empty || mFactory == nullptr)
    return vst3::kResultFalse;
  void* obj = nullptr;
  vst3::tresult r = mFactory->createInstance(cid, vst3::IComponent::iid, &obj);
  if (r != vst3::kResultOk || obj == nullptr)
  {
    problem("createInstance(IComponent) answered " + resultName(r));
    return r != vst3::kResultOk ? r : vst3::kNoInterface;
  }
  mComponent = static_cast<vst3::IComponent*>(obj);
  r = mComponent->initialize(static_cast<vst3::IHostApplication*>(&mApplication));
  if (r != vst3::kResultOk)
  {
    // Hosts release a component that refused initialize without terminating it.
    problem("initialize answered " + resultName(r));
    releaseInterfaces();
    return r;
  }
  mProcessor = query<vst3::IAudioProcessor>(mComponent);
  mController = query<vst3::IEditController>(mComponent);
  // Hosts also ask for extensions a plug-in may lack; a refusal must leave nothing behind.
  if (auto* requirements = query<vst3::IProcessContextRequirements>(mComponent))
    requirements->release();
  if (mProcessor == nullptr || mController == nullptr)
  {
    if (mProcessor == nullptr)
      problem("the component offers no IAudioProcessor");
    if (mController == nullptr)
      problem("separate controller classes are not supported by this host");
    mComponent->terminate();
    releaseInterfaces();
    return mProcessor == nullptr ? vst3::kNoInterface : vst3::kNotImplemented;
  }
  expectOk(mController->setComponentHandler(&mHandler), "setComponentHandler");
  mStage = Stage::Initialized;
  return vst3::kResultOk;
}

std::vector<vst3::BusInfo> HostDriver::buses(vst3::MediaType type, vst3::BusDirection direction)
{
  std::vector<vst3::BusInfo> out;
  if (mComponent == nullptr)
    return out;
  const vst3::int32 count = mComponent->getBusCount(type, direction);
  for (vst3::int32 i = 0; i < count; ++i)
  {
    vst3::BusInfo info;
    std::memset(&info, 0, sizeof info);
    if (mComponent->getBusInfo(type, direction, i, info) != vst3::kResultOk)
    {
      problem("getBusInfo failed for a counted bus");
      std::memset(&info, 0, sizeof info);
    }
    out.push_back(info);
  }
  return out;
}

vst3::tresult HostDriver::arrange(const std::vector<vst3::SpeakerArrangement>& inputs,
                                  const std::vector<vst3::SpeakerArrangement>& outputs)
{
  if (mStage != Stage::Initialized)
    return vst3::kResultFalse;
  vst3::tresult result = vst3::kResultOk;
  if (!inputs.empty() || !outputs.empty())
  {
    std::vector<vst3::SpeakerArrangement> in = inputs;
    std::vector<vst3::SpeakerArrangement> out = outputs;
    result = mProcessor->setBusArrangements(in.empty() ? nullptr : in.data(), static_cast<vst3::int32>(in.size()),
                                            out.empty() ? nullptr : out.data(), static_cast<vst3::int32>(out.size()));
  }
  // Whatever the answer, the plug-in must now describe its buses consistently.
  for (vst3::BusDirection dir : {vst3::kInput, vst3::kOutput})
  {
    const auto infos = buses(vst3::kAudio, dir);
    for (std::size_t i = 0; i < infos.size(); ++i)
    {
      vst3::SpeakerArrangement arr = 0;
      if (mProcessor->getBusArrangement(dir, static_cast<vst3::int32>(i), arr) != vst3::kResultOk)
        problem("getBusArrangement failed for a counted bus");
      else if (vst3::channelCount(arr) != infos[i].channelCount)
        problem("getBusArrangement and getBusInfo disagree on a bus's channel count");
      if (i == 0 || (infos[i].flags & vst3::BusInfo::kDefaultActive))
        expectOk(mComponent->activateBus(vst3::kAudio, dir, static_cast<vst3::int32>(i), 1), "activateBus(audio)");
    }
    const auto events = buses(vst3::kEvent, dir);
    for (std::size_t i = 0; i < events.size(); ++i)
      if (events[i].flags & vst3::BusInfo::kDefaultActive)
        expectOk(mComponent->activateBus(vst3::kEvent, dir, static_cast<vst3::int32>(i), 1), "activateBus(event)");
  }
  return result;
}

vst3::tresult HostDriver::start(const ProcessSettings& settings)
{
  if (mStage != Stage::Initialized)
    return vst3::kResultFalse;
  if (settings.maxBlock < 1)
    return vst3::kInvalidArgument;
  vst3::tresult r = mProcessor->canProcessSampleSize(settings.sampleSize);
  if (r != vst3::kResultOk)
    return r;  // not a fault: the host picks another size
  vst3::ProcessSetup setup{settings.processMode, settings.sampleSize, settings.maxBlock, settings.sampleRate};
  r = expectOk(mProcessor->setupProcessing(setup), "setupProcessing");
  if (r != vst3::kResultOk)
    return r;
  mSettings = settings;

  std::vector<vst3::int32> inChannels, outChannels;
  for (const auto& info : buses(vst3::kAudio, vst3::kInput))
    inChannels.push_back(info.channelCount);
  for (const auto& info : buses(vst3::kAudio, vst3::kOutput))
    outChannels.push_back(info.channelCount);
  mInputs.configure(settings.sampleSize, inChannels, settings.maxBlock);
  mOutputs.configure(settings.sampleSize, outChannels, settings.maxBlock);
  mTransport.context()->sampleRate = settings.sampleRate;

  r = expectOk(mComponent->setActive(1), "setActive(true)");
  if (r != vst3::kResultOk)
    return r;
  mStage = Stage::Active;
  mLatency = mProcessor->getLatencySamples();
  mHandler.takeRestartFlags();                              // requests made while setting up are answered by it
  onAudioThread([this] { mProcessor->setProcessing(1); });  // hosts ignore the answer
  mStage = Stage::Processing;
  return vst3::kResultOk;
}

vst3::tresult HostDriver::process(vst3::int32 frames)
{
  if (mStage != Stage::Processing)
    return vst3::kResultFalse;
  if (frames < 0 || frames > mSettings.maxBlock)
    return vst3::kInvalidArgument;
  ProcessDataBuilder builder(mSettings.sampleSize, frames);
  builder.mode(mSettings.processMode)
    .inputs(mInputs)
    .outputs(mOutputs)
    .changes(&mInputChanges, &mOutputChanges)
    .events(&mInputEvents, &mOutputEvents)
    .context(mSendTransport ? mTransport.context() : nullptr);
  mOutputChanges.clear();
  mOutputEvents.clear();
  mInputs.guardTail(frames);
  mOutputs.guardTail(frames);
  const vst3::tresult r = processRaw(builder.data());
  if (!mOutputs.allFinite(frames))
    problem("process wrote non-finite samples");
  mInputChanges.clear();
  mInputEvents.clear();
  mTransport.advance(frames);
  serviceRestarts();
  return r;
}

void HostDriver::serviceRestarts()
{
  const vst3::int32 flags = mHandler.takeRestartFlags();
  if (!(flags & vst3::kLatencyChanged) || mStage != Stage::Processing)
    return;
  mProcessor->setProcessing(0);
  expectOk(mComponent->setActive(0), "setActive(false)");
  expectOk(mComponent->setActive(1), "setActive(true)");
  mProcessor->setProcessing(1);
  mLatency = mProcessor->getLatencySamples();
}

void HostDriver::onAudioThread(const std::function<void()>& task)
{
  if (mAudioThread != nullptr)
    mAudioThread->run(task);
  else
    task();
}

vst3::tresult HostDriver::processRaw(vst3::ProcessData& data)
{
  if (mStage != Stage::Processing)
    return vst3::kResultFalse;
  vst3::tresult result = vst3::kResultOk;
  onAudioThread([&] { result = mProcessor->process(data); });
  const vst3::tresult r = expectOk(result, "process");
  if (!mInputs.guardsIntact() || !mOutputs.guardsIntact())
    problem("process wrote outside the host's buffers");
  if (!mInputChanges.referencesBalanced() || !mOutputChanges.referencesBalanced() || mInputEvents.heldByPlugin() != 0 ||
      mOutputEvents.heldByPlugin() != 0)
    problem("process kept or over-released a reference on the host's change or event lists");
  return r;
}

vst3::tresult HostDriver::stop()
{
  if (mStage == Stage::Processing)
  {
    onAudioThread([this] { mProcessor->setProcessing(0); });
    mStage = Stage::Active;
  }
  if (mStage == Stage::Active)
  {
    mStage = Stage::Initialized;
    return expectOk(mComponent->setActive(0), "setActive(false)");
  }
  return vst3::kResultOk;
}

vst3::tresult HostDriver::setParameter(vst3::ParamID id, vst3::ParamValue normalized)
{
  if (mController == nullptr)
    return vst3::kNotInitialized;
  const vst3::tresult r = mController->setParamNormalized(id, normalized);
  mInputChanges.add(id, 0, normalized);
  return r;
}

vst3::tresult HostDriver::saveState(std::vector<std::uint8_t>& component, std::vector<std::uint8_t>& controller)
{
  if (mStage == Stage::Empty)
    return vst3::kNotInitialized;
  MemoryStream a, b;
  vst3::tresult r = mComponent->getState(&a);
  if (acceptable(r))
    r = mController->getState(&b);
  if (a.heldByPlugin() != 0 || b.heldByPlugin() != 0 || a.overReleased() || b.overReleased())
    problem("getState kept or over-released a reference on the host's stream");
  if (!acceptable(r))
  {
    problem("saving state answered " + resultName(r));
    return r;
  }
  component = a.bytes();
  controller = b.bytes();
  return vst3::kResultOk;
}

vst3::tresult HostDriver::loadState(const std::vector<std::uint8_t>& component,
                                    const std::vector<std::uint8_t>& controller)
{
  if (mStage == Stage::Empty)
    return vst3::kNotInitialized;
  MemoryStream a(component), b(controller);
  vst3::tresult r = mComponent->setState(&a);
  if (acceptable(r))
  {
    a.rewind();
    r = mController->setComponentState(&a);
  }
  if (acceptable(r) && !controller.empty())
    r = mController->setState(&b);
  if (a.heldByPlugin() != 0 || b.heldByPlugin() != 0 || a.overReleased() || b.overReleased())
    problem("setState kept or over-released a reference on the host's stream");
  return acceptable(r) ? vst3::kResultOk : r;
}

std::vector<vst3::ParameterInfo> HostDriver::parameters()
{
  std::vector<vst3::ParameterInfo> out;
  if (mController == nullptr)
    return out;
  const vst3::int32 count = mController->getParameterCount();
  for (vst3::int32 i = 0; i < count; ++i)
  {
    vst3::ParameterInfo info;
    std::memset(&info, 0, sizeof info);
    if (mController->getParameterInfo(i, info) != vst3::kResultOk)
    {
      problem("getParameterInfo failed for a counted parameter");
      continue;
    }
    out.push_back(info);
  }
  return out;
}

void HostDriver::releaseInterfaces()
{
  if (mProcessor != nullptr)
    mProcessor->release();
  if (mController != nullptr)
    mController->release();
  mProcessor = nullptr;
  mController = nullptr;
  if (mComponent != nullptr)
  {
    const vst3::uint32 left = mComponent->release();
    if (left != 0)
      problem("the plug-in keeps " + std::to_string(left) + " reference(s) after the host's last release");
  }
  mComponent = nullptr;
  mStage = Stage::Empty;
  checkHostObjects();
}

void HostDriver::checkHostObjects()
{
  if (mApplication.heldByPlugin() != 0 || mHandler.heldByPlugin() != 0 || mHandler.menu().heldByPlugin() != 0 ||
      mFrame.heldByPlugin() != 0)
    problem("the plug-in still holds host objects after it was released");
  if (mApplication.overReleased() || mHandler.overReleased() || mHandler.menu().overReleased() || mFrame.overReleased())
    problem("the plug-in released a host object more often than it referenced it");
}

vst3::tresult HostDriver::openEditor(void* parent, const char* platformType)
{
  if (mController == nullptr || mView != nullptr)
    return vst3::kResultFalse;
  mView = mController->createView(vst3::kEditorViewType);
  if (mView == nullptr)
    return vst3::kNoInterface;
  std::memset(&mEditorSize, 0, sizeof mEditorSize);
  if (mView->getSize(&mEditorSize) != vst3::kResultOk)
    problem("getSize of a new view failed");
  vst3::tresult r = mView->isPlatformTypeSupported(platformType);
  if (r == vst3::kResultOk)
  {
    mView->setFrame(&mFrame);
    r = mView->attached(parent, platformType);
    if (r != vst3::kResultOk)
      mView->setFrame(nullptr);
  }
  if (r != vst3::kResultOk)
  {
    mView->release();
    mView = nullptr;
    if (mFrame.heldByPlugin() != 0)
      problem("a view that was not attached keeps the host's frame");
    return r;
  }
  return vst3::kResultOk;
}

vst3::tresult HostDriver::closeEditor()
{
  if (mView == nullptr)
    return vst3::kResultOk;
  mView->setFrame(nullptr);
  const vst3::tresult r = expectOk(mView->removed(), "removed");
  const vst3::uint32 left = mView->release();
  mView = nullptr;
  if (left != 0)
    problem("the view keeps " + std::to_string(left) + " reference(s) after the host's release");
  if (mFrame.heldByPlugin() != 0 || mFrame.overReleased())
    problem("the view did not let go of the host's frame");
  return r;
}

vst3::tresult HostDriver::unload()
{
  if (mStage == Stage::Empty)
    return vst3::kResultOk;
  closeEditor();
  stop();
  const vst3::tresult r = expectOk(mComponent->terminate(), "terminate");
  releaseInterfaces();
  return r;
}

}  // namespace vst3host
