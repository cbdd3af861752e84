#pragma once
// A host's byte stream in memory, as hosts hand it to getState and setState.
//
// Limits let a test play a host whose storage runs short: a read limit makes the stream
// look shorter than its contents, a write limit makes writes past it short or failing.

#include "sdk/vst3/IBStream.h"
#include "hosts/vst3/HostObject.h"

#include <cstdint>
#include <vector>

namespace vst3host {

class MemoryStream : public HostObject<vst3::IBStream>
{
public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<std::uint8_t> bytes) : mData(std::move(bytes)) {}

  vst3::tresult PLUGIN_API read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead) override;
  vst3::tresult PLUGIN_API write(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesWritten) override;
  vst3::tresult PLUGIN_API seek(vst3::int64 pos, vst3::int32 mode, vst3::int64* result) override;
  vst3::tresult PLUGIN_API tell(vst3::int64* pos) override;

  const std::vector<std::uint8_t>& bytes() const { return mData; }
  vst3::int64 position() const { return mPos; }
  void rewind() { mPos = 0; }

  // Bytes beyond this many are invisible to reads (negative: no limit).
  void setReadLimit(vst3::int64 limit) { mReadLimit = limit; }
  // The stream holds at most this many bytes (negative: no limit).
  void setWriteLimit(vst3::int64 limit) { mWriteLimit = limit; }
  // What a read that delivers fewer bytes than asked answers. Many hosts' streams answer
  // success with the short count, so that is the default; some answer kResultFalse.
  void setShortReadResult(vst3::tresult r) { mShortReadResult = r; }

  int readCalls() const { return mReadCalls; }
  int writeCalls() const { return mWriteCalls; }

private:
  std::vector<std::uint8_t> mData;
  vst3::int64 mPos = 0;
  vst3::int64 mReadLimit = -1;
  vst3::int64 mWriteLimit = -1;
  vst3::tresult mShortReadResult = vst3::kResultOk;
  int mReadCalls = 0;
  int mWriteCalls = 0;
};

}  // namespace vst3host
