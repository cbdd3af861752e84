#pragma once

#include <complex>

// Pole/zero layouts of a filter design, analog (s-plane) or digital (z-plane), and the
// design steps that fill them: the Chebyshev type II analog prototype and the bilinear
// transform.

namespace Dsp
{

using Complex = std::complex<double>;

class Layout
{
public:
  Layout(const Layout&) = delete;
  Layout& operator=(const Layout&) = delete;

  int PoleCount() const { return poleCount_; }
  int ZeroCount() const { return zeroCount_; }
  int Capacity() const { return capacity_; }
  const Complex& Pole(int i) const { return poles_[i]; }
  const Complex& Zero(int i) const { return zeros_[i]; }
  double NormalFrequency() const { return normalFrequency_; }
  double NormalGain() const { return normalGain_; }

  // Refuses counts above the capacity (returns false, changes nothing).
  bool SetCounts(int poles, int zeros);
  void SetPole(int i, const Complex& p) { poles_[i] = p; }
  void SetZero(int i, const Complex& z) { zeros_[i] = z; }
  void SetNormal(double frequency, double gain)
  {
    normalFrequency_ = frequency;
    normalGain_ = gain;
  }

  // Copies counts, roots and normal point from another layout of enough capacity.
  bool CopyFrom(const Layout& other);

protected:
  Layout(Complex* poles, Complex* zeros, int capacity)
      : poles_(poles), zeros_(zeros), capacity_(capacity)
  {
  }
  ~Layout() = default;

private:
  Complex* poles_;
  Complex* zeros_;
  int capacity_;
  int poleCount_ = 0;
  int zeroCount_ = 0;
  double normalFrequency_ = 0.0;
  double normalGain_ = 1.0;
};

template <int MaxRoots>
class LayoutSpace : public Layout
{
public:
  LayoutSpace() : Layout(poleStorage_, zeroStorage_, MaxRoots) {}

private:
  Complex poleStorage_[MaxRoots] = {};
  Complex zeroStorage_[MaxRoots] = {};
};

// The Chebyshev type II design; also the design tag of PoleFilterSpace.
struct ChebyII
{
  // Order-n prototype with the given stop-band attenuation, stop-band edge at 1 rad/s.
  // Refuses (false, nothing changed) a non-positive or odd order, an order above the
  // layout's capacity, or an attenuation that is not finite and positive.
  static bool DesignAnalogPrototype(int order, double stopBandDb, Layout& analog);
};

// Bilinear transform of every root; the root at infinity maps to z = -1.
void MapPolesToDigital(const Layout& analog, double k, Layout& digital);

// Maps an analog prototype so that its edge falls on cutoff (same unit as rate).
// Refuses a rate that is not finite and positive and a cutoff outside (0, rate/2).
bool MapLayoutToDigital(const Layout& analog, double rate, double cutoff, Layout& digital);

}  // namespace Dsp
