#pragma once
// The host tool's VST2 loader: a VST2 module (a .dll or .so file) driven through the same
// options as a VST3 one: list and set parameters, render a file or the generated signal,
// save and restore the plug-in's state chunk.

#include "tools/plughost/CommandLine.h"

#include <ostream>
#include <string>

namespace plughost {

// Whether the path names a VST2 module (one with a VST2 entry and no VST3 factory).
bool isVst2Module(const std::string& path);

// Exit code as runHost's.
int runVst2Host(const HostOptions& options, std::ostream& out, std::ostream& err);

}  // namespace plughost
