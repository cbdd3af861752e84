#pragma once
// The host tool's AAX loader: an AAX module (a .aaxplugin bundle folder or the module file)
// driven through the same options as the others: list and set parameters, render a file or
// the generated signal, save and restore the plug-in's state chunk.

#include "tools/plughost/CommandLine.h"

#include <ostream>
#include <string>

namespace plughost {

// Whether the path names an AAX module (one that exports the AAX entry points).
bool isAaxModule(const std::string& path);

// Exit code as runHost's.
int runAaxHost(const HostOptions& options, std::ostream& out, std::ostream& err);

}  // namespace plughost
