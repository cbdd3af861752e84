#pragma once
// The host tool's VST3 loader: a .vst3 bundle or module file, with the conformance checks.

#include "tools/plughost/CommandLine.h"

#include <ostream>

namespace plughost {

// Exit code as runHost's.
int runVst3Host(const HostOptions& options, std::ostream& out, std::ostream& err);

}  // namespace plughost
