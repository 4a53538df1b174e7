// The EPS plots of the IR/VCD page: one panel per curve stacked in a
// multiplot, or every curve in one panel ("overlay plot"), with the mirror
// image of VCD curve 1 when "enantiomeric VCD" is ticked.
#pragma once

#include <string>

#include "plots/plot_script.h"
#include "store/Store.h"

enum class IrVcdPlot { Vcd, Ir };

// Whether the plot draws anything: curve 1 (or its mirror image) or a
// further curve.
bool IrVcdDrawsSomething(IrVcdPlot plot, const Store& store, const PlotControls& controls);

// Two slots in use whose short names are equal.
bool HasIdenticalIrVcdNames(IrVcdPlot plot, const Store& store);

// The y range of a panel of half-height `half`: -H:H (VCD) or 0:H (IR) in
// the exponent form with two digits; bounds of equal value become b-1:b+1.
std::string IrVcdRangeText(IrVcdPlot plot, double half);

// The whole script and its data files for a script file named
// `scriptFileName` (without folder).
PlotScript BuildIrVcdScript(IrVcdPlot plot, const Store& store, const PlotControls& controls,
                            const std::string& scriptFileName);
