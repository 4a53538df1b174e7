// The UV/ECD page: its redraw and the eight painters of its two panels (UV
// above, ECD below), over the wavelength grid or, in the wavenumber unit of
// the settings, over 1/cm with the high wavenumbers on the left.
#include <array>
#include <functional>
#include <optional>
#include <cmath>
#include <span>
#include <string>

#include "app/Main.h"
#include "display/blank_plot.h"
#include "display/plot_geometry.h"
#include "display/plot_painting.h"
#include "display/ranges.h"
#include "platform/numbers.h"
#include "settings/settings.h"

namespace {

constexpr int UV_ZERO = 260;
constexpr int ECD_ZERO = 560;

// The x window as the painters read it: nm in the wavelength unit, 1/cm
// (x1 the high end, at the left) in the wavenumber unit.
struct UvEcdWindow {
  UvEcdUnit unit = UvEcdUnit::Wavelength;
  int x1 = 0;
  int x2 = 0;
  bool reversed() const { return unit == UvEcdUnit::Wavelength ? x1 > x2 : x1 < x2; }
};

// The x correction of a computed slot: a shift in whole nm, or an x scale
// factor in the wavenumber unit.
struct Correction {
  int shift = 0;
  double xScale = 1.0;
};

Correction readCorrection(UvEcdUnit unit, const Edit& edit) {
  Correction correction;
  if (unit == UvEcdUnit::Wavelength)
    correction.shift = StrToInt(edit.Text());
  else
    correction.xScale = StrToFloat(edit.Text());
  return correction;
}

std::span<const double> binsOf(const Grid2<MINLAMBDA, MAXLAMBDA, 5>& grid, int slot) {
  return {grid.slotData(slot), static_cast<size_t>(grid.size)};
}

std::span<const double> pointsOf(const Grid2<1, 10000, 5>& grid, int slot) {
  return {grid.slotData(slot), static_cast<size_t>(grid.size)};
}

double binValue(std::span<const double> band, int bin) { return band[static_cast<size_t>(bin - MINLAMBDA)]; }

// A computed band: from the first bin of its run in the wavelength unit; in
// the wavenumber unit from the left axis at the height of grid bin 1000, then
// through every bin inside the window.
void drawComputedCurve(OffscreenPlot& plot, std::span<const double> band, const UvEcdWindow& window,
                       const Correction& correction, int zero, double fullScale, bool mirrored) {
  const double sign = mirrored ? -1.0 : 1.0;
  auto y = [&](int bin) { return valueY(zero, fullScale, sign * binValue(band, bin)); };
  if (!y(MINLAMBDA)) return;
  if (window.unit == UvEcdUnit::Wavelength) {
    const auto run = wavelengthCurveRun(window.x1, window.x2, correction.shift);
    if (!run) return;
    plot.moveTo(run->firstX, y(run->firstBin));
    for (int bin = run->firstBin; bin <= run->lastBin; ++bin) plot.lineTo(run->x(bin), y(bin));
    return;
  }
  const auto step = wavenumberStep(window.x1, window.x2);
  if (!step) return;
  plot.moveTo(50, y(MINLAMBDA));
  for (int bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin) {
    const double w = binWavenumber(bin, correction.xScale);
    if (window.x2 <= w && w <= window.x1) plot.lineTo(wavenumberX(window.x1, *step, w), y(bin));
  }
}

// The bars of slot 1's line spectrum, scaled to their own largest line.
void drawBars(OffscreenPlot& plot, std::span<const double> lines, const UvEcdWindow& window,
              const Correction& correction, int zero, bool absoluteScale, bool mirrored) {
  const double sign = mirrored ? -1.0 : 1.0;
  if (window.unit == UvEcdUnit::Wavelength) {
    const auto run = wavelengthCurveRun(window.x1, window.x2, correction.shift);
    if (!run) return;
    const double scale = barScale(lines, MINLAMBDA, run->firstBin, run->lastBin, absoluteScale);
    if (scale == 0.0) return;
    for (int bin = run->firstBin; bin <= run->lastBin; ++bin) {
      const double value = binValue(lines, bin);
      if (value == 0.0) continue;
      const int x = run->x(bin);
      plot.line(x, zero, x, *valueY(zero, scale, sign * value));
    }
    return;
  }
  const auto step = wavenumberStep(window.x1, window.x2);
  const auto scanned = wavenumberBinRun({window.x1, window.x2}, correction.xScale);
  if (!step || !scanned) return;
  const double scale =
      barScale(lines, MINLAMBDA, scanned->first, std::max(scanned->first, scanned->last), absoluteScale);
  if (scale == 0.0) return;
  for (int bin = MINLAMBDA; bin < MAXLAMBDA; ++bin) {
    const double w = binWavenumber(bin, correction.xScale);
    const double value = binValue(lines, bin);
    if (window.x2 <= w && w <= window.x1 && value != 0.0) {
      const int x = wavenumberX(window.x1, *step, w);
      plot.line(x, zero, x, *valueY(zero, scale, sign * value));
    }
  }
}

// A measured curve, stored with the wavelength falling: drawn from the
// shortest wavelength in the window to the longest.
void drawMeasuredCurve(OffscreenPlot& plot, std::span<const double> xs, std::span<const double> ys, int count,
                       const UvEcdWindow& window, int zero, double fullScale) {
  if (fullScale == 0.0 || window.x1 == window.x2) return;
  std::optional<PointWalk> walk;
  std::function<int(double)> xOf;
  if (window.unit == UvEcdUnit::Wavelength) {
    walk = fallingPointWalk(
        xs, count, [&](double x) { return x < window.x1; }, [&](double x) { return x > window.x2; });
    xOf = [&](double x) { return *measuredWavelengthX(window.x1, window.x2, x); };
  } else {
    const double step = *wavenumberStep(window.x1, window.x2);
    walk = fallingPointWalk(
        xs, count, [&](double x) { return 1e7 / x > window.x1; }, [&](double x) { return 1e7 / x < window.x2; });
    xOf = [&window, step](double x) { return wavenumberX(window.x1, step, 1e7 / x); };
  }
  if (!walk) return;
  auto point = [&](int k) { return std::pair{xOf(xs[k - 1]), valueY(zero, fullScale, ys[k - 1])}; };
  const auto [firstX, firstY] = point(walk->from);
  plot.moveTo(firstX, firstY);
  for (int k = walk->from; k >= walk->to; --k) {
    const auto [x, y] = point(k);
    plot.lineTo(x, y);
  }
}

std::string xTitle(UvEcdUnit unit, bool lowerCase) {
  if (unit == UvEcdUnit::Wavelength) return lowerCase ? "wavelength in nm" : "Wavelength in nm";
  return lowerCase ? "wavenumber in 1/cm" : "Wavenumber in 1/cm";
}

// Ticks and labels of the x axis at y = axisY.
void xTicks(OffscreenPlot& plot, const UvEcdWindow& window, int axisY, bool upperPanel) {
  for (int k = 0; k <= 10; ++k) {
    plot.line(50 + 45 * k, axisY, 50 + 45 * k, axisY + 5);
    long long label;
    if (window.unit == UvEcdUnit::Wavenumber)
      label = wavenumberTickLabel(window.x1, window.x2, k);
    else
      label = upperPanel ? uvTickLabel(window.x1, window.x2, k) : ecdTickLabel(window.x1, window.x2, k);
    plot.text(42 + 45 * k, axisY + 7, IntToStr(label));
  }
}

void yTicks(OffscreenPlot& plot, int top, int count, bool percentLabels) {
  static const std::array<const char*, 5> percent = {"100", "50", "0", "-50", "-100"};
  for (int i = 0; i < count; ++i) {
    const int y = top + 100 * i;
    plot.line(50, y, 45, y);
    if (percentLabels) plot.text(20, y - 7, percent[static_cast<size_t>(i)]);
  }
}

// The labels of the full scale, its half and zero, each telling its tick's
// value; a small full scale puts its power of ten under the title at
// (titleX, titleY), as the IR/VCD page does.
void absoluteLabels(OffscreenPlot& plot, int top, double fullScale, bool withNegatives, int titleX, int titleY) {
  const AbsoluteScale scale = absoluteScale(fullScale);
  if (scale.exponent != 0) {
    plot.text(titleX, titleY, "  x10");
    plot.text(titleX + 26, titleY - 5, IntToStr(scale.exponent));
  }
  plot.text(20, top - 7, absoluteLabel(scale, fullScale));
  plot.text(20, top + 93, absoluteLabel(scale, 0.5 * fullScale));
  plot.text(20, top + 193, "0");
  if (!withNegatives) return;
  plot.text(20, top + 293, absoluteLabel(scale, -0.5 * fullScale));
  plot.text(20, top + 393, absoluteLabel(scale, -fullScale));
}

// The y ticks and labels of the ECD panel: percent of the first curve, or
// absolute values of the full scale.
void ecdYAxis(OffscreenPlot& plot, bool percent, double fullScale) {
  yTicks(plot, 360, 5, percent);
  plot.font("Symbol", 12);
  plot.text(2, 412, "De");
  plot.font("default", 8);
  if (percent)
    plot.text(2, 428, "  in %");
  else
    absoluteLabels(plot, 360, fullScale, /*withNegatives*/ true, 2, 428);
}

void uvYAxis(OffscreenPlot& plot, bool percent, double fullScale) {
  yTicks(plot, 60, 3, percent);
  if (percent) {
    plot.text(1, 12, "rel. Abs.");
    plot.text(1, 28, "  in %");
  } else {
    plot.text(1, 12, "Absorption");
    absoluteLabels(plot, 60, fullScale, /*withNegatives*/ false, 1, 28);
  }
}

std::string bandWidthLabel(const std::string& width) {
  const bool lorentzian = Form2 != nullptr && Form2->RadioButton4->Checked();
  return (lorentzian ? "gamma: " : "sigma: ") + width + " eV";
}

}  // namespace

void TForm1::RedrawUVCD() {
  BlankPlot(*Image1);
  Memo1->Clear();
  const UvEcdUnit unit = uvEcdUnit();
  int whole = 0;
  double real = 0.0;
  const bool correctionOk =
      unit == UvEcdUnit::Wavelength ? TryStrToInt(Edit2->Text(), whole) : TryStrToFloat(Edit2->Text(), real);
  if (!correctionOk || !TryStrToInt(Edit4->Text(), whole) || !TryStrToInt(Edit5->Text(), whole)) return;

  const bool autoScaling = CheckBox8->Checked();
  if (slotUsed(store.UVACTIVE[1])) {
    DetermineUVRange();
    paintPanel(*Memo1, "Scaling factors (UV):", store.UVACTIVE, store.UVFACTOR, autoScaling,
               {[this] { DrawXYUV(); }, [this] { DrawUV(); }, [this](int s) { AddXYUV(s); },
                [this](int s) { AddUV(s); }});
  }
  if (slotUsed(store.CDACTIVE[1])) {
    DetermineCDRange();
    paintPanel(*Memo1, "Scaling factors (ECD):", store.CDACTIVE, store.CDFACTOR, autoScaling,
               {[this] { DrawXYCD(); }, [this] { DrawCD(); }, [this](int s) { AddXYCD(s); },
                [this](int s) { AddCD(s); }});
  }
}

namespace {
// Reads the painters' window: the nm edits always hold whole numbers; the
// wavenumber unit draws over the 1/cm edits.
UvEcdWindow pageWindow(const TForm1& form, UvEcdUnit unit) {
  UvEcdWindow window;
  window.unit = unit;
  window.x1 = StrToInt(form.Edit4->Text());
  window.x2 = StrToInt(form.Edit5->Text());
  if (unit == UvEcdUnit::Wavenumber) {
    window.x1 = StrToInt(form.Edit35->Text());
    window.x2 = StrToInt(form.Edit36->Text());
  }
  return window;
}

// The x correction edit of slots 2..5.
Correction slotCorrection(const TForm1& form, UvEcdUnit unit, int slot) {
  const std::array<Edit*, 4> corrections = {form.Edit12, form.Edit13, form.Edit31, form.Edit32};
  return readCorrection(unit, *corrections[static_cast<size_t>(slot - 2)]);
}
}  // namespace

void TForm1::DrawCD() {
  const UvEcdUnit unit = uvEcdUnit();
  const UvEcdWindow window = pageWindow(*this, unit);
  const Correction correction = readCorrection(unit, *Edit2);
  if (window.reversed()) return;
  OffscreenPlot plot(*Image1, OffscreenPlot::Start::CopyOfPicture);
  panelAxes(plot, 760, 360);

  const bool autoScaling = CheckBox8->Checked();
  const bool percent = autoScaling && slotUsed(store.CDACTIVE[2]);
  ecdYAxis(plot, percent, store.CDMAX[1] * store.CDFACTOR[1] * 1.1);
  xTicks(plot, window, 760, /*upperPanel*/ false);
  plot.line(500, ECD_ZERO, 50, ECD_ZERO);
  plot.text(460, 780, xTitle(unit, false));
  plot.text(553, 574, bandWidthLabel(Edit3->Text()));
  firstLegendEntry(plot, 500, store.CDTITLE[1]);

  const double fullScale = uvEcdFullScale(store.CDMAX[1], autoScaling ? 1.0 : store.CDFACTOR[1], false);
  showSymmetricRange(*Edit6, *Edit7, fullScale);

  const auto band = binsOf(store.EPS, 1);
  const auto lines = binsOf(store.ROTS, 1);
  const bool bars = CheckBox1->Checked() && autoScaling;
  if (CheckBox3->Checked()) {
    plot.colour(clRed);
    drawComputedCurve(plot, band, window, correction, ECD_ZERO, fullScale, false);
    if (bars) {
      plot.colour(clBlack);
      drawBars(plot, lines, window, correction, ECD_ZERO, /*absoluteScale*/ true, false);
    }
  }
  if (CheckBox2->Checked()) {
    plot.colour(clBlue);
    drawComputedCurve(plot, band, window, correction, ECD_ZERO, fullScale, true);
    plot.line(530, 520, 550, 520);
    plot.canvas().Font.Color = clBlack;
    plot.text(553, 514, "mirrored spectrum");
    if (bars) drawBars(plot, lines, window, correction, ECD_ZERO, /*absoluteScale*/ true, true);
  }
  plot.finish();
}

void TForm1::DrawUV() {
  const UvEcdUnit unit = uvEcdUnit();
  const UvEcdWindow window = pageWindow(*this, unit);
  const Correction correction = readCorrection(unit, *Edit2);
  if (window.reversed()) return;
  OffscreenPlot plot(*Image1, OffscreenPlot::Start::CopyOfPicture);
  panelAxes(plot, 310, 60);

  const bool autoScaling = CheckBox8->Checked();
  const bool percent = autoScaling && slotUsed(store.UVACTIVE[2]);
  uvYAxis(plot, percent, store.UVMAX[1] * store.UVFACTOR[1] * 1.1);
  xTicks(plot, window, 310, /*upperPanel*/ true);
  plot.text(460, 330, xTitle(unit, false));
  plot.text(553, 174, bandWidthLabel(Edit3->Text()));
  firstLegendEntry(plot, 120, store.UVTITLE[1]);

  const double scaling = autoScaling ? 1.0 : store.UVFACTOR[1];
  Edit15->SetText(rangeText(uvEcdFullScale(store.UVMAX[1], scaling, true)));
  Edit14->SetText("0");
  const double fullScale = uvEcdFullScale(store.UVMAX[1], scaling, unit == UvEcdUnit::Wavelength);

  if (CheckBox5->Checked()) {
    plot.colour(clRed);
    drawComputedCurve(plot, binsOf(store.ABSG, 1), window, correction, UV_ZERO, fullScale, false);
  }
  if (CheckBox1->Checked() && autoScaling) {
    plot.colour(clBlack);
    drawBars(plot, binsOf(store.OSC, 1), window, correction, UV_ZERO, /*absoluteScale*/ false, false);
  }
  plot.finish();
}

void TForm1::AddCD(int slot) {
  if (slot < 2 || slot > 5) return;
  const UvEcdUnit unit = uvEcdUnit();
  const UvEcdWindow window = pageWindow(*this, unit);
  const Correction correction = slotCorrection(*this, unit, slot);
  if (window.reversed()) return;
  const double scaling = CheckBox8->Checked() ? 1.0 : store.CDFACTOR[slot];
  paintSlotCurve(*Image1, slotColour(slot, false), 576 + 14 * slot, store.CDTITLE[slot],
                 [&](OffscreenPlot& plot) {
                   drawComputedCurve(plot, binsOf(store.EPS, slot), window, correction, ECD_ZERO,
                                     uvEcdFullScale(store.CDMAX[slot], scaling, false), false);
                 });
}

void TForm1::AddUV(int slot) {
  if (slot < 2 || slot > 5) return;
  const UvEcdUnit unit = uvEcdUnit();
  const UvEcdWindow window = pageWindow(*this, unit);
  const Correction correction = slotCorrection(*this, unit, slot);
  if (window.reversed()) return;
  const double scaling = CheckBox8->Checked() ? 1.0 : store.UVFACTOR[slot];
  paintSlotCurve(
      *Image1, slotColour(slot, true), 170 + 14 * slot, store.UVTITLE[slot], [&](OffscreenPlot& plot) {
        drawComputedCurve(plot, binsOf(store.ABSG, slot), window, correction, UV_ZERO,
                          uvEcdFullScale(store.UVMAX[slot], scaling, unit == UvEcdUnit::Wavelength), false);
      });
}

void TForm1::DrawXYCD() {
  const UvEcdUnit unit = uvEcdUnit();
  const UvEcdWindow window = pageWindow(*this, unit);
  if (window.reversed()) return;
  OffscreenPlot plot(*Image1, OffscreenPlot::Start::CopyOfPicture);
  panelAxes(plot, 760, 360);

  const bool autoScaling = CheckBox8->Checked();
  const bool percent = autoScaling && slotUsed(store.CDACTIVE[2]);
  xTicks(plot, window, 760, /*upperPanel*/ false);
  plot.line(500, ECD_ZERO, 50, ECD_ZERO);
  plot.text(460, 780, xTitle(unit, false));
  ecdYAxis(plot, percent, store.CDMAX[1] * store.CDFACTOR[1] * 1.1);
  firstLegendEntry(plot, 500, store.CDTITLE[1]);

  const double fullScale = uvEcdFullScale(store.CDMAX[1], autoScaling ? 1.0 : store.CDFACTOR[1], false);
  showSymmetricRange(*Edit6, *Edit7, fullScale);
  plot.colour(clRed);
  drawMeasuredCurve(plot, pointsOf(store.EXPCDX, 1), pointsOf(store.EXPCDY, 1), store.CDDATAPTS[1], window,
                    ECD_ZERO, fullScale);
  plot.finish();
}

void TForm1::DrawXYUV() {
  const UvEcdUnit unit = uvEcdUnit();
  const UvEcdWindow window = pageWindow(*this, unit);
  if (window.reversed()) return;
  OffscreenPlot plot(*Image1, OffscreenPlot::Start::CopyOfPicture);
  panelAxes(plot, 310, 60);

  const bool autoScaling = CheckBox8->Checked();
  const bool percent = autoScaling && slotUsed(store.UVACTIVE[2]);
  xTicks(plot, window, 310, /*upperPanel*/ true);
  plot.text(460, 330, xTitle(unit, true));
  firstLegendEntry(plot, 120, store.UVTITLE[1]);
  uvYAxis(plot, percent, store.UVMAX[1] * store.UVFACTOR[1] * 1.1);

  const double fullScale = uvEcdFullScale(store.UVMAX[1], autoScaling ? 1.0 : store.UVFACTOR[1], false);
  Edit15->SetText(rangeText(fullScale));
  Edit14->SetText("0");
  plot.colour(clRed);
  drawMeasuredCurve(plot, pointsOf(store.EXPUVX, 1), pointsOf(store.EXPUVY, 1), store.UVDATAPTS[1], window,
                    UV_ZERO, fullScale);
  plot.finish();
}

void TForm1::AddXYCD(int slot) {
  if (slot < 2 || slot > 5) return;
  const UvEcdUnit unit = uvEcdUnit();
  const UvEcdWindow window = pageWindow(*this, unit);
  if (window.reversed()) return;
  const double scaling = CheckBox8->Checked() ? 1.0 : store.CDFACTOR[slot];
  paintSlotCurve(*Image1, slotColour(slot, false), 576 + 14 * slot, store.CDTITLE[slot],
                 [&](OffscreenPlot& plot) {
                   drawMeasuredCurve(plot, pointsOf(store.EXPCDX, slot), pointsOf(store.EXPCDY, slot),
                                     store.CDDATAPTS[slot], window, ECD_ZERO,
                                     uvEcdFullScale(store.CDMAX[slot], scaling, false));
                 });
}

void TForm1::AddXYUV(int slot) {
  if (slot < 2 || slot > 5) return;
  const UvEcdUnit unit = uvEcdUnit();
  const UvEcdWindow window = pageWindow(*this, unit);
  if (window.reversed()) return;
  const double scaling = CheckBox8->Checked() ? 1.0 : store.UVFACTOR[slot];
  paintSlotCurve(*Image1, slotColour(slot, false), 170 + 14 * slot, store.UVTITLE[slot],
                 [&](OffscreenPlot& plot) {
                   drawMeasuredCurve(plot, pointsOf(store.EXPUVX, slot), pointsOf(store.EXPUVY, slot),
                                     store.UVDATAPTS[slot], window, UV_ZERO,
                                     uvEcdFullScale(store.UVMAX[slot], scaling, false));
                 });
}
