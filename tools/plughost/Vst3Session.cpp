#include "tools/plughost/Vst3Session.h"

#include "hosts/vst3/ConformanceSuite.h"
#include "hosts/vst3/HostDriver.h"
#include "hosts/vst3/ModuleLoader.h"
#include "tools/plughost/EditorMode.h"
#include "tools/plughost/SessionSteps.h"
#include "tools/plughost/Render.h"
#include "tools/plughost/StateFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>

namespace plughost {
namespace {

std::string valueText(vst3::IEditController* controller, vst3::ParamID id)
{
  vst3::String128 text{};
  const vst3::ParamValue value = controller->getParamNormalized(id);
  if (controller->getParamStringByValue(id, value, text) == vst3::kResultOk)
    return vst3host::narrow(text);
  // A parameter without texts shows its normalised value.
  char number[32];
  std::snprintf(number, sizeof number, "%.4f", value);
  return number;
}

void listParameters(vst3host::HostDriver& driver, std::ostream& out)
{
  const auto params = driver.parameters();
  out << "parameters (" << params.size() << "):\n";
  for (const auto& p : params)
  {
    char line[512];
    std::snprintf(line, sizeof line, "  %10u  %-24s %-14s %-6s steps %d  default %.4f  flags 0x%x\n", p.id,
                  vst3host::narrow(p.title).c_str(), valueText(driver.controller(), p.id).c_str(),
                  vst3host::narrow(p.units).c_str(), p.stepCount, p.defaultNormalizedValue,
                  static_cast<unsigned>(p.flags));
    out << line;
  }
}

bool findParameter(vst3host::HostDriver& driver, const std::string& name, vst3::ParamID& id)
{
  const auto params = driver.parameters();
  for (const auto& p : params)
  {
    if (vst3host::narrow(p.title) == name)
    {
      id = p.id;
      return true;
    }
  }
  char* end = nullptr;
  errno = 0;
  const unsigned long long v = std::strtoull(name.c_str(), &end, 10);
  if (errno != 0 || end == name.c_str() || *end != 0)
    return false;
  for (const auto& p : params)
  {
    if (p.id == v)
    {
      id = p.id;
      return true;
    }
  }
  return false;
}

bool applySetting(vst3host::HostDriver& driver, const ParameterSetting& setting, std::string& error)
{
  vst3::ParamID id = 0;
  if (!findParameter(driver, setting.name, id))
  {
    error = "no parameter named \"" + setting.name + "\"";
    return false;
  }
  vst3::ParamValue normalized = 0.0;
  if (setting.normalised)
  {
    normalized = std::strtod(setting.value.c_str(), nullptr);
  }
  else
  {
    vst3::String128 text{};
    vst3host::widen(setting.value, text);
    if (driver.controller()->getParamValueByString(id, text, normalized) != vst3::kResultOk)
    {
      error = "parameter \"" + setting.name + "\" does not accept \"" + setting.value + "\"";
      return false;
    }
  }
  driver.setParameter(id, normalized);
  return true;
}

void printFactory(vst3host::HostDriver& driver, std::ostream& out)
{
  vst3::PFactoryInfo info;
  if (driver.factoryInfo(info) == vst3::kResultOk)
    out << "factory: " << std::string(info.vendor, strnlen(info.vendor, sizeof info.vendor)) << "\n";
  for (const auto& c : driver.classes())
    out << "  class \"" << c.name << "\" (" << c.category << (c.subCategories.empty() ? "" : ", " + c.subCategories)
        << (c.version.empty() ? "" : ", version " + c.version) << ")\n";
}

// The view of the plug-in's controller, opened in a window as hosts open it.
class Vst3Editor : public EditorSession
{
public:
  explicit Vst3Editor(vst3host::HostDriver& driver) : mDriver(driver) {}

  bool open(void* parent, int& width, int& height, std::string& error) override
  {
    const vst3::tresult r = mDriver.openEditor(parent, vst3::kPlatformTypeHWND);
    if (r != vst3::kResultOk)
    {
      error = r == vst3::kNoInterface
                ? "the plug-in has no editor"
                : "the plug-in's editor cannot be shown in a window (" + vst3host::resultName(r) + ")";
      return false;
    }
    width = mDriver.editorSize().getWidth();
    height = mDriver.editorSize().getHeight();
    return true;
  }
  void close() override { mDriver.closeEditor(); }

private:
  vst3host::HostDriver& mDriver;
};

bool restoreState(const HostOptions& options, vst3host::HostDriver& driver, std::ostream& out, std::string& error)
{
  if (options.loadStatePath.empty())
    return true;
  SavedState state;
  if (!readStateFile(options.loadStatePath, StateFormat::Vst3, state, error))
    return false;
  if (reportEmptyState(options, state, out))
    return true;
  // A plug-in that keeps its state in the controller would take nothing from such a file.
  SavedState current;
  if (state.controller.empty() && driver.saveState(current.component, current.controller) == vst3::kResultOk &&
      !current.controller.empty())
  {
    error = options.loadStatePath + " holds no controller state: nothing would be restored";
    return false;
  }
  if (driver.loadState(state.component, state.controller) != vst3::kResultOk)
  {
    error = "the plug-in refused the saved state";
    return false;
  }
  out << "state restored from " << options.loadStatePath << "\n";
  return true;
}

bool saveState(const HostOptions& options, vst3host::HostDriver& driver, std::ostream& out, std::string& error)
{
  if (options.saveStatePath.empty())
    return true;
  SavedState state;
  if (driver.saveState(state.component, state.controller) != vst3::kResultOk)
  {
    error = "the plug-in could not save its state";
    return false;
  }
  if (!writeStateFile(options.saveStatePath, state, error))
    return false;
  out << "state saved to " << options.saveStatePath << " (" << state.component.size() << " + "
      << state.controller.size() << " bytes)\n";
  return true;
}

// The arrangement of the input's channels, then the settings, then the listing.
bool prepare(const HostOptions& options, vst3host::HostDriver& driver, int channels, std::ostream& out,
             std::string& error)
{
  const vst3::SpeakerArrangement arr = arrangementFor(channels);
  if (driver.arrange({arr}, {arr}) != vst3::kResultOk)
    out << "the plug-in refused " << channels << " channel(s); using its own arrangement\n";
  for (const auto& setting : options.settings)
    if (!applySetting(driver, setting, error))
      return false;
  if (options.listParameters)
    listParameters(driver, out);
  return true;
}

// Starts processing, renders, shows the editor when asked, and stops.
bool render(const HostOptions& options, vst3host::HostDriver& driver, AudioReader& input, std::ostream& out,
            std::ostream& terminal, std::string& error)
{
  vst3host::ProcessSettings settings;
  settings.sampleRate = input.sampleRate();
  settings.maxBlock = options.blockSize;
  settings.sampleSize = options.doublePrecision ? vst3::kSample64 : vst3::kSample32;
  settings.processMode = vst3::kOffline;
  if (driver.start(settings) != vst3::kResultOk)
  {
    error =
      options.doublePrecision ? "the plug-in refused 64-bit processing at this rate" : "the plug-in refused to start";
    return false;
  }
  ChunkProcess process;
  std::uint64_t latency = 0;
  bool rendered = vst3ChunkProcess(driver, input.sampleRate(), process, latency, error) &&
                  renderAndReport(options, input, latency, process, out, terminal, error);
  // The editor opens on the plug-in as the audio left it (its controls and meters), while
  // it still runs, as in a host.
  if (rendered && wantsEditor(options))
  {
    Vst3Editor editor(driver);
    rendered = runEditor(options, editor, out, error);
  }
  driver.stop();
  return rendered;
}

// Everything between loading the plug-in and unloading it.
bool session(const HostOptions& options, vst3host::HostDriver& driver, std::ostream& out, std::ostream& terminal,
             std::string& error)
{
  if (driver.load() != vst3::kResultOk)
  {
    error = "the plug-in could not be created and initialised";
    return false;
  }
  if (!restoreState(options, driver, out, error))
    return false;
  const std::unique_ptr<AudioReader> input = openInput(options, error);
  return input && prepare(options, driver, input->numChannels(), out, error) &&
         (!rendersAudio(options) || render(options, driver, *input, out, terminal, error)) &&
         saveState(options, driver, out, error);
}

// Runs the conformance checks on the first audio effect class; false when one fails.
bool conformance(vst3host::HostDriver& driver, vst3::IPluginFactory* factory, std::ostream& out, std::string& error)
{
  for (const auto& c : driver.classes())
  {
    if (c.category != vst3::kVstAudioEffectClass)
      continue;
    std::vector<vst3host::CheckResult> results;
    {
      vst3host::ConformanceSuite suite(factory, c.cid);
      results = suite.run();
    }
    for (const auto& r : results)
    {
      out << (r.passed ? "  passed  " : "  FAILED  ") << r.name << "\n";
      for (const auto& m : r.messages)
        out << "            " << m << "\n";
    }
    const auto failed = vst3host::failedChecks(results);
    out << results.size() - failed.size() << " of " << results.size() << " checks passed\n";
    if (!failed.empty())
      error = std::to_string(failed.size()) + " conformance check(s) failed";
    return failed.empty();
  }
  error = "the module offers no audio effect class";
  return false;
}

}  // namespace

int runVst3Host(const HostOptions& options, std::ostream& out, std::ostream& err)
{
  std::string error;
  auto module = vst3host::Module::load(options.modulePath, error);
  if (!module)
  {
    err << "plughost: " << error << "\n";
    return kExitFailure;
  }
  bool ok = false;
  std::vector<std::string> problems;
  {
    vst3host::HostDriver driver(module->factory());
    printFactory(driver, out);
    ok = options.conformance ? conformance(driver, module->factory(), out, error)
                             : session(options, driver, out, err, error);
    driver.unload();
    problems = driver.problems();
  }
  const vst3::uint32 factoryLeft = module->releaseFactory();
  if (factoryLeft != 0)
    problems.push_back("the factory keeps " + std::to_string(factoryLeft) + " reference(s) after the host's release");
  if (!module->unload())
    problems.push_back("the module's exit function failed");
  return reportOutcome(ok, error, problems, err);
}

}  // namespace plughost
