#pragma once
// The host tool's whole run: load the module, play the host sequence, list and set
// parameters, restore state, render, print level figures, write the result, save state,
// unload. Returns the process exit code: 0 on success, 1 on a failure, 2 when the plug-in
// broke the host contract (the breaches are printed).

#include "tools/plughost/CommandLine.h"

#include <iosfwd>

namespace plughost {

int runHost(const HostOptions& options, std::ostream& out, std::ostream& err);

}  // namespace plughost
