// The EPS and PNG plots of the UV/ECD page: which curves are drawn and in
// which order, the y range and factors of a plot, the further plot lines and
// the data files.
#pragma once

#include <string>

#include "plots/plot_script.h"
#include "store/Store.h"

enum class UvEcdPlot { EcdEps, EcdPng, UvEps, UvPng };

// The slot arrays of the ECD or the UV kind.
struct UvEcdSlots {
  const SlotTexts& ACTIVE;
  const SlotTexts& TITLE;
  const SlotReals& MAX;
  const SlotReals& FACTOR;
  const SlotCounts& DATAPTS;
  const Grid2<MINLAMBDA, MAXLAMBDA, 5>& band;    // EPS or ABSG
  const Grid2<MINLAMBDA, MAXLAMBDA, 5>& sticks;  // ROTS or OSC
  const Grid2<1, 10000, 5>& EXPX;
  const Grid2<1, 10000, 5>& EXPY;
};
UvEcdSlots SlotsOf(UvEcdPlot plot, const Store& store);

// A slot holds a curve ("calc" or "exp"; "false" and the empty state before
// the first reset hold none).
bool SlotInUse(const std::string& state);

// Two slots in use whose titles are equal, shortened by ShrinkFileName or as
// they stand.
bool HasIdenticalNames(const SlotTexts& active, const SlotTexts& titles, bool shortened);

// Two slots in use whose names are equal: the EPS plots compare the short
// names, the PNG plots the titles themselves.
bool HasIdenticalCurveNames(UvEcdPlot plot, const Store& store);

// Whether the plot draws curve 1 (as computed or as its mirror image).
bool DrawsCurveOne(UvEcdPlot plot, const PlotControls& controls);

// The y factors of the plot: with exactly two slots in use, "multiplot"
// unticked and "auto scaling" ticked, curve 1 is scaled to the height of the
// other curve, k: FACTOR[1] = MAX[k] / MAX[1], FACTOR[k] = 1. A curve 1 of
// height 0 leaves the factors as they are.
SlotReals TwoCurveFactors(const SlotTexts& active, const SlotReals& maxima,
                          const SlotReals& factors, const PlotControls& controls);

// How many of the five slots are in use.
int SlotsInUse(const SlotTexts& active);
// The first slot after slot 1 that holds a curve; 5 when none does.
long SecondSlotInUse(const SlotTexts& active);
// FACTOR[1] = MAX[other] / MAX[1] and FACTOR[other] = 1; nothing when curve 1
// has height 0.
void ScaleCurveOneTo(long other, const SlotReals& maxima, SlotReals& factors);

// The whole script and its data files for a script file named
// `scriptFileName` (without folder). Raises EConvertError for an edit the
// plot converts and cannot.
PlotScript BuildUvEcdScript(UvEcdPlot plot, const Store& store, const PlotControls& controls,
                            const std::string& scriptFileName);
