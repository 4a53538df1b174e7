// What the walks, the kernels, the signal tests and the maxima share: the
// rounding of grid indexes, the wavenumber of a point, and reads from a grid.
#pragma once

#include <cmath>
#include <cstddef>
#include <type_traits>

#include "similarity/kernel_core.h"

namespace similarity_core {

constexpr double TWO_TO_52 = 4503599627370496.0;
constexpr double WAVENUMBER_PER_NM = 10000000.0;

// Adding and taking away 2^52 leaves the integer nearest to a magnitude below
// 2^52, halves to even; from 2^52 on every double is an integer already.
inline double nearestHalfEven(double value) {
  const double magnitude = std::fabs(value);
  if (!(magnitude < TWO_TO_52)) return value;
  return std::copysign((magnitude + TWO_TO_52) - TWO_TO_52, value);
}

inline double wavenumberOf(double x) { return WAVENUMBER_PER_NM / x; }

// The first point (from 0) for which `reached` holds, n when none does.
template <class Reached>
int firstPoint(int n, const Reached& reached) {
  int i = 0;
  while (i < n && !reached(i)) ++i;
  return i;
}

// The grid index of point i as a double: not finite or far off the grid when
// the arithmetic says so, never an integer overflow. The form is a template
// argument so that the loops carry no switch.
template <IndexForm form>
inline double gridIndex(const double* key, int i, double position) {
  if constexpr (form == IndexForm::Shift) return key[i] - 10.0 * position;
  if constexpr (form == IndexForm::Scale) return nearestHalfEven((key[i] * position) * 10.0);
  return nearestHalfEven(key[i] / position);
}

// Calls body with the form of the points as a compile-time constant.
template <class Body>
auto withForm(IndexForm form, const Body& body) {
  switch (form) {
    case IndexForm::Shift:
      return body(std::integral_constant<IndexForm, IndexForm::Shift>{});
    case IndexForm::Scale:
      return body(std::integral_constant<IndexForm, IndexForm::Scale>{});
    case IndexForm::IrScale:
      break;
  }
  return body(std::integral_constant<IndexForm, IndexForm::IrScale>{});
}

inline double gridValue(Grid grid, double index) {
  const double offset = index - grid.firstIndex;
  if (offset >= 0.0 && offset < static_cast<double>(grid.values.size()))
    return grid.values[static_cast<std::size_t>(offset)];
  return 0.0;
}

}  // namespace similarity_core
