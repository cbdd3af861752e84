#pragma once

#include "hosts/aax/InstanceRender.h"
#include "hosts/aax/RegistrationHost.h"
#include "hosts/aax/ViewContainerHost.h"
#include "sdk/aax/AAX_IACFEffectGUI.h"
#include "sdk/aax/ACFExports.h"

#include <memory>
#include <string>
#include <vector>

namespace aaxhost {

// The seven entry points of a module, from a loaded library or linked in.
struct EntryPoints
{
  ACFStartupProc startup = nullptr;
  ACFShutdownProc shutdown = nullptr;
  ACFCanUnloadNowProc canUnloadNow = nullptr;
  ACFGetSDKVersionProc getSDKVersion = nullptr;
  ACFRegisterPluginProc registerPlugin = nullptr;
  ACFRegisterComponentProc registerComponent = nullptr;
  ACFGetClassFactoryProc getClassFactory = nullptr;
};

// Plays the host's side of an AAX module's life: start-up and registration, one instance
// created through its procedure, started and rendered block by block, parameters by
// identifier, the state chunk, then stop, release and shut-down. Value requests of the
// instance are answered at once by applying the value, as a host does.
class HostDriver
{
public:
  using Channels = std::vector<std::vector<double>>;

  explicit HostDriver(const EntryPoints& entries);
  // Closes whatever is still open.
  ~HostDriver();
  HostDriver(const HostDriver&) = delete;
  HostDriver& operator=(const HostDriver&) = delete;

  // Start-up and registration; false with a reason.
  bool Register(std::string& error);
  // One instance for mono (1) or stereo (2) stems at the sample rate, started; false with a
  // reason.
  bool Open(double sampleRate, int channels, std::string& error);
  // Closes the editor, stops and releases the instance, gives back the plug-in definition
  // and shuts down.
  void Close();

  // The instance's editor object made through its procedure, started, and attached to a view
  // in the parent window; its size comes back. False with a reason.
  bool OpenEditor(void* parent, int& width, int& height, std::string& error);
  // Detaches the view, stops and releases the editor object.
  void CloseEditor();
  AAX_IACFEffectGUI* Editor() const { return mEditor; }
  InstanceHost& EditorHost() { return mEditorHost; }
  ViewContainerHost& View() { return mView; }

  // The module's answer to the unload query: 0 once every object it made is gone.
  ACFResult LiveObjects() const;

  AAX_IACFEffectParameters* Parameters() const { return mParameters; }
  CallLog& Log() { return mLog; }
  InstanceHost& Instance() { return mInstance; }
  RegistrationHost& Registration() { return mRegistration; }
  // The instance's render context, for what a block carries besides audio.
  InstanceRender& Contexts() { return mRender; }
  // The effect's first name as the module registered it.
  std::string EffectName() const;

  int NumParams() const;
  std::string ParamId(int index) const;
  std::string ParamName(const std::string& id) const;
  std::string ParamDisplay(const std::string& id) const;
  double ParamNormalized(const std::string& id) const;
  // The identifier of the parameter of that name, or "" (the master bypass's) when none.
  std::string FindParam(const std::string& name) const;
  // Sets a parameter as the host does when the user types or moves it; false when refused.
  bool SetParamText(const std::string& id, const std::string& text);
  bool SetParamNormalized(const std::string& id, double normalized);

  // The state chunk's data as the instance writes it; empty when it could not.
  std::vector<unsigned char> SaveChunk();
  bool LoadChunk(const std::vector<unsigned char>& data);

  // Renders the signal in blocks of the given size, in buffers with guard zones, with the
  // transport playing at 120 beats per minute; the output has the instance's channels.
  Channels Render(const Channels& input, int blockSize);
  // Breaches of the host contract seen in renders (writes outside the buffers, non-finite
  // output), each named once.
  const std::vector<std::string>& Problems() const { return mProblems; }

private:
  void Problem(const std::string& what);

  EntryPoints mEntries;
  CallLog mLog;
  RegistrationHost mRegistration{mLog};
  InstanceHost mInstance{mLog};
  InstanceRender mRender{mInstance};
  InstanceHost mEditorHost{mLog};
  ViewContainerHost mView{mLog};
  IACFUnknown* mDefinition = nullptr;
  AAX_IACFEffectParameters* mParameters = nullptr;
  AAX_IACFEffectGUI* mEditor = nullptr;
  bool mStarted = false;
  int mChannels = 0;
  double mSampleRate = 44100.0;
  int64_t mSamplePosition = 0;
  std::vector<std::string> mProblems;
};

}  // namespace aaxhost
