// The HPLC page (chromatograms of up to five slots) and the ORD page (the two
// ORD slots, computed as point markers or measured as curves in percent).
#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/Main.h"
#include "display/plot_geometry.h"
#include "display/plot_painting.h"
#include "display/ranges.h"
#include "platform/numbers.h"

namespace {

constexpr int HPLC_BASE = 450;
constexpr int ORD_ZERO = 260;

bool holdsChromatogram(const Store& store, int slot) {
  return (store.HPLC_UV[slot] || store.HPLC_CD[slot]) && store.HPLCDATAPTS[slot] >= 1;
}

// The trace of one chromatogram slot: from the left axis at the height of its
// first point, then through every later point inside the time window.
void drawTrace(OffscreenPlot& plot, const Store& store, int slot, double x1, double x2, double fullScale) {
  if (!holdsChromatogram(store, slot) || x1 == x2) return;
  const double minimum = store.HPLCMIN[slot];
  auto y = [&](int k) { return valueY(HPLC_BASE, fullScale, store.HPLCY(k, slot) - minimum, 390); };
  if (!y(1)) return;
  plot.moveTo(50, y(1));
  const int count = std::min<int>(store.HPLCDATAPTS[slot], static_cast<int>(store.HPLCX.high));
  for (int k = 2; k <= count; ++k) {
    const double time = store.HPLCX(k, slot);
    if (x1 <= time && time <= x2) plot.lineTo(*hplcX(x1, x2, time), y(k));
  }
}

double hplcFullScale(const Store& store, int slot, bool autoScaling) {
  const double scaling = autoScaling ? 1.0 : store.HPLCFACTOR[slot];
  const double range = (store.HPLCMAX[slot] - store.HPLCMIN[slot]) * scaling;
  return range + range / 10;
}

TColor hplcSlotColour(int slot) {
  switch (slot) {
    case 2:
      return clRed;
    case 3:
      return clGreen;
    case 4:
      return clBlue;
    default:
      return clPurple;
  }
}

// The points of one ORD slot as the painters see them.
struct OrdPoints {
  std::span<const double> x;
  std::span<const double> y;
  int count = 0;
};

OrdPoints computedOrd(const Store& store, int slot) {
  return {{store.ORDCALCX.slotData(slot), static_cast<size_t>(store.ORDCALCX.size)},
          {store.ORDCALCY.slotData(slot), static_cast<size_t>(store.ORDCALCY.size)},
          store.ORDDATAPTS[slot]};
}

OrdPoints measuredOrd(const Store& store, int slot) {
  return {{store.EXPORDX.slotData(slot), static_cast<size_t>(store.EXPORDX.size)},
          {store.EXPORDY.slotData(slot), static_cast<size_t>(store.EXPORDY.size)},
          store.ORDDATAPTS[slot]};
}

// How one ORD curve is drawn: which wavelengths of the stored points fall in
// the window (low..high), how far they are moved right (shift, nm), and with
// lines and/or markers.
struct OrdCurve {
  double low = 0;
  double high = 0;
  int shift = 0;
  bool lines = true;
  bool markers = false;
  bool mirrored = false;
};

void drawOrdCurve(OffscreenPlot& plot, const OrdPoints& points, int x1, int x2, double fullScale,
                  const OrdCurve& curve) {
  if (x1 == x2 || !valueY(ORD_ZERO, fullScale, 0.0)) return;
  const std::vector<int> inWindow = ordPointsInWindow(points.x, points.count, curve.low, curve.high);
  if (inWindow.empty()) return;
  const double sign = curve.mirrored ? -1.0 : 1.0;
  auto y = [&](int k) { return *valueY(ORD_ZERO, fullScale, sign * points.y[static_cast<size_t>(k - 1)]); };
  // A horizontal lead-in from the left edge (moved by the shift) to the first point.
  plot.canvas().MoveTo(*ordX(x1, x2, static_cast<double>(x1) + curve.shift), y(inWindow.front()));
  for (int k : inWindow) {
    const int x = *ordX(x1, x2, points.x[static_cast<size_t>(k - 1)] + curve.shift);
    const int py = y(k);
    if (curve.lines) plot.canvas().LineTo(x, py);
    if (curve.markers) plot.canvas().Ellipse(x - 3, py - 3, x + 3, py + 3);
  }
}

void ordAxes(OffscreenPlot& plot, int x1, int x2, bool measured) {
  plot.line(500, 460, 50, 460);
  plot.canvas().LineTo(50, 60);
  const int divisions = measured ? 9 : 10;
  const int spacing = measured ? 50 : 45;
  for (int k = 0; k <= divisions; ++k) {
    plot.line(50 + spacing * k, 460, 50 + spacing * k, 465);
    plot.text(42 + spacing * k, 467, IntToStr(ordTickLabel(x1, x2, k, divisions)));
  }
  plot.line(500, ORD_ZERO, 50, ORD_ZERO);
  plot.text(460, 480, "Wavelength in nm");
}

void ordClosingFrameAndLegend(OffscreenPlot& plot, const std::string& title) {
  plot.line(500, 460, 500, 60);
  plot.canvas().LineTo(50, 60);
  plot.canvas().Pen.Color = clRed;
  plot.line(530, 200, 550, 200);
  plot.canvas().Pen.Color = clBlack;
  plot.text(553, 194, title);
}

void ordScaleLabels(OffscreenPlot& plot, int x, double fullScale) {
  plot.text(x, 53, FloatToStrF(fullScale, 0));
  plot.text(x, 153, FloatToStrF(0.5 * fullScale, 0));
  plot.text(x, 253, "0");
  plot.text(x, 353, FloatToStrF(-0.5 * fullScale, 0));
  plot.text(x, 453, FloatToStrF(-fullScale, 0));
}

}  // namespace

void TForm1::DrawHPLC() {
  const double x1 = StrToFloat(Edit1->Text());
  const double x2 = StrToFloat(Edit10->Text());
  OffscreenPlot plot(*Image3, OffscreenPlot::Start::BlankFramed);
  plot.colour(clBlack);
  if (x1 <= x2) {
    plot.line(600, 460, 50, 460);
    plot.canvas().LineTo(50, 60);
    const auto labels = hplcTickLabels(x1, x2);
    for (int k = 0; k <= 11; ++k) {
      plot.line(50 + 50 * k, 460, 50 + 50 * k, 465);
      if (labels[static_cast<size_t>(k)]) plot.text(42 + 50 * k, 467, IntToStr(*labels[static_cast<size_t>(k)]));
    }
    plot.text(600, 480, "RT in min");
    plot.text(378, 20, store.HPLCTITLE[1]);
    for (int y : {60, 160, 260}) plot.line(50, y, 45, y);
    plot.text(1, 12, "rel. Int.");
    plot.text(1, 28, "  in %");
    const bool autoScaling = CheckBox4->Checked();
    drawTrace(plot, store, 1, x1, x2, hplcFullScale(store, 1, autoScaling));
    const double scaling = autoScaling ? 1.0 : store.HPLCFACTOR[1];
    Edit18->SetText(rangeText(store.HPLCMIN[1] * scaling));
    Edit19->SetText(rangeText(store.HPLCMAX[1] * scaling));
  }
  plot.finish();
  Image3->SetVisible(true);
}

void TForm1::AddHPLC(int slot) {
  if (slot < 2 || slot > 5) return;
  const double x1 = StrToFloat(Edit1->Text());
  const double x2 = StrToFloat(Edit10->Text());
  if (x1 > x2) return;
  OffscreenPlot plot(*Image3, OffscreenPlot::Start::CopyOfPicture);
  plot.colour(hplcSlotColour(slot));
  plot.text(378, 14 * slot + 6, store.HPLCTITLE[slot]);
  drawTrace(plot, store, slot, x1, x2, hplcFullScale(store, slot, CheckBox4->Checked()));
  plot.finish();
}

namespace {
// The shift of computed ORD slot 1: the whole-nm correction of UV/ECD curve 1,
// which holds an x scale factor instead in the wavenumber unit.
int ordShift(const TForm1& form) {
  if (form.uvEcdUnit() != UvEcdUnit::Wavelength) return 0;
  return StrToInt(form.Edit2->Text());
}
}  // namespace

void TForm1::DrawORD() {
  OffscreenPlot plot(*Image4, OffscreenPlot::Start::BlankFramed);
  plot.colour(clBlack);
  if (slotStateOf(store.ORDACTIVE[1]) == SlotState::Calc) {
    const int x1 = StrToInt(Edit20->Text());
    const int x2 = StrToInt(Edit21->Text());
    const int shift = ordShift(*this);
    if (x1 <= x2) {
      Edit24->SetText("0");
      Edit25->SetText("0");
      ordAxes(plot, x1, x2, /*measured*/ false);
      for (int y : {60, 160, 260, 360, 460}) plot.line(50, y, 45, y);
      plot.text(2, 12, "ORD");
      plot.text(2, 28, "in [°]");
      ordClosingFrameAndLegend(plot, store.ORDTITLE[1]);
      const OrdPoints points = computedOrd(store, 1);
      store.ORDMAX[1] = ordScaleValue(points.x, points.y, points.count, x1, x2);
      const double fullScale = 1.1 * store.ORDMAX[1];
      ordScaleLabels(plot, 20, fullScale);
      OrdCurve curve;
      curve.low = static_cast<double>(x1) - shift;
      curve.high = static_cast<double>(x2) - shift;
      curve.shift = shift;
      curve.lines = CheckBox13->Checked();
      curve.markers = true;
      if (CheckBox11->Checked()) {
        plot.colour(clRed);
        plot.canvas().Brush.Color = clRed;
        drawOrdCurve(plot, points, x1, x2, fullScale, curve);
      }
      if (CheckBox12->Checked()) {
        plot.colour(clBlue);
        plot.canvas().Brush.Color = clBlue;
        curve.mirrored = true;
        drawOrdCurve(plot, points, x1, x2, fullScale, curve);
        plot.colour(clRed);
        plot.canvas().Brush.Color = clRed;
      }
      Edit22->SetText("-" + rangeText(fullScale));
      Edit23->SetText(rangeText(fullScale));
    }
  }
  plot.finish();
  Image4->SetVisible(true);
}

void TForm1::AddORD(int slot) {
  if (slot != 2) return;
  const int x1 = StrToInt(Edit20->Text());
  const int x2 = StrToInt(Edit21->Text());
  if (x1 <= x2) {
    OffscreenPlot plot(*Image4, OffscreenPlot::Start::CopyOfPicture);
    plot.canvas().Pen.Color = clGreen;
    plot.line(530, 14 * slot + 276, 550, 14 * slot + 276);
    plot.colour(clBlack);
    plot.text(553, 14 * slot + 270, store.ORDTITLE[slot]);
    const OrdPoints points = computedOrd(store, slot);
    const double own = ordScaleValue(points.x, points.y, points.count, x1, x2);
    store.ORDMAX[2] = own;
    const double fullScale = CheckBox20->Checked() ? 1.1 * own : 1.1 * store.ORDMAX[1];
    for (int y : {60, 160, 260, 360, 460}) plot.line(500, y, 505, y);
    ordScaleLabels(plot, 510, fullScale);
    plot.colour(clGreen);
    plot.canvas().Brush.Color = clGreen;
    OrdCurve curve;
    curve.low = x1;
    curve.high = x2;
    curve.lines = CheckBox13->Checked();
    curve.markers = true;
    drawOrdCurve(plot, points, x1, x2, fullScale, curve);
    Edit24->SetText("-" + rangeText(fullScale));
    Edit25->SetText(rangeText(fullScale));
    plot.finish();
  }
  Image4->SetVisible(true);
}

void TForm1::DrawXYORD() {
  OffscreenPlot plot(*Image4, OffscreenPlot::Start::BlankFramed);
  plot.colour(clBlack);
  if (slotStateOf(store.ORDACTIVE[1]) == SlotState::Exp) {
    const int x1 = StrToInt(Edit20->Text());
    const int x2 = StrToInt(Edit21->Text());
    if (x1 <= x2) {
      Edit24->SetText("0");
      Edit25->SetText("0");
      ordAxes(plot, x1, x2, /*measured*/ true);
      static const std::array<const char*, 5> percent = {"100", "50", "0", "-50", "-100"};
      for (int i = 0; i < 5; ++i) {
        const int y = 60 + 100 * i;
        plot.line(50, y, 45, y);
        plot.text(20, y - 7, percent[static_cast<size_t>(i)]);
      }
      plot.text(1, 12, "rel. Rot.");
      plot.text(1, 28, "  in %");
      ordClosingFrameAndLegend(plot, store.ORDTITLE[1]);
      const OrdPoints points = measuredOrd(store, 1);
      const double fullScale = 1.1 * ordScaleValue(points.x, points.y, points.count, x1, x2);
      plot.colour(clRed);
      OrdCurve curve;
      curve.low = x1;
      curve.high = x2;
      drawOrdCurve(plot, points, x1, x2, fullScale, curve);
      Edit22->SetText("-" + rangeText(fullScale));
      Edit23->SetText(rangeText(fullScale));
    }
  }
  plot.finish();
  Image4->SetVisible(true);
}

void TForm1::AddXYORD(int slot) {
  if (slot != 2) return;
  const int x1 = StrToInt(Edit20->Text());
  const int x2 = StrToInt(Edit21->Text());
  if (x1 <= x2) {
    OffscreenPlot plot(*Image4, OffscreenPlot::Start::CopyOfPicture);
    plot.colour(clBlack);
    plot.line(530, 14 * slot + 276, 550, 14 * slot + 276);
    plot.text(553, 14 * slot + 270, store.ORDTITLE[slot]);
    const OrdPoints points = measuredOrd(store, slot);
    const double fullScale = 1.1 * ordScaleValue(points.x, points.y, points.count, x1, x2);
    OrdCurve curve;
    curve.low = x1;
    curve.high = x2;
    drawOrdCurve(plot, points, x1, x2, fullScale, curve);
    Edit24->SetText("-" + rangeText(fullScale));
    Edit25->SetText(rangeText(fullScale));
    plot.finish();
  }
  Image4->SetVisible(true);
}
