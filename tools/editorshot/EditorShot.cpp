#include "tools/editorshot/EditorShot.h"

#include "effect/TarvexQuoxel.h"
#include "framework/core/NumberText.h"
#include "framework/gui/IGraphics.h"
#include "lice/LICE_Bitmap.h"
#include "tools/common/PngFile.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace editorshot {
namespace {

// The whole text is one finite number, read as the plug-in reads numbers.
bool ParseNumber(const std::string& text, double* value)
{
  const char* end = nullptr;
  double v = 0.0;
  if (!ReadNumber(text.c_str(), &v, &end) || *end != '\0')
    return false;
  *value = v;
  return true;
}

bool ParsePair(const std::string& text, std::vector<std::pair<std::string, double>>* into)
{
  const size_t eq = text.find('=');
  double value = 0.0;
  if (eq == std::string::npos || eq == 0 || !ParseNumber(text.substr(eq + 1), &value))
    return false;
  into->emplace_back(text.substr(0, eq), value);
  return true;
}

struct MeterName
{
  const char* name;
  int meter;
  double floorDb;  // the meter's 0
  double spanDb;   // from 0 to 1
};

constexpr MeterName kMeterNames[] = {
  {"in0", TarvexQuoxel::kInputMeter0, -48.0, 48.0},   {"in1", TarvexQuoxel::kInputMeter1, -48.0, 48.0},
  {"out0", TarvexQuoxel::kOutputMeter0, -48.0, 48.0}, {"out1", TarvexQuoxel::kOutputMeter1, -48.0, 48.0},
  {"gain0", TarvexQuoxel::kGainMeter0, -12.0, 24.0},  {"gain1", TarvexQuoxel::kGainMeter1, -12.0, 24.0},
};

const MeterName* FindMeter(const std::string& name)
{
  for (const MeterName& m : kMeterNames)
    if (name == m.name)
      return &m;
  return nullptr;
}

int FindParameter(const IPlugBase& plug, const std::string& name)
{
  for (int i = 0; i < plug.NParams(); ++i)
    if (name == plug.ParamAt(i)->NameText())
      return i;
  return -1;
}

}  // namespace

const char* UsageText()
{
  return "usage: editorshot --out FILE.png [--set NAME=VALUE]... [--meter METER=DB]...\n"
         "Draws the plug-in's editor as it looks for the given settings and writes it as a PNG.\n"
         "  --set NAME=VALUE   a parameter by its name, as a number in its own units\n"
         "                     (\"Quoxel Level=40\"; a switch takes 0 or 1)\n"
         "  --meter METER=DB   in0 in1 out0 out1 (-48..0 dB), gain0 gain1 (-12..12 dB)\n";
}

bool ParseShotOptions(const std::vector<std::string>& args, ShotOptions* options, std::string* error)
{
  ShotOptions parsed;
  for (size_t i = 0; i < args.size(); ++i)
  {
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help")
    {
      parsed.help = true;
      continue;
    }
    if (i + 1 >= args.size())
    {
      *error = arg == "--out" || arg == "--set" || arg == "--meter" ? arg + ": missing value" : "unknown option " + arg;
      return false;
    }
    const std::string& value = args[++i];
    bool good = true;
    if (arg == "--out")
      parsed.out = value;
    else if (arg == "--set")
      good = ParsePair(value, &parsed.settings);
    else if (arg == "--meter")
      good = ParsePair(value, &parsed.meters) && FindMeter(parsed.meters.back().first);
    else
    {
      *error = "unknown option " + arg;
      return false;
    }
    if (!good)
    {
      *error = arg + ": not NAME=NUMBER with a known name (got \"" + value + "\")";
      return false;
    }
  }
  if (parsed.out.empty() && !parsed.help)
  {
    *error = "--out is required";
    return false;
  }
  *options = parsed;
  return true;
}

int RenderEditorShot(const ShotOptions& options, std::ostream& err)
{
  std::unique_ptr<TarvexQuoxel> plug(NewTarvexQuoxel(nullptr));
  IGraphics* graphics = plug ? plug->Graphics() : nullptr;
  if (!graphics)
  {
    err << "editorshot: the plug-in could not be made\n";
    return 1;
  }
  for (const auto& [name, value] : options.settings)
  {
    const int idx = FindParameter(*plug, name);
    if (idx < 0)
    {
      err << "editorshot: no parameter named \"" << name << "\"\n";
      return 1;
    }
    // As if the user had set it: the plug-in reacts (greying, automatic gain) as it would.
    plug->SetParameterFromGUI(idx, plug->ParamAt(idx)->NormalOf(value));
  }
  plug->RefreshParamControls();
  for (const auto& [name, db] : options.meters)
  {
    const MeterName* meter = FindMeter(name);
    plug->ShowMeter(meter->meter, (db - meter->floorDb) / meter->spanDb);
  }
  graphics->RedrawRect(IRectangle(0, 0, graphics->Width(), graphics->Height()));
  std::string error;
  if (!toolcommon::WritePngFile(options.out.c_str(), *graphics->DrawBitmap(), &error))
  {
    err << "editorshot: " << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace editorshot
