#pragma once

#include <string>

namespace hostcommon {

// The module file a path names. A bundle folder holds it as
// Contents/<architecture folder>/<the bundle's name with the module extension>; any other
// path names the file itself.
std::string ResolveBundle(const std::string& path, const std::string& architectureFolder);

}  // namespace hostcommon
