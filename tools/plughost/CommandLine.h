#pragma once
// Command line of the host tool.

#include "hosts/window/PointerActions.h"
#include "tools/plughost/WavFile.h"

#include <string>
#include <vector>

namespace plughost {

struct ParameterSetting
{
  std::string name;   // parameter title or decimal id
  std::string value;  // display text, or a normalised value when normalised is set
  bool normalised = false;
};

struct HostOptions
{
  std::string modulePath;
  std::string inputPath;   // empty: a generated test signal
  std::string outputPath;  // empty: no output file
  std::string saveStatePath;
  std::string loadStatePath;
  std::vector<ParameterSetting> settings;
  WavFormat outputFormat = WavFormat::Float32;
  double sampleRate = 44100.0;  // for the generated signal
  double seconds = 4.0;
  int channels = 2;
  int blockSize = 512;
  bool doublePrecision = false;
  bool listParameters = false;
  bool conformance = false;  // run the conformance checks instead of rendering
  // The editor mode, after rendering: a picture of the editor, or the editor left open.
  std::string editorPicturePath;
  bool showEditor = false;
  std::vector<hostwindow::PointerAction> pointerActions;
  bool help = false;
  bool showProgress = false;  // a progress bar on standard error (set when it is a terminal)
};

// Parses argv[1..]. Returns false with a message on an unknown option, a missing or bad value,
// or no module path (unless help was asked).
bool parseCommandLine(const std::vector<std::string>& args, HostOptions& options, std::string& error);

std::string usageText();

}  // namespace plughost
