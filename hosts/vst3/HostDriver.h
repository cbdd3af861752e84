#pragma once
// Drives a plug-in through a host's whole sequence, as real hosts do:
//
//   factory -> createInstance(IComponent) -> initialize(host application) -> controller
//   (single component) -> setComponentHandler -> bus arrangements and activation ->
//   setupProcessing -> setActive(true) -> setProcessing(true) -> process ... ->
//   setProcessing(false) -> setActive(false) -> terminate -> release
//
// Every breach of the host contract that the driver can see (refused calls that must
// succeed, writes outside the host's buffers, non-finite output, references left over or
// released twice) is recorded as a problem, so a test or the host tool can report it.

#include "sdk/vst3/Interfaces.h"
#include "hosts/vst3/AudioBuffers.h"
#include "hosts/vst3/AudioThread.h"
#include "hosts/vst3/ComponentHandler.h"
#include "hosts/vst3/EventList.h"
#include "hosts/vst3/HostApplication.h"
#include "hosts/vst3/ParameterChanges.h"
#include "hosts/vst3/PlugFrame.h"
#include "hosts/vst3/ProcessContextBuilder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vst3host {

struct ProcessSettings
{
  double sampleRate = 44100.0;
  vst3::int32 maxBlock = 512;
  vst3::int32 sampleSize = vst3::kSample32;
  vst3::int32 processMode = vst3::kRealtime;
};

struct ClassEntry
{
  vst3::TUID cid;
  std::string name;
  std::string category;
  std::string subCategories;
  std::string version;
  std::string sdkVersion;
};

class HostDriver
{
public:
  enum class Stage
  {
    Empty,
    Initialized,
    Active,
    Processing
  };

  // Keeps a reference on the factory until destruction.
  explicit HostDriver(vst3::IPluginFactory* factory);
  ~HostDriver();
  HostDriver(const HostDriver&) = delete;
  HostDriver& operator=(const HostDriver&) = delete;

  // Factory information, with class information taken as hosts take it (the extended form
  // when the factory offers it).
  vst3::tresult factoryInfo(vst3::PFactoryInfo& info);
  std::vector<ClassEntry> classes();

  // Creates and initialises the first audio-effect class (or the given one), finds its
  // controller and hands it the component handler. kNotImplemented for a plug-in with a
  // separate controller class.
  vst3::tresult load();
  vst3::tresult load(const vst3::TUID cid);

  // setBusArrangements with one arrangement per audio bus given (an empty list keeps the
  // plug-in's own), then activates the main and default-active buses. Answers the plug-in's
  // answer to setBusArrangements (kResultOk when the list was empty).
  vst3::tresult arrange(const std::vector<vst3::SpeakerArrangement>& inputs,
                        const std::vector<vst3::SpeakerArrangement>& outputs);
  // setupProcessing, buffers sized from the buses, setActive(true), setProcessing(true).
  vst3::tresult start(const ProcessSettings& settings);
  // One block of frames (at most the maximum block) from inputs() to outputs() with the
  // pending parameter changes and events, which are cleared afterwards.
  vst3::tresult process(vst3::int32 frames);
  // Answers the plug-in's restart requests as hosts do between blocks: a latency change
  // deactivates and reactivates the plug-in and reads the new latency. process() calls it
  // after every block.
  void serviceRestarts();
  // The latency read at activation (and after a latency change).
  vst3::uint32 latency() const { return mLatency; }
  // A process call with data the caller filled (for calls no well-behaved host makes).
  vst3::tresult processRaw(vst3::ProcessData& data);
  vst3::tresult stop();
  // Sets a parameter as a host does: on the controller now, and to the processor as a
  // change at offset 0 of the next block.
  vst3::tresult setParameter(vst3::ParamID id, vst3::ParamValue normalized);

  // Saves component then controller state; loads component, then controller's component
  // state, then controller state. kNotImplemented from any call counts as success.
  vst3::tresult saveState(std::vector<std::uint8_t>& component, std::vector<std::uint8_t>& controller);
  vst3::tresult loadState(const std::vector<std::uint8_t>& component, const std::vector<std::uint8_t>& controller);

  // Opens the editor as hosts do: createView("editor"), getSize, isPlatformTypeSupported,
  // setFrame, attached(parent, type). kNoInterface when the plug-in makes no view; the
  // plug-in's refusal (kResultFalse) when it does not support the type or cannot attach, in
  // which case the view is released again.
  vst3::tresult openEditor(void* parent, const char* platformType);
  // setFrame(null), removed, release; checks that the view and the frame are let go.
  vst3::tresult closeEditor();
  vst3::IPlugView* view() const { return mView; }
  PlugFrame& frame() { return mFrame; }
  // The size the view reported before it was attached.
  const vst3::ViewRect& editorSize() const { return mEditorSize; }

  // Stops if needed, closes the editor, terminates and releases every reference; checks that the plug-in is
  // then destroyed and has let go of every host object.
  vst3::tresult unload();

  std::vector<vst3::ParameterInfo> parameters();
  std::vector<vst3::BusInfo> buses(vst3::MediaType type, vst3::BusDirection direction);

  AudioBuffers& inputs() { return mInputs; }
  AudioBuffers& outputs() { return mOutputs; }
  ParameterChanges& inputChanges() { return mInputChanges; }
  ParameterChanges& outputChanges() { return mOutputChanges; }
  EventList& inputEvents() { return mInputEvents; }
  ProcessContextBuilder& transport() { return mTransport; }
  // Makes every process call (and setProcessing) on the given thread; null: the caller's.
  void useAudioThread(AudioThread* thread) { mAudioThread = thread; }
  // Whether process calls carry a transport record (hosts may send none).
  void sendTransport(bool on) { mSendTransport = on; }
  HostApplication& application() { return mApplication; }
  ComponentHandler& handler() { return mHandler; }

  vst3::IComponent* component() const { return mComponent; }
  vst3::IAudioProcessor* processor() const { return mProcessor; }
  vst3::IEditController* controller() const { return mController; }
  Stage stage() const { return mStage; }
  const ProcessSettings& settings() const { return mSettings; }

  const std::vector<std::string>& problems() const { return mProblems; }
  // Records a breach once, however often it happens.
  void problem(const std::string& text);

private:
  // queryInterface as hosts use it, recording a refusal that leaves the out-pointer set.
  template <class I>
  I* query(vst3::FUnknown* from);
  void releaseInterfaces();
  void checkHostObjects();
  vst3::tresult expectOk(vst3::tresult r, const char* call);
  // Runs task on the audio thread when one is set, otherwise here.
  void onAudioThread(const std::function<void()>& task);

  vst3::IPluginFactory* mFactory;
  vst3::IComponent* mComponent = nullptr;
  vst3::IAudioProcessor* mProcessor = nullptr;
  vst3::IEditController* mController = nullptr;
  Stage mStage = Stage::Empty;
  ProcessSettings mSettings;

  HostApplication mApplication;
  ComponentHandler mHandler;
  PlugFrame mFrame;
  vst3::IPlugView* mView = nullptr;
  vst3::ViewRect mEditorSize{};
  AudioBuffers mInputs;
  AudioBuffers mOutputs;
  ParameterChanges mInputChanges;
  ParameterChanges mOutputChanges;
  EventList mInputEvents;
  EventList mOutputEvents;
  ProcessContextBuilder mTransport{44100.0};
  bool mSendTransport = true;
  AudioThread* mAudioThread = nullptr;
  vst3::uint32 mLatency = 0;
  std::vector<std::string> mProblems;
};

// UTF-8 text of a UTF-16 string of at most capacity units (an unpaired surrogate becomes
// U+FFFD).
std::string narrow(const vst3::TChar* text, std::size_t capacity = 128);
// A UTF-16 string from UTF-8 text, cut to capacity - 1 units without splitting a surrogate
// pair, always terminated; malformed UTF-8 becomes U+FFFD.
void widen(const std::string& text, vst3::TChar* out, std::size_t capacity = 128);
// Name of a result code, for messages.
std::string resultName(vst3::tresult r);

}  // namespace vst3host
