// This side of the conventions probe, as a host's compiler declares and calls the interfaces.
#include "tests/aax/msabi/MsAbiConventions.h"

// The interfaces have external linkage, so neither compiler may assume that it sees every
// implementation of them.
namespace probe {

class ProbeCounter
{
public:
  virtual int __stdcall QueryInterface(const void* iid, void** out) = 0;
  virtual unsigned __stdcall AddRef() = 0;
  virtual unsigned __stdcall Release() = 0;
  virtual int Add(int a, int b) = 0;
  virtual double Scale(double value) const = 0;
};

class ProbeText
{
public:
  virtual void Destroy(unsigned flags) = 0;
  virtual unsigned Length() const = 0;
  virtual void Assign(const char* text) = 0;
};

}  // namespace probe

namespace {
using probe::ProbeCounter;
using probe::ProbeText;

class Counter final : public ProbeCounter
{
public:
  int __stdcall QueryInterface(const void*, void** out) override
  {
    *out = this;
    AddRef();
    return 0;
  }
  unsigned __stdcall AddRef() override { return unsigned(++mCount); }
  unsigned __stdcall Release() override { return unsigned(--mCount); }
  int Add(int a, int b) override { return a + b + mCount; }
  double Scale(double value) const override { return value * 1.5; }

private:
  int mCount = 0;
};

class Text final : public ProbeText
{
public:
  void Destroy(unsigned flags) override { mDestroyedWith = int(flags); }
  unsigned Length() const override { return mLength + unsigned(mDestroyedWith) * 100u; }
  void Assign(const char* text) override
  {
    mLength = 0;
    while (text && text[mLength])
      ++mLength;
  }

private:
  unsigned mLength = 0;
  int mDestroyedWith = 0;
};

Counter sCounter;
Text sText;
}  // namespace

extern "C" int tq_msabi_probe_call(void* counter, void* text, double* seen, int capacity)
{
  auto* c = static_cast<ProbeCounter*>(counter);
  auto* t = static_cast<ProbeText*>(text);
  double values[8];
  void* self = nullptr;
  values[0] = c->QueryInterface(nullptr, &self);
  values[1] = self == counter ? 1.0 : 0.0;
  values[2] = c->AddRef();
  values[3] = c->Add(20, 3);
  values[4] = c->Scale(2.0);
  values[5] = c->Release() + c->Release();
  t->Assign("seven!!");
  values[6] = t->Length();
  t->Destroy(1);
  values[7] = t->Length();
  int count = 0;
  for (; count < capacity && count < 8; ++count)
    seen[count] = values[count];
  return count;
}

extern "C" void* tq_msabi_probe_counter()
{
  return static_cast<ProbeCounter*>(&sCounter);
}

extern "C" void* tq_msabi_probe_text()
{
  return static_cast<ProbeText*>(&sText);
}
