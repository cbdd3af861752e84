// plughost: a small command-line host for VST3, VST2 and AAX modules. See usageText() for the options.
#include "tools/plughost/CommandLine.h"
#include "tools/plughost/HostTool.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {
bool stderrIsTerminal()
{
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(fileno(stderr)) != 0;
#endif
}
}  // namespace

int main(int argc, char** argv)
{
  const std::vector<std::string> args(argv + 1, argv + argc);
  plughost::HostOptions options;
  std::string error;
  if (!plughost::parseCommandLine(args, options, error))
  {
    std::cerr << "plughost: " << error << "\n" << plughost::usageText();
    return 1;
  }
  if (options.help)
  {
    std::cout << plughost::usageText();
    return 0;
  }
  options.showProgress = stderrIsTerminal();
  return plughost::runHost(options, std::cout, std::cerr);
}
