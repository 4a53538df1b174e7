// The named kernels: each a walk, the prepared points and one kernel pass.
#include "similarity/kernels.h"

#include <algorithm>

#include "similarity/kernel_core.h"
#include "similarity/kernel_support.h"

double roundHalfEven(double value) { return similarity_core::nearestHalfEven(value); }

int MeasuredPoints::size() const {
  const std::size_t held = std::min(x.size(), y.size());
  return std::max(0, std::min(count, static_cast<int>(std::min<std::size_t>(held, 1u << 30))));
}

// ---- The named kernels ---------------------------------------------------------------

namespace {

using namespace similarity_core;

Grid uvEcdGrid(std::span<const double> grid) { return {grid, TRIAL_FIRST_BIN}; }
Grid irVcdGrid(std::span<const double> grid) { return {grid, 0}; }

OverlapValues uvShiftKernels(std::span<const double> grid, const MeasuredPoints& points, double SCALE, int SHIFT,
                             int X1, int X2) {
  return overlapKernels(uvEcdGrid(grid), prepare(points, IndexForm::Shift), walkA(points, X1, X2), SCALE, SHIFT);
}

OverlapValues uvScaleKernels(std::span<const double> grid, const MeasuredPoints& points, double SCALE,
                             double XSCALE, int X1, int X2) {
  return overlapKernels(uvEcdGrid(grid), prepare(points, IndexForm::Scale), walkAPrime(points, X1, X2), SCALE,
                        XSCALE);
}

OverlapValues irKernels(std::span<const double> grid, const MeasuredPoints& points, double SCALE, double XSCALEF,
                        int X1, int X2) {
  return overlapKernels(irVcdGrid(grid), prepare(points, IndexForm::IrScale), walkA(points, X1, X2), SCALE,
                        XSCALEF);
}

SignSplitValues cdShiftKernels(std::span<const double> grid, const MeasuredPoints& points, double SCALE, int SHIFT,
                               int X1, int X2) {
  return signSplitKernels(uvEcdGrid(grid), prepare(points, IndexForm::Shift), walkB(points, X1, X2), SCALE, SHIFT);
}

SignSplitValues cdScaleKernels(std::span<const double> grid, const MeasuredPoints& points, double SCALE,
                               double XSCALE, int X1, int X2) {
  return signSplitKernels(uvEcdGrid(grid), prepare(points, IndexForm::Scale), walkBPrime(points, X1, X2), SCALE,
                          XSCALE);
}

SignSplitValues vcdKernels(std::span<const double> grid, const MeasuredPoints& points, double SCALE,
                           double XSCALEF, int X1, int X2) {
  return signSplitKernels(irVcdGrid(grid), prepare(points, IndexForm::IrScale), walkBDoublePrime(points, X1, X2),
                          SCALE, XSCALEF);
}

}  // namespace

namespace similarity {
std::optional<double> CrossSec(std::span<const double> CMPUV, const MeasuredPoints& points, double SCALE, int SHIFT,
                               int X1, int X2) {
  return uvShiftKernels(CMPUV, points, SCALE, SHIFT, X1, X2).crossSection;
}
}  // namespace similarity

namespace similarityvcd {
std::optional<double> CrossSec(std::span<const double> CMPIR, const MeasuredPoints& points, double SCALE,
                               double XSCALEF, int X1, int X2) {
  return irKernels(CMPIR, points, SCALE, XSCALEF, X1, X2).crossSection;
}
}  // namespace similarityvcd

std::optional<double> SimUV(std::span<const double> CMPUV, const MeasuredPoints& points, double SCALE, int SHIFT,
                            int X1, int X2) {
  return uvShiftKernels(CMPUV, points, SCALE, SHIFT, X1, X2).overlap;
}

std::optional<double> SimUV_WN(std::span<const double> CMPUV, const MeasuredPoints& points, double SCALE,
                               double XSCALE, int X1, int X2) {
  return uvScaleKernels(CMPUV, points, SCALE, XSCALE, X1, X2).overlap;
}

std::optional<double> CrossSec_WN(std::span<const double> CMPUV, const MeasuredPoints& points, double SCALE,
                                  double XSCALE, int X1, int X2) {
  return uvScaleKernels(CMPUV, points, SCALE, XSCALE, X1, X2).crossSection;
}

std::optional<double> SimCD(std::span<const double> CMPCD, const MeasuredPoints& points, double SCALE, int SHIFT,
                            int X1, int X2) {
  return cdShiftKernels(CMPCD, points, SCALE, SHIFT, X1, X2).plain;
}

std::optional<double> SimCD_WN(std::span<const double> CMPCD, const MeasuredPoints& points, double SCALE,
                               double XSCALE, int X1, int X2) {
  return cdScaleKernels(CMPCD, points, SCALE, XSCALE, X1, X2).plain;
}

std::optional<double> SimCDEnant(std::span<const double> CMPCD, const MeasuredPoints& points, double SCALE,
                                 int SHIFT, int X1, int X2) {
  return cdShiftKernels(CMPCD, points, SCALE, SHIFT, X1, X2).mirror;
}

std::optional<double> SimCDEnant_WN(std::span<const double> CMPCD, const MeasuredPoints& points, double SCALE,
                                    double XSCALE, int X1, int X2) {
  return cdScaleKernels(CMPCD, points, SCALE, XSCALE, X1, X2).mirror;
}

std::optional<double> SimIR(std::span<const double> CMPIR, const MeasuredPoints& points, double SCALE,
                            double XSCALEF, int X1, int X2) {
  return irKernels(CMPIR, points, SCALE, XSCALEF, X1, X2).overlap;
}

std::optional<double> SimVCD(std::span<const double> CMPVCD, const MeasuredPoints& points, double SCALE,
                             double XSCALEF, int X1, int X2) {
  return vcdKernels(CMPVCD, points, SCALE, XSCALEF, X1, X2).plain;
}

std::optional<double> SimVCDEnant(std::span<const double> CMPVCD, const MeasuredPoints& points, double SCALE,
                                  double XSCALEF, int X1, int X2) {
  return vcdKernels(CMPVCD, points, SCALE, XSCALEF, X1, X2).mirror;
}
