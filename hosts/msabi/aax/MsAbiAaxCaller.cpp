// A host's side of an AAX module's life, compiled for Microsoft's ABI: the module is called
// through this file's own declarations and calls back into this file's host objects.
#include "hosts/msabi/aax/MsAbiAax.h"
#include "hosts/msabi/aax/MsAbiHostObjects.h"
#include "hosts/msabi/aax/MsAbiRenderHost.h"

namespace msabi {
namespace {

constexpr uint32 kCreateParameters = 0;
constexpr uint32 kCreateEditor = 1;
constexpr uint32 kInstanceField = 8;
constexpr int32 kTextLimit = 32;
constexpr double kTicksPerQuarter = 960000.0;

// Steps a scenario can stop at, reported to the test.
enum Failure
{
  kStartupFailed = 1,
  kRegistrationFailed,
  kNoProcedures,
  kNoInstance,
  kInstanceNotStarted,
  kNoEditor,
};

struct Exports
{
  explicit Exports(const TqAaxEntries& e)
    : startup(reinterpret_cast<StartupExport>(e.startup)),
      shutdown(reinterpret_cast<ShutdownExport>(e.shutdown)),
      canUnloadNow(reinterpret_cast<CanUnloadNowExport>(e.canUnloadNow)),
      getSdkVersion(reinterpret_cast<GetSdkVersionExport>(e.getSdkVersion)),
      registerPlugin(reinterpret_cast<RegisterPluginExport>(e.registerPlugin)),
      registerComponent(reinterpret_cast<RegisterComponentExport>(e.registerComponent)),
      getClassFactory(reinterpret_cast<GetClassFactoryExport>(e.getClassFactory))
  {}

  StartupExport startup;
  ShutdownExport shutdown;
  CanUnloadNowExport canUnloadNow;
  GetSdkVersionExport getSdkVersion;
  RegisterPluginExport registerPlugin;
  RegisterComponentExport registerComponent;
  GetClassFactoryExport getClassFactory;
};

// The log of a scenario whose calls the test does not read.
char sScenarioLog[64 * 1024];

// Start-up and registration, an instance and an editor, each closed in reverse order.
class Session
{
public:
  Session(const TqAaxEntries& entries, TqAaxText log)
    : exports(entries),
      mLog(log.chars ? log.chars : sScenarioLog, log.chars ? log.capacity : int(sizeof sScenarioLog)),
      mHost(Arena::Make<RegistrationHost>(mLog))
  {}

  ~Session()
  {
    Shutdown();
    Arena::Reset();
  }

  int Register()
  {
    startup = exports.startup(mHost);
    if (startup != kOk)
      return kStartupFailed;
    mStarted = true;
    registration = exports.registerPlugin(mHost, &definition);
    if (registration != kOk)
      return kRegistrationFailed;
    if (!mHost->Procedure(kCreateParameters) || !mHost->ProcessProcedure())
      return kNoProcedures;
    return kOk;
  }

  int OpenInstance(const InstanceSettings& settings)
  {
    const auto create = reinterpret_cast<CreateProcedure>(mHost->Procedure(kCreateParameters));
    Unknown* made = create ? create() : nullptr;
    void* face = nullptr;
    if (!made || made->QueryInterface(ids::kEffectParameters, &face) != kOk || !face)
      return kNoInstance;
    effect = static_cast<EffectParameters*>(face);
    mInstanceHost = Arena::Make<InstanceHost>(mLog, "Instance");
    mInstanceHost->settings = settings;
    mInstanceHost->effect = effect;
    if (effect->StartInstance(mInstanceHost) != kOk)
      return kInstanceNotStarted;
    return kOk;
  }

  // Stops and releases the instance; true when it stopped.
  bool CloseInstance()
  {
    if (!effect)
      return false;
    const bool stopped = effect->StopInstance() == kOk;
    effect->Release();
    effect = nullptr;
    return stopped;
  }

  AnyProcedure Procedure(uint32 id) const { return mHost->Procedure(id); }
  RenderProcedure Render() const { return reinterpret_cast<RenderProcedure>(mHost->ProcessProcedure()); }
  InstanceHost& Instance() { return *mInstanceHost; }
  CallLog& Log() { return mLog; }

  int Unbalanced() const
  {
    const HostObject* instanceHosts[] = {mInstanceHost, mEditorHost};
    int unbalanced = mHost->Unbalanced();
    for (const HostObject* object : instanceHosts)
      unbalanced += object && object->RefCount() != 0 ? 1 : 0;
    return unbalanced;
  }

  // The editor's host object: controller and transport, and the instance it belongs to.
  InstanceHost& EditorHost()
  {
    if (!mEditorHost)
    {
      mEditorHost = Arena::Make<InstanceHost>(mLog, "EditorHost");
      mEditorHost->effect = effect;
      mEditorHost->offerEffect = true;
    }
    return *mEditorHost;
  }

  void Shutdown()
  {
    CloseInstance();
    if (definition)
      definition->Release();
    definition = nullptr;
    if (mStarted)
      shutdown = exports.shutdown(mHost);
    mStarted = false;
  }

  int Live() { return exports.canUnloadNow(nullptr); }

  Exports exports;
  Result startup = kOk;
  Result registration = kOk;
  Result shutdown = kOk;
  Unknown* definition = nullptr;
  EffectParameters* effect = nullptr;

private:
  CallLog mLog;
  RegistrationHost* mHost;
  InstanceHost* mInstanceHost = nullptr;
  InstanceHost* mEditorHost = nullptr;
  bool mStarted = false;
};

// "<id>|<name>|<current text>|<text of 0>|<text of 1>" for every parameter.
void ListParameters(EffectParameters& effect, int32 count, CallLog& texts)
{
  for (int32 i = 0; i < count; ++i)
  {
    HostText id, name, current, low, high;
    effect.CopyParameterIdAt(i, &id);
    effect.CopyParameterName(id.Chars(), &name);
    effect.FormatCurrentValue(id.Chars(), &current, kTextLimit);
    effect.FormatNormalizedValue(id.Chars(), 0.0, &low, kTextLimit);
    effect.FormatNormalizedValue(id.Chars(), 1.0, &high, kTextLimit);
    const char* fields[] = {id.Chars(), name.Chars(), current.Chars(), low.Chars(), high.Chars()};
    texts.AddFields(fields);
  }
}

double NormalizedValue(EffectParameters& effect, const char* id)
{
  double value = -1.0;
  effect.QueryNormalizedValue(id, &value);
  return value;
}

// Writes the state chunk, moves the value away and reads the chunk back.
void RoundTripChunk(EffectParameters& effect, const char* id, TqAaxInstanceReport& report)
{
  alignas(8) static unsigned char record[sizeof(ChunkHeader) + 4096];
  auto* header = reinterpret_cast<ChunkHeader*>(record);
  uint32 chunkId = 0;
  int32 size = -1;
  effect.ChunkIdAt(0, &chunkId);
  effect.MeasureChunk(chunkId, &size);
  report.chunkId = int(chunkId);
  report.chunkSize = size;
  if (size < 0 || size > 4096)
    return;
  header->size = 0;
  report.chunkWritten = effect.WriteChunk(chunkId, header) == kOk ? header->size : -1;
  effect.ApplyHostValue(id, report.valueRead > 0.5 ? 0.0 : 1.0, 0);
  header->chunkId = chunkId;
  report.chunkRead = effect.ReadChunk(chunkId, header);
  report.valueRestored = NormalizedValue(effect, id);
  bool equal = false;
  effect.MatchChunk(header, &equal);
  report.chunkMatches = equal;
}

// The parameter object the module hands out, called through its table.
void CallParameterObject(EffectParameters& effect, InstanceHost& host, const char* id, CallLog& texts,
                         TqAaxInstanceReport& report)
{
  Parameter* parameter = nullptr;
  if (effect.FindParameter(id, &parameter) != kOk || !parameter)
    return;
  report.parameterFound = SameText(parameter->IdString(), id) ? 1 : 0;
  report.parameterAutomatable = parameter->AcceptsAutomation() ? 1 : 0;
  report.parameterSteps = parameter->StepCount();
  report.parameterKind = parameter->ValueKind();
  HostText text, low;
  parameter->CurrentValueText(text);
  parameter->TextOfNormalized(0.0, low);
  const char* fields[] = {"parameter", parameter->IdString(), text.Chars(), low.Chars()};
  texts.AddFields(fields);
  const int requestsBefore = host.requests;
  parameter->ChangeNormalizedValue(0.25);
  report.parameterRequests = host.requests - requestsBefore;
  report.parameterNormalized = parameter->NormalizedValue();
  double real = 0.0;
  report.parameterReadsDouble = parameter->ReadDouble(real);
  report.parameterReal = real;
  bool flag = false;
  report.parameterReadsBool = parameter->ReadBool(flag);
}

}  // namespace
}  // namespace msabi

using namespace msabi;

extern "C" int tq_msabi_aax_exports(const TqAaxEntries* entries, TqAaxExportsReport* report, TqAaxText log)
{
  *report = {};
  Session session(*entries, log);
  Exports& exports = session.exports;
  uint64 version = 0;
  report->sdkVersionResult = exports.getSdkVersion(&version);
  report->sdkVersion = version;
  Unknown* component = reinterpret_cast<Unknown*>(&version);
  report->registerComponent = exports.registerComponent(nullptr, 1, &component);
  report->componentGiven = component != nullptr;
  void* factory = &version;
  report->classFactory = exports.getClassFactory(nullptr, ids::kEffectClass, kUnknownId, &factory);
  report->classFactoryGiven = factory != nullptr;

  const int failure = session.Register();
  report->startup = session.startup;
  report->registerPlugin = session.registration;
  report->definitionGiven = session.definition != nullptr;
  session.Log().Add("-- registered");
  session.Shutdown();
  report->shutdown = session.shutdown;
  report->liveAtEnd = session.Live();
  report->unbalancedHostObjects = session.Unbalanced();
  return failure;
}

extern "C" int tq_msabi_aax_instance(const TqAaxEntries* entries, double sampleRate, const char* valueId, double value,
                                     TqAaxInstanceReport* report, TqAaxText texts)
{
  *report = {};
  CallLog list(texts.chars, texts.capacity);
  Session session(*entries, {nullptr, 0});
  InstanceSettings settings;
  settings.sampleRate = float(sampleRate);
  int failure = session.Register();
  if (failure == kOk)
    failure = session.OpenInstance(settings);
  report->created = session.effect != nullptr;
  if (failure != kOk)
    return failure;
  report->started = 1;
  EffectParameters& effect = *session.effect;
  InstanceHost& host = session.Instance();

  int32 count = 0;
  effect.CountParameters(&count);
  report->parameterCount = count;
  ListParameters(effect, count, list);

  report->valueSet = value;
  effect.ChangeNormalizedValue(valueId, value);
  report->valueRead = NormalizedValue(effect, valueId);
  RoundTripChunk(effect, valueId, *report);
  CallParameterObject(effect, host, valueId, list, *report);

  report->stopped = session.CloseInstance() ? 1 : 0;
  report->enrolled = session.Log().Count("Automation.EnrolParameter(");
  report->withdrawn = session.Log().Count("Automation.WithdrawParameter(");
  session.Shutdown();
  report->liveAtEnd = session.Live();
  report->unbalancedHostObjects = session.Unbalanced();
  return kOk;
}

extern "C" int tq_msabi_aax_render(const TqAaxEntries* entries, double sampleRate, int channels, const char* valueId,
                                   double value, float* const* input, float* const* output, int frames, int blockSize)
{
  Session session(*entries, {nullptr, 0});
  InstanceSettings settings;
  settings.sampleRate = float(sampleRate);
  settings.inStem = settings.outStem = channels == 1 ? 0x00000001 : 0x00010002;
  int failure = session.Register();
  if (failure == kOk)
    failure = session.OpenInstance(settings);
  if (failure != kOk)
    return failure;
  EffectParameters& effect = *session.effect;
  effect.ApplyHostValue(valueId, value, 0);

  void* instance = nullptr;
  effect.FillCustomData(kInstanceField, &instance, sizeof instance);
  Timeline timeline;
  HostMidiNode midi;
  HostTransportNode transport(timeline);
  int32 length = 0;
  float* in[2] = {};
  float* out[2] = {};
  RenderContext context = {};
  context.audioIn = in;
  context.audioOut = out;
  context.frames = &length;
  context.midiIn = &midi;
  context.transport = &transport;
  context.instance = &instance;
  RenderContext* const contexts[] = {&context};
  const RenderProcedure render = session.Render();
  for (int start = 0; start < frames; start += blockSize)
  {
    length = frames - start < blockSize ? frames - start : blockSize;
    for (int c = 0; c < channels && c < 2; ++c)
    {
      in[c] = input[c] + start;
      out[c] = output[c] + start;
    }
    timeline.samplePosition = start;
    timeline.ticks = int64(double(start) / sampleRate * timeline.tempo / 60.0 * kTicksPerQuarter);
    render(contexts, contexts + 1);
  }
  return kOk;
}

extern "C" int tq_msabi_aax_editor(const TqAaxEntries* entries, void* window, TqAaxWhileAttached whileAttached,
                                   void* context, TqAaxEditorReport* report, TqAaxText log)
{
  *report = {};
  Session session(*entries, log);
  int failure = session.Register();
  if (failure == kOk)
    failure = session.OpenInstance(InstanceSettings());
  if (failure != kOk)
    return failure;
  const auto create = reinterpret_cast<CreateProcedure>(session.Procedure(kCreateEditor));
  Unknown* made = create ? create() : nullptr;
  void* face = nullptr;
  if (!made || made->QueryInterface(ids::kEffectGui, &face) != kOk || !face)
    return kNoEditor;
  report->created = 1;
  auto* editor = static_cast<EffectGui*>(face);
  report->started = editor->StartInstance(&session.EditorHost()) == kOk ? 1 : 0;
  ViewPoint size = {0.0f, 0.0f};
  report->sizeResult = editor->QueryViewSize(&size);
  report->width = size.horizontal;
  report->height = size.vertical;
  ViewHost* view = Arena::Make<ViewHost>(session.Log(), window);
  report->attached = editor->AttachViewContainer(view);
  whileAttached(context);
  report->detached = editor->AttachViewContainer(nullptr);
  report->stopped = editor->StopInstance() == kOk ? 1 : 0;
  editor->Release();
  session.Shutdown();
  report->liveAtEnd = session.Live();
  report->unbalancedHostObjects = session.Unbalanced() + (view->RefCount() != 0 ? 1 : 0);
  return kOk;
}
