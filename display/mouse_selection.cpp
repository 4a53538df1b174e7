// Mouse selection on the UV/ECD and IR/VCD plots: a yellow band follows the
// mouse while the button is held; on release the band is erased, curve 1 of
// the panel under the mouse is searched inside the band for its peak (left
// button) or, in the lower panel, its valley (right button), and the result
// goes to the page's memo and onto the plot as a small tick with its value.
#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "app/Main.h"
#include "display/peak_search.h"
#include "display/plot_geometry.h"
#include "display/ranges.h"
#include "platform/numbers.h"

namespace {
// The plot's x axis runs from pixel 50 to 500; the band spans both panels.
constexpr int AXIS_LEFT = 50;
constexpr int AXIS_RIGHT = 500;
constexpr int BAND_TOP = 60;
constexpr int BAND_BOTTOM = 760;
// Releases below this y belong to the lower (ECD or VCD) panel.
constexpr int PANEL_BORDER = 260;
constexpr int UPPER_TICK = 60;
constexpr int LOWER_TICK = 360;
constexpr int TICK_LENGTH = 10;

constexpr const char* ECD_PEAK = "ECD Peak found at ";
constexpr const char* ECD_VALLEY_WAVELENGTH = "ECD Valley found at:";
constexpr const char* ECD_VALLEY = "ECD Valley found at ";
constexpr const char* UV_PEAK = "UV Peak found at ";
constexpr const char* VCD_PEAK = "VCD Peak found at ";
constexpr const char* VCD_VALLEY = "VCD Valley found at ";
constexpr const char* IR_PEAK = "IR Peak found at ";
constexpr const char* G_FACTOR = "g-factor: ";
constexpr const char* NANOMETRES = " nm";
constexpr const char* WAVENUMBERS = " 1/cm";

bool used(const std::string& state) { return state != "false"; }

bool onAxis(int x) { return AXIS_LEFT < x && x < AXIS_RIGHT; }

// What a release asks for: a peak or a valley of the lower panel, or a peak
// of the upper one. Any other button, and a valley of the upper panel, ask
// for nothing.
enum class Search { None, LowerPeak, LowerValley, UpperPeak };

Search searchOf(MouseButton button, int y) {
  if (y > PANEL_BORDER) {
    if (button == MouseButton::Left) return Search::LowerPeak;
    if (button == MouseButton::Right) return Search::LowerValley;
    return Search::None;
  }
  return button == MouseButton::Left ? Search::UpperPeak : Search::None;
}

Extreme extremeOf(Search search) { return search == Search::LowerValley ? Extreme::Valley : Extreme::Peak; }

// A grid index from a real position, pulled onto the grid; none for a
// position that is no number.
std::optional<long long> gridIndex(double position, long long low, long long high) {
  if (std::isnan(position)) return std::nullopt;
  if (position <= static_cast<double>(low)) return low;
  if (position >= static_cast<double>(high)) return high;
  return nint(position);
}

// nint of a value that may be no finite number or too large for a whole
// number (a measured x of 0 in the wavenumber unit).
std::optional<long long> wholeOf(double value) {
  if (!std::isfinite(value) || std::fabs(value) > 1.0e18) return std::nullopt;
  return nint(value);
}

std::span<const double> slotOne(const Grid2<MINLAMBDA, MAXLAMBDA, 5>& grid) {
  return {grid.slotData(1), static_cast<size_t>(grid.size)};
}

std::span<const double> slotOne(const Grid2<1, 10000, 5>& grid) {
  return {grid.slotData(1), static_cast<size_t>(grid.size)};
}

std::span<const double> bandOne(const LineGrid& grid) {
  return {grid.columnData(3, 1), static_cast<size_t>(LineGrid::size)};
}

double pointAt(std::span<const double> values, int point) { return values[static_cast<size_t>(point - 1)]; }

// A measured curve of slot 1 with its point count.
struct MeasuredCurve {
  std::span<const double> x;
  std::span<const double> y;
  int count = 0;
};

// One result of a release: the position shown (nm or 1/cm), where its tick
// stands, and the g factor where one is defined.
struct Finding {
  long long position = 0;
  int markX = 0;
  std::optional<double> gFactor;
};

// The g factor of a measured CD extreme: over the measured absorption of
// slot 1 at the same x. Undefined where no absorption point qualifies.
std::optional<double> measuredGFactor(const MeasuredCurve& cd, int peak, const MeasuredCurve& absorption) {
  const double at = pointAt(cd.x, peak);
  const auto j = companionPoint(absorption.x, absorption.count, at);
  if (!j) return std::nullopt;
  return gFactor(pointAt(cd.y, peak), pointAt(absorption.y, *j));
}

// Writes a result line (and the g-factor line when asked and defined) and
// marks the value on the plot.
void report(Memo& memo, Image& image, const std::string& prefix, const char* unit, const Finding& finding,
            bool gWanted, int tickTop) {
  const std::string value = IntToStr(finding.position);
  memo.Add(prefix + value + unit);
  if (gWanted && finding.gFactor) memo.Add(G_FACTOR + FloatToStrF(*finding.gFactor, 9));
  TCanvas& canvas = image.Canvas();
  canvas.Pen.Color = clBlack;
  canvas.Pen.Mode = PenMode::Copy;
  canvas.MoveTo(finding.markX, tickTop);
  canvas.LineTo(finding.markX, tickTop + TICK_LENGTH);
  canvas.TextOut(finding.markX + 4, tickTop, value);
  image.Invalidate();
}

// The selection band over both panels, in the given pen mode; NotXor drawn
// twice leaves the picture as it was.
void drawBand(Image& image, int left, int right, PenMode mode) {
  TCanvas& canvas = image.Canvas();
  const TColor brushColor = canvas.Brush.Color;
  const TColor penColor = canvas.Pen.Color;
  canvas.Brush.Color = clYellow;
  canvas.Pen.Color = clYellow;
  canvas.Pen.Mode = mode;
  canvas.Rectangle(left, BAND_TOP, right, BAND_BOTTOM);
  canvas.Brush.Color = brushColor;
  canvas.Pen.Color = penColor;
  canvas.Pen.Mode = PenMode::Copy;
  image.Invalidate();
}

// ---- UV/ECD ---------------------------------------------------------------------

// The band of a UV/ECD release in axis units, with the correction of curve 1.
struct UvEcdBand {
  UvEcdUnit unit = UvEcdUnit::Wavelength;
  long long x1 = 0;
  double step = 0.0;
  long long x3 = 0;  // from the press
  long long x4 = 0;  // from the release
  long long shift = 0;
  double xScale = 1.0;
};

UvEcdBand readUvEcdBand(const TForm1& form, int pressX, int releaseX) {
  UvEcdBand band;
  band.unit = form.uvEcdUnit();
  long long x2 = 0;
  if (band.unit == UvEcdUnit::Wavelength) {
    band.x1 = StrToInt(form.Edit4->Text());
    x2 = StrToInt(form.Edit5->Text());
    band.shift = StrToInt(form.Edit2->Text());
    band.step = static_cast<double>(x2 - band.x1) / 450.0;
    band.x3 = nint(static_cast<double>(band.x1) + (pressX - AXIS_LEFT) * band.step);
    band.x4 = nint(static_cast<double>(band.x1) + (releaseX - AXIS_LEFT) * band.step);
  } else {
    band.x1 = StrToInt(form.Edit35->Text());
    x2 = StrToInt(form.Edit36->Text());
    band.xScale = StrToFloat(form.Edit2->Text());
    band.step = static_cast<double>(band.x1 - x2) / 450.0;
    band.x3 = nint(static_cast<double>(band.x1) - (pressX - AXIS_LEFT) * band.step);
    band.x4 = nint(static_cast<double>(band.x1) - (releaseX - AXIS_LEFT) * band.step);
  }
  return band;
}

std::optional<Finding> computedUvEcd(const Store& store, const UvEcdBand& band, Search search) {
  const bool ecd = search != Search::UpperPeak;
  const std::span<const double> values = slotOne(ecd ? store.EPS : store.ABSG);
  std::optional<long long> from, to;
  if (band.unit == UvEcdUnit::Wavelength) {
    // Whole nanometres, moved back by the shift of curve 1.
    from = gridIndex(static_cast<double>((band.x3 - band.shift) * 10), MINLAMBDA, MAXLAMBDA);
    to = gridIndex(static_cast<double>((band.x4 - band.shift) * 10), MINLAMBDA, MAXLAMBDA);
  } else {
    from = gridIndex(1.0e8 / (static_cast<double>(band.x3) / band.xScale), MINLAMBDA, MAXLAMBDA);
    to = gridIndex(1.0e8 / (static_cast<double>(band.x4) / band.xScale), MINLAMBDA, MAXLAMBDA);
  }
  if (!from || !to) return std::nullopt;
  const auto peak = searchComputedBand(values, MINLAMBDA, *from, *to, extremeOf(search));
  if (!peak) return std::nullopt;
  Finding finding;
  if (ecd) finding.gFactor = gFactor(store.EPS(*peak, 1), store.ABSG(*peak, 1));
  const double nanometres = static_cast<double>(*peak) / 10.0;
  if (band.unit == UvEcdUnit::Wavelength) {
    finding.position = nint(nanometres) + band.shift;
    finding.markX =
        AXIS_LEFT + pixelOf((static_cast<double>(band.shift) + nanometres - static_cast<double>(band.x1)) / band.step);
  } else {
    const auto position = wholeOf(1.0e8 / static_cast<double>(*peak) * band.xScale);
    if (!position) return std::nullopt;
    finding.position = *position;
    finding.markX = AXIS_LEFT + pixelOf(static_cast<double>(band.x1 - finding.position) / band.step);
  }
  return finding;
}

std::optional<Finding> measuredUvEcd(const Store& store, const UvEcdBand& band, Search search) {
  const bool ecd = search != Search::UpperPeak;
  const MeasuredCurve uv{slotOne(store.EXPUVX), slotOne(store.EXPUVY), store.UVDATAPTS[1]};
  const MeasuredCurve curve = ecd ? MeasuredCurve{slotOne(store.EXPCDX), slotOne(store.EXPCDY), store.CDDATAPTS[1]} : uv;
  // Measured curves are never shifted or scaled.
  double low = static_cast<double>(band.x3);
  double high = static_cast<double>(band.x4);
  if (band.unit == UvEcdUnit::Wavenumber) {
    low = 1.0e7 / low;
    high = 1.0e7 / high;
  }
  // A band dragged from right to left selects the same wavelengths.
  if (low > high) std::swap(low, high);
  const auto peak = searchMeasuredCurve(curve.x, curve.y, curve.count, low, high, extremeOf(search));
  if (!peak) return std::nullopt;
  const double x = pointAt(curve.x, *peak);
  Finding finding;
  if (ecd) finding.gFactor = measuredGFactor(curve, *peak, uv);
  const auto position = wholeOf(band.unit == UvEcdUnit::Wavelength ? x : 1.0e7 / x);
  if (!position) return std::nullopt;
  finding.position = *position;
  const double offset = band.unit == UvEcdUnit::Wavelength ? x - static_cast<double>(band.x1)
                                                           : static_cast<double>(band.x1) - 1.0e7 / x;
  finding.markX = AXIS_LEFT + pixelOf(offset / band.step);
  return finding;
}

// ---- IR/VCD ---------------------------------------------------------------------

// The band of an IR/VCD release in 1/cm, low end first, with the x scale
// factor of curve 1.
struct IrVcdBand {
  long long x1 = 0;
  double step = 0.0;
  long long low = 0;
  long long high = 0;
  double xScale = 1.0;
};

IrVcdBand readIrVcdBand(const TForm1& form, int pressX, int releaseX) {
  IrVcdBand band;
  band.xScale = StrToFloat(form.Edit26->Text());
  band.x1 = StrToInt(form.Edit8->Text());
  const long long x2 = StrToInt(form.Edit9->Text());
  band.step = static_cast<double>(x2 - band.x1) / 450.0;
  band.low = nint(static_cast<double>(x2) - (pressX - AXIS_LEFT) * band.step);
  band.high = nint(static_cast<double>(x2) - (releaseX - AXIS_LEFT) * band.step);
  if (band.low > band.high) std::swap(band.low, band.high);
  return band;
}

int irVcdMarkX(const IrVcdBand& band, double wavenumber) {
  return AXIS_RIGHT - pixelOf((wavenumber - static_cast<double>(band.x1)) / band.step);
}

std::optional<Finding> computedIrVcd(const Store& store, const IrVcdBand& band, Search search) {
  const bool vcd = search != Search::UpperPeak;
  const auto from = gridIndex(static_cast<double>(band.low) / band.xScale, LineGrid::low, LineGrid::high);
  const auto to = gridIndex(static_cast<double>(band.high) / band.xScale, LineGrid::low, LineGrid::high);
  if (!from || !to) return std::nullopt;
  const auto peak = searchComputedBand(bandOne(vcd ? store.VCD : store.IR), LineGrid::low, *from, *to,
                                       extremeOf(search));
  if (!peak) return std::nullopt;
  const double wavenumber = static_cast<double>(*peak) * band.xScale;
  const auto position = wholeOf(wavenumber);
  if (!position) return std::nullopt;
  Finding finding;
  finding.position = *position;
  finding.markX = irVcdMarkX(band, wavenumber);
  if (vcd) finding.gFactor = gFactor(store.VCD(*peak, 3, 1), store.IR(*peak, 3, 1));
  return finding;
}

std::optional<Finding> measuredIrVcd(const Store& store, const IrVcdBand& band, Search search) {
  const bool vcd = search != Search::UpperPeak;
  const MeasuredCurve ir{slotOne(store.EXPIRX), slotOne(store.EXPIRY), store.IRDATAPTS[1]};
  const MeasuredCurve curve =
      vcd ? MeasuredCurve{slotOne(store.EXPVCDX), slotOne(store.EXPVCDY), store.VCDDATAPTS[1]} : ir;
  const auto peak = searchMeasuredCurve(curve.x, curve.y, curve.count, static_cast<double>(band.low),
                                        static_cast<double>(band.high), extremeOf(search));
  if (!peak) return std::nullopt;
  const double wavenumber = pointAt(curve.x, *peak);
  const auto position = wholeOf(wavenumber);
  if (!position) return std::nullopt;
  Finding finding;
  finding.position = *position;
  finding.markX = irVcdMarkX(band, wavenumber);
  if (vcd) finding.gFactor = measuredGFactor(curve, *peak, ir);
  return finding;
}
}  // namespace

// ---- The UV/ECD plot ------------------------------------------------------------

void TForm1::DrawShape(TPoint TopLeft, TPoint BottomRight, PenMode AMode) {
  if (!used(store.CDACTIVE[1]) || !used(store.UVACTIVE[1])) return;
  drawBand(*Image1, TopLeft.x, BottomRight.x, AMode);
}

void TForm1::Image1MouseDown(MouseButton, int x, int) {
  if (!used(store.CDACTIVE[1]) || !used(store.UVACTIVE[1]) || !onAxis(x)) return;
  store.DRAWING = true;
  Image1->Canvas().MoveTo(x, BAND_BOTTOM);
  store.ORIGIN = {x, BAND_TOP};
  store.MOVEPT = {x, BAND_BOTTOM};
}

void TForm1::Image1MouseMove(int x, int) {
  if (!used(store.CDACTIVE[1]) || !used(store.UVACTIVE[1]) || !store.DRAWING || !onAxis(x)) return;
  DrawShape(store.ORIGIN, store.MOVEPT, PenMode::NotXor);
  store.MOVEPT = {x, BAND_BOTTOM};
  DrawShape(store.ORIGIN, store.MOVEPT, PenMode::NotXor);
}

void TForm1::Image1MouseUp(MouseButton button, int x, int y) {
  if (!used(store.CDACTIVE[1]) || !used(store.UVACTIVE[1]) || !store.DRAWING) return;
  if (x > AXIS_RIGHT) x = AXIS_RIGHT;
  DrawShape(store.ORIGIN, {x, BAND_BOTTOM}, PenMode::NotXor);
  store.DRAWING = false;

  const UvEcdBand band = readUvEcdBand(*this, store.ORIGIN.x, x);
  const Search search = searchOf(button, y);
  // A window of no width has no pixel scale to mark a result with.
  if (search == Search::None || band.step == 0.0) return;
  const std::string& cd = store.CDACTIVE[1];
  const std::string& uv = store.UVACTIVE[1];
  std::optional<Finding> finding;
  if (cd == "calc" && uv == "calc") finding = computedUvEcd(store, band, search);
  else if (cd == "exp" && uv == "exp") finding = measuredUvEcd(store, band, search);
  if (!finding) return;

  const bool wavelength = band.unit == UvEcdUnit::Wavelength;
  const char* prefix = UV_PEAK;
  if (search == Search::LowerPeak) prefix = ECD_PEAK;
  if (search == Search::LowerValley)
    prefix = wavelength && cd == "calc" ? ECD_VALLEY_WAVELENGTH : ECD_VALLEY;
  const bool upper = search == Search::UpperPeak;
  report(*Memo1, *Image1, prefix, wavelength ? NANOMETRES : WAVENUMBERS, *finding,
         !upper && CheckBox7->Checked(), upper ? UPPER_TICK : LOWER_TICK);
}

// ---- The IR/VCD plot ------------------------------------------------------------

void TForm1::DrawShapeVCD(TPoint TopLeft, TPoint BottomRight, PenMode AMode) {
  if (!used(store.VCDACTIVE[1]) || !used(store.IRACTIVE[1])) return;
  drawBand(*Image5, TopLeft.x, BottomRight.x, AMode);
}

void TForm1::Image5MouseDown(MouseButton, int x, int) {
  if (!used(store.VCDACTIVE[1]) || !used(store.IRACTIVE[1]) || !onAxis(x)) return;
  store.DRAWING = true;
  Image5->Canvas().MoveTo(x, BAND_BOTTOM);
  store.ORIGIN = {x, BAND_TOP};
  store.MOVEPT = {x, BAND_BOTTOM};
}

void TForm1::Image5MouseMove(int x, int) {
  if (!used(store.VCDACTIVE[1]) || !used(store.IRACTIVE[1]) || !store.DRAWING || !onAxis(x)) return;
  DrawShapeVCD(store.ORIGIN, store.MOVEPT, PenMode::NotXor);
  store.MOVEPT = {x, BAND_BOTTOM};
  DrawShapeVCD(store.ORIGIN, store.MOVEPT, PenMode::NotXor);
}

void TForm1::Image5MouseUp(MouseButton button, int x, int y) {
  if (!used(store.VCDACTIVE[1]) || !used(store.IRACTIVE[1]) || !store.DRAWING) return;
  if (x > AXIS_RIGHT) x = AXIS_RIGHT;
  DrawShapeVCD(store.ORIGIN, {x, BAND_BOTTOM}, PenMode::NotXor);
  store.DRAWING = false;

  const IrVcdBand band = readIrVcdBand(*this, store.ORIGIN.x, x);
  const Search search = searchOf(button, y);
  if (search == Search::None || band.step == 0.0) return;
  const std::string& vcd = store.VCDACTIVE[1];
  const std::string& ir = store.IRACTIVE[1];
  const bool upper = search == Search::UpperPeak;
  // The IR peak needs only the IR curve; the VCD searches need both curves of
  // one kind, for the g factor.
  const bool computedCurves = ir == "calc" && (upper || vcd == "calc");
  const bool measuredCurves = ir == "exp" && (upper || vcd == "exp");
  std::optional<Finding> finding;
  if (computedCurves) finding = computedIrVcd(store, band, search);
  else if (measuredCurves) finding = measuredIrVcd(store, band, search);
  if (!finding) return;

  const char* prefix = IR_PEAK;
  if (search == Search::LowerPeak) prefix = VCD_PEAK;
  if (search == Search::LowerValley) prefix = VCD_VALLEY;
  report(*Memo4, *Image5, prefix, WAVENUMBERS, *finding, !upper && CheckBox10->Checked(),
         upper ? UPPER_TICK : LOWER_TICK);
}
