#include "display/blank_plot.h"

void BlankPlot(Image& image) {
  image.SetVisible(true);
  const int width = image.Bounds().Width;
  const int height = image.Bounds().Height;
  Bitmap& picture = image.Picture();
  if (picture.Width() != width || picture.Height() != height) picture.SetSize(width, height);
  TCanvas& canvas = image.Canvas();
  // A selection rectangle leaves the pen inverting; the frame is plain black.
  canvas.Pen.Color = clBlack;
  canvas.Pen.Width = 1;
  canvas.Pen.Mode = PenMode::Copy;
  canvas.Brush.Color = clWhite;
  canvas.Brush.Style = BrushStyle::Solid;
  canvas.FillRect(0, 0, width, height);
  canvas.Rectangle(0, 0, width, height);
  image.Invalidate();
}
