#pragma once

#include "framework/bindings/aax/AAX_CString.h"
#include "sdk/aax/AAX_IACFEffectParameters.h"

#include <cstdint>
#include <vector>

// One named value of a chunk's data area.
struct ChunkEntry
{
  enum Type : int32_t
  {
    kUntyped = 0,
    kFloat = 1,
    kInt32 = 2,
    kDouble = 3,
    kInt16 = 4,
    kString = 5,
  };

  int32_t type = kUntyped;
  AAX_CString name;
  uint64_t value = 0;  // a double's bits; a 32-bit value or a 16-bit one zero-extended in the low half
  AAX_CString text;    // the value of a string entry
};

// Named, typed values in a chunk's data area and back. The data area is self-describing: the
// marker 01 01 01 01, then per value a two-character tag ("d_", "l_", "r_", and the read-only
// "f_" and "s_"), the name with its NUL, padding to a multiple of 4, and the value big-endian.
class AAX_CChunkDataParser
{
public:
  static constexpr uint32_t kMarker = 0x01010101;
  static constexpr int32_t kMaxTagAndName = 255;

  AAX_CChunkDataParser() = default;
  virtual ~AAX_CChunkDataParser() = default;

  void PutDouble(const char* name, double value);
  void PutInt32(const char* name, int32_t value);
  void PutString(const char* name, const AAX_CString& value);
  void Reset();

  // False, with out untouched, when the name is missing or holds another type.
  bool LookUpDouble(const char* name, double& out);
  bool LookUpInt32(const char* name, int32_t& out);
  bool LookUpString(const char* name, AAX_IString& out);
  // Searches on from the last hit and wraps, so names looked up in stored order cost one
  // comparison each.
  int32_t FindValueIndex(const AAX_CString& name);

  // The data-area size of the values held; -1 when it does not fit a signed 32-bit size.
  int32_t MeasureChunkData() const;
  // Writes the size field and the data area; the record must hold MeasureChunkData bytes of data.
  ACFResult GetChunkData(AAX_ChunkHeader* record) const;
  // Reads the version and the values of a record whose data area holds `size` bytes. A damaged
  // data area keeps the entries read whole before the damage.
  void ParseChunk(const AAX_ChunkHeader* record);

  int32_t ChunkVersion() const { return mChunkVersion; }
  const std::vector<ChunkEntry>& Entries() const { return mValues; }

  static void AlignTo4(int32_t& offset) { offset = (offset + 3) & ~3; }

private:
  void Append(const char* name, int32_t type, uint64_t value, const AAX_CString& text);

  int32_t mLastFound = -1;
  int32_t mChunkVersion = -1;
  std::vector<ChunkEntry> mValues;
};

void SwapBytes16(void* bytes);
void SwapBytes32(void* bytes);
void SwapBytes64(void* bytes);
