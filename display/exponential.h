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

#if defined(__x86_64__)
#include <immintrin.h>
#endif

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
constexpr double SIXTEEN_PER_LN2 = 23.083120654223414;
// ln 2 / 16 in two parts; the high part has 32 significant bits, so k times
// it is exact for every k the range above gives.
constexpr double LN2_SIXTEENTH_HIGH = 0.043321698787622154;
constexpr double LN2_SIXTEENTH_LOW = -2.625571920425678e-12;

// q(r) = (e^r - 1 - r) / r^2 for |r| <= ln 2 / 32, a fit on Chebyshev nodes
// within 6e-14 of it, which puts e^r within 3e-17 of its value.
constexpr double Q0 = 0.5;
constexpr double Q1 = 0.16666666665296223;
constexpr double Q2 = 0.04166666666495362;
constexpr double Q3 = 0.008333449934107185;
constexpr double Q4 = 0.0013889034639665864;

// 2^(j / 16), rounded to the nearest double.
alignas(64) inline constexpr double EXP2_TABLE[16] = {
    1.0, 1.0442737824274138, 1.0905077326652577, 1.1387886347566916,
    1.189207115002721, 1.241857812073484, 1.2968395546510096, 1.3542555469368927,
    1.4142135623730951, 1.4768261459394993, 1.5422108254079407, 1.6104903319492543,
    1.681792830507429, 1.7562521603732995, 1.8340080864093424, 1.9152065613971474,
};

// The table's entries at the low four bits of j, lane by lane: the same
// numbers whichever way they are read.
inline void exp2Table(long long j, double& entry) { entry = EXP2_TABLE[j & 15]; }
template <class T, class Bits>
[[gnu::always_inline]] inline void exp2Table(const Bits& j, T& entry) {
  for (int lane = 0; lane < static_cast<int>(sizeof(T) / sizeof(double)); ++lane) entry[lane] = EXP2_TABLE[j[lane] & 15];
}
#if defined(__x86_64__)
typedef long long Indexes8 __attribute__((vector_size(64)));
typedef double Values8 __attribute__((vector_size(64)));
// The sixteen entries live in two registers; the permutation reads only the
// low four bits of each index.
[[gnu::target("avx512f,avx512dq")]] inline void exp2Table(const Indexes8& j, Values8& entry) {
  entry = (Values8)_mm512_permutex2var_pd(_mm512_load_pd(EXP2_TABLE), (__m512i)j, _mm512_load_pd(EXP2_TABLE + 8));
}
#endif

}  // namespace exponential_detail

// x = (16 m + j) ln 2 / 16 + r with |r| <= ln 2 / 32; e^x = 2^m 2^(j/16) e^r,
// 2^(j/16) from the table, e^r - 1 = r + r^2 q(r) with q a polynomial of
// degree 4, so that the rounding of the polynomial lands in the small part.
// 2^m goes into the exponent of the table entry, exactly. T is double or a
// vector of doubles.
template <class T>
[[gnu::always_inline]] inline void ExponentialInPlace(T& x) {
#ifdef __clang__
#pragma clang fp contract(off)
#endif
  using namespace exponential_detail;
  using Bits = typename BitsOf<T>::type;
  const T shifted = x * SIXTEEN_PER_LN2 + SHIFTER;
  const T k = shifted - SHIFTER;
  const T r = (x - k * LN2_SIXTEENTH_HIGH) - k * LN2_SIXTEENTH_LOW;
  // q in pairs of terms, so that the pairs are computed side by side.
  const T r2 = r * r;
  const T r4 = r2 * r2;
  const T q01 = r * Q1 + Q0;
  const T q23 = r * Q3 + Q2;
  const T q = (q01 + r2 * q23) + r4 * Q4;
  const T fraction = r + r2 * q;
  // The low bits of the shifted value hold 16 m + j (SHIFTER's are 0); m
  // shifted into the exponent field is what adds m to an exponent.
  const Bits whole = __builtin_bit_cast(Bits, shifted);
  T entry;
  exp2Table(whole, entry);
  const Bits power = (whole << 48) & static_cast<long long>(0xfff0000000000000ull);
  const T scaled = __builtin_bit_cast(T, Bits(__builtin_bit_cast(Bits, entry) + power));
  x = scaled + scaled * fraction;
}
