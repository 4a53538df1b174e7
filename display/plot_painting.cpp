#include "display/plot_painting.h"

#include "app/Main.h"
#include "display/ranges.h"
#include "platform/numbers.h"

OffscreenPlot::OffscreenPlot(Image& image, Start start) : image_(image) {
  if (start == Start::CopyOfPicture) {
    bitmap_.Assign(image.Picture());
  } else {
    bitmap_.SetSize(image.Bounds().Width, image.Bounds().Height);
    TCanvas& c = bitmap_.Canvas();
    c.Brush.Color = clWhite;
    c.Pen.Color = clBlack;
    c.FillRect(0, 0, bitmap_.Width(), bitmap_.Height());
    c.Rectangle(0, 0, bitmap_.Width(), bitmap_.Height());
  }
  TCanvas& c = bitmap_.Canvas();
  c.Pen.Width = 1;
  c.Pen.Mode = PenMode::Copy;
  c.Brush.Style = BrushStyle::Solid;
}

void OffscreenPlot::colour(TColor colour) {
  canvas().Pen.Color = colour;
  canvas().Font.Color = colour;
}

void OffscreenPlot::font(const std::string& name, int size) {
  canvas().Font.Name = name;
  canvas().Font.Size = size;
}

void OffscreenPlot::line(int x1, int y1, int x2, int y2) {
  canvas().MoveTo(x1, y1);
  canvas().LineTo(x2, y2);
}

void OffscreenPlot::lineTo(int x, std::optional<int> y) {
  if (y) canvas().LineTo(x, *y);
}

void OffscreenPlot::moveTo(int x, std::optional<int> y) {
  if (y) canvas().MoveTo(x, *y);
}

void OffscreenPlot::text(int x, int y, const std::string& text) { canvas().TextOut(x, y, text); }

void OffscreenPlot::finish() {
  image_.Canvas().Draw(0, 0, bitmap_);
  image_.Invalidate();
}

void panelAxes(OffscreenPlot& plot, int axisY, int top) {
  plot.colour(clBlack);
  plot.canvas().Brush.Color = clWhite;
  plot.line(500, axisY, 50, axisY);
  plot.canvas().LineTo(50, top);
}

void legendEntry(OffscreenPlot& plot, int y, const std::string& title) {
  plot.line(530, y, 550, y);
  plot.text(553, y - 6, title);
}

void firstLegendEntry(OffscreenPlot& plot, int y, const std::string& title) {
  plot.colour(clRed);
  plot.line(530, y, 550, y);
  plot.colour(clBlack);
  plot.text(553, y - 6, title);
}

bool slotUsed(const std::string& state) { return slotStateOf(state) != SlotState::Other; }

TColor slotColour(int slot, bool computedUv) {
  switch (slot) {
    case 2:
      return clBlack;
    case 3:
      return clGreen;
    case 4:
      return computedUv ? clAqua : clSkyBlue;
    default:
      return computedUv ? clFuchsia : clPurple;
  }
}

void paintSlotCurve(Image& image, TColor colour, int legendY, const std::string& title,
                    const std::function<void(OffscreenPlot&)>& drawCurve) {
  OffscreenPlot plot(image, OffscreenPlot::Start::CopyOfPicture);
  plot.colour(colour);
  drawCurve(plot);
  legendEntry(plot, legendY, title);
  plot.finish();
}

void paintPanel(Memo& memo, const std::string& heading, const SlotTexts& states, const SlotReals& factors,
                bool autoScaling, const PanelPainters& painters) {
  memo.Add(heading);
  for (int s = 1; s <= 5; ++s)
    if (autoScaling && slotUsed(states[s]))
      memo.Add("Curve " + IntToStr(s) + ": " + FloatToStrF(factors[s], 5));
  if (slotStateOf(states[1]) == SlotState::Exp)
    painters.drawMeasured();
  else
    painters.drawComputed();
  for (int s = 2; s <= 5; ++s) {
    const SlotState state = slotStateOf(states[s]);
    if (state == SlotState::Exp) painters.addMeasured(s);
    if (state == SlotState::Calc) painters.addComputed(s);
  }
}

std::string rangeText(double value) {
  std::string text = FloatToStrF(value, 2);
  TForm1::KommaZuPunkt(text);
  return text;
}

void showSymmetricRange(Edit& low, Edit& high, double fullScale) {
  low.SetText("-" + rangeText(fullScale));
  high.SetText(rangeText(fullScale));
}
