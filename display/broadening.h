// Broadening of line spectra into band spectra.
//
// Plain functions over plain arrays: no store, no controls. The main window's
// broadening operations read the band width and the band shape from their
// controls and call these; the similarity search and the summation call them
// directly.
//
// Index conventions
// - Wavelength grid (ECD, UV): a span of WAVELENGTH_GRID_SIZE (39001) values,
//   element k holding bin MINLAMBDA + k (bin b stands for b / 10 nm): element
//   0 is bin 1000 (100 nm), element 39000 bin 40000 (4000 nm). This is how the
//   store hands out the values of one slot.
// - Wavenumber grid (IR, VCD): a span of WAVENUMBER_GRID_SIZE (4001) values,
//   index = wavenumber in cm^-1, 0 to MAXWAVENUMBER (4000).
// - IR/VCD line list: two spans of WAVENUMBER_GRID_SIZE rows, row 0 first
//   (column 1 and column 2 of the IR and VCD arrays). A row whose wavenumber
//   and strength are both 0 holds no line; every other row counts, also after
//   an empty row.
// Shorter spans are accepted: rows and bins past their end are neither read nor
// written. Longer spans are used only up to the end of the grid.
#pragma once

#include <cstddef>
#include <functional>
#include <span>

#include "store/constants.h"

constexpr std::size_t WAVELENGTH_GRID_SIZE = MAXLAMBDA - MINLAMBDA + 1;
constexpr std::size_t WAVENUMBER_GRID_SIZE = MAXWAVENUMBER + 1;

enum class UvEcdKind { Ecd, Uv };

// The band shape chosen in the settings window; None when neither radio is
// ticked, which leaves the band at 0.
enum class BandShape { None, Gaussian, Lorentzian };

enum class IrVcdKind { Vcd, Ir };

// Receives the position (0 to 100) of the main window's progress bar: 0
// first, then the position of each grid point (round(0.0025 x bin) on the
// wavelength grid, round(0.025 x wavenumber) on the wavenumber grid, halves to
// even) whenever it differs from the last one reported, and 0 last. Always
// called on the calling thread; when a large band is shared among threads the
// positions follow, in the same order, once the band is done. An empty
// function reports nothing.
using BroadeningProgress = std::function<void(int position)>;

// Energy in eV of a wavelength bin: 1239.482 / (bin / 10), bit for bit the
// value the band formulas use.
double wavelengthBinEnergy(int bin);

// ECD: lines = rotatory strengths R (10^-40 esu^2 cm^2) per bin, band = delta
// epsilon. UV: lines = oscillator strengths f per bin, band = epsilon.
// sigma is the band width in eV. The whole band is replaced; a sigma that is
// not a finite number above 0, or the shape None, leaves it at 0.
// uvNormalisation divides the UV band only (28700 / (sigma x uvNormalisation)
// Gaussian, 28700 / uvNormalisation Lorentzian): the display's WZPI, or 1 for
// the similarity search's trial bands, which leave it out.
void broadenUvEcd(UvEcdKind kind, std::span<const double> lines, double sigma, BandShape shape,
                  std::span<double> band, const BroadeningProgress& progress = {},
                  double uvNormalisation = WZPI);

// VCD: strengths = rotational strengths (10^-44 esu^2 cm^2); IR: dipole
// strengths (10^-40 esu^2 cm^2). Lorentzian of half width gamma in cm^-1 (any
// real number above 0). The whole band is replaced; a gamma that is not a
// finite number above 0 leaves it at 0.
void broadenIrVcd(IrVcdKind kind, std::span<const double> wavenumbers, std::span<const double> strengths,
                  double gamma, std::span<double> band, const BroadeningProgress& progress = {});
