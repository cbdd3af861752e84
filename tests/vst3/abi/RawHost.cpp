#include "tests/vst3/abi/RawHost.h"

#include <algorithm>

namespace rawabi {

namespace {

using I32 = std::int32_t;
using U32 = std::uint32_t;
using I64 = std::int64_t;

template <class T>
T* self(void* p)
{
  return static_cast<T*>(static_cast<RawObject*>(p));
}

I32 RAW_CALL queryInterfaceFn(void* p, const char* iid, void** out)
{
  RawObject* o = self<RawObject>(p);
  if (out == nullptr)
    return kInvalidArgument;
  if (iid != nullptr &&
      (std::memcmp(iid, knownId("FUnknown").bytes, 16) == 0 || std::memcmp(iid, o->ownId.bytes, 16) == 0))
  {
    if (std::memcmp(iid, o->ownId.bytes, 16) == 0)
      ++o->queries;
    ++o->references;
    *out = o;
    return kOk;
  }
  *out = nullptr;
  return kNoInterface;
}

U32 RAW_CALL addRefFn(void* p)
{
  return static_cast<U32>(++self<RawObject>(p)->references);
}
U32 RAW_CALL releaseFn(void* p)
{
  return static_cast<U32>(--self<RawObject>(p)->references);
}

// IHostApplication
I32 RAW_CALL getNameFn(void* p, char16_t* name)
{
  ++self<RawHostApplication>(p)->nameCalls;
  const char16_t text[] = u"ABI host";
  std::memcpy(name, text, sizeof text);
  return kOk;
}
I32 RAW_CALL createInstanceFn(void*, char*, char*, void** out)
{
  if (out)
    *out = nullptr;
  return kFalse;
}
void* const kHostApplicationTable[] = {reinterpret_cast<void*>(&queryInterfaceFn), reinterpret_cast<void*>(&addRefFn),
                                       reinterpret_cast<void*>(&releaseFn), reinterpret_cast<void*>(&getNameFn),
                                       reinterpret_cast<void*>(&createInstanceFn)};

// IBStream
I32 RAW_CALL readFn(void* p, void* buffer, I32 numBytes, I32* numRead)
{
  RawStream* s = self<RawStream>(p);
  const I64 left = static_cast<I64>(s->bytes.size()) - s->position;
  const I32 n = static_cast<I32>(std::max<I64>(0, std::min<I64>(numBytes, left)));
  if (n > 0)
    std::memcpy(buffer, s->bytes.data() + s->position, static_cast<std::size_t>(n));
  s->position += n;
  if (numRead)
    *numRead = n;
  return kOk;
}
I32 RAW_CALL writeFn(void* p, void* buffer, I32 numBytes, I32* numWritten)
{
  RawStream* s = self<RawStream>(p);
  if (numBytes < 0)
    return kInvalidArgument;
  const std::size_t end = static_cast<std::size_t>(s->position) + static_cast<std::size_t>(numBytes);
  if (s->bytes.size() < end)
    s->bytes.resize(end);
  std::memcpy(s->bytes.data() + s->position, buffer, static_cast<std::size_t>(numBytes));
  s->position += numBytes;
  if (numWritten)
    *numWritten = numBytes;
  return kOk;
}
I32 RAW_CALL seekFn(void* p, I64 pos, I32 mode, I64* result)
{
  RawStream* s = self<RawStream>(p);
  const I64 base = mode == 0 ? 0 : mode == 1 ? s->position : static_cast<I64>(s->bytes.size());
  if (mode < 0 || mode > 2 || base + pos < 0)
    return kInvalidArgument;
  s->position = base + pos;
  if (result)
    *result = s->position;
  return kOk;
}
I32 RAW_CALL tellFn(void* p, I64* pos)
{
  if (!pos)
    return kInvalidArgument;
  *pos = self<RawStream>(p)->position;
  return kOk;
}
void* const kStreamTable[] = {reinterpret_cast<void*>(&queryInterfaceFn),
                              reinterpret_cast<void*>(&addRefFn),
                              reinterpret_cast<void*>(&releaseFn),
                              reinterpret_cast<void*>(&readFn),
                              reinterpret_cast<void*>(&writeFn),
                              reinterpret_cast<void*>(&seekFn),
                              reinterpret_cast<void*>(&tellFn)};

// IParamValueQueue
U32 RAW_CALL getParameterIdFn(void* p)
{
  return self<RawQueue>(p)->id;
}
I32 RAW_CALL getPointCountFn(void* p)
{
  return static_cast<I32>(self<RawQueue>(p)->points.size());
}
I32 RAW_CALL getPointFn(void* p, I32 index, I32* offset, double* value)
{
  RawQueue* q = self<RawQueue>(p);
  ++q->pointReads;
  if (index < 0 || index >= static_cast<I32>(q->points.size()))
    return kFalse;
  *offset = q->points[static_cast<std::size_t>(index)].first;
  *value = q->points[static_cast<std::size_t>(index)].second;
  return kOk;
}
I32 RAW_CALL addPointFn(void*, I32, double, I32*)
{
  return kFalse;
}
void* const kQueueTable[] = {reinterpret_cast<void*>(&queryInterfaceFn), reinterpret_cast<void*>(&addRefFn),
                             reinterpret_cast<void*>(&releaseFn),        reinterpret_cast<void*>(&getParameterIdFn),
                             reinterpret_cast<void*>(&getPointCountFn),  reinterpret_cast<void*>(&getPointFn),
                             reinterpret_cast<void*>(&addPointFn)};

// IParameterChanges
I32 RAW_CALL getParameterCountFn(void* p)
{
  return static_cast<I32>(self<RawChanges>(p)->queues.size());
}
void* RAW_CALL getParameterDataFn(void* p, I32 index)
{
  RawChanges* c = self<RawChanges>(p);
  if (index < 0 || index >= static_cast<I32>(c->queues.size()))
    return nullptr;
  return c->queues[static_cast<std::size_t>(index)];
}
void* RAW_CALL addParameterDataFn(void*, const U32*, I32* index)
{
  if (index)
    *index = -1;
  return nullptr;
}
void* const kChangesTable[] = {
  reinterpret_cast<void*>(&queryInterfaceFn),   reinterpret_cast<void*>(&addRefFn),
  reinterpret_cast<void*>(&releaseFn),          reinterpret_cast<void*>(&getParameterCountFn),
  reinterpret_cast<void*>(&getParameterDataFn), reinterpret_cast<void*>(&addParameterDataFn)};

// IEventList
I32 RAW_CALL getEventCountFn(void* p)
{
  return static_cast<I32>(self<RawEventList>(p)->events.size());
}
I32 RAW_CALL getEventFn(void* p, I32 index, void* event)
{
  RawEventList* l = self<RawEventList>(p);
  ++l->reads;
  if (index < 0 || index >= static_cast<I32>(l->events.size()))
    return kInvalidArgument;
  std::memcpy(event, l->events[static_cast<std::size_t>(index)].data(), RawEventList::kEventSize);
  return kOk;
}
I32 RAW_CALL addEventFn(void*, void*)
{
  return kFalse;
}
void* const kEventListTable[] = {reinterpret_cast<void*>(&queryInterfaceFn), reinterpret_cast<void*>(&addRefFn),
                                 reinterpret_cast<void*>(&releaseFn),        reinterpret_cast<void*>(&getEventCountFn),
                                 reinterpret_cast<void*>(&getEventFn),       reinterpret_cast<void*>(&addEventFn)};

// IComponentHandler
I32 RAW_CALL beginEditFn(void* p, U32)
{
  ++self<RawHandler>(p)->edits;
  return kOk;
}
I32 RAW_CALL performEditFn(void* p, U32 id, double value)
{
  RawHandler* h = self<RawHandler>(p);
  ++h->edits;
  ++h->performs;
  h->lastId = id;
  h->lastValue = value;
  return kOk;
}
I32 RAW_CALL endEditFn(void* p, U32)
{
  ++self<RawHandler>(p)->edits;
  return kOk;
}
I32 RAW_CALL restartComponentFn(void* p, I32)
{
  ++self<RawHandler>(p)->restarts;
  return kOk;
}
void* const kHandlerTable[] = {reinterpret_cast<void*>(&queryInterfaceFn),  reinterpret_cast<void*>(&addRefFn),
                               reinterpret_cast<void*>(&releaseFn),         reinterpret_cast<void*>(&beginEditFn),
                               reinterpret_cast<void*>(&performEditFn),     reinterpret_cast<void*>(&endEditFn),
                               reinterpret_cast<void*>(&restartComponentFn)};

}  // namespace

RawObject::RawObject(void* const* table, const char* interfaceName) : vtable(table), ownId(knownId(interfaceName)) {}

RawHostApplication::RawHostApplication() : RawObject(kHostApplicationTable, "IHostApplication") {}
RawStream::RawStream() : RawObject(kStreamTable, "IBStream") {}
RawQueue::RawQueue(std::uint32_t id_, std::vector<std::pair<std::int32_t, double>> points_)
  : RawObject(kQueueTable, "IParamValueQueue"), id(id_), points(std::move(points_))
{}
RawChanges::RawChanges() : RawObject(kChangesTable, "IParameterChanges") {}
RawEventList::RawEventList() : RawObject(kEventListTable, "IEventList") {}

// Header: busIndex @0, sampleOffset @4, ppqPosition @8, flags @16, type @18 (0 note on,
// 1 note off); payload at 24 (20 on 32-bit): channel @0, pitch @2, then for note on
// tuning @4, velocity @8, length @12, noteId @16; for note off velocity @4, noteId @8.
void RawEventList::addNote(bool on, std::int32_t sampleOffset, std::int16_t pitch, float velocity)
{
  std::vector<unsigned char> e(kEventSize, 0);
  const std::size_t payload = sizeof(void*) == 8 ? 24 : 20;
  setFieldAt<I32>(e.data(), 4, sampleOffset);
  setFieldAt<std::uint16_t>(e.data(), 18, on ? 0 : 1);
  setFieldAt<std::int16_t>(e.data(), payload + 2, pitch);
  setFieldAt<float>(e.data(), payload + (on ? 8 : 4), velocity);
  setFieldAt<I32>(e.data(), payload + (on ? 16 : 8), -1);
  events.push_back(std::move(e));
}

RawHandler::RawHandler() : RawObject(kHandlerTable, "IComponentHandler") {}

}  // namespace rawabi
