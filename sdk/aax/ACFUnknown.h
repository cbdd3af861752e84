// Base of the AAX binary interface: calling convention, result codes, interface ids,
// four-character codes and the reference-counted unknown every interface starts with.
// Interfaces here are pure abstract classes with no C++ virtual destructor (g++ would give it
// two table slots, the host's compiler one), so that operation N of the host's numbering is
// table slot N: QueryInterface, AddRef and Release are 0, 1, 2. Interfaces whose table has a
// destructor entry declare it as the one slot the host's compiler makes of it.
#pragma once

#include <cstdint>
#include <cstring>

// The calling conventions of a host built with Microsoft's compiler, on 32-bit Windows: the
// module's exports and the unknown's three operations (QueryInterface, AddRef, Release) of
// every interface are stdcall; every other operation is the compiler's default for member
// functions, thiscall (`this` in ECX), which is what g++ gives when nothing is written; the
// procedures the module registers are plain C functions, cdecl. x64 and Linux have one
// convention.
#if defined(_WIN32) && defined(__i386__)
#define ACF_STDCALL __stdcall
#else
#define ACF_STDCALL
#endif

using ACFResult = int32_t;
// One 32-bit argument of an operation the module never calls; passed through unchanged.
using ACFWord = uint32_t;

// Result codes of the host protocol.
constexpr ACFResult kAAX_Success = 0;
constexpr ACFResult kAAX_ErrParameterNotFound = -20001;
constexpr ACFResult kAAX_ErrBadTextOrOutput = -20002;
constexpr ACFResult kAAX_ErrMissingInterface = -20004;
constexpr ACFResult kAAX_ErrChunkIndex = -20006;
constexpr ACFResult kAAX_ErrChunkId = -20007;
constexpr ACFResult kAAX_ErrChunkSize = -20008;
constexpr ACFResult kAAX_ErrUnsupported = -20009;
constexpr ACFResult kAAX_ErrNoHostObjects = -20011;
constexpr ACFResult kAAX_ErrStepCount = -20033;
constexpr ACFResult kAAX_ErrChunkOverflow = -333;
constexpr ACFResult kACF_NoInterface = static_cast<ACFResult>(0x80000004u);
constexpr ACFResult kACF_BadPointer = static_cast<ACFResult>(0x80000005u);
constexpr ACFResult kACF_Unexpected = static_cast<ACFResult>(0x8000FFFFu);

// A 32-bit code made of four characters, the first in the most significant byte.
constexpr uint32_t FourCC(const char (&code)[5])
{
  return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) | (uint32_t(uint8_t(code[2])) << 8) |
         uint32_t(uint8_t(code[3]));
}

// An interface or class id: a little-endian 32-bit field, two little-endian 16-bit fields,
// then eight bytes in order. Ids are compared as their sixteen bytes.
struct ACFGuid
{
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
};

inline bool operator==(const ACFGuid& a, const ACFGuid& b)
{
  return std::memcmp(&a, &b, sizeof(ACFGuid)) == 0;
}
inline bool operator!=(const ACFGuid& a, const ACFGuid& b)
{
  return !(a == b);
}

constexpr ACFGuid kIID_ACFUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class IACFUnknown
{
public:
  virtual ACFResult ACF_STDCALL QueryInterface(const ACFGuid& iid, void** out) = 0;
  virtual uint32_t ACF_STDCALL AddRef() = 0;
  virtual uint32_t ACF_STDCALL Release() = 0;

protected:
  ~IACFUnknown() = default;
};

// The flags argument of a destructor slot: with this bit set the object's memory is freed
// after it is destroyed.
constexpr uint32_t kAAX_DestroyFreesMemory = 1;

// What a destructor slot does for an object of the implementing class T, made with new.
template <typename T>
void AAX_DestroyThroughSlot(T* object, uint32_t flags)
{
  if (flags & kAAX_DestroyFreesMemory)
    delete object;
  else
    object->~T();
}

// A procedure the module hands the host to call back (create and render procedures).
using ACFProcedure = void (*)();
