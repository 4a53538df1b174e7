// Caps the program's wide loops for one scope, so that a test can compare the
// baseline loops with the wide ones on the same processor.
#pragma once

#include <vector>

#include "platform/vector_units.h"

// Limits nest: each one puts back the cap that held before it.
class VectorWidthLimit {
 public:
  explicit VectorWidthLimit(VectorWidth widest) : before_(KernelVectorWidthLimit()) {
    LimitKernelVectorWidth(widest);
  }
  ~VectorWidthLimit() { LimitKernelVectorWidth(before_); }
  VectorWidthLimit(const VectorWidthLimit&) = delete;
  VectorWidthLimit& operator=(const VectorWidthLimit&) = delete;

 private:
  VectorWidth before_;
};

// The widths above the baseline that this processor runs, narrowest first.
inline std::vector<VectorWidth> WideVectorWidths() {
  std::vector<VectorWidth> widths;
  if (KernelVectorWidth() != VectorWidth::Baseline) widths.push_back(VectorWidth::Avx2);
  if (KernelVectorWidth() == VectorWidth::Avx512) widths.push_back(VectorWidth::Avx512);
  return widths;
}
