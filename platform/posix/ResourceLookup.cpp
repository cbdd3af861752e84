#include <strings.h>

#include <mutex>
#include <vector>

#include "platform/EmbeddedResources.h"
#include "platform/ResourceLookup.h"

namespace {
struct Table
{
  const EmbeddedResource* entries;
  std::size_t count;
};

// Function-local, so tables registered by other files' static initialisers find it made.
std::vector<Table>& Tables()
{
  static std::vector<Table> tables;
  return tables;
}

std::mutex& TablesLock()
{
  static std::mutex lock;
  return lock;
}
}  // namespace

bool RegisterEmbeddedResources(const EmbeddedResource* table, std::size_t count)
{
  std::lock_guard<std::mutex> hold(TablesLock());
  if (table && count)
    Tables().push_back({table, count});
  return true;
}

bool FindModuleResource(int id, const char* type, const unsigned char** data, size_t* size, void*)
{
  // The same limits as resources on Windows: 16-bit ids, type names without regard to case.
  if (id <= 0 || id > 0xFFFF || !type || !data || !size)
    return false;
  std::lock_guard<std::mutex> hold(TablesLock());
  for (const Table& table : Tables())
    for (std::size_t i = 0; i < table.count; ++i)
    {
      const EmbeddedResource& entry = table.entries[i];
      if (entry.id == id && strcasecmp(entry.type, type) == 0)
      {
        *data = entry.data;
        *size = entry.size;
        return true;
      }
    }
  return false;
}
