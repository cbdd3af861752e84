// The host's byte stream, through which state is saved and restored. Read and write share
// one position.
#pragma once

#include "sdk/vst3/FUnknown.h"

namespace vst3 {

class IBStream : public FUnknown
{
public:
  enum IStreamSeekMode : int32
  {
    kIBSeekSet = 0,
    kIBSeekCur = 1,
    kIBSeekEnd = 2
  };

  virtual tresult PLUGIN_API read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;
  virtual tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;
  virtual tresult PLUGIN_API seek(int64 pos, int32 mode, int64* result) = 0;
  virtual tresult PLUGIN_API tell(int64* pos) = 0;
  TQ_VST3_IID(C3BF6EA2, 30994752, 9B6BF990, 1EE33E9B);
};

class ISizeableStream : public FUnknown
{
public:
  virtual tresult PLUGIN_API getStreamSize(int64& size) = 0;
  virtual tresult PLUGIN_API setStreamSize(int64 size) = 0;
  TQ_VST3_IID(04F9549E, E02F4E6E, 87E86A87, 47F4E17F);
};

}  // namespace vst3
