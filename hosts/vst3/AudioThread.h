#pragma once
// A host's audio thread: one long-lived thread on which the driver makes its process calls,
// so that a plug-in sees process arrive from another thread than its set-up and controller
// calls, always the same one, as in a real host.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vst3host {

class AudioThread
{
public:
  AudioThread();
  ~AudioThread();
  AudioThread(const AudioThread&) = delete;
  AudioThread& operator=(const AudioThread&) = delete;

  // Runs task on the audio thread and returns when it is done.
  void run(const std::function<void()>& task);
  std::thread::id id() const { return mThread.get_id(); }

private:
  void loop();

  std::mutex mLock;
  std::condition_variable mWake;
  std::condition_variable mDone;
  const std::function<void()>* mTask = nullptr;
  bool mQuit = false;
  std::thread mThread;
};

}  // namespace vst3host
