#include "plots/irvcd_export.h"

#include <algorithm>
#include <optional>

#include "app/Main.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "plots/plot_column.h"
#include "plots/plot_text.h"
#include "plots/uvecd_export.h"

namespace {

// Wide enough for the tic labels of any panel and the y label beside them.
constexpr char PanelLeftMargin[] = "set lmargin 12";
// The top panel of a stack leaves room for its border line's width; the
// panels below it touch.
constexpr char PanelTopMargin[] = "set tmargin 0.05";

struct IrVcdSlots {
  const SlotTexts& ACTIVE;
  const SlotTexts& TITLE;
  const SlotReals& MAX;
  const SlotReals& FACTOR;
  const SlotCounts& DATAPTS;
  const LineGrid& lines;
  const Grid2<1, 10000, 5>& EXPX;
  const Grid2<1, 10000, 5>& EXPY;
};

IrVcdSlots slotsOf(IrVcdPlot plot, const Store& store) {
  if (plot == IrVcdPlot::Vcd)
    return {store.VCDACTIVE, store.VCDTITLE, store.VCDMAX,  store.VCDFACTOR,
            store.VCDDATAPTS, store.VCD,     store.EXPVCDX, store.EXPVCDY};
  return {store.IRACTIVE, store.IRTITLE, store.IRMAX,  store.IRFACTOR,
          store.IRDATAPTS, store.IR,     store.EXPIRX, store.EXPIRY};
}

// Whether curve 1 is drawn as computed or measured: "normal VCD", or "IR".
bool drawsCurveOne(IrVcdPlot plot, const PlotControls& c) {
  return plot == IrVcdPlot::Vcd ? c.CheckBox6 : c.CheckBox19;
}
bool drawsMirror(IrVcdPlot plot, const PlotControls& c) {
  return plot == IrVcdPlot::Vcd && c.CheckBox9;
}

std::vector<std::string> bandLines(const LineGrid& grid, long slot, double sign) {
  std::vector<std::string> lines;
  lines.reserve(LineGrid::size);
  for (long w = 0; w <= LineGrid::high; ++w)
    lines.push_back(DataLine(IntToStr(w), FloatToStrE(sign * grid(w, 3, slot), 5)));
  return lines;
}

std::vector<std::string> measuredLines(const IrVcdSlots& k, long slot, double sign) {
  std::vector<std::string> lines;
  const long count = std::min<long>(std::max(0, k.DATAPTS[slot]), Grid2<1, 10000, 5>::size);
  for (long i = 1; i <= count; ++i)
    lines.push_back(DataLine(FloatToStr(k.EXPX(i, slot)), FloatToStrE(sign * k.EXPY(i, slot), 5)));
  return lines;
}

// The x scale of slot s: the one typed for a computed curve, else 1.
std::string xScaleText(const IrVcdSlots& k, const PlotControls& c, long s) {
  const std::string edits[] = {c.Edit26, c.Edit27, c.Edit28, c.Edit33, c.Edit34};
  return k.ACTIVE[s] == "calc" ? NumberText(edits[s - 1]) : std::string("1.0");
}

// The band-width label of slot s without its font, or "" when the slot
// shows none: measured, or "no gamma and scaling" ticked.
std::string bandWidthText(IrVcdPlot plot, const IrVcdSlots& k, const PlotControls& c, long s) {
  const IrVcdWindowControls& w = plot == IrVcdPlot::Vcd ? c.vcd : c.ir;
  if (w.CheckBox4 || k.ACTIVE[s] != "calc") return std::string();
  const std::string xs = xScaleText(k, c, s);
  const std::string gamma = "{/Symbol g} =" + NumberText(c.Edit17) + " cm^{-1}";
  return xs == "1.0" ? gamma : gamma + "; scaling = " + xs;
}

// The column right of the frame that holds the key and the band-width
// labels, and the picture that makes room for it.
struct MarginKey {
  int rightMargin = 0;         // in characters of the terminal font
  double rowCharacters = 0;    // a key row, in text rows of the terminal font
  int overlayEntries = 0;      // key entries of an overlay plot
  double widthInches = 5;
  double heightInches = 3.5;
};

MarginKey marginKey(IrVcdPlot plot, const IrVcdSlots& k, const PlotControls& c, int N, bool stacked,
                    bool curveOne, bool mirror) {
  const IrVcdWindowControls& w = plot == IrVcdPlot::Vcd ? c.vcd : c.ir;
  RightColumn column;
  column.picture = Picture::Eps;
  column.terminalSize = FontSize(w.Edit12, 18);
  const double keySize = FontSize(w.Edit14, 14);
  const std::string keyFont = "{/" + w.Edit1 + "=" + w.Edit14 + " ";
  const auto entry = [&](const std::string& name) { column.keyTitles.push_back({keyFont + name, keySize}); };
  if (curveOne) entry(LegendName(k.TITLE[1]));
  if (mirror) entry(LegendName("(-)" + k.TITLE[1]));
  for (long s = 2; s <= 5; ++s)
    if (SlotInUse(k.ACTIVE[s])) entry(LegendName(k.TITLE[s]));
  for (long s = 1; s <= 5; ++s)
    if (const std::string text = bandWidthText(plot, k, c, s); SlotInUse(k.ACTIVE[s]) && !text.empty())
      column.labels.push_back({keyFont + text, keySize});
  MarginKey key;
  key.overlayEntries = static_cast<int>(column.keyTitles.size());
  key.rowCharacters = KeyRowHeight(column) / CharacterHeight(Picture::Eps, column.terminalSize);
  key.rightMargin = ColumnCharacters(column) + 1;
  // The frame keeps the width it has beside gnuplot's own narrow margin.
  key.widthInches = 5 + (key.rightMargin - 2) * CharacterWidth(Picture::Eps, column.terminalSize) / 72;
  // A stacked panel holds its key entry and band-width label below it.
  if (stacked) key.heightInches = std::max(3.5, (N + 1) * 2.5 * KeyRowHeight(column) / 72);
  return key;
}

}  // namespace

bool IrVcdDrawsSomething(IrVcdPlot plot, const Store& store, const PlotControls& c) {
  const IrVcdSlots k = slotsOf(plot, store);
  return drawsCurveOne(plot, c) || drawsMirror(plot, c) || SlotsInUse(k.ACTIVE) > 1;
}

bool HasIdenticalIrVcdNames(IrVcdPlot plot, const Store& store) {
  const IrVcdSlots k = slotsOf(plot, store);
  return HasIdenticalNames(k.ACTIVE, k.TITLE, /*shortened*/ true);
}

std::string IrVcdRangeText(IrVcdPlot plot, double half) {
  const double upper = TwoDigitValue(half);
  const double lower = plot == IrVcdPlot::Vcd ? TwoDigitValue(-half) : 0;
  if (lower != upper) return (plot == IrVcdPlot::Vcd ? FloatToStrE(-half, 2) : "0") + ":" + FloatToStrE(half, 2);
  return FloatToStrE(upper - 1, 2) + ":" + FloatToStrE(upper + 1, 2);
}

PlotScript BuildIrVcdScript(IrVcdPlot plot, const Store& store, const PlotControls& c,
                            const std::string& scriptFileName) {
  const bool vcd = plot == IrVcdPlot::Vcd;
  const IrVcdWindowControls& w = vcd ? c.vcd : c.ir;
  const IrVcdSlots k = slotsOf(plot, store);
  const int N = SlotsInUse(k.ACTIVE);
  const bool overlay = w.CheckBox1;
  const bool stacked = N > 1 && !overlay;
  const bool curveOne = drawsCurveOne(plot, c);
  const bool mirror = drawsMirror(plot, c);
  const std::string font = w.Edit1;
  const std::string keyFont = "{/" + font + "=" + w.Edit14;
  const auto XS = [&](long s) { return xScaleText(k, c, s); };
  const auto YS = [&](long s) { return c.CheckBox18 ? FloatToStr(k.FACTOR[s]) : std::string("1.0"); };
  long lastCurve = 1;
  for (long s = 1; s <= 5; ++s)
    if (SlotInUse(k.ACTIVE[s])) lastCurve = s;

  // Names: curve 1, its mirror image, then curves 2 to 5.
  DataFileNames names(scriptFileName);
  std::string shortNames[6];
  std::string data[6];
  for (long s = 1; s <= 5; ++s) shortNames[s] = LegendName(k.TITLE[s]);
  data[1] = names.take();
  const std::string mirrorName = LegendName("(-)" + k.TITLE[1]);
  const bool mirrorFile = vcd && c.CheckBox9 && SlotInUse(k.ACTIVE[1]);
  const std::string mirrorData = mirrorFile ? names.take() : std::string();
  for (long s = 2; s <= 5; ++s)
    if (SlotInUse(k.ACTIVE[s])) data[s] = names.take();

  // The half-height of the panel of curve s.
  const auto panelHalf = [&](long s) {
    const double maximum = s == 1 && overlay ? k.MAX[1] * k.FACTOR[1] : k.MAX[s];
    return maximum / 10 + maximum;
  };

  PlotScript script;
  std::vector<std::string>& lines = script.lines;
  lines.push_back(vcd ? "# VCD plots" : "# IR plots");
  lines.push_back("set encoding iso_8859_1");
  const MarginKey key = marginKey(plot, k, c, N, stacked, curveOne, mirror);
  lines.push_back("set terminal postscript eps enhanced color solid \"" + font + "\" " + w.Edit12 + " size " +
                  FloatToStrF(key.widthInches, 2) + "," + FloatToStrF(key.heightInches, 2));
  lines.push_back("set border 31 lw 1");
  // gnuplot 5 draws "lt N" in its own colours; the classic sequence keeps
  // curve 1 red in either dialect.
  lines.push_back("set colorsequence classic");
  EpsLineStyles(lines, c.gnuplot5);
  lines.push_back("set xtics border nomirror norotate 200,200");
  lines.push_back("set mxtics 4");
  lines.push_back("set mytics 2");
  // gnuplot 5 leaves "[low:high] reverse" unreversed: high to low in both.
  lines.push_back("set xrange [" + NumberText(c.Edit9) + ":" + NumberText(c.Edit8) + "]");
  lines.push_back("set tics scale 1,0.6");
  lines.push_back("show label");
  lines.push_back("set out " + GnuplotString(PictureBaseName(scriptFileName) + ".eps"));
  if (vcd && w.CheckBox7) lines.push_back("set xzeroaxis linetype 0 lw 2");
  lines.push_back(w.CheckBox6 ? "set tics in" : "set tics out");
  lines.push_back("set ylabel \"" + w.Edit10 + "\" font \"" + font + ", " + w.Edit12 + "\"");
  lines.push_back("set ylabel offset 1.5");
  if (w.CheckBox5) {
    // Powers-of-ten labels with the mantissa digits every panel's tics need;
    // each panel labels its zero tic "0" (below).
    int decimals = 0;
    for (long s = 1; s <= 5; ++s) {
      if (!SlotInUse(k.ACTIVE[s]) || (overlay && s > 1)) continue;
      const double half = panelHalf(s);
      const double step = TwoDigitValue(half * 0.5);
      if (half != 0) decimals = std::max(decimals, MantissaDecimals(vcd ? -half : 0, half, step));
    }
    lines.push_back(PowerLabelLines("y", decimals, "%1T", '\'').front());
  }
  // The key and the band-width labels stand in a column right of the
  // frame, each panel's beside it, so that they never lie on a band.
  lines.push_back(R"(set key at graph 1,1 left top Left reverse samplen 1 spacing 1.25 title "" nobox)");
  lines.push_back("set rmargin " + IntToStr(key.rightMargin));
  if (stacked) lines.push_back("set multiplot layout " + IntToStr(N + 1) + ",1");

  bool fixedFormat = false;
  const auto yLines = [&](long s) {
    const double half = panelHalf(s);
    lines.push_back("set yrange [" + IrVcdRangeText(plot, half) + "]");
    // A curve of zeros has no step to show. Stacked panels touch: their tics
    // stop one step short of the edges, where the labels of two panels (or
    // the top one and the picture's edge) would meet.
    std::string tics = "set ytics border nomirror norotate";
    const std::string step = FloatToStrE(half * 0.5, 2);
    if (half != 0 && !stacked) tics.append(1, ' ').append(step);
    if (half != 0 && stacked) tics.append(1, ' ').append(vcd ? "-" + step : "0").append(1, ',').append(step + "," + step);
    lines.push_back(std::move(tics));
    // A new step drops the tics added before it.
    if (w.CheckBox5) lines.push_back(PowerLabelLines("y", 0, "%1T", '\'').back());
    // gnuplot's own format would write a small step, or a tic from 1E6 up,
    // as a power beside plain numbers: such a panel prints fixed decimals,
    // and the panel after it gnuplot's format again.
    const double stepValue = TwoDigitValue(half * 0.5);
    const double lowest = stacked ? (vcd ? -stepValue : 0) : (vcd ? TwoDigitValue(-half) : 0);
    const double highest = stacked ? stepValue : TwoDigitValue(half);
    const AxisModel axis = OneFormAxis(lowest, highest, half != 0 ? stepValue : 0);
    const bool fixed = !w.CheckBox5 && axis.form == TicForm::Fixed;
    if (fixed) lines.push_back(AxisFormatLines(axis, "y").front());
    else if (fixedFormat) lines.push_back("set format y");
    fixedFormat = fixed;
  };
  const std::string xLabelLine = "set xlabel \"" + w.Edit9 + "\" font \"" + font + ", " + w.Edit12 + "\"";
  // The panels fill rows 1 to N of N + 1 from the top; the label stands at
  // their middle, in the left margin.
  const std::string stackLabelLine = "set label \"" + w.Edit10 + "\" at character 1.5,screen " +
                                     FloatToStrF((N + 2.0) / (2.0 * (N + 1)), 3) + " rotate by 90 center font \"" +
                                     font + ", " + w.Edit12 + "\"";
  // The band-width label of a computed curve, in the key's column below the
  // panel's `entries` key entries; true when written.
  const auto bandWidthLabel = [&](long s, int entries) {
    const std::string text = bandWidthText(plot, k, c, s);
    if (text.empty()) return false;
    // Its middle a little below the middle of the next key row: gnuplot
    // centres a label a little above its base line.
    const double below = (entries + 0.8) * key.rowCharacters;
    lines.push_back("set label \"" + keyFont + text + "\" at graph 1,1 offset character 1,-" +
                    FloatToStrF(below, 2));
    return true;
  };
  const auto panelLine = [&](const std::string& dataName, const std::string& name, long s, int style) {
    lines.push_back("plot " + GnuplotString(dataName + ".xy") + " using ($1*" + XS(s) + "):($2) title " +
                    GnuplotString(keyFont + " " + name) + " with lines ls " + IntToStr(style));
  };
  std::vector<PlotEntry> overlayEntries;
  const auto overlayEntry = [&](const std::string& dataName, const std::string& name, long s, int style,
                                bool scaled) {
    std::string y = "$2";
    if (scaled) y.append(1, '*').append(YS(s));
    overlayEntries.push_back({GnuplotString(dataName + ".xy") + " using ($1*" + XS(s) + "):(" + y + ") title " +
                                  GnuplotString(keyFont + " " + name) + " with lines ls " + IntToStr(style),
                              {}});
  };

  if (N == 1) {
    if (curveOne || mirror) {
      lines.push_back("set bmargin 4");
      lines.push_back("set tmargin 1");
      lines.push_back(PanelLeftMargin);
      yLines(1);
      lines.push_back(xLabelLine);
      bandWidthLabel(1, 1);
      if (curveOne) panelLine(data[1], shortNames[1], 1, 1);
      else panelLine(mirrorData, mirrorName, 1, 6);
    }
  } else {
    if (!overlay) {
      // One y label for the whole stack, written with the last panel: the
      // panels are too low for a label each.
      for (const char* line : {"set bmargin 0", PanelTopMargin, PanelLeftMargin, "set format x''", "set xlabel ''",
                               "set ylabel ''"})
        lines.push_back(line);
    } else {
      lines.push_back(xLabelLine);
    }
    yLines(1);
    if (curveOne) {
      const bool labelled = bandWidthLabel(1, overlay ? key.overlayEntries : 1);
      if (!overlay) {
        panelLine(data[1], shortNames[1], 1, 1);
        if (labelled) lines.push_back("unset label");
      } else {
        overlayEntry(data[1], shortNames[1], 1, 1, /*scaled*/ true);
      }
    }
    if (mirror) {
      if (!overlay) panelLine(mirrorData, mirrorName, 1, 6);
      else overlayEntry(mirrorData, mirrorName, 1, 6, /*scaled*/ false);
    }
    if (!overlay) {
      lines.push_back("set tmargin 0");
      lines.push_back("set border 11 lw 1");
    }
    for (long s = 2; s <= 5; ++s) {
      if (!SlotInUse(k.ACTIVE[s])) continue;
      if (overlay) {
        overlayEntry(data[s], shortNames[s], s, static_cast<int>(s), /*scaled*/ true);
        continue;
      }
      yLines(s);
      const bool labelled = bandWidthLabel(s, 1);
      if (s == lastCurve) {
        lines.push_back("set format x");
        lines.push_back("set xtics offset 0,graph 0.05");
        lines.push_back(xLabelLine);
        lines.push_back("set xlabel offset 0,0.5");
        lines.push_back(stackLabelLine);
        panelLine(data[s], shortNames[s], s, static_cast<int>(s));
      } else {
        panelLine(data[s], shortNames[s], s, static_cast<int>(s));
        if (labelled) lines.push_back("unset label");
      }
    }
    for (std::string& line : JoinPlotEntries(overlayEntries, " ")) lines.push_back(std::move(line));
    if (!overlay) lines.push_back("unset multiplot");
  }

  // Data files: curve 1, its mirror image, then curves 2 to 5.
  const auto curveLines = [&](long s, double sign) {
    return k.ACTIVE[s] == "calc" ? bandLines(k.lines, s, sign) : measuredLines(k, s, sign);
  };
  if (SlotInUse(k.ACTIVE[1])) script.dataFiles.push_back({data[1] + ".xy", curveLines(1, 1.0)});
  if (mirrorFile) script.dataFiles.push_back({mirrorData + ".xy", curveLines(1, -1.0)});
  for (long s = 2; s <= 5; ++s)
    if (SlotInUse(k.ACTIVE[s])) script.dataFiles.push_back({data[s] + ".xy", curveLines(s, 1.0)});
  return script;
}

// ---- The two buttons ----------------------------------------------------------------

namespace {

void exportIrVcd(TForm1& form, IrVcdPlot plot) {
  const PlotControls controls = ReadPlotControls(form);
  Store& store = form.store;
  RunPageExport(form, controls,
                {.identicalNames = HasIdenticalIrVcdNames(plot, store),
                 .drawsSomething = SlotInUse(slotsOf(plot, store).ACTIVE[1]) &&
                                   IrVcdDrawsSomething(plot, store, controls),
                 .build = [&](const std::string& name) { return BuildIrVcdScript(plot, store, controls, name); },
                 .pictureEnding = ".eps",
                 .determineRange = [&] {
                   plot == IrVcdPlot::Vcd ? form.DetermineVCDRange() : form.DetermineIRRange();
                 }});
}

}  // namespace

void TForm1::Button17Click() { exportIrVcd(*this, IrVcdPlot::Vcd); }
void TForm1::Button20Click() { exportIrVcd(*this, IrVcdPlot::Ir); }
