#include "display/plot_painting.h"

#include "app/Main.h"
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

std::string rangeText(double value) {
  std::string text = FloatToStrF(value, 2);
  TForm1::KommaZuPunkt(text);
  return text;
}
