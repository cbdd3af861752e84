// The effect-parameters interface the host drives: instance life, parameters by identifier
// text, values and their texts, saved-state chunks and data packets. The module implements
// it; operation N of the host's numbering is table slot N.
#pragma once

#include "sdk/aax/AAX_IString.h"
#include "sdk/aax/ACFUnknown.h"

class AAX_IParameter;

// The header of a chunk record as the host lays it out; the data area follows at offset 56.
// Header fields are in the machine's byte order.
struct AAX_ChunkHeader
{
  int32_t size;  // bytes in the data area
  int32_t version;
  uint32_t reserved[3];
  uint32_t chunkId;
  char name[32];
};

constexpr int32_t kAAX_ChunkDataOffset = 56;

inline unsigned char* AAX_ChunkData(AAX_ChunkHeader* record)
{
  return reinterpret_cast<unsigned char*>(record) + kAAX_ChunkDataOffset;
}
inline const unsigned char* AAX_ChunkData(const AAX_ChunkHeader* record)
{
  return reinterpret_cast<const unsigned char*>(record) + kAAX_ChunkDataOffset;
}

class AAX_IACFEffectParameters : public IACFUnknown
{
public:
  static constexpr ACFGuid kIID = {0x964E333D, 0x334C, 0x533F, {0xC2, 0xC7, 0x38, 0x34, 0xC3, 0xC2, 0x3E, 0x3E}};

  virtual ACFResult StartInstance(IACFUnknown* hostController) = 0;
  virtual ACFResult StopInstance() = 0;
  virtual ACFResult HandleHostNotification(uint32_t type, const void* data, uint32_t size) = 0;

  virtual ACFResult CountParameters(int32_t* count) const = 0;
  virtual ACFResult CopyBypassParameterId(AAX_IString* id) const = 0;
  virtual ACFResult QueryParameterAutomatable(const char* id, bool* automatable) const = 0;
  virtual ACFResult QueryParameterStepCount(const char* id, int32_t* steps) const = 0;
  virtual ACFResult CopyParameterName(const char* id, AAX_IString* name) const = 0;
  virtual ACFResult CopyParameterShortName(const char* id, AAX_IString* name, int32_t limit) const = 0;
  virtual ACFResult QueryParameterDefault(const char* id, double* normalized) const = 0;
  virtual ACFResult ChangeParameterDefault(const char* id, double normalized) = 0;
  virtual ACFResult QueryParameterKind(const char* id, int32_t* kind) const = 0;
  virtual ACFResult QueryParameterLayoutWord(const char* id, int32_t* word) const = 0;
  virtual ACFResult FindParameter(const char* id, AAX_IParameter** parameter) = 0;
  virtual ACFResult FindParameterIndex(const char* id, int32_t* index) const = 0;
  virtual ACFResult CopyParameterIdAt(int32_t index, AAX_IString* id) const = 0;
  virtual ACFResult QueryParameterExtra(const char* id, uint32_t selector, int32_t* value) const = 0;

  virtual ACFResult ParseParameterText(const char* id, double* normalized, const AAX_IString* text) const = 0;
  virtual ACFResult FormatNormalizedValue(const char* id, double normalized, AAX_IString* text,
                                          int32_t limit) const = 0;
  virtual ACFResult FormatCurrentValue(const char* id, AAX_IString* text, int32_t limit) const = 0;

  virtual ACFResult QueryNormalizedValue(const char* id, double* normalized) const = 0;
  virtual ACFResult ChangeNormalizedValue(const char* id, double normalized) = 0;
  virtual ACFResult ChangeNormalizedValueBy(const char* id, double delta) = 0;
  virtual ACFResult BeginParameterGesture(const char* id) = 0;
  virtual ACFResult EndParameterGesture(const char* id) = 0;
  virtual ACFResult IdleTwoArgsA(ACFWord, ACFWord) = 0;
  virtual ACFResult ApplyHostValue(const char* id, double normalized, uint32_t cause) = 0;
  virtual ACFResult ApplyHostValueBy(const char* id, double delta) = 0;
  virtual ACFResult FlushPackets() = 0;
  virtual ACFResult FillCustomData(uint32_t dataType, void* block, uint32_t size) = 0;

  virtual ACFResult CountChunks(int32_t* count) const = 0;
  virtual ACFResult ChunkIdAt(int32_t index, uint32_t* chunkId) const = 0;
  virtual ACFResult MeasureChunk(uint32_t chunkId, int32_t* size) = 0;
  virtual ACFResult WriteChunk(uint32_t chunkId, AAX_ChunkHeader* record) = 0;
  virtual ACFResult ReadChunk(uint32_t chunkId, const AAX_ChunkHeader* record) = 0;
  virtual ACFResult MatchChunk(const AAX_ChunkHeader* record, bool* equal) = 0;
  virtual ACFResult CountChanges(int32_t* changes) const = 0;

  virtual ACFResult IdleNoArgsA() = 0;
  virtual ACFResult UnsupportedFourArgs(ACFWord, ACFWord, ACFWord, ACFWord) = 0;
  virtual ACFResult EmptyAnswer(ACFWord, ACFWord, ACFWord, uint32_t* answer) = 0;
  virtual ACFResult IdleThreeArgs(ACFWord, ACFWord, ACFWord) = 0;
  virtual ACFResult IdleNoArgsB() = 0;
  virtual ACFResult UnsupportedOneArg(ACFWord) = 0;
  virtual ACFResult IdleTwoArgsB(ACFWord, ACFWord) = 0;
  virtual ACFResult IdleTwoArgsC(ACFWord, ACFWord) = 0;

protected:
  ~AAX_IACFEffectParameters() = default;
};

// The newer revision of the interface; it shares the table above.
class AAX_IACFEffectParameters_V2 : public AAX_IACFEffectParameters
{
public:
  static constexpr ACFGuid kIID = {0xF1F47D06, 0x308F, 0x4CC5, {0x9C, 0x7C, 0x50, 0xA8, 0x3F, 0x8A, 0xB8, 0x13}};

protected:
  ~AAX_IACFEffectParameters_V2() = default;
};
