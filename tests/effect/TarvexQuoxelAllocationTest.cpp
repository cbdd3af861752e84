#include "tests/effect/EffectTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// This program counts every allocation, so that the audio path can be shown to make none.
// Its operator new and operator delete are malloc and free, which the compiler cannot see
// through once it inlines them into each other.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<long> gNews{0};
std::atomic<long> gGrowths{0};
// Allocations still allowed before operator new throws; negative: no limit.
std::atomic<long> gNewsLeft{-1};

const GrowAllocator kCountingHeap = {
  [](void* block, size_t bytes) {
    ++gGrowths;
    return std::realloc(block, bytes);
  },
  [](size_t bytes) {
    ++gGrowths;
    return std::malloc(bytes);
  },
  [](void* block) { std::free(block); },
};
}  // namespace

void* operator new(size_t bytes)
{
  ++gNews;
  if (gNewsLeft == 0)
    throw std::bad_alloc();
  if (gNewsLeft > 0)
    --gNewsLeft;
  if (void* p = std::malloc(bytes ? bytes : 1))
    return p;
  throw std::bad_alloc();
}
void* operator new[](size_t bytes)
{
  return operator new(bytes);
}
void operator delete(void* p) noexcept
{
  std::free(p);
}
void operator delete(void* p, size_t) noexcept
{
  std::free(p);
}
void operator delete[](void* p) noexcept
{
  std::free(p);
}
void operator delete[](void* p, size_t) noexcept
{
  std::free(p);
}

namespace {

// Hosts deliver blocks of any length up to the maximum, parameter changes and tempo
// changes on the audio thread: none of it may allocate once the set-up is done.
TEST(AudioThread, ProcessingParameterAndTempoChangesNeverAllocate)
{
  std::unique_ptr<TarvexQuoxel> plug(NewTarvexQuoxel(nullptr));
  ASSERT_TRUE(plug->Setup(44100.0, 4096));
  const std::vector<double> drums = DrumLoop(4096, 44100.0);
  std::vector<double> l(drums), r(drums);
  std::vector<float> fl(drums.begin(), drums.end()), fr = fl;
  double* d[] = {l.data(), r.data()};
  float* f[] = {fl.data(), fr.data()};

  plug->events.reserve(1000);  // the fake host's own record of what it heard

  const GrowAllocator* previous = SetGrowAllocator(&kCountingHeap);
  gNews = 0;
  gGrowths = 0;
  int round = 0;
  for (int frames : {1, 7, 64, 4096, 333, 4096, 2})
  {
    plug->transport.tempo = 100.0 + round;
    plug->transport.playing = round % 2 == 0;
    plug->SetParameterFromGUI(round % TarvexQuoxel::kNumParams, 0.1 * round);
    plug->ProcessDouble(d, 2, d, 2, frames);
    plug->ProcessFloat(f, 1, f, 1, frames);
    plug->ProcessDouble(d, 2, d, 2, frames, true);
    ++round;
  }
  SetGrowAllocator(previous);
  EXPECT_EQ(gNews.load(), 0);
  EXPECT_EQ(gGrowths.load(), 0);
}

// Running out of memory at any point of creation frees whatever was made (the leak check
// at exit sees the rest) and leaves the creation lock free for the next attempt.
TEST(Creation, EveryFailedAllocationIsCleanedUp)
{
  std::unique_ptr<TarvexQuoxel> plug;
  for (long allowed = 0; allowed < 1000 && !plug; ++allowed)
  {
    gNewsLeft = allowed;
    plug.reset(NewTarvexQuoxel(nullptr));
    gNewsLeft = -1;
  }
  ASSERT_NE(plug, nullptr);
  EXPECT_EQ(plug->NParams(), TarvexQuoxel::kNumParams);
}

}  // namespace
