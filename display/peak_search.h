// The searches behind the mouse selection on the UV/ECD and IR/VCD plots:
// the highest or lowest point of curve 1 inside a selected band, and the
// point of the companion absorption curve that a measured g factor divides
// by. Plain functions over plain arrays; they never read outside the data
// they are given, and report nothing where the answer would need a value
// outside it.
#pragma once

#include <optional>
#include <span>

enum class Extreme { Peak, Valley };

// A computed band over the indices first..first + band.size() - 1 (bins of
// the wavelength grid, rows of the IR/VCD grid), element 0 being index
// `first`. Searches the indices from..to (either order; ends outside the
// grid are pulled onto it) for the highest (peak) or lowest (valley) value;
// among equal extremes the lowest index wins. The result stands only when
// both its neighbours exist and are not above (peak) or not below (valley)
// it; otherwise none.
std::optional<long long> searchComputedBand(std::span<const double> band, long long first,
                                            long long from, long long to, Extreme kind);

// A measured curve of `count` points, stored with x falling; element 0 of the
// spans is point 1. The walk starts at the last point (the short-wavelength
// or low-wavenumber end), passes the points with x below `low`, then takes
// every point with x up to `high`; among equal extremes the one met first
// wins. The point where the walk stops when no point lies inside the band is
// the answer itself. None when the curve does not fall from point 1 to point
// `count`, when no point lies at or beyond `low`, and when the result fails
// the neighbour test of searchComputedBand. Returns the point number (1 based).
std::optional<int> searchMeasuredCurve(std::span<const double> x, std::span<const double> y, int count,
                                       double low, double high, Extreme kind);

// The point of a measured absorption curve (count points, x falling) that the
// g factor of a measured CD extreme at x = `at` divides by: coming from the
// short end, the first point whose x is at least `at`. None when the curve
// does not fall, or when that point is the first or the last stored one (or
// there is none).
std::optional<int> companionPoint(std::span<const double> x, int count, double at);

// The g factor: the CD value over the absorption value, 0 where the
// absorption is 0.
double gFactor(double cd, double absorption);
