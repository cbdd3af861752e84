#pragma once

// A lock that the owning thread may enter again while it holds it. The storage is opaque
// so that portable code never sees the operating system's headers.
class PlugMutex
{
public:
  PlugMutex();
  ~PlugMutex();

  PlugMutex(const PlugMutex&) = delete;
  PlugMutex& operator=(const PlugMutex&) = delete;

  void Enter();
  void Leave();

private:
  alignas(8) unsigned char mStorage[64];
};
