#include "plots/first_curve.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "app/Main.h"
#include "display/ranges.h"
#include "platform/errors.h"
#include "platform/numbers.h"
#include "plots/cdplotting.h"
#include "plots/gnuplot_settings_form.h"
#include "plots/uvecd_export.h"

namespace {

constexpr char TicsPrefix[] = "set xtics border nomirror norotate";

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string fontOf(const std::string& font, const std::string& size) {
  return " font " + quoted(font + ", " + size);
}

// The text before and after the first ':' of a range.
std::string lowerBound(const std::string& range) { return range.substr(0, range.find(':')); }
std::string upperBound(const std::string& range) {
  const size_t colon = range.find(':');
  return colon == std::string::npos ? std::string() : range.substr(colon + 1);
}

std::string xTicsLine(PlotKind kind, const std::string& xrange, const PlotControls& c) {
  if (c.uv.CheckBox7) return TicsPrefix;
  const long long a = StrToInt(lowerBound(xrange));
  const long long b = StrToInt(upperBound(xrange));
  // The ORD axis is always in nm.
  if (kind == PlotKind::ORD || !c.wavenumberUnit)
    return std::string(TicsPrefix) + (b - a < 390 ? " 100,50" : " 100,100");
  return std::string(TicsPrefix) + (a - b < 20000 ? " 5000,5000" : " 10000,10000");
}

// Beside a second y axis the labels of band width and shift stand this many
// characters right of the border, beyond its tic labels and label, in a
// right margin that grows by enough to hold them. The square plot shrinks
// then, so they stand one text row apart rather than at graph heights, from
// a little below the middle, where a key of five curves ends.
constexpr int SecondAxisLabelOffset = 13;
constexpr int SecondAxisMarginGrowth = 7;

// The right margin that holds the key and the labels of band width and
// shift; `secondAxis`: also the tics and label of the second y axis, whose
// tic labels take `extraRight` characters more than four.
std::string rightMarginLine(Picture picture, bool secondAxis, int extraRight) {
  const int rmargin = (picture == Picture::Eps ? 19 : PngSquareRightMargin) + (secondAxis ? SecondAxisMarginGrowth + extraRight : 0);
  return "set rmargin " + IntToStr(rmargin);
}

// `extraLeft`: characters the y tic labels need beside the y label beyond
// the four a label such as "-32" or "1000" takes.
void squareLines(std::vector<std::string>& lines, Picture picture, int extraLeft = 0,
                 bool secondAxis = false, int extraRight = 0) {
  lines.push_back(picture == Picture::Eps ? "set size square 1.4,1.4" : "set size square 1.0,1.0");
  lines.push_back("set lmargin " + IntToStr(10 + extraLeft));
  lines.push_back(rightMarginLine(picture, secondAxis, extraRight));
  lines.push_back(TopMarginLine);
  lines.push_back("set bmargin 2");
}

// A plot that is not square takes the whole picture beside the right
// margin of the square one; the EPS picture is as large as the square
// one's, so that the margin leaves the plot room for its tic labels.
// gnuplot sizes its left margin itself unless the tic labels are long.
void nonSquareLines(std::vector<std::string>& lines, Picture picture, int extraLeft, bool secondAxis,
                    int extraRight) {
  if (picture == Picture::Eps) lines.push_back("set size 1.4,1.4");
  if (extraLeft > 0) lines.push_back("set lmargin " + IntToStr(10 + extraLeft));
  lines.push_back(rightMarginLine(picture, secondAxis, extraRight));
}

const UvEcdWindowControls& windowOf(PlotKind kind, const PlotControls& c) {
  return kind == PlotKind::UV ? c.uv : c.cd;
}

bool anyCalc(const SlotTexts& states) {
  for (long s = 1; s <= 5; ++s)
    if (states[s] == "calc") return true;
  return false;
}

// Where the labels of band width and shift stand beside the plot: how far
// the second axis's tic labels reach beyond four characters, and how many
// entries the key has.
struct RightLabels {
  int extraRight = 0;
  int keyEntries = 0;
};

// Where a label of band width or shift stands: at `height` right of the
// square plot, or else `rows` text rows below the band-width label, right of
// the border (or of the second y axis where there is one). A plot that is
// not square is as wide as the picture lets it be: a tenth of its width
// beyond the border lies outside the picture. A key of more than five
// entries reaches below the middle: the labels then stand in rows below it.
std::string rightLabelPlace(const UvEcdWindowControls& w, const std::string& height, double rows,
                            const RightLabels& place) {
  const bool belowKey = place.keyEntries > 5;
  if (w.CheckBox1 && !w.CheckBox2 && !belowKey) return " at graph 1.1," + height;
  const int offset = w.CheckBox2 ? SecondAxisLabelOffset + place.extraRight : 2;
  if (belowKey) {
    const std::string x = w.CheckBox1 && !w.CheckBox2 ? "1.1" : "1";
    // A key row is 1.25 text rows high.
    const double firstRow = 1.25 * place.keyEntries + 1;
    return " at graph " + x + ",1 offset character " + IntToStr(x == "1.1" ? 0 : offset) + "," +
           FloatToStr(-firstRow - rows);
  }
  return " at graph 1,0.5 offset character " + IntToStr(offset) + "," + FloatToStr(-1.5 - rows);
}

std::string bandWidthLabel(Picture picture, const UvEcdWindowControls& w, const PlotControls& c,
                           const RightLabels& extraRight) {
  const std::string letter = c.lorentzian ? "g" : "s";
  if (picture == Picture::Eps)
    return "set label \"{/Symbol " + letter + "} = " + NumberText(c.Edit3) + " eV\"" + rightLabelPlace(w, "0.5", 0, extraRight);
  return "set label \"{/Symbol=" + w.Edit18 + " " + letter + " }{/" + w.Edit15 + "=" + w.Edit18 +
         " = " + NumberText(c.Edit3) + " eV}\"" + rightLabelPlace(w, "0.5", 0, extraRight);
}

// "shift:" or "scale:" and a label for each curve whose correction does
// something.
void correctionLabels(std::vector<std::string>& lines, Picture picture,
                      const UvEcdWindowControls& w, const SlotTexts& states, const PlotControls& c,
                      const RightLabels& extraRight) {
  const bool png = picture == Picture::Png;
  const std::string pngFont = "{/" + w.Edit15 + "=" + w.Edit18 + " ";
  const auto label = [&](const std::string& text, const std::string& height, double rows) {
    lines.push_back("set label \"" + (png ? pngFont : std::string()) + text + "\"" + rightLabelPlace(w, height, rows, extraRight));
  };
  const std::string edits[] = {c.Edit2, c.Edit12, c.Edit13, c.Edit31, c.Edit32};
  const char* epsHeights[] = {"0.33", "0.26", "0.19", "0.12", "0.05"};
  const char* pngHeights[] = {"0.35", "0.3", "0.25", "0.2", "0.15"};
  label(c.wavenumberUnit ? "scale:" : "shift:", "0.4", 1.5);
  bool laterCalc = false;
  for (long s = 2; s <= 5; ++s) laterCalc = laterCalc || states[s] == "calc";
  if (!c.wavenumberUnit && laterCalc && !png)
    for (int k = 1; k < 5; ++k) StrToInt(edits[k]);
  for (long s = 1; s <= 5; ++s) {
    if (s > 1 && states[s] != "calc") continue;
    const std::string& edit = edits[s - 1];
    const bool shown = c.wavenumberUnit ? StrToFloat(edit) != 1 : StrToInt(edit) != 0;
    if (!shown) continue;
    label("curve " + IntToStr(s) + " = " + edit + (c.wavenumberUnit ? "" : " nm"),
          png ? pngHeights[s - 1] : epsHeights[s - 1], 1.5 + static_cast<double>(s));
  }
}

// The tics of an axis labelled as powers of ten: the step such labels show
// exactly, as text ("" for none), and the mantissa decimals its range needs.
struct PowerTics {
  std::string step;
  int decimals = 0;
};

PowerTics powerTics(const std::string& range, double step) {
  PowerTics tics{TicStepText(PowerLabelStep(step)), 0};
  if (tics.step.empty()) return tics;
  const double written = StrToFloat(tics.step);
  std::string bounds = range;
  for (char bracket : {'[', ']'})
    if (const size_t at = bounds.find(bracket); at != std::string::npos) bounds.erase(at, 1);
  const std::optional<double> lower = TryStrToFloat(lowerBound(bounds));
  const std::optional<double> upper = TryStrToFloat(upperBound(bounds));
  tics.decimals = lower && upper ? MantissaDecimals(*lower, *upper, written) : MantissaDecimals(0, 2 * written, written);
  return tics;
}

// The second y axis: the computed curves (or, for ECD, the bars of curve 1)
// on their own scale, over the computed range of half-height `half` or the
// user's range as typed with its step from the upper bound. UV labels it in
// powers of ten, with a step they show exactly.
struct SecondAxis {
  std::string rangeLine;
  std::string ticsLine;
  bool power = false;
  int decimals = -1;  // mantissa decimals, or fixed decimals of a small step
  double lower = 0, upper = 0, step = 0;
};

SecondAxis secondAxisOf(bool cd, const PlotControls& c, const Store& store) {
  const UvEcdWindowControls& w = cd ? c.cd : c.uv;
  double half = cd ? LargestMaximum(store.CDMAX, store.CDACTIVE, {"calc"}) : LargestMaximum(store.UVMAX, store.UVACTIVE, {"calc"});
  half = half / 10 + half;
  if (cd && !w.CheckBox3 && c.CheckBox1) {
    // In the wavenumber unit Edit2 holds a scale factor: the bars keep the
    // shown window.
    const int shift = c.wavenumberUnit ? 0 : StrToInt(c.Edit2);
    const BarWindow window = barWindow(StrToInt(c.Edit4), StrToInt(c.Edit5), shift);
    const std::span<const double> sticks(store.ROTS.slotData(1),
                                         static_cast<size_t>(MAXLAMBDA - MINLAMBDA + 1));
    half = largestBarStrength(sticks, window);
    half = half / 10 + half;
  }
  constexpr char ticsPrefix[] = "set y2tics border nomirror norotate";
  const std::string computedRange = cd ? SymmetricRangeText(half) : FromZeroRangeText(half);
  const std::string userRange = w.CheckBox3 ? UserRangeText(w.Edit8) : std::string();
  const std::string range = w.CheckBox3 ? userRange : computedRange;
  const double step = w.CheckBox3 ? 0.5 * UserRangeUpperBound(userRange) : half * 0.5;
  SecondAxis axis;
  axis.rangeLine = "set y2range " + (w.CheckBox3 ? userRange : "[" + computedRange + "]");
  std::string written;
  if (cd) {
    axis.ticsLine = TicsLine(ticsPrefix, step);
    written = TicStepText(step);
  } else {
    const PowerTics tics = powerTics(range, step);
    axis.ticsLine = tics.step.empty() ? std::string(ticsPrefix) : std::string(ticsPrefix) + " " + tics.step;
    axis.power = true;
    axis.decimals = tics.decimals;
    written = tics.step;
  }
  axis.step = TryStrToFloat(written).value_or(0);
  if (cd) axis.decimals = FixedTicDecimals(axis.step);
  std::string bounds = range;
  for (char bracket : {'[', ']'})
    if (const size_t at = bounds.find(bracket); at != std::string::npos) bounds.erase(at, 1);
  axis.lower = TryStrToFloat(lowerBound(bounds)).value_or(0);
  axis.upper = TryStrToFloat(upperBound(bounds)).value_or(0);
  return axis;
}

// A single computed UV curve labels its y axis in powers of ten; on the
// second y axis it leaves the y axis its plain range of -1 to 1.
bool powerLabelledY(const FirstCurve& f, const PlotControls& c, const Store& store) {
  return f.PLOT == PlotKind::UV && !f.MULTIPLOT && store.UVACTIVE[1] == "calc" && !c.uv.CheckBox2;
}

// The step the y axis is labelled with, as the head writes it.
std::string yTicsStep(const FirstCurve& f, const PlotControls& c, const Store& store) {
  // Powers-of-ten labels need a step they can show.
  return powerLabelledY(f, c, store) && TryStrToFloat(f.YTICS) ? powerTics(f.YRANGE, *TryStrToFloat(f.YTICS)).step
                                                                : f.YTICS;
}

// The characters of the longest y tic label.
int longestYLabel(const FirstCurve& f, const PlotControls& c, const Store& store) {
  const std::optional<double> lower = TryStrToFloat(lowerBound(f.YRANGE));
  const std::optional<double> upper = TryStrToFloat(upperBound(f.YRANGE));
  if (!lower || !upper) return 0;
  const double step = TryStrToFloat(yTicsStep(f, c, store)).value_or(0);
  if (powerLabelledY(f, c, store))
    return LongestTicLabel(*lower, *upper, step, powerTics(f.YRANGE, step).decimals, /*powerForm*/ true);
  return LongestTicLabel(*lower, *upper, step, FixedTicDecimals(step));
}

// The margin characters that tic labels of `longest` characters need beyond
// the `held` the margin holds beside the axis label: on the left five in an
// EPS ("44000"), four in a PNG ("1000"); seven on the right of a second axis
// ("4.4x10^4"). A PNG's
// digits are wider than the characters gnuplot reckons its margins in: two
// for each.
int marginGrowth(Picture picture, int longest, int held) {
  const int extra = std::max(0, longest - held);
  return picture == Picture::Png ? 2 * extra : extra;
}

int leftMarginGrowth(Picture picture, const FirstCurve& f, const PlotControls& c, const Store& store) {
  return marginGrowth(picture, longestYLabel(f, c, store), picture == Picture::Eps ? 5 : 4);
}

int rightMarginGrowth(Picture picture, const FirstCurve& f, const PlotControls& c, const Store& store) {
  const UvEcdWindowControls& w = windowOf(f.PLOT, c);
  if (f.PLOT == PlotKind::ORD || !w.CheckBox2) return 0;
  const SecondAxis axis = secondAxisOf(f.PLOT == PlotKind::CD, c, store);
  return marginGrowth(picture, LongestTicLabel(axis.lower, axis.upper, axis.step, axis.decimals, axis.power), 7);
}

void cdSecondAxis(std::vector<std::string>& lines, Picture picture, const PlotControls& c,
                  const Store& store) {
  const UvEcdWindowControls& w = c.cd;
  const SecondAxis axis = secondAxisOf(true, c, store);
  lines.push_back(axis.rangeLine);
  lines.push_back(axis.ticsLine);
  if (axis.decimals >= 0) lines.push_back(FixedFormatLine("y2", axis.decimals));
  lines.push_back("set my2tics 2");
  const std::string font = picture == Picture::Eps ? fontOf(w.Edit1, w.Edit13) : fontOf(w.Edit15, w.Edit17);
  if (!c.CheckBox1)
    lines.push_back("set y2label \"" + w.Edit11 + (picture == Picture::Eps ? "-calc \"" : "-calc\"") + font);
  else
    lines.push_back(R"(set y2label "CD [erg \327 cm^3 \327 10^{-40}]")" + font);
}

void uvSecondAxis(std::vector<std::string>& lines, Picture picture, const PlotControls& c,
                  const Store& store) {
  const UvEcdWindowControls& w = c.uv;
  const SecondAxis axis = secondAxisOf(false, c, store);
  lines.push_back(axis.rangeLine);
  lines.push_back(axis.ticsLine);
  for (std::string& line : PowerLabelLines("y2", axis.decimals, "%L", '"')) lines.push_back(std::move(line));
  lines.push_back("set my2tics 2");
  lines.push_back("set y2label \"" + w.Edit11 + "\"" +
                  (picture == Picture::Eps ? fontOf(w.Edit1, w.Edit13) : fontOf(w.Edit15, w.Edit17)));
}

std::string axisLabel(const char* axis, const std::string& text, const std::string& font,
                      const std::string& size) {
  return std::string("set ") + axis + "label \"" + text + "\"" + fontOf(font, size);
}

// The CD and UV sections: options, second axis, labels, key and the
// correction labels of the kind's slots.
void uvEcdSection(std::vector<std::string>& lines, Picture picture, const FirstCurve& f,
                  const PlotControls& c, const Store& store) {
  const bool cd = f.PLOT == PlotKind::CD;
  const UvEcdWindowControls& w = windowOf(f.PLOT, c);
  const SlotTexts& states = cd ? store.CDACTIVE : store.UVACTIVE;
  const bool eps = picture == Picture::Eps;
  const bool sigma = f.SIGMA || anyCalc(states);
  if (powerLabelledY(f, c, store)) {
    const PowerTics tics = powerTics(f.YRANGE, TryStrToFloat(f.YTICS).value_or(0));
    for (std::string& line : PowerLabelLines("y", tics.decimals, "%L", '"')) lines.push_back(std::move(line));
  }
  const int extraLeft = leftMarginGrowth(picture, f, c, store);
  const int extraRight = rightMarginGrowth(picture, f, c, store);
  if (w.CheckBox1) squareLines(lines, picture, extraLeft, w.CheckBox2, extraRight);
  else nonSquareLines(lines, picture, extraLeft, w.CheckBox2, extraRight);
  if (cd) {
    lines.push_back(w.CheckBox7 ? "set xzeroaxis linetype 0 lw 2" : "set xzeroaxis linetype 7 lw 2");
    if (!eps) lines.push_back("set tics scale 1,0.6");
  }
  lines.push_back(w.CheckBox6 ? "set tics in" : "set tics out");
  if (w.CheckBox2) (cd ? cdSecondAxis : uvSecondAxis)(lines, picture, c, store);
  lines.push_back(eps ? axisLabel("y", w.Edit10, w.Edit1, w.Edit13) : axisLabel("y", w.Edit10, w.Edit15, w.Edit17));
  lines.push_back(axisLabel("x", w.Edit9, w.Edit1, eps ? w.Edit13 : w.Edit17));
  RightLabels place{extraRight, SlotsInUse(states)};
  if (c.CheckBox1 && states[1] == "calc") ++place.keyEntries;
  if (cd && c.CheckBox2 && c.CheckBox3) ++place.keyEntries;
  if (sigma && !w.CheckBox4) lines.push_back(bandWidthLabel(picture, w, c, place));
  if (w.CheckBox5 || !eps) {
    lines.push_back(KeyLine(picture, w.CheckBox5));
  } else {
    // gnuplot reckons the outside key as wide as its texts would be in the
    // terminal font and sets it that far from the picture's right edge, so
    // that a long name starts inside the frame: the key is made as wide as
    // its texts at the key size.
    const SlotTexts& titles = cd ? store.CDTITLE : store.UVTITLE;
    size_t longest = 0;
    for (long s = 1; s <= 5; ++s)
      if (states[s] == "calc" || states[s] == "exp") longest = std::max(longest, LegendName(titles[s]).size());
    if (c.CheckBox1 || (cd && c.CheckBox2)) longest = std::max(longest, LegendName("bar-" + titles[1]).size());
    const double share = 1 - TryStrToFloat(w.Edit14).value_or(18) / TryStrToFloat(c.cd.Edit12).value_or(32);
    const int narrower = static_cast<int>(std::floor(static_cast<double>(longest) * std::max(share, 0.0)));
    lines.push_back(KeyLine(picture, false) + (narrower > 0 ? " width -" + IntToStr(narrower) : std::string()));
  }
  if (!w.CheckBox4) correctionLabels(lines, picture, w, states, c, place);
}

void ordSection(std::vector<std::string>& lines, Picture picture, const FirstCurve& f, const PlotControls& c,
                const Store& store) {
  const UvEcdWindowControls& w = c.cd;
  const bool eps = picture == Picture::Eps;
  const std::string shift = OrdShiftText(c);
  lines.push_back(KeyLine(Picture::Png, false));
  squareLines(lines, picture, leftMarginGrowth(picture, f, c, store));
  lines.push_back("set tics out");
  lines.push_back("set xzeroaxis linetype 7 lw 2");
  // The axis labels keep the EPS font, at the size of the picture kind.
  const std::string& labelSize = eps ? w.Edit13 : w.Edit17;
  lines.push_back(axisLabel("x", "wavelength {/Symbol l} [nm]", w.Edit1, labelSize));
  const std::string labelFont = eps ? std::string() : "{/" + w.Edit15 + "=" + w.Edit18 + " ";
  const auto ordLabel = [&] {
    if (c.RadioButton3) lines.push_back(axisLabel("y", "ORD [deg (dm (g/cm^3))^{-1}]", w.Edit1, labelSize));
    if (c.RadioButton4) lines.push_back(axisLabel("y", "ORD [mdeg]", w.Edit1, labelSize));
  };
  if (eps) ordLabel();
  lines.push_back("set label \"" + labelFont + "shift:\" at graph 1.1,0.4");
  lines.push_back("set label \"" + labelFont + "curve 1 = " + shift + " nm\" at graph 1.1," +
                  (eps ? "0.33" : "0.35"));
  if (!eps) ordLabel();
  lines.push_back(KeyLine(Picture::Eps, false));
}

std::string usingPart(const std::string& x, const std::string& scaling) {
  return "using (" + x + "):($2*" + scaling + ")";
}

std::string curveText(const FirstCurve& f, const std::string& usingText, const std::string& title,
                      const std::string& style) {
  return GnuplotString(f.dataName + ".xy") + " " + usingText + " title " + GnuplotString(title) + " with " + style;
}

}  // namespace

double UserRangeUpperBound(const std::string& range) {
  std::string upper = upperBound(range);
  upper = upper.substr(0, upper.find(']'));
  return StrToFloat(upper);
}

PlotKind PlotKindOf(const std::string& PLOT) {
  if (PLOT == "CD") return PlotKind::CD;
  if (PLOT == "UV") return PlotKind::UV;
  if (PLOT == "ORD") return PlotKind::ORD;
  throw EConvertError("\"" + PLOT + "\" is no plot kind");
}

std::string OrdShiftText(const PlotControls& controls) {
  return controls.wavenumberUnit ? std::string("0") : NumberText(controls.Edit2);
}

std::vector<std::string> FirstCurveHead(Picture picture, const FirstCurve& f,
                                        const PlotControls& c, const Store& store) {
  std::vector<std::string> lines;
  const bool eps = picture == Picture::Eps;
  lines.push_back(f.COMMENT);
  lines.push_back("set encoding iso_8859_1");
  if (eps) {
    lines.push_back("set terminal postscript eps enhanced color solid " + quoted(c.cd.Edit1) + " " +
                    c.cd.Edit12);
  } else {
    const UvEcdWindowControls& w = windowOf(f.PLOT, c);
    const bool transparent = f.PLOT != PlotKind::ORD && w.CheckBox8;
    lines.push_back(std::string("set terminal pngcairo ") + (transparent ? "transparent " : "") +
                    "enhanced font " + quoted(w.Edit15 + ", " + w.Edit16) + " size 1024,768 ");
  }
  lines.push_back("set border 31 lw 2");
  // gnuplot 5 draws "lt N" in its own colours; the classic sequence keeps
  // curve 1 red in either dialect.
  lines.push_back("set colorsequence classic");
  if (eps) {
    EpsLineStyles(lines, c.gnuplot5);
  } else {
    const char* colours[] = {"red", "black", "green", "cyan", "magenta", "blue"};
    for (int i = 0; i < 6; ++i)
      lines.push_back("set style line " + IntToStr(i + 1) + " lt rgb \"" + colours[i] + "\" lw 2");
  }
  lines.push_back(xTicsLine(f.PLOT, f.XRANGE, c));
  lines.push_back("set mxtics 5");
  const std::string ytics = yTicsStep(f, c, store);
  lines.push_back("set ytics border nomirror norotate" + (ytics.empty() ? "" : " " + ytics));
  if (const int decimals = FixedTicDecimals(TryStrToFloat(ytics).value_or(0));
      decimals >= 0 && !powerLabelledY(f, c, store))
    lines.push_back(FixedFormatLine("y", decimals));
  lines.push_back("set mytics 2");
  if (!eps) lines.push_back("set tics scale 1,0.6");
  lines.push_back("set xrange [" + f.XRANGE + "]");
  lines.push_back("set yrange [" + f.YRANGE + "]");
  if (eps) lines.push_back("set tics scale 1,0.6");
  lines.push_back("show label");
  lines.push_back("set out " + GnuplotString(f.PSNAME + (eps ? ".eps" : ".png")));
  switch (f.PLOT) {
    case PlotKind::CD:
    case PlotKind::UV: uvEcdSection(lines, picture, f, c, store); break;
    case PlotKind::ORD: ordSection(lines, picture, f, c, store); break;
  }
  return lines;
}

PlotEntry FirstCurveEntry(Picture picture, const FirstCurve& f, const PlotControls& c,
                          const Store& store) {
  const bool eps = picture == Picture::Eps;
  const std::string op = c.wavenumberUnit ? "*" : "+";
  // The ORD curve takes its shift from OrdShiftText.
  const std::string S = f.PLOT == PlotKind::ORD ? std::string() : NumberText(c.Edit2);
  const std::string shifted = "$1" + op + "(" + S + ")";
  const std::string lines = "lines ls " + f.COLOR;
  switch (f.PLOT) {
    case PlotKind::CD: {
      const UvEcdWindowControls& w = c.cd;
      const std::string title = "{/" + w.Edit1 + "=" + w.Edit14 + " " + f.PLOTNAME;
      const std::string base = curveText(f, usingPart(shifted, f.SCALING), title, lines);
      if (!w.CheckBox2) return {base, {}};
      const std::string& state = store.CDACTIVE[1];
      if (!c.CheckBox1 && state == "calc") return {base + " axis x1y2", {}};
      if (eps) return {base + " axis x1y1", {}};
      return {curveText(f, usingPart("$1", f.SCALING), title, lines) + " axis x1y1", {}};
    }
    case PlotKind::UV: {
      const UvEcdWindowControls& w = c.uv;
      const std::string title = "{/" + w.Edit1 + "=" + (eps ? w.Edit14 : w.Edit18) + " " + f.PLOTNAME;
      const bool energy = w.CheckBox7 && !c.wavenumberUnit;
      const std::string base = curveText(f, usingPart(shifted, f.SCALING), title, lines);
      const std::string energyLine =
          curveText(f, usingPart("1239.482/(" + (eps ? shifted : "$1+(" + S + ")") + ")", f.SCALING), title, lines);
      const std::string& state = store.UVACTIVE[1];
      if (!w.CheckBox2) return {energy ? energyLine : base, {}};
      if (state == "calc") return {(energy ? energyLine : base) + " axis x1y2", {}};
      if (state != "exp") return {};
      if (!eps) return {(energy ? energyLine : curveText(f, usingPart("$1+(" + S + ")", f.SCALING), title, lines)) + " axis x1y1", {}};
      return {curveText(f, usingPart(energy ? "1239.482/($1)" : "$1", f.SCALING), title, lines) + " axis x1y1", {}};
    }
    case PlotKind::ORD: {
      const UvEcdWindowControls& w = c.cd;
      const std::string ordUsing = usingPart("$1+(" + OrdShiftText(c) + ")", f.SCALING);
      if (store.ORDACTIVE[1] == "exp") {
        const std::string title = eps ? " " + f.PLOTNAME : "{/" + w.Edit15 + "=" + w.Edit18 + " " + f.PLOTNAME + "}";
        return {curveText(f, ordUsing, title, lines), {}};
      }
      const std::string title =
          eps ? "{/" + w.Edit1 + "=" + w.Edit14 + " " + f.PLOTNAME : "{/" + w.Edit1 + "=" + w.Edit18 + " " + f.PLOTNAME + "}";
      // gnuplot 5 wants the point type named; computed rotations are points.
      std::string style;
      if (eps) style = c.CheckBox13 ? "linespoints ls 1 " : "points ls 1 pt 13";
      else style = (c.CheckBox13 ? "linespoints ls " : "points ls ") + f.COLOR + " pt 13";
      return {curveText(f, ordUsing, title, style), {}};
    }
  }
  return {};
}

// ---- The main window's writers ---------------------------------------------------

namespace {
void writeFirstCurve(TForm1& form, Picture picture, const std::string& PLOT,
                     const std::string& COMMENT, const std::string& XRANGE,
                     const std::string& YRANGE, const std::string& YTICS,
                     const std::string& PLOTNAME, const std::string& PSNAME,
                     const std::string& COLOR, const std::string& SCALING, bool MULTIPLOT,
                     bool SIGMA) {
  const FirstCurve curve{PlotKindOf(PLOT), COMMENT, XRANGE,  YRANGE,  YTICS,    PLOTNAME,
                         PLOTNAME,         PSNAME,  COLOR,   SCALING, MULTIPLOT, SIGMA};
  const PlotControls controls = ReadPlotControls(form);
  for (const std::string& line : FirstCurveHead(picture, curve, controls, form.store)) form.Memo2->Add(line);
  const PlotEntry entry = FirstCurveEntry(picture, curve, controls, form.store);
  if (entry.text.empty()) return;
  form.Memo2->Add("plot " + entry.text);
  if (MULTIPLOT) form.Memo2->AppendToLastLine(ContinuationMark);
}
}  // namespace

void TForm1::FirstCurveEPS(const std::string& PLOT, const std::string& COMMENT,
                           const std::string& XRANGE, const std::string& YRANGE,
                           const std::string& YTICS, const std::string& PLOTNAME,
                           const std::string& PSNAME, const std::string& COLOR,
                           const std::string& SCALING, bool MULTIPLOT, bool SIGMA) {
  Memo2->Clear();
  writeFirstCurve(*this, Picture::Eps, PLOT, COMMENT, XRANGE, YRANGE, YTICS, PLOTNAME, PSNAME,
                  COLOR, SCALING, MULTIPLOT, SIGMA);
}

void TForm1::FirstCurvePNG(const std::string& PLOT, const std::string& COMMENT,
                           const std::string& XRANGE, const std::string& YRANGE,
                           const std::string& YTICS, const std::string& PLOTNAME,
                           const std::string& PSNAME, const std::string& COLOR,
                           const std::string& SCALING, bool MULTIPLOT, bool SIGMA) {
  writeFirstCurve(*this, Picture::Png, PLOT, COMMENT, XRANGE, YRANGE, YTICS, PLOTNAME, PSNAME,
                  COLOR, SCALING, MULTIPLOT, SIGMA);
}
