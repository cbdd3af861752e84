#include "hosts/vst3/AudioThread.h"

namespace vst3host {

AudioThread::AudioThread() : mThread([this] { loop(); }) {}

AudioThread::~AudioThread()
{
  {
    std::lock_guard<std::mutex> guard(mLock);
    mQuit = true;
  }
  mWake.notify_all();
  mThread.join();
}

void AudioThread::run(const std::function<void()>& task)
{
  std::unique_lock<std::mutex> guard(mLock);
  mDone.wait(guard, [this] { return mTask == nullptr; });  // one caller at a time
  mTask = &task;
  mWake.notify_all();
  mDone.wait(guard, [this, &task] { return mTask != &task; });
}

void AudioThread::loop()
{
  std::unique_lock<std::mutex> guard(mLock);
  for (;;)
  {
    mWake.wait(guard, [this] { return mQuit || mTask != nullptr; });
    if (mTask == nullptr)
      return;  // quitting with nothing left to run
    const std::function<void()>* task = mTask;
    guard.unlock();
    (*task)();
    guard.lock();
    mTask = nullptr;
    mDone.notify_all();
  }
}

}  // namespace vst3host
