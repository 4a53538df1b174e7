// The EPS plots of the HPLC page: the traces of one detector kind as curves
// over time (two-dimensional), or the UV traces side by side as filled bands
// (three-dimensional).
#pragma once

#include <string>
#include <vector>

#include "plots/plot_axis.h"
#include "plots/plot_script.h"
#include "store/Store.h"

enum class HplcDetector { UV, CD };

// The slots that carry the detector's flag, in slot order: a trace's rank in
// its plot is its place in this list, counted from 1.
std::vector<long> FlaggedSlots(const Store& store, HplcDetector detector);

// The signal range lowest..highest widened by a tenth outward, as whole
// numbers; a bound that rounding would move into the trace keeps two
// decimals, and bounds of equal value become b-1:b+1.
std::string HplcSignalRange(double lowest, double highest);
// The z range of the three-dimensional plot: from -1 to the widened highest
// signal.
std::string HplcHeightRange(double highest);

// The head of the two-dimensional plot, up to its plot lines. `yAxis` is the
// signal range the labels are printed over; `keyTitles` the key's titles, which size the right margin and, where
// they outgrow it, widen the picture.
std::vector<std::string> Hplc2DHead(const std::string& PLOT, const std::string& COMMENT,
                                    const std::string& XRANGE, const std::string& YRANGE,
                                    const std::string& PSNAME, const PlotControls& controls,
                                    const AxisModel& yAxis, const std::vector<std::string>& keyTitles);
std::vector<std::string> Hplc3DHead(const std::string& PLOT, const std::string& COMMENT,
                                    const std::string& YRANGE, const std::string& ZRANGE,
                                    const std::string& PSNAME, int count,
                                    const PlotControls& controls);

// The scripts and their data files for a script file named `scriptFileName`
// (without folder); empty when no slot carries the detector's flag.
PlotScript BuildHplc2DScript(HplcDetector detector, const Store& store,
                             const PlotControls& controls, const std::string& scriptFileName);
PlotScript BuildHplc3DScript(const Store& store, const PlotControls& controls,
                             const std::string& scriptFileName);

// The one message of the three-dimensional plot about the traces it does not
// draw (CD traces, and every trace when slot 1 holds no UV trace), naming
// each with its detector and slot; "" when it draws them all.
inline constexpr char Hplc3DLeftOutPrefix[] =
    "The 3D plot draws UV traces only, and only beside a UV trace in slot 1; not drawn: ";
std::string Hplc3DLeftOutText(const Store& store);
