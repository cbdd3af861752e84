// The conventions AAX interfaces rely on, checked between the two compilers: MinGW-w64 g++
// with no convention written on an operation calls and is called as the host's compiler
// does (thiscall on x86), the three reference-counting operations are stdcall on x86, and a
// one-slot destructor keeps the following slots where the host expects them.
#include "tests/aax/msabi/MsAbiConventions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#if defined(__i386__)
#define TQ_PROBE_STDCALL __stdcall
#else
#define TQ_PROBE_STDCALL
#endif

// The interfaces have external linkage, so neither compiler may assume that it sees every
// implementation of them.
namespace probe {

class ProbeCounter
{
public:
  virtual int TQ_PROBE_STDCALL QueryInterface(const void* iid, void** out) = 0;
  virtual unsigned TQ_PROBE_STDCALL AddRef() = 0;
  virtual unsigned TQ_PROBE_STDCALL Release() = 0;
  virtual int Add(int a, int b) = 0;
  virtual double Scale(double value) const = 0;

protected:
  ~ProbeCounter() = default;
};

class ProbeText
{
public:
  virtual void Destroy(unsigned flags) = 0;
  virtual unsigned Length() const = 0;
  virtual void Assign(const char* text) = 0;

protected:
  ~ProbeText() = default;
};

}  // namespace probe

namespace {
using probe::ProbeCounter;
using probe::ProbeText;

class Counter final : public ProbeCounter
{
public:
  int TQ_PROBE_STDCALL QueryInterface(const void*, void** out) override
  {
    *out = this;
    AddRef();
    return 0;
  }
  unsigned TQ_PROBE_STDCALL AddRef() override { return unsigned(++mCount); }
  unsigned TQ_PROBE_STDCALL Release() override { return unsigned(--mCount); }
  int Add(int a, int b) override { return a + b + mCount; }
  double Scale(double value) const override { return value * 1.5; }

private:
  int mCount = 0;
};

class Text final : public ProbeText
{
public:
  void Destroy(unsigned flags) override { mDestroyedWith = int(flags); }
  unsigned Length() const override { return unsigned(std::strlen(mText)) + unsigned(mDestroyedWith) * 100u; }
  void Assign(const char* text) override { mText = text; }

private:
  const char* mText = "";
  int mDestroyedWith = 0;
};

// What a caller sees of either side's counter and text, in the probe's order.
const std::vector<double> kExpected = {0.0, 1.0, 2.0, 25.0, 3.0, 1.0, 7.0, 107.0};

TEST(AaxMsAbiConventions, HostCompilerCallsObjectsDeclaredWithoutConventions)
{
  Counter counter;
  Text text;
  std::vector<double> seen(8);
  ASSERT_EQ(tq_msabi_probe_call(static_cast<ProbeCounter*>(&counter), static_cast<ProbeText*>(&text), seen.data(),
                                int(seen.size())),
            8);
  EXPECT_EQ(seen, kExpected);
}

TEST(AaxMsAbiConventions, ObjectsOfTheHostCompilerAnswerCallsDeclaredWithoutConventions)
{
  auto* counter = static_cast<ProbeCounter*>(tq_msabi_probe_counter());
  auto* text = static_cast<ProbeText*>(tq_msabi_probe_text());
  void* self = nullptr;
  std::vector<double> seen;
  seen.push_back(counter->QueryInterface(nullptr, &self));
  seen.push_back(self == counter ? 1.0 : 0.0);
  seen.push_back(counter->AddRef());
  seen.push_back(counter->Add(20, 3));
  seen.push_back(counter->Scale(2.0));
  seen.push_back(counter->Release() + counter->Release());
  text->Assign("seven!!");
  seen.push_back(text->Length());
  text->Destroy(1);
  seen.push_back(text->Length());
  EXPECT_EQ(seen, kExpected);
}
}  // namespace
