// 8-bit and 16-bit string helpers for the fixed-size texts VST3 exchanges. 8-bit texts are
// Latin-1: widening maps each byte to the code unit of the same value, narrowing writes '?'
// for units above 0xFF. Every writer is bounded by the destination size and terminates.
#pragma once

#include <string>

#include "sdk/vst3/FUnknown.h"

namespace vst3 {

// Copies src into dst of dstSize units: at most dstSize - 1 characters, then zeros to the end.
// A null src gives an empty text. Nothing is written when dstSize < 1.
void str8ToStr16(TChar* dst, const char* src, int32 dstSize);
void str16ToStr8(char* dst, const TChar* src, int32 dstSize);
void copyStr8(char* dst, const char* src, int32 dstSize);
void copyStr16(TChar* dst, const TChar* src, int32 dstSize);

int32 strlen16(const TChar* s);
// Exact comparison; a null text equals only another null text.
bool equalStr16(const TChar* a, const TChar* b);

std::u16string toStr16(const char* s);
std::string toStr8(const TChar* s);

// Prints into dst (dstSize units) with "%.*f"; precision is limited to 0..16. A non-finite
// value prints as "nan", "inf" or "-inf".
void printFloat(TChar* dst, int32 dstSize, double value, int32 precision);
void printInt(TChar* dst, int32 dstSize, int64 value);

// Reads a leading number, skipping leading white space. False (and out unchanged) when no
// number is there or it is not finite.
bool scanFloat(const TChar* s, double& out);
bool scanInt(const TChar* s, int64& out);

}  // namespace vst3
