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
#include "plots/plot_text.h"
#include "readers/reader_core.h"
#include "plots/uvecd_export.h"
#include "plots/uvplotting.h"

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

// The margins and canvas of a head, worked out from the texts they hold
// before any line is written.
struct HeadLayout {
  int leftMargin = 10;
  int rightMargin = 19;
  bool leftWritten = false;  // a picture that is not square writes its left margin only when it grows
  double widthScale = 1.4;   // EPS: the x size of the square or wide plot
  int pngWidth = 1024;
  int labelOffset = 2;  // characters from the frame's right edge to the labels beside a second axis
  int keyEntries = 0;
  int keyWidth = 0;     // the key line's width correction
};

const UvEcdWindowControls& windowOf(PlotKind kind, const PlotControls& c) {
  return kind == PlotKind::UV ? c.uv : c.cd;
}

bool anyCalc(const SlotTexts& states) {
  for (long s = 1; s <= 5; ++s)
    if (states[s] == "calc") return true;
  return false;
}

// Where a label of band width or shift stands: at `height` right of the
// square plot, or else `rows` text rows below the band-width label, right of
// the border (or of the second y axis where there is one). A plot that is
// not square is as wide as the picture lets it be: a tenth of its width
// beyond the border lies outside the picture. A key of more than five
// entries reaches below the middle: the labels then stand in rows below it.
std::string rightLabelPlace(const UvEcdWindowControls& w, const std::string& height, double rows,
                            const HeadLayout& place) {
  const bool belowKey = place.keyEntries > 5;
  if (w.CheckBox1 && !w.CheckBox2 && !belowKey) return " at graph 1.1," + height;
  const int offset = w.CheckBox2 ? place.labelOffset : 2;
  if (belowKey) {
    const std::string x = w.CheckBox1 && !w.CheckBox2 ? "1.1" : "1";
    // A key row is 1.25 text rows high.
    const double firstRow = 1.25 * place.keyEntries + 1;
    return " at graph " + x + ",1 offset character " + IntToStr(x == "1.1" ? 0 : offset) + "," +
           FloatToStr(-firstRow - rows);
  }
  return " at graph 1,0.5 offset character " + IntToStr(offset) + "," + FloatToStr(-1.5 - rows);
}

std::string bandWidthText(Picture picture, const UvEcdWindowControls& w, const PlotControls& c) {
  const std::string letter = c.lorentzian ? "g" : "s";
  if (picture == Picture::Eps) return "{/Symbol " + letter + "} = " + NumberText(c.Edit3) + " eV";
  return "{/Symbol=" + w.Edit18 + " " + letter + " }{/" + w.Edit15 + "=" + w.Edit18 + " = " + NumberText(c.Edit3) +
         " eV}";
}

// The texts of "shift:" or "scale:" and of each curve whose correction does
// something, with the heights and rows they stand at.
struct CorrectionLabel {
  std::string text;
  std::string height;
  double rows = 0;
};

std::vector<CorrectionLabel> correctionTexts(Picture picture, const UvEcdWindowControls& w, const SlotTexts& states,
                                             const PlotControls& c) {
  const bool png = picture == Picture::Png;
  const std::string pngFont = png ? "{/" + w.Edit15 + "=" + w.Edit18 + " " : std::string();
  std::vector<CorrectionLabel> labels;
  const std::string edits[] = {c.Edit2, c.Edit12, c.Edit13, c.Edit31, c.Edit32};
  const char* epsHeights[] = {"0.33", "0.26", "0.19", "0.12", "0.05"};
  const char* pngHeights[] = {"0.35", "0.3", "0.25", "0.2", "0.15"};
  labels.push_back({pngFont + (c.wavenumberUnit ? "scale:" : "shift:"), "0.4", 1.5});
  bool laterCalc = false;
  for (long s = 2; s <= 5; ++s) laterCalc = laterCalc || states[s] == "calc";
  if (!c.wavenumberUnit && laterCalc && !png)
    for (int k = 1; k < 5; ++k) StrToInt(edits[k]);
  for (long s = 1; s <= 5; ++s) {
    if (s > 1 && states[s] != "calc") continue;
    const std::string& edit = edits[s - 1];
    const bool shown = c.wavenumberUnit ? StrToFloat(edit) != 1 : StrToInt(edit) != 0;
    if (!shown) continue;
    labels.push_back({pngFont + "curve " + IntToStr(s) + " = " + edit + (c.wavenumberUnit ? "" : " nm"),
                      png ? pngHeights[s - 1] : epsHeights[s - 1], 1.5 + static_cast<double>(s)});
  }
  return labels;
}

// The second y axis: the computed curves (or, for ECD, the bars of curve 1)
// on their own scale, over the computed range of half-height `half` or the
// user's range as typed with its step from the upper bound. UV labels it in
// powers of ten, with a step they show exactly.
struct SecondAxis {
  std::string rangeLine;
  std::string ticsLine;
  AxisModel axis;
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
  SecondAxis second;
  double lower = 0, upper = 0, step = 0;
  if (w.CheckBox3) {
    const std::string userRange = UserRangeText(w.Edit8);
    second.rangeLine = "set y2range " + userRange;
    step = 0.5 * UserRangeUpperBound(userRange);
    const AxisModel typed = AxisOfTexts(userRange, "");
    lower = typed.lower;
    upper = typed.upper;
  } else {
    const YRange range = cd ? SymmetricRange(half) : FromZeroRange(half);
    second.rangeLine = "set y2range [" + range.text + "]";
    step = half * 0.5;
    lower = range.lower;
    upper = range.upper;
  }
  if (cd) {
    second.ticsLine = TicsLine(ticsPrefix, step);
    second.axis = OneFormAxis(lower, upper, TicStepValue(step));
  } else {
    const std::string written = TicStepText(PowerLabelStep(step));
    second.ticsLine = written.empty() ? std::string(ticsPrefix) : std::string(ticsPrefix) + " " + written;
    second.axis = PowerAxis(lower, upper, TicStepValue(PowerLabelStep(step)));
  }
  return second;
}

// A single computed UV curve labels its y axis in powers of ten; on the
// second y axis it leaves the y axis its plain range of -1 to 1.
bool powerLabelledY(const FirstCurve& f, const PlotControls& c, const Store& store) {
  return f.PLOT == PlotKind::UV && !f.MULTIPLOT && store.UVACTIVE[1] == "calc" && !c.uv.CheckBox2;
}

// The y axis as the head labels it.
AxisModel yAxisOf(const FirstCurve& f, const PlotControls& c, const Store& store) {
  if (powerLabelledY(f, c, store))
    return PowerAxis(f.yAxis.lower, f.yAxis.upper, TicStepValue(PowerLabelStep(f.yAxis.step)));
  return OneFormAxis(f.yAxis.lower, f.yAxis.upper, f.yAxis.step);
}

// The step the y axis is labelled with, as the head writes it.
std::string yTicsStep(const FirstCurve& f, const PlotControls& c, const Store& store) {
  // Powers-of-ten labels need a step they can show.
  return powerLabelledY(f, c, store) && f.yAxis.step != 0 ? TicStepText(PowerLabelStep(f.yAxis.step)) : f.YTICS;
}

double terminalSize(Picture picture, PlotKind kind, const PlotControls& c) {
  if (picture == Picture::Eps) return FontSize(c.cd.Edit12, 32);
  return FontSize((kind == PlotKind::UV ? c.uv : c.cd).Edit16, 20);
}

// The right margin beside no second y axis: the key and the labels of band
// width and shift stand in it.
int baseRightMargin(Picture picture) { return picture == Picture::Eps ? 19 : PngSquareRightMargin; }
// The left margin holds the y label and tic labels as wide as these.
const char* heldTicLabel(Picture picture) { return picture == Picture::Eps ? "44000" : "1000"; }

// The key's titles: those the exporter gives, else curve 1's.
std::vector<ColumnText> keyTitlesOf(Picture picture, const FirstCurve& f, const PlotControls& c, const Store& store) {
  if (!f.keyTitles.empty()) return f.keyTitles;
  return {FirstCurveTitle(picture, f, c, store)};
}

// The ORD labels of the shift beside the plot.
std::vector<std::string> ordLabelTexts(Picture picture, const PlotControls& c) {
  const std::string labelFont = picture == Picture::Eps ? std::string() : "{/" + c.cd.Edit15 + "=" + c.cd.Edit18 + " ";
  return {labelFont + "shift:", labelFont + "curve 1 = " + OrdShiftText(c) + " nm"};
}

HeadLayout layoutOf(Picture picture, const FirstCurve& f, const PlotControls& c, const Store& store) {
  const UvEcdWindowControls& w = windowOf(f.PLOT, c);
  const bool ord = f.PLOT == PlotKind::ORD;
  const double size = terminalSize(picture, f.PLOT, c);
  HeadLayout layout;
  const int leftGrowth = CharactersFor(
      picture, WidestTicLabel(yAxisOf(f, c, store), picture, size) - TextWidth(picture, heldTicLabel(picture), size),
      size);
  layout.leftMargin = 10 + leftGrowth;
  layout.leftWritten = ord || w.CheckBox1 || leftGrowth > 0;
  const int base = ord ? 19 + (picture == Picture::Png ? 3 : 0) : baseRightMargin(picture);
  layout.rightMargin = base;
  RightColumn column;
  column.picture = picture;
  column.terminalSize = size;
  if (!ord && w.CheckBox2) {
    const SecondAxis second = secondAxisOf(f.PLOT == PlotKind::CD, c, store);
    column.secondAxisLabels = WidestTicLabel(second.axis, picture, size);
    column.secondAxisTitleSize = FontSize(picture == Picture::Eps ? w.Edit13 : w.Edit17, 20);
  }
  column.keyTitles = keyTitlesOf(picture, f, c, store);
  if (ord) {
    for (const std::string& label : ordLabelTexts(picture, c)) column.labels.push_back({label, size});
  } else if (!w.CheckBox4) {
    const SlotTexts& states = f.PLOT == PlotKind::CD ? store.CDACTIVE : store.UVACTIVE;
    if (f.SIGMA || anyCalc(states)) column.labels.push_back({bandWidthText(picture, w, c), size});
    for (const CorrectionLabel& label : correctionTexts(picture, w, states, c))
      column.labels.push_back({label.text, size});
  }
  layout.keyEntries = static_cast<int>(column.keyTitles.size());
  const bool keyInside = !ord && w.CheckBox5;
  if (!keyInside) layout.keyWidth = KeyWidthCorrection(column);
  else column.keyTitles.clear();
  layout.labelOffset = LabelOffsetCharacters(column);
  // Beside a second axis the column holds its labels, then the key; the
  // key alone stands in the margin it always had, which the PNG widens for
  // long titles.
  if ((!ord && w.CheckBox2) || picture == Picture::Png) layout.rightMargin = std::max(base, ColumnCharacters(column));
  // The frame keeps the size it has beside the margins of one short name,
  // less a tenth at most: margins beyond those widen the picture.
  const double character = CharacterWidth(picture, size);
  const double referenceFrame = (picture == Picture::Eps ? 1.4 * 5 * 72 : 1024.0) - (10 + base) * character;
  const int allowance = static_cast<int>(std::floor(0.1 * referenceFrame / character));
  const int beyond = layout.leftMargin + layout.rightMargin - 10 - base - allowance;
  if (beyond > 0) {
    const double extra = beyond * character;
    if (picture == Picture::Eps) layout.widthScale = 1.4 + extra / (5 * 72);
    else layout.pngWidth = 1024 + static_cast<int>(std::ceil(extra));
  }
  return layout;
}

std::string sizeLine(bool square, const HeadLayout& layout) {
  const std::string width = layout.widthScale == 1.4 ? std::string("1.4") : FloatToStrF(layout.widthScale, 3);
  return std::string(square ? "set size square " : "set size ") + width + ",1.4";
}

void marginLines(std::vector<std::string>& lines, Picture picture, bool square, const HeadLayout& layout) {
  if (square) {
    lines.push_back(picture == Picture::Eps ? sizeLine(true, layout) : "set size square 1.0,1.0");
  } else if (picture == Picture::Eps) {
    // A plot that is not square takes the whole picture beside the right
    // margin of the square one; the EPS picture is as large as the square
    // one's, so that the margin leaves the plot room for its tic labels.
    lines.push_back(sizeLine(false, layout));
  }
  if (layout.leftWritten) lines.push_back("set lmargin " + IntToStr(layout.leftMargin));
  lines.push_back("set rmargin " + IntToStr(layout.rightMargin));
  if (square) {
    lines.push_back(TopMarginLine);
    lines.push_back("set bmargin 2");
  }
}

// The label of a second y axis that carries the computed bands. A loader
// moves the computed curve's label there when a measured curve joins a
// computed slot 1; beside a measured slot 1 the field holds no label, the y1
// one, or the unit of the rotatory strengths a reader left, and the axis is
// named by the quantity of the computed bands, as beside a computed slot 1.
std::string secondAxisTitle(bool cd, const PlotControls& c, const Store& store) {
  const UvEcdWindowControls& w = cd ? c.cd : c.uv;
  const std::string& slot1 = cd ? store.CDACTIVE[1] : store.UVACTIVE[1];
  if (slot1 == "calc") return w.Edit11;
  bool unnamed = Trim(w.Edit11).empty() || w.Edit11 == w.Edit10;
  if (cd)
    for (const char* strength : {readers::gaussianUnitLabel, readers::orcaUnitLabel, readers::esuUnitLabel})
      unnamed = unnamed || w.Edit11 == QuotedText(strength);
  if (!unnamed) return w.Edit11;
  return cd ? QuotedText(readers::deltaEpsilonLabel) : std::string(ComputedAbsorptionLabel);
}

void cdSecondAxis(std::vector<std::string>& lines, Picture picture, const PlotControls& c,
                  const Store& store) {
  const UvEcdWindowControls& w = c.cd;
  const SecondAxis second = secondAxisOf(true, c, store);
  lines.push_back(second.rangeLine);
  lines.push_back(second.ticsLine);
  for (std::string& line : AxisFormatLines(second.axis, "y2")) lines.push_back(std::move(line));
  lines.push_back("set my2tics 2");
  const std::string font = picture == Picture::Eps ? fontOf(w.Edit1, w.Edit13) : fontOf(w.Edit15, w.Edit17);
  if (!c.CheckBox1)
    lines.push_back("set y2label \"" + secondAxisTitle(true, c, store) + (picture == Picture::Eps ? "-calc \"" : "-calc\"") +
                    font);
  else
    lines.push_back(R"(set y2label "CD [erg \327 cm^3 \327 10^{-40}]")" + font);
}

void uvSecondAxis(std::vector<std::string>& lines, Picture picture, const PlotControls& c,
                  const Store& store) {
  const UvEcdWindowControls& w = c.uv;
  const SecondAxis second = secondAxisOf(false, c, store);
  lines.push_back(second.rangeLine);
  lines.push_back(second.ticsLine);
  for (std::string& line : AxisFormatLines(second.axis, "y2")) lines.push_back(std::move(line));
  lines.push_back("set my2tics 2");
  lines.push_back("set y2label \"" + secondAxisTitle(false, c, store) + "\"" +
                  (picture == Picture::Eps ? fontOf(w.Edit1, w.Edit13) : fontOf(w.Edit15, w.Edit17)));
}

std::string axisLabel(const char* axis, const std::string& text, const std::string& font,
                      const std::string& size) {
  return std::string("set ") + axis + "label \"" + text + "\"" + fontOf(font, size);
}

// The CD and UV sections: options, second axis, labels, key and the
// correction labels of the kind's slots.
void uvEcdSection(std::vector<std::string>& lines, Picture picture, const FirstCurve& f,
                  const PlotControls& c, const Store& store, const HeadLayout& layout) {
  const bool cd = f.PLOT == PlotKind::CD;
  const UvEcdWindowControls& w = windowOf(f.PLOT, c);
  const SlotTexts& states = cd ? store.CDACTIVE : store.UVACTIVE;
  const bool eps = picture == Picture::Eps;
  const bool sigma = f.SIGMA || anyCalc(states);
  if (powerLabelledY(f, c, store))
    for (std::string& line : AxisFormatLines(yAxisOf(f, c, store), "y")) lines.push_back(std::move(line));
  marginLines(lines, picture, w.CheckBox1, layout);
  if (cd) {
    lines.push_back(w.CheckBox7 ? "set xzeroaxis linetype 0 lw 2" : "set xzeroaxis linetype 7 lw 2");
    if (!eps) lines.push_back("set tics scale 1,0.6");
  }
  lines.push_back(w.CheckBox6 ? "set tics in" : "set tics out");
  if (w.CheckBox2) (cd ? cdSecondAxis : uvSecondAxis)(lines, picture, c, store);
  lines.push_back(eps ? axisLabel("y", w.Edit10, w.Edit1, w.Edit13) : axisLabel("y", w.Edit10, w.Edit15, w.Edit17));
  lines.push_back(axisLabel("x", w.Edit9, w.Edit1, eps ? w.Edit13 : w.Edit17));
  if (sigma && !w.CheckBox4)
    lines.push_back("set label \"" + bandWidthText(picture, w, c) + "\"" + rightLabelPlace(w, "0.5", 0, layout));
  // gnuplot reckons the outside key as wide as its titles would be in the
  // terminal font and sets it that far from the picture's right edge: the
  // key is made as wide as its titles are drawn.
  std::string key = KeyLine(picture, w.CheckBox5);
  if (!w.CheckBox5 && layout.keyWidth != 0) key += " width " + IntToStr(layout.keyWidth);
  lines.push_back(key);
  if (!w.CheckBox4)
    for (const CorrectionLabel& label : correctionTexts(picture, w, states, c))
      lines.push_back("set label \"" + label.text + "\"" + rightLabelPlace(w, label.height, label.rows, layout));
}

void ordSection(std::vector<std::string>& lines, Picture picture, const PlotControls& c, const HeadLayout& layout) {
  const UvEcdWindowControls& w = c.cd;
  const bool eps = picture == Picture::Eps;
  const std::vector<std::string> labels = ordLabelTexts(picture, c);
  lines.push_back(KeyLine(Picture::Png, false));
  marginLines(lines, picture, /*square*/ true, layout);
  lines.push_back("set tics out");
  lines.push_back("set xzeroaxis linetype 7 lw 2");
  // The axis labels keep the EPS font, at the size of the picture kind.
  const std::string& labelSize = eps ? w.Edit13 : w.Edit17;
  lines.push_back(axisLabel("x", "wavelength {/Symbol l} [nm]", w.Edit1, labelSize));
  const auto ordLabel = [&] {
    if (c.RadioButton3) lines.push_back(axisLabel("y", "ORD [deg (dm (g/cm^3))^{-1}]", w.Edit1, labelSize));
    if (c.RadioButton4) lines.push_back(axisLabel("y", "ORD [mdeg]", w.Edit1, labelSize));
  };
  if (eps) ordLabel();
  lines.push_back("set label \"" + labels[0] + "\" at graph 1.1,0.4");
  lines.push_back("set label \"" + labels[1] + "\" at graph 1.1," + (eps ? "0.33" : "0.35"));
  if (!eps) ordLabel();
  // The key as wide as its titles are drawn.
  lines.push_back(KeyLine(Picture::Eps, false) + (layout.keyWidth != 0 ? " width " + IntToStr(layout.keyWidth) : ""));
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

AxisModel AxisOfTexts(const std::string& range, const std::string& step) {
  std::string bounds = range;
  for (char bracket : {'[', ']'})
    if (const size_t at = bounds.find(bracket); at != std::string::npos) bounds.erase(at, 1);
  AxisModel axis;
  const std::optional<double> lower = TryStrToFloat(Trim(lowerBound(bounds)));
  const std::optional<double> upper = TryStrToFloat(Trim(upperBound(bounds)));
  if (lower && upper) {
    axis.lower = std::min(*lower, *upper);
    axis.upper = std::max(*lower, *upper);
  }
  axis.step = std::abs(TryStrToFloat(step).value_or(0));
  return axis;
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
  const HeadLayout layout = layoutOf(picture, f, c, store);
  lines.push_back(f.COMMENT);
  lines.push_back("set encoding iso_8859_1");
  if (eps) {
    lines.push_back("set terminal postscript eps enhanced color solid " + quoted(c.cd.Edit1) + " " +
                    c.cd.Edit12);
  } else {
    const UvEcdWindowControls& w = windowOf(f.PLOT, c);
    const bool transparent = f.PLOT != PlotKind::ORD && w.CheckBox8;
    lines.push_back(std::string("set terminal pngcairo ") + (transparent ? "transparent " : "") +
                    "enhanced font " + quoted(w.Edit15 + ", " + w.Edit16) + " size " + IntToStr(layout.pngWidth) +
                    ",768 ");
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
  if (!powerLabelledY(f, c, store))
    for (std::string& line : AxisFormatLines(yAxisOf(f, c, store), "y")) lines.push_back(std::move(line));
  lines.push_back("set mytics 2");
  if (!eps) lines.push_back("set tics scale 1,0.6");
  lines.push_back("set xrange [" + f.XRANGE + "]");
  lines.push_back("set yrange [" + f.YRANGE + "]");
  if (eps) lines.push_back("set tics scale 1,0.6");
  lines.push_back("show label");
  lines.push_back("set out " + GnuplotString(f.PSNAME + (eps ? ".eps" : ".png")));
  switch (f.PLOT) {
    case PlotKind::CD:
    case PlotKind::UV: uvEcdSection(lines, picture, f, c, store, layout); break;
    case PlotKind::ORD: ordSection(lines, picture, c, layout); break;
  }
  return lines;
}

ColumnText FirstCurveTitle(Picture picture, const FirstCurve& f, const PlotControls& c, const Store& store) {
  const bool eps = picture == Picture::Eps;
  const auto sized = [](const std::string& font, const std::string& size, const std::string& text,
                        const std::string& close) {
    return ColumnText{"{/" + font + "=" + size + " " + text + close, FontSize(size, 18)};
  };
  switch (f.PLOT) {
    case PlotKind::CD: return sized(c.cd.Edit1, c.cd.Edit14, f.PLOTNAME, "");
    case PlotKind::UV: return sized(c.uv.Edit1, eps ? c.uv.Edit14 : c.uv.Edit18, f.PLOTNAME, "");
    case PlotKind::ORD:
      if (store.ORDACTIVE[1] == "exp") {
        // The measured curve's EPS title is drawn in the terminal font.
        if (eps) return {" " + f.PLOTNAME, FontSize(c.cd.Edit12, 32)};
        return sized(c.cd.Edit15, c.cd.Edit18, f.PLOTNAME, "}");
      }
      return eps ? sized(c.cd.Edit1, c.cd.Edit14, f.PLOTNAME, "") : sized(c.cd.Edit1, c.cd.Edit18, f.PLOTNAME, "}");
  }
  return {};
}

PlotEntry FirstCurveEntry(Picture picture, const FirstCurve& f, const PlotControls& c,
                          const Store& store) {
  const std::string title = FirstCurveTitle(picture, f, c, store).markup;
  const bool eps = picture == Picture::Eps;
  const std::string op = c.wavenumberUnit ? "*" : "+";
  // The ORD curve takes its shift from OrdShiftText.
  const std::string S = f.PLOT == PlotKind::ORD ? std::string() : NumberText(c.Edit2);
  const std::string shifted = "$1" + op + "(" + S + ")";
  const std::string lines = "lines ls " + f.COLOR;
  switch (f.PLOT) {
    case PlotKind::CD: {
      const UvEcdWindowControls& w = c.cd;
      const std::string base = curveText(f, usingPart(shifted, f.SCALING), title, lines);
      if (!w.CheckBox2) return {base, {}};
      const std::string& state = store.CDACTIVE[1];
      if (!c.CheckBox1 && state == "calc") return {base + " axis x1y2", {}};
      if (eps) return {base + " axis x1y1", {}};
      return {curveText(f, usingPart("$1", f.SCALING), title, lines) + " axis x1y1", {}};
    }
    case PlotKind::UV: {
      const UvEcdWindowControls& w = c.uv;
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
      const std::string ordUsing = usingPart("$1+(" + OrdShiftText(c) + ")", f.SCALING);
      if (store.ORDACTIVE[1] == "exp") return {curveText(f, ordUsing, title, lines), {}};
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
  // The writers are given the range and step as text.
  const FirstCurve curve{PlotKindOf(PLOT), COMMENT,   XRANGE, YRANGE,
                         YTICS,            PLOTNAME,  PLOTNAME, PSNAME,
                         COLOR,            SCALING,   MULTIPLOT, SIGMA,
                         AxisOfTexts(YRANGE, YTICS), {}};
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
