// Constants of the spectrum grids and of the band formulas.
#pragma once

// Wavelength grid (ECD, UV): bin b stands for b / 10 nm.
constexpr int MINLAMBDA = 1000;   // first bin, 100.0 nm
constexpr int MAXLAMBDA = 40000;  // last bin, 4000.0 nm

// Wavenumber grid (IR, VCD): index = wavenumber in cm^-1, 0 to MAXWAVENUMBER.
constexpr int MAXWAVENUMBER = 4000;

// Divisor of the ECD band formula.
constexpr double CDCONST = 22.96;
// Normalisation of the UV and ECD band formulas (an approximation of sqrt(pi)).
constexpr double WZPI = 1.7725;

// E [eV] = ENERGY_WAVELENGTH_FACTOR / lambda [nm]. Deliberately 1239.482, not
// 1239.84: every conversion between energy and wavelength uses this value.
constexpr double ENERGY_WAVELENGTH_FACTOR = 1239.482;
