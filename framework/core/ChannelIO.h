#pragma once

#include "framework/core/GrowBuffer.h"
#include "framework/core/StringBuffer.h"

// One input or output channel of the plug-in. What the effect sees for it in a block is
// resolved from this record: the host's double buffer, or the channel's own scratch (which
// holds converted host floats, or zeros while the channel is not connected).
struct ChannelIO
{
  enum EHostBuffer
  {
    kHostNone,    // not connected, or connected without a host buffer: scratch
    kHostDouble,  // the host's 64-bit buffer is used directly
    kHostFloat,   // the host's 32-bit buffer converted through scratch
  };

  explicit ChannelIO(int index) : index(index) {}

  ChannelIO(const ChannelIO&) = delete;
  ChannelIO& operator=(const ChannelIO&) = delete;

  double* Scratch() const { return static_cast<double*>(scratch.Data()); }

  int index;
  bool connected = false;
  EHostBuffer host = kHostNone;
  double* hostDouble = nullptr;
  float* hostFloat = nullptr;
  GrowBuffer scratch{GrowBuffer::kPageGranularity};
  StringBuffer label;
};

// One accepted pair of input and output channel counts.
struct ChannelConfig
{
  int nIn = 0;
  int nOut = 0;
};
