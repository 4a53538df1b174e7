// The first-curve writers of the UV, CD and ORD plots: the whole script head
// for the picture kind and the plot entry of curve 1. The exporters add the
// entries of the further curves.
#pragma once

#include <string>
#include <vector>

#include "plots/plot_axis.h"
#include "plots/plot_column.h"
#include "plots/plot_script.h"
#include "store/Store.h"

enum class PlotKind { CD, UV, ORD };

// "CD", "UV" or "ORD"; any other text raises EConvertError.
PlotKind PlotKindOf(const std::string& PLOT);

// The values an exporter has worked out for the head and curve 1.
struct FirstCurve {
  PlotKind PLOT = PlotKind::CD;
  std::string COMMENT;
  std::string XRANGE;    // "low:high"
  std::string YRANGE;    // "lower:upper"
  std::string YTICS;     // "" writes the y-tics line without a step
  std::string PLOTNAME;  // legend text of curve 1
  std::string dataName;  // base name of its data file
  std::string PSNAME;    // base name of the picture
  std::string COLOR;     // line style of curve 1
  std::string SCALING;   // y factor of curve 1
  bool MULTIPLOT = false;  // further plot entries follow
  bool SIGMA = false;      // a band-width label is due
  // The y axis the range and step hold, as numbers: its lower and upper
  // bound and its step (0: none).
  AxisModel yAxis;
  // The key's titles as the plot lines draw them, from the top; empty: curve
  // 1's title alone.
  std::vector<ColumnText> keyTitles;
};

// The y axis of a range text "lower:upper" and a step text, as the
// first-curve writers are given them; bounds that are no numbers give an
// axis of 0..0.
AxisModel AxisOfTexts(const std::string& range, const std::string& step);

// The right margin of a square PNG head, in characters, beside no second
// y axis: the key of a PNG stands in it.
constexpr int PngSquareRightMargin = 22;

// The head, from the comment line to the last line before "plot".
std::vector<std::string> FirstCurveHead(Picture picture, const FirstCurve& curve,
                                        const PlotControls& controls, const Store& store);

// The key title of curve 1 as its plot entry writes it, and its size.
ColumnText FirstCurveTitle(Picture picture, const FirstCurve& curve, const PlotControls& controls,
                           const Store& store);

// The plot entry of curve 1; empty when no line is written for it (a second
// UV axis with UV slot 1 neither computed nor measured).
PlotEntry FirstCurveEntry(Picture picture, const FirstCurve& curve, const PlotControls& controls,
                          const Store& store);

// The shift of the ORD curves: the curve-1 correction in the wavelength unit,
// "0" in the wavenumber unit, where that edit holds an x scale factor.
std::string OrdShiftText(const PlotControls& controls);

// The upper bound of a range typed with brackets, "[-4:8]" giving 8: the text
// between the first ':' and the next ']', converted strictly.
double UserRangeUpperBound(const std::string& range);
