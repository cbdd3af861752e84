#include "tests/hosts/vst3/AudioThread.h"

namespace fakehost {

AudioThread::AudioThread() : thread_([this] { loop(); }) {}

AudioThread::~AudioThread()
{
  {
    std::lock_guard<std::mutex> guard(lock_);
    quit_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void AudioThread::run(const std::function<void()>& task)
{
  std::unique_lock<std::mutex> guard(lock_);
  done_.wait(guard, [this] { return task_ == nullptr; });  // one caller at a time
  task_ = &task;
  wake_.notify_all();
  done_.wait(guard, [this, &task] { return task_ != &task; });
}

void AudioThread::loop()
{
  std::unique_lock<std::mutex> guard(lock_);
  for (;;) {
    wake_.wait(guard, [this] { return quit_ || task_ != nullptr; });
    if (task_ == nullptr) return;  // quitting with nothing left to run
    const std::function<void()>* task = task_;
    guard.unlock();
    (*task)();
    guard.lock();
    task_ = nullptr;
    done_.notify_all();
  }
}

}  // namespace fakehost
