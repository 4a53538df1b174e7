#include "plots/hplc_export.h"

#include <algorithm>
#include <cmath>

#include "app/Main.h"
#include "display/ranges.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "plots/first_curve.h"
#include "plots/plot_axis.h"
#include "plots/plot_column.h"
#include "plots/plot_text.h"

namespace {

constexpr char HplcComment[] = "# HPLC chromatograms";
// Continuation lines of the HPLC plots begin with six blanks.
constexpr char HplcIndent[] = "      ";

bool carries(const Store& store, long slot, HplcDetector detector) {
  return detector == HplcDetector::UV ? store.HPLC_UV[slot] : store.HPLC_CD[slot];
}

HplcDetector detectorOf(const std::string& PLOT) {
  return PLOT == "CD" ? HplcDetector::CD : HplcDetector::UV;
}

// The y factors of one plot: its traces scaled against the highest of them
// alone, so that a CD trace is never scaled to the height of a UV one. A CD
// trace's height is its largest excursion either way: a trace whose main
// band is negative is scaled by that band, not by its small positive one.
HplcScales passScales(const Store& store, const std::vector<long>& slots, HplcDetector detector) {
  HplcScales scales;
  std::array<bool, CURVE_SLOTS> traces{};
  for (long s = 1; s <= 5; ++s) {
    const bool cd = detector == HplcDetector::CD;
    scales.maximum[static_cast<size_t>(s - 1)] =
        cd ? std::max(std::abs(store.HPLCMAX[s]), std::abs(store.HPLCMIN[s])) : store.HPLCMAX[s];
    scales.factor[static_cast<size_t>(s - 1)] = store.HPLCFACTOR[s];
  }
  for (long s : slots) traces[static_cast<size_t>(s - 1)] = true;
  updateHplcFactors(traces, scales);
  return scales;
}

double factorOf(const HplcScales& scales, long slot) { return scales.factor[static_cast<size_t>(slot - 1)]; }

// The factor a trace is drawn with, as the script writes it.
std::string scalingOf(const HplcScales& scales, long slot, const PlotControls& c) {
  return c.CheckBox4 ? FactorText(factorOf(scales, slot), 4) : std::string("1.0");
}

// The lowest and highest signal of a two-dimensional pass: every trace as
// drawn, scaled.
struct PassExtent {
  double lowest = 0, highest = 0;
};

PassExtent passExtent(const Store& store, const std::vector<long>& slots, const HplcScales& scales,
                      const PlotControls& c) {
  double lowest = 0, highest = 0;
  for (size_t r = 0; r < slots.size(); ++r) {
    const long slot = slots[r];
    const double factor = c.CheckBox4 ? FactorValue(factorOf(scales, slot), 4) : 1.0;
    const double a = store.HPLCMIN[slot] * factor, b = store.HPLCMAX[slot] * factor;
    lowest = r == 0 ? std::min(a, b) : std::min({lowest, a, b});
    highest = r == 0 ? std::max(a, b) : std::max({highest, a, b});
  }
  return {lowest, highest};
}

// A widened bound: whole, unless rounding moves it into the trace; then
// with two decimals, or as many as the range's largest magnitude `scale`
// needs for two significant digits.
std::string signalBound(double bound, double traceLimit, bool upper, double scale) {
  const long long whole = nint(bound);
  const bool inside = upper ? static_cast<double>(whole) < traceLimit : static_cast<double>(whole) > traceLimit;
  return inside ? RangeBoundText(bound, scale, 2) : IntToStr(whole);
}

// The range of two widened bounds, each as signalBound writes it; bounds
// that come out equal (a flat trace at a whole number) become b-1:b+1.
std::string widenedRange(double lower, double lowest, double upper, double highest) {
  const double scale = std::max(std::abs(lower), std::abs(upper));
  const std::string low = signalBound(lower, lowest, /*upper*/ false, scale);
  const std::string high = signalBound(upper, highest, /*upper*/ true, scale);
  if (StrToFloat(low) != StrToFloat(high)) return low + ":" + high;
  const long long whole = nint(upper);
  return IntToStr(whole - 1) + ":" + IntToStr(whole + 1);
}

std::vector<std::string> traceLines(const Store& store, long slot, const std::string& xColumn) {
  constexpr auto size = static_cast<size_t>(Grid2<1, 15000, 5>::size);
  std::vector<std::string> lines =
      MeasuredDataLines({store.HPLCX.slotData(slot), size}, {store.HPLCY.slotData(slot), size},
                        store.HPLCDATAPTS[slot], /*wavenumberUnit*/ false, 1.0);
  if (!xColumn.empty())
    for (std::string& line : lines) line = xColumn + "\t" + line;
  return lines;
}

// The key titles of the traces in `slots`, in their order.
std::vector<std::string> keyTitlesOf(const Store& store, const std::vector<long>& slots) {
  std::vector<std::string> titles;
  for (long slot : slots) titles.push_back(LegendName(store.HPLCTITLE[slot]));
  return titles;
}

// The column right of the two-dimensional plot's frame holds its key alone,
// drawn at the font of the last terminal line. The margin the plot always
// had stays where the titles fit it; longer titles widen the picture by
// what they add, so that the frame keeps its size.
constexpr double Hplc2DTerminalSize = 20;
constexpr int Hplc2DRightMargin = 5;
constexpr double Hplc2DWidthInches = 5;
constexpr char Hplc2DHeightInches[] = "3.50";

struct Hplc2DColumn {
  int rightMargin = Hplc2DRightMargin;
  int keyWidth = 0;  // the key line's width correction
  double widthInches = Hplc2DWidthInches;
};

Hplc2DColumn hplc2DColumn(const std::vector<std::string>& keyTitles) {
  RightColumn column;
  column.picture = Picture::Eps;
  column.terminalSize = Hplc2DTerminalSize;
  for (const std::string& title : keyTitles) column.keyTitles.push_back({title, Hplc2DTerminalSize});
  Hplc2DColumn layout;
  layout.rightMargin = std::max(Hplc2DRightMargin, ColumnCharacters(column));
  layout.keyWidth = KeyWidthCorrection(column);
  layout.widthInches = Hplc2DWidthInches + (layout.rightMargin - Hplc2DRightMargin) *
                                               CharacterWidth(Picture::Eps, Hplc2DTerminalSize) / 72;
  return layout;
}

void styleLines(std::vector<std::string>& lines, bool sixth) {
  // gnuplot 5 draws "lt N" in its own colours, where the back band of the
  // three-dimensional plot (lt 9) repeats the front one (lt 1): the classic
  // sequence keeps every band its own colour in either dialect.
  lines.push_back("set colorsequence classic");
  const char* types[] = {"7", "1", "2", "3", "4", "9"};
  for (int i = 0; i < (sixth ? 6 : 5); ++i)
    lines.push_back("set style line " + IntToStr(i + 1) + " lt " + types[i] + " lw 2");
}

}  // namespace

std::vector<long> FlaggedSlots(const Store& store, HplcDetector detector) {
  std::vector<long> slots;
  for (long s = 1; s <= 5; ++s)
    if (carries(store, s, detector)) slots.push_back(s);
  return slots;
}

std::string HplcSignalRange(double lowest, double highest) {
  return widenedRange(lowest - std::abs(lowest) / 10, lowest, highest + std::abs(highest) / 10, highest);
}

std::string HplcHeightRange(double highest) {
  // The floor of -1 is a tenth of a band of height 10; a lower band keeps
  // that share.
  const double upper = highest + std::abs(highest) / 10;
  const double floor = upper > 0 && upper < 10 ? -upper / 10 : -1;
  return widenedRange(floor, floor, upper, highest);
}

std::vector<std::string> Hplc2DHead(const std::string& PLOT, const std::string& COMMENT,
                                    const std::string& XRANGE, const std::string& YRANGE,
                                    const std::string& PSNAME, const PlotControls& c, const AxisModel& yAxis,
                                    const std::vector<std::string>& keyTitles) {
  const std::string& font = c.cd.Edit1;
  const Hplc2DColumn column = hplc2DColumn(keyTitles);
  std::vector<std::string> lines{COMMENT, "set encoding iso_8859_1",
                                 "set terminal postscript eps enhanced color solid \"" + font + "\" 32"};
  styleLines(lines, /*sixth*/ false);
  lines.push_back("set border 3");
  lines.push_back("set lmargin 10");
  lines.push_back("set rmargin " + IntToStr(column.rightMargin));
  // The bottom margin holds the time tics and the "t [min]" label below them.
  for (const char* line : {TopMarginLine, "set bmargin 4", "set xtics border nomirror", "set ytics border nomirror",
                           "set mxtics 2", "set mytics 2", "set tics out", "set tics scale 1,0.6"})
    lines.push_back(line);
  // gnuplot picks the signal tics: one number form for all of them.
  for (std::string& line : AxisFormatLines(OneFormAxis(yAxis.lower, yAxis.upper, 0), "y")) lines.push_back(std::move(line));
  lines.push_back(std::string("set ylabel \"") + (PLOT == "CD" ? "CD [mdeg]" : "absorption [mV]") +
                  "\" font \"" + font + ", 20\"");
  lines.push_back("set xlabel \"t [min]\" font \"" + font + ", 20\"");
  lines.push_back("set xrange [" + XRANGE + "]");
  lines.push_back("set yrange [" + YRANGE + "]");
  lines.push_back("set nogrid");
  // The picture's size goes on the last terminal line: a size on the
  // first one does not outlast it.
  lines.push_back("set term post \"" + font + "\" 20" +
                  (column.rightMargin > Hplc2DRightMargin
                       ? " size " + FloatToStrF(column.widthInches, 2) + "," + Hplc2DHeightInches
                       : std::string()));
  lines.push_back("set out " + GnuplotString(PSNAME + ".eps"));
  lines.push_back(KeyLine(Picture::Eps, /*inside*/ false) +
                  (column.keyWidth != 0 ? " width " + IntToStr(column.keyWidth) : std::string()));
  lines.push_back("show label");
  return lines;
}

std::vector<std::string> Hplc3DHead(const std::string& PLOT, const std::string& COMMENT,
                                    const std::string& YRANGE, const std::string& ZRANGE,
                                    const std::string& PSNAME, int count, const PlotControls& c) {
  const std::string& font = c.cd.Edit1;
  std::vector<std::string> lines{COMMENT, "set encoding iso_8859_1",
                                 "set terminal postscript eps enhanced color solid \"" + font + "\" 16"};
  styleLines(lines, /*sixth*/ true);
  for (const char* line : {"set border 31 lw 1", "set size 1.4,1.4", "set ticslevel 0", "unset xtics",
                           "set ytics border nomirror", "set ytics scale 3.0", "set ytics offset -0.5,-0.5",
                           "set ytics out", "set ztics border nomirror", "set ztics out", "set mytics 2",
                           "set mztics 2"})
    lines.push_back(line);
  lines.push_back(PLOT == "CD" ? "set zlabel \"CD [mdeg]\" offset -1,12 font \"" + font + ", 20\""
                               : "set zlabel \"absorption [mV]\" offset -1,13 font \"" + font + ", 20\"");
  lines.push_back("set ylabel \"t [min]\" offset 0,-1.5 font \"" + font + ", 20\"");
  if (count > 1) lines.push_back("set xrange [" + IntToStr(5 - count) + ":4.5]");
  lines.push_back("set yrange [" + YRANGE + "]");
  lines.push_back("set zrange [" + ZRANGE + "]");
  lines.push_back("set grid");
  lines.push_back("set term post \"" + font + "\" 20");
  lines.push_back("set out " + GnuplotString(PSNAME + ".eps"));
  lines.push_back("set view 80,100");
  lines.push_back("show label");
  return lines;
}

PlotScript BuildHplc2DScript(HplcDetector detector, const Store& store, const PlotControls& c,
                             const std::string& scriptFileName) {
  const std::vector<long> slots = FlaggedSlots(store, detector);
  PlotScript script;
  if (slots.empty()) return script;
  const HplcScales scales = passScales(store, slots, detector);
  const PassExtent extent = passExtent(store, slots, scales, c);
  const std::vector<std::string> keyTitles = keyTitlesOf(store, slots);
  const AxisModel signal{extent.lowest - std::abs(extent.lowest) / 10, extent.highest + std::abs(extent.highest) / 10};
  script.lines = Hplc2DHead(detector == HplcDetector::CD ? "CD" : "UV", HplcComment,
                            NumberText(c.Edit1) + ":" + NumberText(c.Edit10),
                            HplcSignalRange(extent.lowest, extent.highest), PictureBaseName(scriptFileName), c, signal,
                            keyTitles);
  DataFileNames names(scriptFileName);
  std::vector<PlotEntry> entries;
  for (size_t r = 0; r < slots.size(); ++r) {
    const long slot = slots[r];
    const std::string data = names.take();
    entries.push_back({GnuplotString(data + ".xy") + " using 1:($2*" + scalingOf(scales, slot, c) + ") title " +
                           GnuplotString(keyTitles[r]) + " with lines ls " +
                           IntToStr(static_cast<long long>(r + 1)),
                       {}});
    script.dataFiles.push_back({data + ".xy", traceLines(store, slot, "")});
  }
  for (std::string& line : JoinPlotEntries(entries, HplcIndent)) script.lines.push_back(std::move(line));
  return script;
}

PlotScript BuildHplc3DScript(const Store& store, const PlotControls& c, const std::string& scriptFileName) {
  const std::vector<long> slots = FlaggedSlots(store, HplcDetector::UV);
  PlotScript script;
  if (slots.empty()) return script;
  const long first = slots.front();
  const int count = static_cast<int>(slots.size());
  const HplcScales scales = passScales(store, slots, HplcDetector::UV);
  script.lines = Hplc3DHead("UV", HplcComment, NumberText(c.Edit1) + ":" + NumberText(c.Edit10),
                            HplcHeightRange(store.HPLCMAX[first] * factorOf(scales, first)),
                            PictureBaseName(scriptFileName), count, c);
  // Drawn back to front: the last trace first, each band before its outline.
  DataFileNames names(scriptFileName);
  std::vector<std::string> dataNames(slots.size());
  for (size_t r = 0; r < slots.size(); ++r)
    dataNames[r] = names.take();
  std::vector<std::string> plot;
  for (int rank = count; rank >= 1; --rank) {
    const long slot = slots[static_cast<size_t>(rank - 1)];
    const std::string usingText = GnuplotString(dataNames[static_cast<size_t>(rank - 1)] + ".xyz") +
                                  " using 1:2:($3*" + scalingOf(scales, slot, c) + ")";
    const std::string fill = rank == count ? "6" : IntToStr(rank + 1);
    plot.push_back((rank == count ? "splot " : HplcIndent) + usingText + " title " +
                   GnuplotString(LegendName(store.HPLCTITLE[slot])) + " with filledcurves ls " + fill);
    plot.push_back(HplcIndent + usingText + " notitle with lines ls 1");
  }
  for (size_t i = 0; i < plot.size(); ++i)
    script.lines.push_back(i + 1 < plot.size() ? plot[i] + ContinuationMark : plot[i]);
  for (size_t r = 0; r < slots.size(); ++r)
    script.dataFiles.push_back({dataNames[r] + ".xyz", traceLines(store, slots[r], IntToStr(5 - static_cast<long long>(r + 1)))});
  return script;
}

// ---- The main window's writers and buttons ------------------------------------------------

void TForm1::HPLC2DEPS(const std::string& PLOT, const std::string& COMMENT, const std::string& XRANGE,
                       const std::string& YRANGE, const std::string& PLOTNAME, const std::string& PSNAME,
                       const std::string& SCALING, bool MULTIPLOT) {
  Memo2->Clear();
  // The writer is given its range as text, and the first title; the key
  // holds the titles of the other traces of its kind as well.
  std::vector<std::string> keyTitles = keyTitlesOf(store, FlaggedSlots(store, detectorOf(PLOT)));
  if (keyTitles.empty()) keyTitles.push_back(PLOTNAME);
  else keyTitles.front() = PLOTNAME;
  for (const std::string& line : Hplc2DHead(PLOT, COMMENT, XRANGE, YRANGE, PSNAME, ReadPlotControls(*this),
                                            AxisOfTexts(YRANGE, ""), keyTitles))
    Memo2->Add(line);
  Memo2->Add("plot " + GnuplotString(PLOTNAME + ".xy") + " using 1:($2*" + SCALING + ") title " +
             GnuplotString(PLOTNAME) + " with lines ls 1" + (MULTIPLOT ? ContinuationMark : ""));
}

void TForm1::HPLC3DEPS(const std::string& PLOT, const std::string& COMMENT, const std::string& YRANGE,
                       const std::string& ZRANGE, const std::string& PLOTNAME, const std::string& PSNAME,
                       const std::string& SCALING, bool MULTIPLOT) {
  Memo2->Clear();
  const int count = static_cast<int>(FlaggedSlots(store, detectorOf(PLOT)).size());
  for (const std::string& line : Hplc3DHead(PLOT, COMMENT, YRANGE, ZRANGE, PSNAME, count, ReadPlotControls(*this)))
    Memo2->Add(line);
  const std::string usingText = GnuplotString(PLOTNAME + ".xyz") + " using 1:2:($3*" + SCALING + ")";
  Memo2->Add("splot " + usingText + " title " + GnuplotString(PLOTNAME) + " with filledcurves ls 6" +
             ContinuationMark);
  Memo2->Add(HplcIndent + usingText + " notitle with lines ls 1" + (MULTIPLOT ? ContinuationMark : ""));
}

void TForm1::Button3Click() {
  Memo2->Clear();
  const PlotControls controls = ReadPlotControls(*this);
  // A pass for each detector some slot carries, slot 1's first.
  std::vector<HplcDetector> passes;
  const HplcDetector firstKind = store.HPLC_CD[1] && !store.HPLC_UV[1] ? HplcDetector::CD : HplcDetector::UV;
  for (HplcDetector detector : {firstKind, firstKind == HplcDetector::UV ? HplcDetector::CD : HplcDetector::UV})
    if (!FlaggedSlots(store, detector).empty()) passes.push_back(detector);
  // Each pass saves its own script; every one saved is rendered, so a UV and a
  // CD pass both leave their picture (a cancelled pass leaves none).
  std::vector<std::string> saved;
  // A failed render of one pass says so in its box and leaves the other's;
  // a pass that cannot be written still leaves the picture of one saved before.
  const auto renderSaved = [&] {
    for (const std::string& path : saved) RunGnuplot(controls.gnuplotFolder, path, ".eps");
  };
  try {
    for (HplcDetector detector : passes) {
      const std::string path = ChooseHplcScriptPath(*this);
      if (path.empty()) continue;
      SavePlotScript(*this, path, BuildHplc2DScript(detector, store, controls, ExtractFileName(path)));
      // A second pass saved over the first's script is rendered once.
      if (std::find(saved.begin(), saved.end(), path) == saved.end()) saved.push_back(path);
    }
  } catch (const EInOutError&) {
    renderSaved();
    throw;
  }
  renderSaved();
}

std::string Hplc3DLeftOutText(const Store& store) {
  std::string list;
  for (long s = 1; s <= 5; ++s) {
    const bool drawn = store.HPLC_UV[1] && store.HPLC_UV[s];
    if (drawn || !(store.HPLC_UV[s] || store.HPLC_CD[s])) continue;
    if (!list.empty()) list += ", ";
    list += "\"" + store.HPLCTITLE[s] + "\" (" + (store.HPLC_UV[s] ? "UV" : "CD") + ", slot " + IntToStr(s) + ")";
  }
  if (list.empty()) return std::string();
  return std::string(Hplc3DLeftOutPrefix) + list;
}

void TForm1::Button15Click() {
  Memo2->Clear();
  // The three-dimensional plot shows UV traces beside a UV slot 1: what it
  // leaves out is said before anything is written.
  if (const std::string leftOut = Hplc3DLeftOutText(store); !leftOut.empty()) ShowMessage(leftOut);
  if (!store.HPLC_UV[1]) return;
  const PlotControls controls = ReadPlotControls(*this);
  const std::string path = ChooseHplcScriptPath(*this);
  if (path.empty()) return;
  SavePlotScript(*this, path, BuildHplc3DScript(store, controls, ExtractFileName(path)));
  RunGnuplot(controls.gnuplotFolder, path, ".eps");
}
