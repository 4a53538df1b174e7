// The trial bands of the searches: the display's bands on the comparison grids.
#include <algorithm>

#include "similarity/kernels.h"

void trialUvBand(std::span<const double> osc, double sigma, BandShape shape, std::span<double> band) {
  broadenUvEcd(UvEcdKind::Uv, osc.first(std::min(osc.size(), UVECD_TRIAL_SIZE)), sigma, shape,
               band.first(std::min(band.size(), UVECD_TRIAL_SIZE)), {}, /*uvNormalisation*/ 1.0);
}

void trialCdBand(std::span<const double> rots, double sigma, BandShape shape, std::span<double> band) {
  broadenUvEcd(UvEcdKind::Ecd, rots.first(std::min(rots.size(), UVECD_TRIAL_SIZE)), sigma, shape,
               band.first(std::min(band.size(), UVECD_TRIAL_SIZE)));
}

void trialIrBand(std::span<const double> wavenumbers, std::span<const double> strengths, double gamma,
                 std::span<double> band) {
  broadenIrVcd(IrVcdKind::Ir, wavenumbers, strengths, gamma, band);
}

void trialVcdBand(std::span<const double> wavenumbers, std::span<const double> strengths, double gamma,
                  std::span<double> band) {
  broadenIrVcd(IrVcdKind::Vcd, wavenumbers, strengths, gamma, band);
}
