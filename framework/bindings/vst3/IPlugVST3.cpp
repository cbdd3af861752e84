// Construction, the component calls (initialize, terminate, activation, bus arrangements),
// interface queries, and what IPlugBase tells or asks the host.
#include "framework/bindings/vst3/IPlugVST3.h"

#include "framework/bindings/vst3/IPlugVST3View.h"
#include "platform/ScopedLock.h"
#include "sdk/vst3/IHostApplication.h"
#include "sdk/vst3/NoThrow.h"
#include "sdk/vst3/StringConvert.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

using namespace vst3;

namespace {
std::u16string Text16(const char* text)
{
  return toStr16(text ? text : "");
}
}  // namespace

IPlugVST3::IPlugVST3(const InstanceInfo&, int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* makerName, int vendorVersion, int uniqueId, int makerId,
                     int latency, bool doesMidi, bool doesStateChunks, bool isInstrument, int sideChainChannels)
  : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, makerName, vendorVersion, uniqueId, makerId,
              latency, doesMidi, doesStateChunks, isInstrument, kBindingVST3),
    mSideChainChannels(std::clamp(sideChainChannels, 0, NInChannels()))
{
  ConnectInputs(0, NInChannels(), true);
  ConnectOutputs(0, NOutChannels(), true);
  if (NInChannels() > 0)
    SetBypassDelayLine(new BypassDelayLine(NInChannels(), NOutChannels()));

  NameInputBus(0, "Main Input");
  if (mSideChainChannels > 0)
    NameInputBus(1, "Aux Input");
  if (isInstrument)
  {
    for (int k = 0; k < NOutChannels() / 2; ++k)
    {
      char name[32];
      std::snprintf(name, sizeof(name), "Output %i", k + 1);
      NameOutputBus(k, name);
    }
  }
  else
  {
    NameOutputBus(0, "Output");
  }

  mContext.tempo = 120.0;
  mContext.timeSigNumerator = 4;
  mContext.timeSigDenominator = 4;
}

IPlugVST3::~IPlugVST3()
{
  mViews.clear();
}

SpeakerArrangement IPlugVST3::ArrangementForChannelCount(int nChannels)
{
  switch (nChannels)
  {
  case 1:
    return arrangement::kMono;
  case 2:
    return arrangement::kStereo;
  case 3:
    return arrangement::k30Music;
  case 4:
    return arrangement::kAmbi1stOrderACN;
  case 5:
    return arrangement::k50;
  case 6:
    return arrangement::k51;
  default:
    return arrangement::kEmpty;
  }
}

// A host never terminates an object whose initialize failed, so a call that fails inside
// (memory running out) gives back what it took: the context, buses and parameters.
tresult PLUGIN_API IPlugVST3::initialize(FUnknown* context)
{
  // A repeated initialize is refused and changes nothing: reloading the default preset
  // here would throw away the user's settings.
  if (isInitialized())
    return kResultFalse;
  bool tookContext = false;
  bool finished = false;
  const tresult r = noThrow([&] {
    const tresult base = SingleComponentEffect::initialize(context);
    tookContext = base == kResultOk;
    InitializeFor(context, base);
    finished = true;
    return base;
  });
  if (!finished && tookContext)
    SingleComponentEffect::terminate();
  return r;
}

void IPlugVST3::InitializeFor(FUnknown* context, tresult r)
{
  FUnknownPtr<IHostApplication> host(context);
  if (host)
  {
    String128 name = {};
    if (host->getName(name) == kResultOk)
    {
      name[127] = 0;  // the host may fill the whole buffer
      SetHost(toStr8(name).c_str(), 0);
    }
  }

  if (r == kResultOk)
  {
    AddBuses();
    AddParameters();
  }
  HostSetupDone();
  LoadPreset(0);
}

void IPlugVST3::AddBuses()
{
  const int mainInputs = NInChannels() - mSideChainChannels;
  if (mainInputs > 0)
    addAudioInput(Text16(InputBusName(0)).c_str(), ArrangementForChannelCount(mainInputs), kMain,
                  BusInfo::kDefaultActive);

  if (IsInstrument())
  {
    for (int k = 0; k < NOutChannels() / 2; ++k)
      addAudioOutput(Text16(OutputBusName(k)).c_str(), arrangement::kStereo, kMain, BusInfo::kDefaultActive);
  }
  else
  {
    addAudioOutput(Text16(OutputBusName(0)).c_str(), ArrangementForChannelCount(NOutChannels()), kMain,
                   BusInfo::kDefaultActive);
  }

  if (mSideChainChannels > 0)
  {
    const int count = std::min(mSideChainChannels, 2);
    addAudioInput(Text16(InputBusName(1)).c_str(), ArrangementForChannelCount(count), kAux, 0);
  }

  if (DoesMidi())
    addEventInput(u"MIDI Input", 1);
}

tresult PLUGIN_API IPlugVST3::terminate()
{
  mViews.clear();
  return SingleComponentEffect::terminate();
}

tresult PLUGIN_API IPlugVST3::setActive(TBool state)
{
  return noThrow([&] {
    ActivationChanged(state != 0);
    return kResultOk;
  });
}

namespace {
// The host's arrangement of bus 0 of one direction; a missing side has no channels.
int ChannelsOfFirst(const SpeakerArrangement* arrangements, int32 count)
{
  return count > 0 && arrangements ? channelCount(arrangements[0]) : 0;
}

// Changes the bus in place, so it keeps its place in the list and the host's activation.
void Rearrange(AudioBus* bus, int nChannels, const char16_t* name)
{
  if (!bus || channelCount(bus->getArrangement()) == nChannels)
    return;
  bus->setArrangement(IPlugVST3::ArrangementForChannelCount(nChannels));
  bus->setName(name);
}
}  // namespace

tresult PLUGIN_API IPlugVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                                 int32 numOuts)
{
  return noThrow([&] { return ArrangeBuses(inputs, numIns, outputs, numOuts); });
}

tresult IPlugVST3::ArrangeBuses(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs, int32 numOuts)
{
  // The channel records are the audio thread's too.
  ScopedLock lock(Mutex());
  ConnectInputs(0, NInChannels(), false);
  ConnectOutputs(0, NOutChannels(), false);

  const int nIn = ChannelsOfFirst(inputs, numIns);
  const int nOut = ChannelsOfFirst(outputs, numOuts);
  if (!LegalIO(nIn, nOut))
    return kResultFalse;

  Rearrange(getAudioInput(0), nIn, u"Input");
  Rearrange(getAudioOutput(0), nOut, u"Output");

  if (mSideChainChannels <= 0)
    return numIns == 1 ? kResultOk : kResultFalse;
  if (numIns != 2)
    return kResultFalse;
  Rearrange(getAudioInput(1), inputs ? channelCount(inputs[1]) : 0, u"Sidechain Input");
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::queryInterface(const TUID iid_, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (queryAs<IUnitInfo>(iid_, obj, this) == kResultOk)
    return kResultOk;
  if (queryAs<IMidiMapping>(iid_, obj, this) == kResultOk)
    return kResultOk;
  return SingleComponentEffect::queryInterface(iid_, obj);
}

// ---- What IPlugBase tells the host -----------------------------------------------------------

void IPlugVST3::BeginInformHostOfParamChange(int paramIdx)
{
  if (paramIdx >= 0)
    beginEdit(static_cast<ParamID>(paramIdx));
}

void IPlugVST3::InformHostOfParamChange(int paramIdx, double normalised)
{
  if (paramIdx >= 0)
    performEdit(static_cast<ParamID>(paramIdx), normalised);
}

void IPlugVST3::EndInformHostOfParamChange(int paramIdx)
{
  if (paramIdx >= 0)
    endEdit(static_cast<ParamID>(paramIdx));
}

void IPlugVST3::ChangeLatency(int samples)
{
  IPlugBase::ChangeLatency(samples);
  if (IComponentHandler* handler = getComponentHandler())
    handler->restartComponent(kLatencyChanged);
}

// ---- Transport, from the last context the host sent ----------------------------------------------

bool IPlugVST3::RendersOffline()
{
  return mProcessSetup.processMode == kOffline;
}

int IPlugVST3::HostSamplePosition()
{
  return static_cast<int>(static_cast<uint32>(mContext.projectTimeSamples));
}

double IPlugVST3::HostTempo()
{
  return mContext.tempo;
}

void IPlugVST3::HostTimeSignature(int* numerator, int* denominator)
{
  if (numerator)
    *numerator = mContext.timeSigNumerator;
  if (denominator)
    *denominator = mContext.timeSigDenominator;
}

void IPlugVST3::HostTransport(TransportInfo* info)
{
  if (!info)
    return;
  info->tempo = mContext.tempo;
  info->samplePos = static_cast<double>(mContext.projectTimeSamples);
  info->ppqPos = mContext.projectTimeMusic;
  info->lastBarPos = mContext.barPositionMusic;
  info->cycleStart = mContext.cycleStartMusic;
  info->cycleEnd = mContext.cycleEndMusic;
  info->numerator = mContext.timeSigNumerator;
  info->denominator = mContext.timeSigDenominator;
  info->playing = (mContext.state & ProcessContext::kPlaying) != 0;
  info->cycling = (mContext.state & ProcessContext::kCycleActive) != 0;
}

// ---- Editor views ----------------------------------------------------------------------------------

IPlugView* PLUGIN_API IPlugVST3::createView(FIDString name)
{
  if (!name || std::strcmp(name, kEditorViewType) != 0)
    return nullptr;
  try
  {
    // The host owns the view's one reference; the list only names it.
    mViews.reserve(mViews.size() + 1);
    auto* view = new IPlugVST3View(this);
    mViews.push_back(view);
    return view;
  }
  catch (...)
  {
    return nullptr;
  }
}

void IPlugVST3::RemoveView(IPlugView* view)
{
  const auto it = std::find(mViews.begin(), mViews.end(), view);
  if (it != mViews.end())
    mViews.erase(it);
}

void IPlugVST3::ShowHostParamMenu(int paramIdx, int x, int y)
{
  IComponentHandler* handler = getComponentHandler();
  if (!handler || mViews.empty() || paramIdx < 0)
    return;
  FUnknownPtr<IComponentHandler3> menus(handler);
  if (!menus)
    return;
  const ParamID id = static_cast<ParamID>(paramIdx);
  if (IContextMenu* menu = menus->createContextMenu(mViews.front(), &id))
  {
    menu->popup(x, y);
    menu->release();
  }
}

void IPlugVST3::ResizeEditor(int width, int height)
{
  if (Editor() && !mViews.empty())
    static_cast<IPlugVST3View*>(mViews.front())->RequestResize(width, height);
}
