#pragma once

#include <memory>
#include <string>

namespace hostcommon {

// A module's library, opened as hosts open plug-ins and closed when destroyed. Opening a
// library that is open already only counts it up: its initialisers run once.
class SharedLibrary
{
public:
  // Null with a reason in error when the file cannot be loaded.
  static std::unique_ptr<SharedLibrary> Open(const std::string& file, std::string& error);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // The export of that name, or null.
  void* Symbol(const char* name) const;
  // The system's handle of the library (what a module's entry function is given).
  void* Handle() const { return mHandle; }

private:
  explicit SharedLibrary(void* handle) : mHandle(handle) {}

  void* mHandle;
};

// The processor family modules are built for, in the system's words ("x86_64", "x86",
// "aarch64", ...): bundles name their folders after it.
std::string MachineName();

}  // namespace hostcommon
