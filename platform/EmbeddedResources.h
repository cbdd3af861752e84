// Where a module has no resource section of its own (every system but Windows), its
// resources are tables of bytes compiled into it; FindModuleResource searches them.
#pragma once

#include <cstddef>

struct EmbeddedResource
{
  int id;
  const char* type;
  const unsigned char* data;
  std::size_t size;
};

// Adds a table that lives as long as the program (generated tables call this from their
// static initialisers). Returns true, so a generated file can keep the call in a constant.
bool RegisterEmbeddedResources(const EmbeddedResource* table, std::size_t count);
