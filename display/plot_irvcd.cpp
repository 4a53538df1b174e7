// The IR/VCD page: its redraw and the eight painters of its two panels (IR
// above, VCD below), over the wavenumber window with the high wavenumbers on
// the left.
#include <array>
#include <optional>
#include <span>
#include <string>

#include "app/Main.h"
#include "display/blank_plot.h"
#include "display/plot_geometry.h"
#include "display/plot_painting.h"
#include "display/ranges.h"
#include "platform/numbers.h"

namespace {

constexpr int IR_ZERO = 260;
constexpr int VCD_ZERO = 560;

struct IrVcdWindow {
  int x1 = 0;  // low end, at the right
  int x2 = 0;  // high end, at the left
};

double irVcdFullScale(double maximum, double scaling) {
  const double m = maximum * scaling;
  return m + m / 10;
}

// The band of a computed slot, from the right end at the height of index 0.
void drawComputedCurve(OffscreenPlot& plot, const LineGrid& grid, int slot, const IrVcdWindow& window,
                       double xScale, int zero, double fullScale, bool mirrored) {
  const double sign = mirrored ? -1.0 : 1.0;
  const double* band = grid.columnData(3, slot);
  const auto points = irVcdComputedPoints(window.x1, window.x2, xScale);
  if (points.empty() || !valueY(zero, fullScale, 0.0)) return;
  plot.moveTo(500, valueY(zero, fullScale, sign * band[0]));
  for (const IndexPoint& point : points) plot.lineTo(point.x, valueY(zero, fullScale, sign * band[point.index]));
}

// A measured slot, stored with the wavenumber falling: drawn from the lowest
// wavenumber in the window (right) to the highest (left).
void drawMeasuredCurve(OffscreenPlot& plot, const Grid2<1, 10000, 5>& xGrid, const Grid2<1, 10000, 5>& yGrid,
                       int slot, int count, const IrVcdWindow& window, int zero, double fullScale) {
  const std::span<const double> xs{xGrid.slotData(slot), static_cast<size_t>(xGrid.size)};
  const std::span<const double> ys{yGrid.slotData(slot), static_cast<size_t>(yGrid.size)};
  const int n = std::min<int>(count, static_cast<int>(xs.size()));
  if (n < 2 || !(xs[static_cast<size_t>(n - 1)] < xs[0])) return;
  if (window.x1 == window.x2 || !valueY(zero, fullScale, 0.0)) return;
  const auto walk = fallingPointWalk(
      xs, n, [&](double x) { return x < window.x1; }, [&](double x) { return x > window.x2; });
  if (!walk) return;
  auto x = [&](int k) { return *irVcdMeasuredX(window.x1, window.x2, xs[static_cast<size_t>(k - 1)]); };
  auto y = [&](int k) { return valueY(zero, fullScale, ys[static_cast<size_t>(k - 1)]); };
  plot.moveTo(x(walk->from), y(walk->from));
  for (int k = walk->from; k >= walk->to; --k) plot.lineTo(x(k), y(k));
}

// Eleven ticks of the computed panels or ten of the measured ones, from X1
// at the right end to X2 at the left.
void xTicks(OffscreenPlot& plot, const IrVcdWindow& window, int axisY, bool measured) {
  const int divisions = measured ? 9 : 10;
  const int spacing = measured ? 50 : 45;
  for (int k = 0; k <= divisions; ++k) {
    const int x = 500 - spacing * k;
    plot.line(x, axisY, x, axisY + 5);
    plot.text(x - 8, axisY + 7, IntToStr(irVcdTickLabel(window.x1, window.x2, k, divisions)));
  }
}

void percentTicks(OffscreenPlot& plot) {
  static const std::array<const char*, 5> labels = {"100", "50", "0", "-50", "-100"};
  plot.text(23, 417, "in %");
  for (int i = 0; i < 5; ++i) {
    const int y = 360 + 100 * i;
    plot.line(50, y, 45, y);
    plot.text(20, y - 7, labels[static_cast<size_t>(i)]);
  }
}

void vcdLabels(OffscreenPlot& plot, double scaled) {
  plot.text(20, 353, FloatToStrF(scaled, 0));
  plot.text(20, 453, FloatToStrF(0.5 * scaled, 0));
  plot.text(20, 553, "0");
  plot.text(20, 653, FloatToStrF(-0.5 * scaled, 0));
  plot.text(20, 753, FloatToStrF(-scaled, 0));
}

// The frame of the VCD panel up to its y labels; the x ticks follow.
void vcdAxes(OffscreenPlot& plot) {
  panelAxes(plot, 760, 360);
  plot.font("Symbol", 12);
  plot.text(2, 412, "De");
  plot.font("default", 8);
}

void vcdFrameEnd(OffscreenPlot& plot, const std::string& title) {
  plot.line(500, VCD_ZERO, 50, VCD_ZERO);
  plot.text(460, 780, "Wavenumber in 1/cm");
  firstLegendEntry(plot, 500, title);
}

void irFrame(OffscreenPlot& plot, const IrVcdWindow& window, double fullScale, bool measured,
             const std::string& title) {
  panelAxes(plot, 310, 60);
  for (int y : {60, 160, 260}) plot.line(50, y, 45, y);
  plot.font("Symbol", 12);
  plot.text(2, 12, "e");
  plot.font("default", 8);
  plot.text(20, 53, FloatToStrF(fullScale, 0));
  plot.text(20, 153, FloatToStrF(0.5 * fullScale, 0));
  plot.text(20, 253, "0");
  xTicks(plot, window, 310, measured);
  plot.text(460, 330, "Wavenumber in 1/cm");
  firstLegendEntry(plot, 120, title);
}

// The x window of the page's edits.
IrVcdWindow pageWindow(const TForm1& form) {
  return {StrToInt(form.Edit8->Text()), StrToInt(form.Edit9->Text())};
}

int usedSlots(const SlotTexts& states) {
  int count = 0;
  for (int s = 1; s <= 5; ++s)
    if (slotUsed(states[s])) ++count;
  return count;
}

}  // namespace

void TForm1::RedrawIRVCD() {
  double scale = 0.0;
  int whole = 0;
  const bool checked =
      TryStrToFloat(Edit26->Text(), scale) && TryStrToInt(Edit8->Text(), whole) && TryStrToInt(Edit9->Text(), whole);
  BlankPlot(*Image5);
  if (!checked) return;
  const bool autoScaling = CheckBox18->Checked();
  bool vcdBlock = false;
  if (slotUsed(store.VCDACTIVE[1])) {
    DetermineVCDRange();
    Memo4->Clear();
    vcdBlock = true;
    paintPanel(*Memo4, "scaling factors (rotational strength):", store.VCDACTIVE, store.VCDFACTOR, autoScaling,
               {[this] { DrawXYVCD(); }, [this] { DrawVCD(); }, [this](int s) { AddXYVCD(s); },
                [this](int s) { AddVCD(s); }});
  }
  if (slotUsed(store.IRACTIVE[1])) {
    DetermineIRRange();
    if (!vcdBlock) Memo4->Clear();
    paintPanel(*Memo4, "scaling factors (epsilon):", store.IRACTIVE, store.IRFACTOR, autoScaling,
               {[this] { DrawXYIR(); }, [this] { DrawIR(); }, [this](int s) { AddXYIR(s); },
                [this](int s) { AddIR(s); }});
  }
}

void TForm1::DrawVCD() {
  const IrVcdWindow window = pageWindow(*this);
  const double xScale = StrToFloat(Edit26->Text());
  if (window.x1 > window.x2) return;
  OffscreenPlot plot(*Image5, OffscreenPlot::Start::CopyOfPicture);
  const bool autoScaling = CheckBox18->Checked();
  const double fullScale = irVcdFullScale(store.VCDMAX[1], autoScaling ? 1.0 : store.VCDFACTOR[1]);
  vcdAxes(plot);
  if (autoScaling && usedSlots(store.VCDACTIVE) > 1) {
    percentTicks(plot);
  } else {
    plot.text(23, 417, "x10");
    plot.text(40, 412, "4");
    vcdLabels(plot, fullScale * 10000);
  }
  xTicks(plot, window, 760, /*measured*/ false);
  vcdFrameEnd(plot, store.VCDTITLE[1]);
  showSymmetricRange(*Edit11, *Edit16, fullScale * 10000);
  if (CheckBox6->Checked()) {
    plot.colour(clRed);
    drawComputedCurve(plot, store.VCD, 1, window, xScale, VCD_ZERO, fullScale, false);
  }
  if (CheckBox9->Checked()) {
    plot.colour(clBlue);
    drawComputedCurve(plot, store.VCD, 1, window, xScale, VCD_ZERO, fullScale, true);
    plot.line(530, 520, 550, 520);
    plot.canvas().Font.Color = clBlack;
    plot.text(553, 514, "Enantiomer");
  }
  plot.finish();
  Image5->SetVisible(true);
}

void TForm1::DrawIR() {
  const IrVcdWindow window = pageWindow(*this);
  const double xScale = StrToFloat(Edit26->Text());
  if (window.x1 > window.x2) return;
  OffscreenPlot plot(*Image5, OffscreenPlot::Start::CopyOfPicture);
  const double fullScale = irVcdFullScale(store.IRMAX[1], CheckBox18->Checked() ? 1.0 : store.IRFACTOR[1]);
  irFrame(plot, window, fullScale, /*measured*/ false, store.IRTITLE[1]);
  Edit30->SetText(rangeText(fullScale));
  if (CheckBox19->Checked()) {
    plot.colour(clRed);
    drawComputedCurve(plot, store.IR, 1, window, xScale, IR_ZERO, fullScale, false);
  }
  plot.finish();
  Image5->SetVisible(true);
}

namespace {
// The y title, labels and edit texts of the measured VCD panel outside
// percent mode: the exponent of the title follows the size of the full scale.
struct MeasuredVcdScale {
  int exponent = 0;  // 0: no "x10" in the title
  double multiplier = 1.0;
};

MeasuredVcdScale measuredVcdScale(double fullScale) {
  static const std::array<double, 6> limits = {0.0001, 0.001, 0.01, 0.1, 1, 10};
  for (size_t i = 0; i < limits.size(); ++i)
    if (fullScale < limits[i]) {
      const int exponent = 6 - static_cast<int>(i);
      double multiplier = 1.0;
      for (int e = 0; e < exponent; ++e) multiplier *= 10;
      return {exponent, multiplier};
    }
  return {};
}
}  // namespace

void TForm1::DrawXYVCD() {
  const IrVcdWindow window = pageWindow(*this);
  if (window.x1 > window.x2) return;
  OffscreenPlot plot(*Image5, OffscreenPlot::Start::CopyOfPicture);
  const bool autoScaling = CheckBox18->Checked();
  const double fullScale = irVcdFullScale(store.VCDMAX[1], autoScaling ? 1.0 : store.VCDFACTOR[1]);
  vcdAxes(plot);
  double shown = fullScale;
  if (autoScaling && usedSlots(store.VCDACTIVE) > 1) {
    percentTicks(plot);
  } else {
    const MeasuredVcdScale scale = measuredVcdScale(fullScale);
    if (scale.exponent > 0) {
      plot.text(23, 417, "x10   / [M     cm    ]");
      plot.text(41, 412, IntToStr(scale.exponent));
      plot.text(72, 412, "-1");
      plot.text(100, 412, "-1");
    } else {
      plot.text(23, 417, "/ [M     cm     ]");
      plot.text(45, 412, "-1");
      plot.text(74, 412, "-1");
    }
    shown = fullScale * scale.multiplier;
    vcdLabels(plot, shown);
  }
  xTicks(plot, window, 760, /*measured*/ true);
  vcdFrameEnd(plot, store.VCDTITLE[1]);
  showSymmetricRange(*Edit11, *Edit16, shown);
  plot.colour(clRed);
  drawMeasuredCurve(plot, store.EXPVCDX, store.EXPVCDY, 1, store.VCDDATAPTS[1], window, VCD_ZERO, fullScale);
  plot.finish();
  Image5->SetVisible(true);
}

void TForm1::DrawXYIR() {
  const IrVcdWindow window = pageWindow(*this);
  if (window.x1 > window.x2) return;
  OffscreenPlot plot(*Image5, OffscreenPlot::Start::CopyOfPicture);
  const double fullScale = irVcdFullScale(store.IRMAX[1], CheckBox18->Checked() ? 1.0 : store.IRFACTOR[1]);
  irFrame(plot, window, fullScale, /*measured*/ true, store.IRTITLE[1]);
  Edit30->SetText(rangeText(fullScale));
  plot.colour(clRed);
  drawMeasuredCurve(plot, store.EXPIRX, store.EXPIRY, 1, store.IRDATAPTS[1], window, IR_ZERO, fullScale);
  plot.finish();
  Image5->SetVisible(true);
}

namespace {
Edit* scaleEditOf(TForm1& form, int slot) {
  const std::array<Edit*, 4> edits = {form.Edit27, form.Edit28, form.Edit33, form.Edit34};
  return edits[static_cast<size_t>(slot - 2)];
}
}  // namespace

void TForm1::AddVCD(int slot) {
  if (slot < 2 || slot > 5) return;
  const IrVcdWindow window = pageWindow(*this);
  const double xScale = StrToFloat(scaleEditOf(*this, slot)->Text());
  if (window.x1 > window.x2) return;
  const double fullScale = irVcdFullScale(store.VCDMAX[slot], CheckBox18->Checked() ? 1.0 : store.VCDFACTOR[slot]);
  paintSlotCurve(*Image5, slotColour(slot), 576 + 14 * slot, store.VCDTITLE[slot], [&](OffscreenPlot& plot) {
    drawComputedCurve(plot, store.VCD, slot, window, xScale, VCD_ZERO, fullScale, false);
  });
}

void TForm1::AddIR(int slot) {
  if (slot < 2 || slot > 5) return;
  const IrVcdWindow window = pageWindow(*this);
  const double xScale = StrToFloat(scaleEditOf(*this, slot)->Text());
  if (window.x1 > window.x2) return;
  const double fullScale = irVcdFullScale(store.IRMAX[slot], CheckBox18->Checked() ? 1.0 : store.IRFACTOR[slot]);
  paintSlotCurve(*Image5, slotColour(slot), 170 + 14 * slot, store.IRTITLE[slot], [&](OffscreenPlot& plot) {
    drawComputedCurve(plot, store.IR, slot, window, xScale, IR_ZERO, fullScale, false);
  });
}

void TForm1::AddXYVCD(int slot) {
  if (slot < 2 || slot > 5) return;
  const IrVcdWindow window = pageWindow(*this);
  if (window.x1 > window.x2) return;
  const double fullScale = irVcdFullScale(store.VCDMAX[slot], CheckBox18->Checked() ? 1.0 : store.VCDFACTOR[slot]);
  paintSlotCurve(*Image5, slotColour(slot), 576 + 14 * slot, store.VCDTITLE[slot], [&](OffscreenPlot& plot) {
    drawMeasuredCurve(plot, store.EXPVCDX, store.EXPVCDY, slot, store.VCDDATAPTS[slot], window, VCD_ZERO,
                      fullScale);
  });
}

void TForm1::AddXYIR(int slot) {
  if (slot < 2 || slot > 5) return;
  const IrVcdWindow window = pageWindow(*this);
  if (window.x1 > window.x2) return;
  const double fullScale = irVcdFullScale(store.IRMAX[slot], CheckBox18->Checked() ? 1.0 : store.IRFACTOR[slot]);
  paintSlotCurve(*Image5, slotColour(slot), 170 + 14 * slot, store.IRTITLE[slot], [&](OffscreenPlot& plot) {
    drawMeasuredCurve(plot, store.EXPIRX, store.EXPIRY, slot, store.IRDATAPTS[slot], window, IR_ZERO,
                      fullScale);
  });
}
