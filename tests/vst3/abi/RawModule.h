#pragma once
// Loads the module file inside the bundle as a host does and looks up its exports by
// their plain names.

#include <string>

namespace rawabi {

class RawModule
{
public:
  // The file inside the bundle for this platform: Contents/<arch>-win/<bundle name> on
  // Windows, Contents/<uname -m>-linux/<stem>.so elsewhere.
  static std::string binaryPath(const std::string& bundle);

  explicit RawModule(const std::string& path);
  ~RawModule();
  RawModule(const RawModule&) = delete;
  RawModule& operator=(const RawModule&) = delete;

  bool loaded() const { return mHandle != nullptr; }
  void* handle() const { return mHandle; }
  // The export's address, or null.
  void* symbol(const char* name) const;
  std::string error() const { return mError; }

private:
  void* mHandle = nullptr;
  std::string mError;
};

}  // namespace rawabi
