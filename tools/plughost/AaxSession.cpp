#include "tools/plughost/AaxSession.h"

#include "hosts/aax/ModuleLoader.h"
#include "tools/plughost/EditorMode.h"
#include "tools/plughost/SessionSteps.h"

#include <cstdio>
#include <cstdlib>

namespace plughost {
namespace {

void listParameters(aaxhost::HostDriver& driver, std::ostream& out)
{
  out << "parameters (" << driver.NumParams() << "):\n";
  for (int i = 0; i < driver.NumParams(); ++i)
  {
    const std::string id = driver.ParamId(i);
    char line[256];
    std::snprintf(line, sizeof line, "  %10s  %-24s %-20s normalised %.4f\n", id.empty() ? "\"\"" : id.c_str(),
                  driver.ParamName(id).c_str(), driver.ParamDisplay(id).c_str(), driver.ParamNormalized(id));
    out << line;
  }
}

// A setting names a parameter by its name or its identifier.
bool applySetting(aaxhost::HostDriver& driver, const ParameterSetting& setting, std::string& error)
{
  std::string id = driver.FindParam(setting.name);
  if (id.empty() && !driver.ParamName(setting.name).empty())
    id = setting.name;
  if (id.empty())
  {
    error = "no parameter named \"" + setting.name + "\"";
    return false;
  }
  const bool set = setting.normalised ? driver.SetParamNormalized(id, std::strtod(setting.value.c_str(), nullptr))
                                      : driver.SetParamText(id, setting.value);
  if (!set)
    error = "parameter \"" + setting.name + "\" does not accept \"" + setting.value + "\"";
  return set;
}

// The instance's editor object, shown in the window through a view container.
class AaxEditor : public EditorSession
{
public:
  explicit AaxEditor(aaxhost::HostDriver& driver) : mDriver(driver) {}
  bool open(void* parent, int& width, int& height, std::string& error) override
  {
    return mDriver.OpenEditor(parent, width, height, error);
  }
  void close() override { mDriver.CloseEditor(); }

private:
  aaxhost::HostDriver& mDriver;
};

bool session(const HostOptions& options, aaxhost::HostDriver& driver, std::ostream& out, std::ostream& terminal,
             std::string& error)
{
  const std::unique_ptr<AudioReader> input = openInput(options, error);
  if (!input || !driver.Register(error))
    return false;
  const int channels = input->numChannels() == 1 ? 1 : 2;
  if (!driver.Open(input->sampleRate(), channels, error))
    return false;
  out << "effect: " << driver.EffectName() << " (" << channels << " in, " << channels << " out)\n";
  AaxEditor editor(driver);
  ChunkPlugIn plug;
  plug.format = StateFormat::Aax;
  plug.restore = [&](const std::vector<std::uint8_t>& chunk) { return driver.LoadChunk(chunk); };
  plug.save = [&] { return driver.SaveChunk(); };
  plug.apply = [&](const ParameterSetting& setting, std::string& why) { return applySetting(driver, setting, why); };
  plug.list = [&](std::ostream& to) { listParameters(driver, to); };
  plug.process = [&](const AudioBuffer& in, AudioBuffer& result, std::string&) {
    result.sampleRate = in.sampleRate;
    result.channels = driver.Render(in.channels, options.blockSize);
    return true;
  };
  plug.editor = &editor;
  return runChunkSession(options, *input, plug, out, terminal, error);
}

}  // namespace

bool isAaxModule(const std::string& path)
{
  std::string error;
  return aaxhost::Module::Load(path, error) != nullptr;
}

int runAaxHost(const HostOptions& options, std::ostream& out, std::ostream& err)
{
  std::string error;
  auto module = aaxhost::Module::Load(options.modulePath, error);
  if (!module)
  {
    err << "plughost: " << error << "\n";
    return kExitFailure;
  }
  if (options.conformance || options.doublePrecision)
  {
    err << "plughost: AAX modules take neither the conformance checks nor 64-bit samples\n";
    return kExitFailure;
  }
  bool ok = false;
  std::vector<std::string> problems;
  {
    aaxhost::HostDriver driver(module->Entries());
    ok = session(options, driver, out, err, error);
    driver.Close();
    problems = driver.Problems();
    if (driver.LiveObjects() != 0)
      problems.push_back("the module still holds objects after the host released everything");
  }
  return reportOutcome(ok, error, problems, err);
}

}  // namespace plughost
