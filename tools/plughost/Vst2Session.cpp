#include "tools/plughost/Vst2Session.h"

#include "hosts/vst2/HostDriver.h"
#include "hosts/vst2/ModuleLoader.h"
#include "tools/plughost/EditorMode.h"
#include "tools/plughost/SessionSteps.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace plughost {
namespace {

void listParameters(vst2host::HostDriver& driver, std::ostream& out)
{
  out << "parameters (" << driver.NumParams() << "):\n";
  for (int i = 0; i < driver.NumParams(); ++i)
  {
    char line[256];
    std::snprintf(line, sizeof line, "  %10d  %-24s %-14s %-6s normalised %.4f\n", i, driver.ParamName(i).c_str(),
                  driver.ParamDisplay(i).c_str(), driver.ParamLabel(i).c_str(), driver.GetParameter(i));
    out << line;
  }
}

bool applySetting(vst2host::HostDriver& driver, const ParameterSetting& setting, std::string& error)
{
  int idx = driver.FindParam(setting.name);
  if (idx < 0)
  {
    char* end = nullptr;
    const long n = std::strtol(setting.name.c_str(), &end, 10);
    if (end != setting.name.c_str() && *end == 0 && n >= 0 && n < driver.NumParams())
      idx = static_cast<int>(n);
  }
  if (idx < 0)
  {
    error = "no parameter named \"" + setting.name + "\"";
    return false;
  }
  if (setting.normalised)
  {
    driver.SetParameter(idx, std::strtof(setting.value.c_str(), nullptr));
  }
  else if (!driver.SetParamText(idx, setting.value))
  {
    error = "parameter \"" + setting.name + "\" does not accept \"" + setting.value + "\"";
    return false;
  }
  return true;
}

// The effect's editor, opened in a window through the editor opcodes.
class Vst2Editor : public EditorSession
{
public:
  explicit Vst2Editor(vst2host::HostDriver& driver) : mDriver(driver) {}

  bool open(void* parent, int& width, int& height, std::string& error) override
  {
    vst2::ERect* rect = nullptr;
    if (!(mDriver.Effect()->flags & vst2::effFlagsHasEditor) || !mDriver.Dispatch(vst2::effEditGetRect, 0, 0, &rect) ||
        !rect)
    {
      error = "the plug-in has no editor";
      return false;
    }
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    if (!mDriver.Dispatch(vst2::effEditOpen, 0, 0, parent))
    {
      error = "the plug-in's editor could not be opened";
      return false;
    }
    return true;
  }
  void idle() override { mDriver.Dispatch(vst2::effEditIdle); }
  void close() override { mDriver.Dispatch(vst2::effEditClose); }

private:
  vst2host::HostDriver& mDriver;
};

bool session(const HostOptions& options, vst2host::HostDriver& driver, std::ostream& out, std::ostream& terminal,
             std::string& error)
{
  const std::unique_ptr<AudioReader> input = openInput(options, error);
  if (!input)
    return false;
  driver.Open(input->sampleRate(), options.blockSize);
  out << "effect: " << driver.EffectName() << " (" << driver.Effect()->numInputs << " in, "
      << driver.Effect()->numOutputs << " out)\n";
  if (!driver.Arrange(input->numChannels()))
    out << "the plug-in refused " << input->numChannels() << " channel(s); using its own arrangement\n";
  Vst2Editor editor(driver);
  ChunkPlugIn plug;
  plug.format = StateFormat::Vst2;
  plug.restore = [&](const std::vector<std::uint8_t>& chunk) { return driver.SetChunk(false, chunk); };
  plug.save = [&] { return driver.GetChunk(false); };
  plug.apply = [&](const ParameterSetting& setting, std::string& why) { return applySetting(driver, setting, why); };
  plug.list = [&](std::ostream& to) { listParameters(driver, to); };
  plug.process = [&](const AudioBuffer& in, AudioBuffer& result, std::string&) {
    result.sampleRate = in.sampleRate;
    result.channels = driver.Render(in.channels, options.blockSize, options.doublePrecision);
    return true;
  };
  plug.latency = static_cast<std::uint64_t>(std::max(driver.Latency(), 0));
  plug.editor = &editor;
  return runChunkSession(options, *input, plug, out, terminal, error);
}

}  // namespace

bool isVst2Module(const std::string& path)
{
  // A module with a VST2 entry and no VST3 factory; bundles are folders and never load here.
  std::string error;
  auto module = vst2host::Module::Load(path, error);
  return module && !module->EntryNamed("GetPluginFactory");
}

int runVst2Host(const HostOptions& options, std::ostream& out, std::ostream& err)
{
  std::string error;
  auto module = vst2host::Module::Load(options.modulePath, error);
  if (!module)
  {
    err << "plughost: " << error << "\n";
    return kExitFailure;
  }
  if (options.conformance)
  {
    err << "plughost: the conformance checks are for VST3 modules\n";
    return kExitFailure;
  }
  bool ok = false;
  std::vector<std::string> problems;
  {
    vst2host::HostDriver driver(module->Entry());
    if (!driver.Create())
      error = "the module's entry gave no effect";
    else
      ok = session(options, driver, out, err, error);
    problems = driver.Problems();
  }
  return reportOutcome(ok, error, problems, err);
}

}  // namespace plughost
