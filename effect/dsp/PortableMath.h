#pragma once

#include <complex>

// The few functions filter design needs beyond + − × ÷ and square roots, computed from those
// alone so that every module gives the same bits: the C runtime's sine, tangent, logarithm,
// hyperbolic functions and complex division differ in the last bits between the x86 and x64
// runtimes (and between runtime versions), and the difference would reach the audio.

namespace Dsp {

// Sine and cosine of angles up to a few thousand radians (filter design uses less than 2π),
// within a unit or two in the last place.
double Sin(double x);
double Cos(double x);
double Tan(double x);

// a / b by the textbook formula (the runtime's version scales differently per processor).
std::complex<double> Divide(const std::complex<double>& a, const std::complex<double>& b);
// |z| as the square root of re² + im².
double Magnitude(const std::complex<double>& z);

}  // namespace Dsp
