#pragma once

#include <complex>

// Pole/zero layouts of a filter design, analog (s-plane) or digital (z-plane), and the
// bilinear transform that maps one to the other.

namespace Dsp {

using Complex = std::complex<double>;

class Layout
{
public:
  Layout(const Layout&) = delete;
  Layout& operator=(const Layout&) = delete;

  int PoleCount() const { return mPoleCount; }
  int ZeroCount() const { return mZeroCount; }
  int Capacity() const { return mCapacity; }
  const Complex& Pole(int i) const { return mPoles[i]; }
  const Complex& Zero(int i) const { return mZeros[i]; }
  double NormalFrequency() const { return mNormalFrequency; }
  double NormalGain() const { return mNormalGain; }

  // Refuses counts above the capacity (returns false, changes nothing).
  bool SetCounts(int poles, int zeros);
  void SetPole(int i, const Complex& p) { mPoles[i] = p; }
  void SetZero(int i, const Complex& z) { mZeros[i] = z; }
  void SetNormal(double frequency, double gain)
  {
    mNormalFrequency = frequency;
    mNormalGain = gain;
  }

  // Copies counts, roots and normal point from another layout of enough capacity.
  bool CopyFrom(const Layout& other);

protected:
  Layout(Complex* poles, Complex* zeros, int capacity) : mPoles(poles), mZeros(zeros), mCapacity(capacity) {}
  ~Layout() = default;

private:
  Complex* mPoles;
  Complex* mZeros;
  int mCapacity;
  int mPoleCount = 0;
  int mZeroCount = 0;
  double mNormalFrequency = 0.0;
  double mNormalGain = 1.0;
};

template <int MaxRoots>
class LayoutSpace : public Layout
{
public:
  LayoutSpace() : Layout(mPoleStorage, mZeroStorage, MaxRoots) {}

private:
  Complex mPoleStorage[MaxRoots] = {};
  Complex mZeroStorage[MaxRoots] = {};
};

// Bilinear transform of every root; the root at infinity maps to z = -1.
void MapPolesToDigital(const Layout& analog, double k, Layout& digital);

// Maps an analog prototype so that its edge falls on cutoff (same unit as rate).
// Refuses a rate that is not finite and positive and a cutoff outside (0, rate/2).
bool MapLayoutToDigital(const Layout& analog, double rate, double cutoff, Layout& digital);

}  // namespace Dsp
