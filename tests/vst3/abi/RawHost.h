#pragma once
// Host objects handed to the module, built as a C host would: a table of plain functions
// in the platform's calling convention, slots in the order the binary facts list them.
// Each counts its references and records what the plug-in asked of it.

#include "tests/vst3/abi/RawAbi.h"

#include <vector>

namespace rawabi {

// Answers FUnknown and one more id; counts references.
struct RawObject
{
  RawObject(void* const* table, const char* interfaceName);
  void* const* vtable;  // must stay the first member
  Id ownId;
  int references = 1;  // the test's own
  int queries = 0;     // successful queries for the own id
};

// IHostApplication: getName answers "ABI host".
struct RawHostApplication : RawObject
{
  RawHostApplication();
  int nameCalls = 0;
};

// IBStream over a byte vector; read and write share the position.
struct RawStream : RawObject
{
  RawStream();
  std::vector<unsigned char> bytes;
  std::int64_t position = 0;
};

// IParamValueQueue with points (offset, value) for one id.
struct RawQueue : RawObject
{
  RawQueue(std::uint32_t id, std::vector<std::pair<std::int32_t, double>> points);
  std::uint32_t id;
  std::vector<std::pair<std::int32_t, double>> points;
  int pointReads = 0;
};

// IParameterChanges over queues owned by the caller.
struct RawChanges : RawObject
{
  RawChanges();
  std::vector<RawQueue*> queues;
};

// IEventList whose getEvent writes whole records of the size hosts use (48 bytes on 64-bit
// targets, 40 on 32-bit Windows): a shorter record on the plug-in's side is overwritten.
struct RawEventList : RawObject
{
  static constexpr std::size_t kEventSize = sizeof(void*) == 8 ? 48 : 40;
  RawEventList();
  void addNote(bool on, std::int32_t sampleOffset, std::int16_t pitch, float velocity);
  std::vector<std::vector<unsigned char>> events;
  int reads = 0;
};

// IComponentHandler that counts edits and keeps the last value performed.
struct RawHandler : RawObject
{
  RawHandler();
  int edits = 0;  // begin, perform and end together
  int performs = 0;
  std::uint32_t lastId = 0xFFFFFFFFu;
  double lastValue = -1.0;
  int restarts = 0;
};

}  // namespace rawabi
