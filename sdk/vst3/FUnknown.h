// Base of the VST3 binary interface: basic types, calling convention, result codes,
// interface ids and FUnknown. Every declaration here is laid out to match what VST3 hosts
// expect on Windows x64, Windows x86 and Linux x86-64.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(_WIN32)
#define TQ_VST3_COM_COMPATIBLE 1
// Only x86 cares: x64 has one convention. Hosts call every interface method as stdcall.
#define PLUGIN_API __stdcall
#define TQ_VST3_EXPORT __declspec(dllexport)
#else
#define TQ_VST3_COM_COMPATIBLE 0
#define PLUGIN_API
#define TQ_VST3_EXPORT __attribute__((visibility("default")))
#endif

namespace vst3 {

using int8 = char;
using uint8 = std::uint8_t;
using int16 = std::int16_t;
using uint16 = std::uint16_t;
using int32 = std::int32_t;
using uint32 = std::uint32_t;
using int64 = std::int64_t;
using uint64 = std::uint64_t;
using TSize = int64;
using tresult = int32;
using TBool = uint8;  // one byte, never bool, inside records
using char8 = char;
using char16 = char16_t;
using TChar = char16;
using String128 = TChar[128];
using FIDString = const char8*;
using CString = const char8*;
using AttrID = const char8*;
using TUID = char[16];
using UCoord = int32;
using TPtrInt = std::uintptr_t;

static_assert(sizeof(TChar) == 2, "hosts exchange UTF-16 code units");
static_assert(sizeof(String128) == 256, "String128 is 128 UTF-16 units");

// Result codes: COM values on Windows, small integers elsewhere.
#if TQ_VST3_COM_COMPATIBLE
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002L);
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = kResultOk;
constexpr tresult kResultFalse = 1;
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057L);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001L);
constexpr tresult kInternalError = static_cast<tresult>(0x80004005L);
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFL);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000EL);
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = kResultOk;
constexpr tresult kResultFalse = 1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif

// An id is declared as four 32-bit words; the 16 bytes that travel depend on the platform.
// Windows uses the in-memory GUID layout (first word little-endian, second word as its high
// then low 16 bits, each little-endian, the last two words big-endian); elsewhere all four
// words are stored big-endian.
#define TQ_VST3_BYTE(w, shift) static_cast<char>(((w) >> (shift)) & 0xFF)
#define TQ_VST3_BE32(w) TQ_VST3_BYTE(w, 24), TQ_VST3_BYTE(w, 16), TQ_VST3_BYTE(w, 8), TQ_VST3_BYTE(w, 0)
#if TQ_VST3_COM_COMPATIBLE
#define TQ_VST3_UID(l1, l2, l3, l4)                                                                                    \
  {                                                                                                                    \
    TQ_VST3_BYTE(l1, 0), TQ_VST3_BYTE(l1, 8), TQ_VST3_BYTE(l1, 16), TQ_VST3_BYTE(l1, 24), TQ_VST3_BYTE(l2, 16),        \
      TQ_VST3_BYTE(l2, 24), TQ_VST3_BYTE(l2, 0), TQ_VST3_BYTE(l2, 8), TQ_VST3_BE32(l3), TQ_VST3_BE32(l4)               \
  }
#else
#define TQ_VST3_UID(l1, l2, l3, l4)                                                                                    \
  {                                                                                                                    \
    TQ_VST3_BE32(l1), TQ_VST3_BE32(l2), TQ_VST3_BE32(l3), TQ_VST3_BE32(l4)                                             \
  }
#endif

// Declares the interface id of an interface class.
#define TQ_VST3_IID(l1, l2, l3, l4) static constexpr TUID iid = TQ_VST3_UID(0x##l1##u, 0x##l2##u, 0x##l3##u, 0x##l4##u)

// Ids are compared as 16 raw bytes.
inline bool iidEqual(const void* a, const void* b)
{
  return a != nullptr && b != nullptr && std::memcmp(a, b, sizeof(TUID)) == 0;
}

// Interfaces are pure abstract classes: no data, no virtual destructor (it would add
// slots), no overloads; every method uses PLUGIN_API.
class FUnknown
{
public:
  virtual tresult PLUGIN_API queryInterface(const TUID iid_, void** obj) = 0;
  virtual uint32 PLUGIN_API addRef() = 0;
  virtual uint32 PLUGIN_API release() = 0;
  TQ_VST3_IID(00000000, 00000000, C0000000, 00000046);
};

// Answers a query with `object` as interface I when the id matches: the reference is added
// and kResultOk returned; otherwise nothing is touched and kNoInterface returned.
template <typename I>
inline tresult queryAs(const TUID id, void** obj, I* object)
{
  if (!iidEqual(id, I::iid))
    return kNoInterface;
  *obj = object;
  object->addRef();
  return kResultOk;
}

// Holds one reference on an interface obtained by queryInterface and releases it.
template <typename I>
class FUnknownPtr
{
public:
  FUnknownPtr() = default;
  explicit FUnknownPtr(FUnknown* from)
  {
    void* p = nullptr;
    if (from && from->queryInterface(I::iid, &p) == kResultOk)
      mPtr = static_cast<I*>(p);
  }
  FUnknownPtr(const FUnknownPtr&) = delete;
  FUnknownPtr& operator=(const FUnknownPtr&) = delete;
  ~FUnknownPtr() { reset(); }
  void reset()
  {
    if (mPtr)
      mPtr->release();
    mPtr = nullptr;
  }
  I* get() const { return mPtr; }
  I* operator->() const { return mPtr; }
  explicit operator bool() const { return mPtr != nullptr; }

private:
  I* mPtr = nullptr;
};

}  // namespace vst3
