// The EPS and PNG plots of the ORD page: curve 1, its mirror image and curve 2.
#pragma once

#include <string>

#include "plots/first_curve.h"
#include "plots/plot_script.h"
#include "store/Store.h"

inline constexpr char NoSpectrumSelectedText[] = "No Spectrum selected";

// 1.1 times the largest |y| of ORD slot `slot` strictly inside the window
// low..high (whole nm); point 1 is the starting candidate wherever it lies.
double OrdWindowMaximum(const Store& store, long slot, int low, int high);

// Whether the plot draws anything: curve 1, its mirror image or curve 2.
bool OrdDrawsSomething(const Store& store, const PlotControls& controls);

// The whole script and its data files for a script file named
// `scriptFileName` (without folder).
PlotScript BuildOrdScript(Picture picture, const Store& store, const PlotControls& controls,
                          const std::string& scriptFileName);
