#include "tools/plughost/CommandLine.h"

#include "framework/core/NumberText.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace plughost {
namespace {

// The whole text is one finite number, read as the plug-in reads numbers.
bool parseNumber(const std::string& text, double& value)
{
  const char* end = nullptr;
  double v = 0.0;
  if (!ReadNumber(text.c_str(), &v, &end) || *end != '\0')
    return false;
  value = v;
  return true;
}

bool parseInt(const std::string& text, int minimum, int maximum, int& value)
{
  double v = 0.0;
  if (!parseNumber(text, v) || v != std::floor(v) || v < minimum || v > maximum)
    return false;
  value = static_cast<int>(v);
  return true;
}

bool parseSetting(const std::string& text, bool normalised, ParameterSetting& setting)
{
  const auto eq = text.find('=');
  if (eq == std::string::npos || eq == 0)
    return false;
  setting.name = text.substr(0, eq);
  setting.value = text.substr(eq + 1);
  setting.normalised = normalised;
  if (normalised)
  {
    double v = 0.0;
    return parseNumber(setting.value, v) && v >= 0.0 && v <= 1.0;
  }
  return true;
}

bool parseFormat(const std::string& text, WavFormat& format)
{
  if (text == "pcm16")
    format = WavFormat::Pcm16;
  else if (text == "pcm24")
    format = WavFormat::Pcm24;
  else if (text == "pcm32")
    format = WavFormat::Pcm32;
  else if (text == "float")
    format = WavFormat::Float32;
  else
    return false;
  return true;
}

}  // namespace

bool parseCommandLine(const std::vector<std::string>& args, HostOptions& options, std::string& error)
{
  HostOptions parsed;
  for (std::size_t i = 0; i < args.size(); ++i)
  {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    const std::string value = hasValue ? args[i + 1] : std::string();
    auto bad = [&](const char* what) {
      error = hasValue ? arg + ": " + what + " (got \"" + value + "\")" : arg + ": missing value";
      return false;
    };
    if (arg == "-h" || arg == "--help")
    {
      parsed.help = true;
      continue;
    }
    if (arg == "--list")
    {
      parsed.listParameters = true;
      continue;
    }
    if (arg == "--check")
    {
      parsed.conformance = true;
      continue;
    }
    if (arg == "--double")
    {
      parsed.doublePrecision = true;
      continue;
    }
    if (arg == "--editor")
    {
      parsed.showEditor = true;
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-')
    {
      if (!hasValue)
        return bad("missing value");
      ++i;
      if (arg == "--in")
        parsed.inputPath = value;
      else if (arg == "--out")
        parsed.outputPath = value;
      else if (arg == "--save-state")
        parsed.saveStatePath = value;
      else if (arg == "--load-state")
        parsed.loadStatePath = value;
      else if (arg == "--editor-picture")
        parsed.editorPicturePath = value;
      else if (arg == "--pointer")
      {
        hostwindow::PointerAction action;
        if (!hostwindow::parsePointerAction(value, &action, &error))
          return false;
        parsed.pointerActions.push_back(action);
      }
      else if (arg == "--format")
      {
        if (!parseFormat(value, parsed.outputFormat))
          return bad("expected pcm16, pcm24, pcm32 or float");
      }
      else if (arg == "--rate")
      {
        if (!parseNumber(value, parsed.sampleRate) || parsed.sampleRate < 1.0 || parsed.sampleRate > 1e7)
          return bad("expected a sample rate in Hz");
      }
      else if (arg == "--seconds")
      {
        if (!parseNumber(value, parsed.seconds) || parsed.seconds <= 0.0 || parsed.seconds > 3600.0)
          return bad("expected a length in seconds (at most 3600)");
      }
      else if (arg == "--channels")
      {
        if (!parseInt(value, 1, 64, parsed.channels))
          return bad("expected 1 to 64 channels");
      }
      else if (arg == "--block")
      {
        if (!parseInt(value, 1, 1 << 16, parsed.blockSize))
          return bad("expected a block size of 1 to 65536");
      }
      else if (arg == "--set" || arg == "--set-normalized")
      {
        ParameterSetting setting;
        if (!parseSetting(value, arg == "--set-normalized", setting))
          return bad(arg == "--set" ? "expected NAME=VALUE" : "expected NAME=VALUE with VALUE in 0..1");
        parsed.settings.push_back(setting);
      }
      else
      {
        error = "unknown option " + arg;
        return false;
      }
      continue;
    }
    if (!parsed.modulePath.empty())
    {
      error = "more than one module given: " + arg;
      return false;
    }
    parsed.modulePath = arg;
  }
  if (parsed.modulePath.empty() && !parsed.help)
  {
    error = "no module given";
    return false;
  }
  options = parsed;
  return true;
}

std::string usageText()
{
  return "usage: plughost MODULE [options]\n"
         "  MODULE                 a VST3 module (a .vst3 bundle folder or the module file itself)\n"
         "                         or a VST2 module (a .dll or .so file)\n"
         "                         or an AAX module (a .aaxplugin bundle folder or the module file)\n"
         "  --check                run the conformance checks on the module's audio effect class\n"
         "  --list                 list the parameters with their current values (alone, without\n"
         "                         --in, --out or the editor, it renders nothing)\n"
         "  --in FILE              process this audio file (default: a generated signal with transients)\n"
         "  --seconds S            length of the generated signal (default 4)\n"
         "  --channels N           channels of the generated signal (default 2)\n"
         "  --rate HZ              sample rate of the generated signal (default 44100)\n"
         "  --out FILE             write the processed audio as a WAVE file\n"
         "  --format F             pcm16, pcm24, pcm32 or float (default float; values beyond the\n"
         "                         float range are clipped, and the clipped samples counted)\n"
         "  --block N              block size (default 512)\n"
         "  --double               process 64-bit samples\n"
         "  --set NAME=TEXT        set a parameter (title or id) from its display text\n"
         "  --set-normalized NAME=V  set a parameter to the normalised value V (0..1)\n"
         "  --load-state FILE      restore a saved state before processing\n"
         "  --save-state FILE      save the state after processing\n"
         "editor (Windows builds; after rendering, on the plug-in as the audio left it):\n"
         "  --editor               open the plug-in's editor in a window and wait until it is closed\n"
         "  --editor-picture FILE  open the editor and save what its window shows as a PNG file\n"
         "  --pointer ACTION       before that, act in the editor: click:X,Y right-click:X,Y\n"
         "                         double-click:X,Y drag:X,Y,X2,Y2 wheel:X,Y,NOTCHES (repeatable)\n";
}

}  // namespace plughost
