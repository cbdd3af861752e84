// Module entry and exit, counted so that nested loads by one process pair up.
#include "sdk/vst3/ModuleEntry.h"

#include <mutex>

#include "platform/ModuleHandle.h"

namespace {

std::mutex gEntryLock;
int gEntryCount = 0;
void* gModuleHandle = nullptr;

bool enter(void* handle)
{
  std::lock_guard<std::mutex> lock(gEntryLock);
  if (gEntryCount++ == 0)
    gModuleHandle = handle;
  return true;
}

bool leave()
{
  std::lock_guard<std::mutex> lock(gEntryLock);
  if (gEntryCount <= 0)
    return false;  // an exit without its entry
  if (--gEntryCount == 0)
    gModuleHandle = nullptr;
  return true;
}

}  // namespace

namespace vst3 {

void* moduleHandle()
{
  std::lock_guard<std::mutex> lock(gEntryLock);
  return gModuleHandle;
}

int moduleEntryCount()
{
  std::lock_guard<std::mutex> lock(gEntryLock);
  return gEntryCount;
}

}  // namespace vst3

extern "C" {

bool InitDll()
{
  return enter(CurrentModuleHandle());
}
bool ExitDll()
{
  return leave();
}

#if !defined(_WIN32)
bool ModuleEntry(void* sharedLibraryHandle)
{
  return enter(sharedLibraryHandle);
}
bool ModuleExit()
{
  return leave();
}
#endif
}
