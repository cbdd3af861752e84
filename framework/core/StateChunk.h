#pragma once

#include "framework/core/GrowBuffer.h"

#include <cstdint>

// A byte stream of serialised state. Writers append and report whether the bytes went in;
// readers take a byte position and return the position after what they read, or -1 when
// the data runs short (a position of -1 reads nothing and stays -1). Values are stored
// little-endian without padding, whatever the machine.
class StateChunk
{
public:
  StateChunk();

  StateChunk(const StateChunk&) = delete;
  StateChunk& operator=(const StateChunk&) = delete;

  int Size() const { return mBuffer.Size(); }
  const unsigned char* Data() const { return static_cast<const unsigned char*>(mBuffer.Data()); }
  unsigned char* Data() { return static_cast<unsigned char*>(mBuffer.Data()); }

  // Resizes (see GrowBuffer::SetSize); returns whether the size is now newSize.
  bool Resize(int newSize, bool allowShrink = true);
  void Clear() { mBuffer.SetSize(0, true); }
  GrowBuffer& Buffer() { return mBuffer; }

  // Bytes of a double as PutDouble writes it.
  static constexpr int kDoubleBytes = 8;

  bool PutBytes(const void* bytes, int count);
  bool PutInt32(int32_t value);
  bool PutDouble(double value);
  bool PutChunk(const StateChunk& other);

  int GetBytes(void* out, int count, int position) const;
  int GetInt32(int32_t* out, int position) const;
  int GetDouble(double* out, int position) const;

  // Whether count bytes are available at the position.
  bool Has(int position, int count) const;

private:
  GrowBuffer mBuffer;
};

// Little-endian encoding shared by the chunk and by readers of raw host data.
void EncodeDouble(double value, unsigned char out[8]);
double DecodeDouble(const unsigned char in[8]);
