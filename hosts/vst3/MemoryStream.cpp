#include "hosts/vst3/MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vst3host {

vst3::tresult PLUGIN_API MemoryStream::read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead)
{
  ++mReadCalls;
  if (numBytesRead != nullptr)
    *numBytesRead = 0;
  if (numBytes < 0 || (buffer == nullptr && numBytes > 0))
    return vst3::kInvalidArgument;
  vst3::int64 end = static_cast<vst3::int64>(mData.size());
  if (mReadLimit >= 0)
    end = std::min(end, mReadLimit);
  const vst3::int64 available = std::max<vst3::int64>(0, end - mPos);
  const auto n = static_cast<vst3::int32>(std::min<vst3::int64>(available, numBytes));
  if (n > 0)
    std::memcpy(buffer, mData.data() + mPos, static_cast<std::size_t>(n));
  mPos += n;
  if (numBytesRead != nullptr)
    *numBytesRead = n;
  return n == numBytes ? vst3::kResultOk : mShortReadResult;
}

vst3::tresult PLUGIN_API MemoryStream::write(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesWritten)
{
  ++mWriteCalls;
  if (numBytesWritten != nullptr)
    *numBytesWritten = 0;
  if (numBytes < 0 || (buffer == nullptr && numBytes > 0))
    return vst3::kInvalidArgument;
  // Without a limit of its own the stream stops at 1 GiB, as any real storage stops somewhere.
  const vst3::int64 capacity = mWriteLimit >= 0 ? mWriteLimit : (vst3::int64{1} << 30);
  const vst3::int64 room = std::max<vst3::int64>(0, capacity - mPos);
  const auto n = static_cast<vst3::int32>(std::min<vst3::int64>(room, numBytes));
  if (n > 0)
  {
    const auto end = static_cast<std::size_t>(mPos + n);
    if (mData.size() < end)
      mData.resize(end, 0);
    std::memcpy(mData.data() + mPos, buffer, static_cast<std::size_t>(n));
    mPos += n;
  }
  if (numBytesWritten != nullptr)
    *numBytesWritten = n;
  return n == numBytes ? vst3::kResultOk : vst3::kResultFalse;
}

vst3::tresult PLUGIN_API MemoryStream::seek(vst3::int64 pos, vst3::int32 mode, vst3::int64* result)
{
  vst3::int64 base = 0;
  switch (mode)
  {
  case vst3::IBStream::kIBSeekSet:
    base = 0;
    break;
  case vst3::IBStream::kIBSeekCur:
    base = mPos;
    break;
  case vst3::IBStream::kIBSeekEnd:
    base = static_cast<vst3::int64>(mData.size());
    break;
  default:
    return vst3::kInvalidArgument;
  }
  // Positions beyond the end are allowed (a later write fills the gap with zeros); positions
  // before the start and overflowing ones are not.
  if ((pos > 0 && base > std::numeric_limits<vst3::int64>::max() - pos) || base + pos < 0)
    return vst3::kInvalidArgument;
  mPos = base + pos;
  if (result != nullptr)
    *result = mPos;
  return vst3::kResultOk;
}

vst3::tresult PLUGIN_API MemoryStream::tell(vst3::int64* pos)
{
  if (pos == nullptr)
    return vst3::kInvalidArgument;
  *pos = mPos;
  return vst3::kResultOk;
}

}  // namespace vst3host
