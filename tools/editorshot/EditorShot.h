#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace editorshot {

struct ShotOptions
{
  std::string out;
  // Plain parameter values by the parameter's name, applied in order as the user would.
  std::vector<std::pair<std::string, double>> settings;
  // Meter levels in dB by meter name (in0, in1, out0, out1, gain0, gain1).
  std::vector<std::pair<std::string, double>> meters;
  bool help = false;
};

const char* UsageText();
bool ParseShotOptions(const std::vector<std::string>& args, ShotOptions* options, std::string* error);
// Builds the plug-in, applies the settings and meter levels, draws the whole editor and
// writes it as a PNG file. Returns the program's exit code.
int RenderEditorShot(const ShotOptions& options, std::ostream& err);

}  // namespace editorshot
