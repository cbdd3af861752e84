#pragma once
// A host's view of the module with nothing of our own layer: interface pointers are plain
// objects whose first word points at a table of functions, called with the interface
// pointer as hidden first argument in the platform's calling convention. Ids, result codes
// and record offsets are typed in here by hand, so a mistake shared by our declarations and
// the fake host built on them cannot pass unnoticed.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#if defined(_WIN32)
#define RAW_CALL __stdcall
#else
#define RAW_CALL
#endif

namespace rawabi {

// ---- Result codes ------------------------------------------------------------------------------
#if defined(_WIN32)
constexpr std::int32_t kOk = 0;
constexpr std::int32_t kFalse = 1;
constexpr std::int32_t kNoInterface = static_cast<std::int32_t>(0x80004002u);
constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80070057u);
constexpr std::int32_t kNotImplemented = static_cast<std::int32_t>(0x80004001u);
#else
constexpr std::int32_t kOk = 0;
constexpr std::int32_t kFalse = 1;
constexpr std::int32_t kNoInterface = -1;
constexpr std::int32_t kInvalidArgument = 2;
constexpr std::int32_t kNotImplemented = 3;
#endif

// ---- Ids ---------------------------------------------------------------------------------------
struct Id
{
  unsigned char bytes[16];
  const char* ptr() const { return reinterpret_cast<const char*>(bytes); }
};

// 32 hex digits, spaces ignored.
Id idFromHex(const char* hex);
// The four words as written, in the Windows GUID order.
Id guidOrderFromWords(const char* words32Hex);
// The four words as written, in the platform's byte layout: the Windows GUID order (first
// word little-endian, second word as two little-endian halves, high half first, the rest
// big-endian), elsewhere every word big-endian.
Id idFromWords(const char* words32Hex);
std::string hexOf(const void* bytes, std::size_t n);

struct KnownId
{
  const char* name;
  const char* words;    // the four words, as they are written
  const char* windows;  // the 16 bytes on Windows
};
// Every id whose Windows bytes are listed in the binary facts.
extern const KnownId kKnownIds[];
extern const std::size_t kKnownIdCount;
// The id of `name` for this platform: the Windows bytes as listed there, elsewhere the words.
Id knownId(const char* name);

// Interfaces hosts ask for that this plug-in offers none of.
extern const char* const kForeignIdWords[];
extern const std::size_t kForeignIdCount;

// ---- Calls through a table slot -------------------------------------------------------------------
template <class R, class... A>
R callSlot(void* object, int slot, A... args)
{
  using Fn = R(RAW_CALL*)(void*, A...);
  void** table = *static_cast<void***>(object);
  return reinterpret_cast<Fn>(table[slot])(object, args...);
}

// FUnknown
inline std::int32_t queryInterface(void* object, const Id& iid, void** out)
{
  return callSlot<std::int32_t>(object, 0, iid.ptr(), out);
}
inline std::uint32_t addRef(void* object)
{
  return callSlot<std::uint32_t>(object, 1);
}
inline std::uint32_t release(void* object)
{
  return callSlot<std::uint32_t>(object, 2);
}

// ---- Little-endian field access inside records ----------------------------------------------------
template <class T>
T fieldAt(const void* record, std::size_t offset)
{
  T value;
  std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
  return value;
}

template <class T>
void setFieldAt(void* record, std::size_t offset, T value)
{
  std::memcpy(static_cast<unsigned char*>(record) + offset, &value, sizeof value);
}

// The zero-terminated 8-bit text at an offset, read no further than `size` bytes.
std::string text8At(const void* record, std::size_t offset, std::size_t size);
// The zero-terminated UTF-16 text at an offset, ASCII only, read no further than `units`.
std::string text16At(const void* record, std::size_t offset, std::size_t units);

// A record the callee fills, followed by guard bytes that must stay as they were.
class GuardedRecord
{
public:
  explicit GuardedRecord(std::size_t size, unsigned char fill = 0xCD);
  ~GuardedRecord();
  GuardedRecord(const GuardedRecord&) = delete;
  GuardedRecord& operator=(const GuardedRecord&) = delete;
  void* data() { return mBytes; }
  const void* data() const { return mBytes; }
  bool guardIntact() const;

private:
  static constexpr std::size_t kGuard = 64;
  std::size_t mSize;
  unsigned char* mBytes;
};

}  // namespace rawabi
