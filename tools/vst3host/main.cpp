// vst3host: a small command-line VST3 host. See usageText() for the options.
#include "tools/vst3host/CommandLine.h"
#include "tools/vst3host/HostTool.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
  const std::vector<std::string> args(argv + 1, argv + argc);
  vst3host::HostOptions options;
  std::string error;
  if (!vst3host::parseCommandLine(args, options, error))
  {
    std::cerr << "vst3host: " << error << "\n" << vst3host::usageText();
    return 1;
  }
  if (options.help)
  {
    std::cout << vst3host::usageText();
    return 0;
  }
  return vst3host::runHost(options, std::cout, std::cerr);
}
