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

  bool loaded() const { return handle_ != nullptr; }
  void* handle() const { return handle_; }
  // The export's address, or null.
  void* symbol(const char* name) const;
  std::string error() const { return error_; }

private:
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace rawabi
