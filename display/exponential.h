// The exponential of the Gaussian bands.
//
// The C library's exp and its vector versions may differ in the last bit,
// which would make a band, and every similarity score read from it, depend on
// the processor. This one takes the same operations in the same order for a
// single value and for every lane of a vector, so a band is the same to the
// last bit whichever loop computes it. It is within 2 ulp of std::exp for
// -700 <= x <= 700; the bands take it for -50 < x <= 0.
//
// ExponentialInPlace is for files built with -ffp-contract=off: a multiply-add
// fused in one width and not in another would give other bits.
#pragma once

#include <span>

// e^x for one value.
double Exponential(double x);

// out[k] = Exponential(x[k]) by the widest loop the processor runs (see
// vector_units.h), for k below the shorter span's size.
void Exponentials(std::span<const double> x, std::span<double> out);

namespace exponential_detail {

template <class T>
struct BitsOf {
  typedef long long type __attribute__((vector_size(sizeof(T))));
};
template <>
struct BitsOf<double> {
  using type = long long;
};

// 2^52 + 2^51: adding it rounds a value of magnitude below 2^51 to an
// integer, halves to even, and leaves that integer in the low bits.
constexpr double SHIFTER = 6755399441055744.0;
constexpr double LOG2_E = 1.4426950408889634;
// ln 2 in two parts; the high part ends in 21 zero bits, so k LN2_HIGH is
// exact for every k the range above gives.
constexpr double LN2_HIGH = 6.93147180369123816490e-01;
constexpr double LN2_LOW = 1.90821492927058770002e-10;

}  // namespace exponential_detail

// x = k ln 2 + r with |r| <= ln 2 / 2; e^r = 1 + (r + r^2 q(r)), q the Taylor
// series to r^11 (the first term left out is below 0.05 ulp), so that only
// the small part r^2 q(r) carries the rounding of the polynomial; then 2^k is
// put into the exponent, exactly. T is double or a vector of doubles.
template <class T>
[[gnu::always_inline]] inline void ExponentialInPlace(T& x) {
#ifdef __clang__
#pragma clang fp contract(off)
#endif
  using namespace exponential_detail;
  using Bits = typename BitsOf<T>::type;
  const T shifted = x * LOG2_E + SHIFTER;
  const T k = shifted - SHIFTER;
  const T r = (x - k * LN2_HIGH) - k * LN2_LOW;
  T q = r * (1.0 / 6227020800.0) + (1.0 / 479001600.0);
  q = q * r + (1.0 / 39916800.0);
  q = q * r + (1.0 / 3628800.0);
  q = q * r + (1.0 / 362880.0);
  q = q * r + (1.0 / 40320.0);
  q = q * r + (1.0 / 5040.0);
  q = q * r + (1.0 / 720.0);
  q = q * r + (1.0 / 120.0);
  q = q * r + (1.0 / 24.0);
  q = q * r + (1.0 / 6.0);
  q = q * r + 0.5;
  const T mantissa = 1.0 + (r + (r * r) * q);
  const Bits power = (__builtin_bit_cast(Bits, shifted) - __builtin_bit_cast(long long, SHIFTER) + 1023) << 52;
  x = mantissa * __builtin_bit_cast(T, power);
}
