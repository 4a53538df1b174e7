#include "plots/uvecd_export.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>

#include "app/Main.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "plots/cdplotting.h"
#include "plots/first_curve.h"
#include "plots/gnuplot_settings_form.h"
#include "plots/plot_text.h"

namespace {

bool isEcd(UvEcdPlot plot) { return plot == UvEcdPlot::EcdEps || plot == UvEcdPlot::EcdPng; }
bool isPng(UvEcdPlot plot) { return plot == UvEcdPlot::EcdPng || plot == UvEcdPlot::UvPng; }

std::span<const double> gridSlot(const Grid2<MINLAMBDA, MAXLAMBDA, 5>& grid, long slot) {
  return {grid.slotData(slot), static_cast<size_t>(MAXLAMBDA - MINLAMBDA + 1)};
}

std::span<const double> pointsSlot(const Grid2<1, 10000, 5>& grid, long slot) {
  return {grid.slotData(slot), static_cast<size_t>(Grid2<1, 10000, 5>::size)};
}

// The bin of the largest stick of curve 1 over the bar window: by magnitude
// for ECD, by signed value for UV; the first of equal sticks.
long largestStickBin(std::span<const double> sticks, BarWindow window, bool byMagnitude) {
  const auto at = [&](long bin) { return sticks[static_cast<size_t>(bin - MINLAMBDA)]; };
  long best = 10L * window.start;
  for (long bin = 10L * window.start; bin <= 10L * window.end; ++bin) {
    const bool larger = byMagnitude ? std::abs(at(bin)) > std::abs(at(best)) : at(bin) > at(best);
    if (larger) best = bin;
  }
  return best;
}

// A key title: its markup and the size it is drawn at.
ColumnText titleText(const std::string& font, const std::string& size, const std::string& name) {
  return {"{/" + font + "=" + size + " " + name, FontSize(size, 18)};
}

std::string title(const std::string& font, const std::string& size, const std::string& name) {
  return GnuplotString(titleText(font, size, name).markup);
}

std::string entry(const std::string& dataName, const std::string& usingText,
                  const std::string& titleText, const std::string& style) {
  return GnuplotString(dataName + ".xy") + " using " + usingText + " title " + titleText + " with " + style;
}

}  // namespace

UvEcdSlots SlotsOf(UvEcdPlot plot, const Store& store) {
  if (isEcd(plot))
    return {store.CDACTIVE, store.CDTITLE, store.CDMAX,  store.CDFACTOR, store.CDDATAPTS,
            store.EPS,      store.ROTS,    store.EXPCDX, store.EXPCDY};
  return {store.UVACTIVE, store.UVTITLE, store.UVMAX,  store.UVFACTOR, store.UVDATAPTS,
          store.ABSG,     store.OSC,     store.EXPUVX, store.EXPUVY};
}

bool SlotInUse(const std::string& state) { return state == "calc" || state == "exp"; }

bool HasIdenticalNames(const SlotTexts& active, const SlotTexts& titles, bool shortened) {
  const auto name = [&](long s) { return shortened ? ShrinkFileName(titles[s]) : titles[s]; };
  for (long i = 1; i <= 5; ++i)
    for (long j = i + 1; j <= 5; ++j)
      if (SlotInUse(active[i]) && SlotInUse(active[j]) && name(i) == name(j)) return true;
  return false;
}

bool HasIdenticalCurveNames(UvEcdPlot plot, const Store& store) {
  const UvEcdSlots k = SlotsOf(plot, store);
  return HasIdenticalNames(k.ACTIVE, k.TITLE, /*shortened*/ !isPng(plot));
}

bool DrawsCurveOne(UvEcdPlot plot, const PlotControls& c) {
  switch (plot) {
    case UvEcdPlot::EcdEps: return c.CheckBox3 || c.CheckBox2;
    case UvEcdPlot::EcdPng: return c.CheckBox3 || c.CheckBox2 || c.CheckBox1;
    default: return c.CheckBox5 || c.CheckBox1;
  }
}

SlotReals TwoCurveFactors(const SlotTexts& active, const SlotReals& maxima,
                          const SlotReals& factors, const PlotControls& c) {
  SlotReals result = factors;
  if (SlotsInUse(active) != 2 || c.CheckBox16 || !c.CheckBox8 || !SlotInUse(active[1]))
    return result;
  ScaleCurveOneTo(SecondSlotInUse(active), maxima, result);
  return result;
}

int SlotsInUse(const SlotTexts& active) {
  int count = 0;
  for (long s = 1; s <= 5; ++s) count += SlotInUse(active[s]) ? 1 : 0;
  return count;
}

long SecondSlotInUse(const SlotTexts& active) {
  long slot = 2;
  while (slot < 5 && !SlotInUse(active[slot])) ++slot;
  return slot;
}

void ScaleCurveOneTo(long other, const SlotReals& maxima, SlotReals& factors) {
  if (maxima[1] == 0) return;
  factors[1] = maxima[other] / maxima[1];
  factors[other] = 1.0;
}

PlotScript BuildUvEcdScript(UvEcdPlot plot, const Store& store, const PlotControls& c,
                            const std::string& scriptFileName) {
  const bool ecd = isEcd(plot);
  const bool png = isPng(plot);
  const Picture picture = png ? Picture::Png : Picture::Eps;
  const UvEcdWindowControls& w = ecd ? c.cd : c.uv;
  const UvEcdSlots k = SlotsOf(plot, store);
  const std::string op = c.wavenumberUnit ? "*" : "+";
  const std::string shift1 = NumberText(c.Edit2);
  const int decimals = ecd ? 4 : 7;
  const bool autoScaling = c.CheckBox8;
  const bool bars = c.CheckBox1;
  const bool normal = c.CheckBox3;
  const bool enantiomeric = c.CheckBox2;
  const bool secondAxis = w.CheckBox2;
  const bool energyAxis = !ecd && w.CheckBox7 && !c.wavenumberUnit;
  const bool slot1Calc = k.ACTIVE[1] == "calc";

  FirstCurve first;
  first.PLOT = ecd ? PlotKind::CD : PlotKind::UV;
  first.COMMENT = ecd ? "# CD plots" : "# UV plots";
  first.PSNAME = PictureBaseName(scriptFileName);

  // x range.
  if (energyAxis)
    first.XRANGE = FloatToStrF(1239.482 / StrToFloat(c.Edit5), 2) + ":" +
                   FloatToStrF(1239.482 / StrToFloat(c.Edit4), 2);
  else if (c.wavenumberUnit)
    first.XRANGE = NumberText(c.Edit35) + ":" + NumberText(c.Edit36);
  else
    first.XRANGE = NumberText(c.Edit4) + ":" + NumberText(c.Edit5);

  const SlotReals factor = TwoCurveFactors(k.ACTIVE, k.MAX, k.FACTOR, c);
  const auto scalingOf = [&](long s) { return autoScaling ? FactorText(factor[s], decimals) : "1.0"; };
  first.SCALING = scalingOf(1);

  // y range: from curve 1, from the measured curves beside a second axis, or
  // the user's.
  const auto rangeFrom = [&](double maximum) {
    const double half = maximum / 10 + maximum;
    const YRange range = ecd ? SymmetricRange(half) : FromZeroRange(half);
    first.YRANGE = range.text;
    first.YTICS = TicStepText(half * 0.5);
    first.yAxis = {range.lower, range.upper, TicStepValue(half * 0.5), TicForm::Gnuplot, 0};
  };
  rangeFrom(k.MAX[1] * factor[1]);
  if (secondAxis && !w.CheckBox3 && (!ecd || !bars)) rangeFrom(LargestMaximum(k.MAX, k.ACTIVE, {"exp"}));
  if (w.CheckBox3) {
    std::string range = UserRangeText(w.Edit7);
    if (const size_t open = range.find('['); open != std::string::npos) range.erase(open, 1);
    if (const size_t close = range.find(']'); close != std::string::npos) range.erase(close, 1);
    first.YRANGE = range;
    const size_t colon = range.find(':');
    const std::string bound = ecd ? range.substr(0, colon)
                                  : (colon == std::string::npos ? std::string() : range.substr(colon + 1));
    first.YTICS = TicStepText(StrToFloat(bound) * 0.5);
    first.yAxis = AxisOfTexts(range, "");
    first.yAxis.step = TicStepValue(StrToFloat(bound) * 0.5);
  }

  // Names: curve 1, its bars and its mirror image, then curves 2 to 5.
  DataFileNames names(scriptFileName);
  const std::string name1 = LegendName(k.TITLE[1]);
  const std::string data1 = names.take();
  const std::string barName = LegendName("bar-" + k.TITLE[1]);
  const std::string mirrorName = LegendName("(-)" + k.TITLE[1]);
  const bool barFile = bars && slot1Calc;
  const bool mirrorFile = ecd && enantiomeric && SlotInUse(k.ACTIVE[1]);
  const std::string barData = barFile ? names.take() : std::string();
  const std::string mirrorData = mirrorFile ? names.take() : std::string();

  // Curve 1, or its mirror image in its place.
  const bool drawFirst = DrawsCurveOne(plot, c);
  const bool firstIsMirror = ecd && !normal && enantiomeric;
  first.PLOTNAME = firstIsMirror ? mirrorName : name1;
  first.dataName = firstIsMirror ? mirrorData : data1;
  first.COLOR = firstIsMirror ? "6" : "1";

  std::vector<PlotEntry> further;
  // The key title of each further entry, and the one it takes as the last.
  std::vector<std::pair<ColumnText, ColumnText>> furtherTitles;
  const std::string shifted1 = "($1" + op + "(" + shift1 + "))";
  if (ecd && normal && enantiomeric) {
    const std::string usingText = shifted1 + ":($2*" + first.SCALING + ")";
    if (!png) {
      further.push_back({entry(mirrorData, usingText, title(w.Edit1, w.Edit14, mirrorName), "lines ls 6"), {}});
      furtherTitles.push_back({titleText(w.Edit1, w.Edit14, mirrorName), {}});
    } else {
      further.push_back({entry(mirrorData, usingText, title(w.Edit1, "14", mirrorName), "lines ls 6"),
                         entry(mirrorData, usingText, title(w.Edit15, w.Edit17, mirrorName), "lines ls 6")});
      furtherTitles.push_back({titleText(w.Edit1, "14", mirrorName), titleText(w.Edit15, w.Edit17, mirrorName)});
    }
  }

  // The sticks of a computed curve 1.
  const bool barLines = barFile && (ecd ? (png || normal || enantiomeric) : autoScaling);
  if (barLines) {
    const bool onSecondAxis = ecd && secondAxis;
    // The sticks follow the band: mirrored with the mirror image drawn alone.
    const bool mirroredBars = ecd && !normal && enantiomeric;
    std::string barUsing;
    if (onSecondAxis) {
      barUsing = shifted1 + (mirroredBars ? ":($2*(-1))" : ":($2)");
    } else {
      const int shift = c.wavenumberUnit ? 0 : StrToInt(c.Edit2);
      const BarWindow window = barWindow(StrToInt(c.Edit4), StrToInt(c.Edit5), shift);
      const std::span<const double> sticks = gridSlot(k.sticks, 1);
      const double stick = sticks[static_cast<size_t>(largestStickBin(sticks, window, ecd) - MINLAMBDA)];
      // Without a stick in the window the bars keep their own height.
      const double barFactor = stick == 0 ? 1.0 : ecd ? std::abs(k.MAX[1] / stick) : k.MAX[1] * factor[1] / stick;
      const std::string B = FactorText(barFactor, decimals);
      const std::string x = energyAxis ? "(1239.482/($1+(" + shift1 + ")))" : shifted1;
      barUsing = x + (mirroredBars ? ":($2*(-1)*" + B + ")" : ":($2*" + B + ")");
    }
    const std::string style = onSecondAxis ? "imp ls 2 axis x1y2" : "imp ls 2";
    if (ecd && png) {
      further.push_back({entry(barData, barUsing, title(w.Edit15, w.Edit17, barName), style),
                         entry(barData, barUsing, title(w.Edit1, w.Edit18, barName), style)});
      furtherTitles.push_back({titleText(w.Edit15, w.Edit17, barName), titleText(w.Edit1, w.Edit18, barName)});
    } else {
      further.push_back({entry(barData, barUsing, title(w.Edit1, png ? w.Edit18 : w.Edit14, barName), style), {}});
      furtherTitles.push_back({titleText(w.Edit1, png ? w.Edit18 : w.Edit14, barName), {}});
    }
  }

  // Curves 2 to 5.
  const std::string edits[] = {c.Edit2, c.Edit12, c.Edit13, c.Edit31, c.Edit32};
  std::vector<std::pair<long, std::string>> laterData;
  for (long s = 2; s <= 5; ++s) {
    if (!SlotInUse(k.ACTIVE[s])) continue;
    const bool measured = k.ACTIVE[s] == "exp";
    const std::string name = LegendName(k.TITLE[s]);
    const std::string data = names.take();
    laterData.emplace_back(s, data);
    const std::string S = scalingOf(s);
    const std::string shift = measured ? (c.wavenumberUnit ? "1.0" : "0") : NumberText(edits[s - 1]);
    std::string x;
    if (!ecd && measured && secondAxis) x = energyAxis ? "(1239.482/$1)" : "($1)";
    else if (energyAxis) x = "(1239.482/($1+(" + shift + ")))";
    else x = "($1" + op + "(" + shift + "))";
    const std::string font = png && ecd ? w.Edit15 : w.Edit1;
    const std::string size = png ? w.Edit18 : w.Edit14;
    std::string text = entry(data, x + ":($2*" + S + ")", title(font, size, name), "lines ls " + IntToStr(s));
    if (secondAxis) text += (measured || (ecd && bars)) ? " axis x1y1" : " axis x1y2";
    further.push_back({text, {}});
    furtherTitles.push_back({titleText(font, size, name), {}});
  }

  std::vector<PlotEntry> entries;
  first.MULTIPLOT = !further.empty() && drawFirst;
  if (drawFirst) {
    const PlotEntry curve1 = FirstCurveEntry(picture, first, c, store);
    if (!curve1.text.empty()) {
      entries.push_back(curve1);
      first.keyTitles.push_back(FirstCurveTitle(picture, first, c, store));
    }
  }
  entries.insert(entries.end(), further.begin(), further.end());
  for (size_t i = 0; i < furtherTitles.size(); ++i) {
    const bool last = i + 1 == furtherTitles.size();
    first.keyTitles.push_back(last && !furtherTitles[i].second.markup.empty() ? furtherTitles[i].second
                                                                                : furtherTitles[i].first);
  }

  PlotScript script;
  script.lines = FirstCurveHead(picture, first, c, store);
  const std::vector<std::string> plotLines = JoinPlotEntries(entries);
  script.lines.insert(script.lines.end(), plotLines.begin(), plotLines.end());
  // The head's models are released before the data files are made, so that
  // the large line lists take the heap in one run and, freed, stay with the
  // program for the next export rather than being handed back page by page.
  first = FirstCurve{};
  entries = {};
  further = {};
  furtherTitles = {};

  // Data files: curve 1, its bars and mirror image, then curves 2 to 5.
  const auto curveLines = [&](long s, double sign) {
    if (k.ACTIVE[s] == "calc") return GridDataLines(gridSlot(k.band, s), c.wavenumberUnit, sign);
    return MeasuredDataLines(pointsSlot(k.EXPX, s), pointsSlot(k.EXPY, s), k.DATAPTS[s], c.wavenumberUnit, sign);
  };
  script.dataFiles.reserve(3 + laterData.size());
  script.dataFiles.push_back({data1 + ".xy", curveLines(1, 1.0)});
  if (barFile) script.dataFiles.push_back({barData + ".xy", GridDataLines(gridSlot(k.sticks, 1), c.wavenumberUnit)});
  if (mirrorFile) script.dataFiles.push_back({mirrorData + ".xy", curveLines(1, -1.0)});
  for (const auto& [s, data] : laterData) script.dataFiles.push_back({data + ".xy", curveLines(s, 1.0)});
  return script;
}

// ---- The four buttons ---------------------------------------------------------------

namespace {

void exportUvEcd(TForm1& form, UvEcdPlot plot) {
  const PlotControls controls = ReadPlotControls(form);
  Store& store = form.store;
  const bool ecd = isEcd(plot);
  const UvEcdSlots k = SlotsOf(plot, store);
  const bool something = DrawsCurveOne(plot, controls) || SlotsInUse(k.ACTIVE) > 1;
  RunPageExport(form, controls,
                {.identicalNames = HasIdenticalCurveNames(plot, store),
                 .drawsSomething = SlotInUse(k.ACTIVE[1]) && something,
                 .build =
                     [&](const std::string& name) {
                       // The two-curve factor is in force while the script is written.
                       SlotReals& factors = ecd ? store.CDFACTOR : store.UVFACTOR;
                       factors = TwoCurveFactors(k.ACTIVE, k.MAX, factors, controls);
                       return BuildUvEcdScript(plot, store, controls, name);
                     },
                 .pictureEnding = isPng(plot) ? ".png" : ".eps",
                 .determineRange = [&] { ecd ? form.DetermineCDRange() : form.DetermineUVRange(); }});
}

}  // namespace

void TForm1::Button1Click() { exportUvEcd(*this, UvEcdPlot::EcdEps); }
void TForm1::Button12Click() { exportUvEcd(*this, UvEcdPlot::EcdPng); }
void TForm1::Button7Click() { exportUvEcd(*this, UvEcdPlot::UvEps); }
void TForm1::Button13Click() { exportUvEcd(*this, UvEcdPlot::UvPng); }
