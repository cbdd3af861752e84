#include "hosts/common/BundlePath.h"

#include <filesystem>

namespace hostcommon {

std::string ResolveBundle(const std::string& path, const std::string& architectureFolder)
{
  std::error_code ec;
  const std::filesystem::path bundle = std::filesystem::u8path(path);
  if (!std::filesystem::is_directory(bundle, ec))
    return path;
  std::filesystem::path name = bundle.filename();
  if (name.empty())
    name = bundle.parent_path().filename();  // a trailing separator
#if !defined(_WIN32)
  name.replace_extension(".so");
#endif
  return (bundle / "Contents" / architectureFolder / name).u8string();
}

}  // namespace hostcommon
