#include "framework/core/IPlugBase.h"

#include "framework/core/PlugTrace.h"
#include "platform/ScopedLock.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

IPlugBase::IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* makerName, int vendorVersion, int uniqueId, int makerId,
                     int latency, bool doesMidi, bool doesStateChunks, bool isInstrument, int bindingKind)
  : mUniqueId(uniqueId),
    mMakerId(makerId),
    mVersion(vendorVersion),
    mBindingKind(bindingKind),
    mDoesStateChunks(doesStateChunks),
    mIsInstrument(isInstrument),
    mDoesMidi(doesMidi),
    mLatency(latency < 0 ? 0 : latency)
{
  // The destructor does not run when construction throws: whatever was made so far is
  // released here.
  try
  {
    TQ_TRACE("IPlugBase::IPlugBase", "%s:%s", effectName, TraceTimeStamp());

    for (int i = 0; i < nParams; ++i)
    {
      IPlugParameter* param = new IPlugParameter();
      if (!mParams.Append(param))
      {
        delete param;
        break;
      }
    }
    for (int i = 0; i < nPresets; ++i)
    {
      PresetSlot* preset = new PresetSlot();
      if (!mPresets.Append(preset))
      {
        delete preset;
        break;
      }
    }

    CopyText(mEffectName, kNameSize, effectName);
    CopyText(mProductName, kNameSize, productName);
    CopyText(mMakerName, kNameSize, makerName);

    int maxIn = 0, maxOut = 0;
    ParseChannelIO(channelIOStr, &maxIn, &maxOut);

    // The pointer arrays are sized once, here: nothing may move them afterwards.
    mInPtrs.SetSize(maxIn * static_cast<int>(sizeof(double*)), true);
    mOutPtrs.SetSize(maxOut * static_cast<int>(sizeof(double*)), true);
    const int nIn = mInPtrs.Size() / static_cast<int>(sizeof(double*));
    const int nOut = mOutPtrs.Size() / static_cast<int>(sizeof(double*));
    for (int i = 0; i < nIn; ++i)
    {
      ChannelIO* channel = new ChannelIO(i);
      if (!mInChannels.Append(channel))
      {
        delete channel;
        break;
      }
    }
    for (int i = 0; i < nOut; ++i)
    {
      ChannelIO* channel = new ChannelIO(i);
      if (!mOutChannels.Append(channel))
      {
        delete channel;
        break;
      }
    }
    ResolveSlots(0);
  }
  catch (...)
  {
    DeleteOwned();
    throw;
  }
}

IPlugBase::~IPlugBase()
{
  DeleteOwned();
}

void IPlugBase::DeleteOwned()
{
  DeleteEditor();
  mParams.DeleteAll();
  mPresets.DeleteAll();
  mInChannels.DeleteAll();
  mOutChannels.DeleteAll();
  mChannelConfigs.DeleteAll();
  mInBusNames.DeleteAll();
  mOutBusNames.DeleteAll();
  delete mDelay;
  mDelay = nullptr;
}

namespace {
// One "%d" as sscanf reads it (leading white space skipped), limited to int.
bool ReadCount(const char*& p, int* out)
{
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(p, &end, 10);
  if (end == p || errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
    return false;
  *out = static_cast<int>(value);
  p = end;
  return true;
}

// A token "in-out" at the start of p.
bool ReadChannelToken(const char* p, int* nIn, int* nOut)
{
  return ReadCount(p, nIn) && *p++ == '-' && ReadCount(p, nOut);
}
}  // namespace

void IPlugBase::ParseChannelIO(const char* channelIOStr, int* maxIn, int* maxOut)
{
  *maxIn = *maxOut = 0;
  for (const char* token = channelIOStr; token;)
  {
    int nIn = 0, nOut = 0;
    const bool channelIOStrValid =
      ReadChannelToken(token, &nIn, &nOut) && nIn >= 0 && nOut >= 0 && nIn <= kMaxChannels && nOut <= kMaxChannels;
    TQ_ASSERT(channelIOStrValid, "IPlugBase");
    if (channelIOStrValid)
    {
      ChannelConfig* config = new ChannelConfig{nIn, nOut};
      if (mChannelConfigs.Append(config))
      {
        if (nIn > *maxIn)
          *maxIn = nIn;
        if (nOut > *maxOut)
          *maxOut = nOut;
      }
      else
      {
        delete config;
      }
    }
    token = std::strchr(token, ' ');
    if (token)
      ++token;
  }
}

bool IPlugBase::LegalIO(int nIn, int nOut) const
{
  bool legal = false;
  for (int i = 0, n = mChannelConfigs.Count(); i < n && !legal; ++i)
  {
    const ChannelConfig* config = mChannelConfigs.At(i);
    legal = (nIn < 0 || nIn == config->nIn) && (nOut < 0 || nOut == config->nOut);
  }
  TQ_TRACE("IPlugBase::LegalIO", "%d:%d:%s", nIn, nOut, legal ? "legal" : "illegal");
  return legal;
}

int IPlugBase::HostCodeFromName(const char* hostName)
{
  static const struct
  {
    const char* substring;
    int code;
  } kHosts[] = {
    {"cubase", 3},      {"reaper", 1},      {"nuendo", 4},
    {"cakewalk", 5},    {"samplitude", 8},  {"fruity", 7},
    {"live", 9},        {"melodyne", 12},   {"vstmanlib", 13},
    {"aulab", 14},      {"garageband", 22}, {"forte", 15},
    {"chainer", 16},    {"audition", 17},   {"orion", 18},
    {"sawstudio", 20},  {"logic", 21},      {"digital", 23},
    {"audiomulch", 25}, {"presonus", 26},   {"vst3plugintesthost", 27},
    {"protools", 2},    {"ardour", 28},     {"standalone", 24},
  };

  if (!hostName)
    return 0;
  char lower[kHostNameSize];
  int n = 0;
  for (; n < kHostNameSize - 1 && hostName[n]; ++n)
  {
    // ASCII only: the process locale must not change which host we think we are in.
    const char c = hostName[n];
    lower[n] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  lower[n] = '\0';
  for (const auto& host : kHosts)
  {
    if (std::strstr(lower, host.substring))
      return host.code;
  }
  return 0;
}

void IPlugBase::SetHost(const char* hostName, int hostVersion)
{
  mHostCode = HostCodeFromName(hostName);
  mHostVersion = hostVersion;
  TQ_TRACE("IPlugBase::SetHost", "host_%sknown:%s:v%d.%d.%d", mHostCode ? "" : "un", hostName ? hostName : "",
           hostVersion / 65536, (hostVersion >> 8) & 255, hostVersion & 255);
}

namespace {
void NameBus(PtrList<StringBuffer>& names, int busIdx, const char* text)
{
  names.RemoveAt(busIdx);
  StringBuffer* name = new StringBuffer(text);
  if (!names.InsertAt(busIdx, name))
    delete name;
}
}  // namespace

void IPlugBase::NameInputBus(int busIdx, const char* text)
{
  if (busIdx == 0 || busIdx == 1)
    NameBus(mInBusNames, busIdx, text);
}

void IPlugBase::NameOutputBus(int busIdx, const char* text)
{
  if (busIdx >= 0)
    NameBus(mOutBusNames, busIdx, text);
}

const char* IPlugBase::InputBusName(int busIdx) const
{
  const StringBuffer* name = mInBusNames.At(busIdx);
  return name ? name->Get() : nullptr;
}

const char* IPlugBase::OutputBusName(int busIdx) const
{
  const StringBuffer* name = mOutBusNames.At(busIdx);
  return name ? name->Get() : nullptr;
}

int IPlugBase::VersionNumber(bool decimal) const
{
  if (!decimal)
    return mVersion;
  const int major = static_cast<int>(static_cast<unsigned>(mVersion) >> 16);
  return major * 10000 + ((mVersion >> 8) & 0xFF) * 100 + (mVersion & 0xFF);
}

bool IPlugBase::ChangeSampleRate(double rate)
{
  if (!std::isfinite(rate) || rate <= 0.0)
    return false;
  mSampleRate = rate;
  return true;
}

void IPlugBase::NotifyAllParams()
{
  for (int i = 0, n = NParams(); i < n; ++i)
    HandleParameterChange(i, kCauseEditorOrHost);
}

void IPlugBase::RestartProcessing()
{
  ScopedLock lock(&mMutex);
}

void IPlugBase::HandleParameterChange(int, int)
{
  ScopedLock lock(&mMutex);
}

void IPlugBase::ActivationChanged(bool)
{
  ScopedLock lock(&mMutex);
}

void IPlugBase::HandleMidiMessage(const MidiMessage* msg)
{
  SendMidiToHost(msg);
}

bool IPlugBase::NoteNameFor(int, char* out, int capacity)
{
  CopyText(out, capacity, "");
  return false;
}

void IPlugBase::SetParameterFromGUI(int paramIdx, double normalised)
{
  ScopedLock lock(&mMutex);
  IPlugParameter* param = ParamAt(paramIdx);
  if (!param)
    return;
  TQ_TRACE("IPlugBase::SetParameterFromGUI", "%d:%f", paramIdx, normalised);
  if (std::isnan(normalised))
    return;
  normalised = normalised < 0.0 ? 0.0 : (normalised > 1.0 ? 1.0 : normalised);
  param->SetFromNormal(normalised);
  InformHostOfParamChange(paramIdx, normalised);
  HandleParameterChange(paramIdx, kCauseEditorOrHost);
}

void IPlugBase::AttachEditor(IPlugEditor* editor)
{
  if (!editor)
    return;
  ScopedLock lock(&mMutex);
  for (int i = 0, n = NParams(); i < n; ++i)
    editor->PushParamToControls(i, ParamAt(i)->Normal(), true);
  editor->CreateDrawSurfaces();
  if (mEditor != editor)
    delete mEditor;
  mEditor = editor;
}

void IPlugBase::DeleteEditor()
{
  IPlugEditor* editor = mEditor;
  mEditor = nullptr;
  delete editor;
}
