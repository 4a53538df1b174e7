// The painters' off-screen round trip: draw on a copy of a page's picture (or
// on a fresh white framed one) and put it back in one piece when done, so a
// painter that stops half-way leaves the picture as it was.
#pragma once

#include <optional>
#include <string>

#include "platform/canvas.h"
#include "platform/controls.h"

class OffscreenPlot {
 public:
  enum class Start { CopyOfPicture, BlankFramed };
  OffscreenPlot(Image& image, Start start);
  OffscreenPlot(const OffscreenPlot&) = delete;
  OffscreenPlot& operator=(const OffscreenPlot&) = delete;

  TCanvas& canvas() { return bitmap_.Canvas(); }
  // Pen and text colour together, as the painters set them.
  void colour(TColor colour);
  void font(const std::string& name, int size);
  void line(int x1, int y1, int x2, int y2);
  // A line from the pen position; a missing end point leaves the pen alone.
  void lineTo(int x, std::optional<int> y);
  void moveTo(int x, std::optional<int> y);
  void text(int x, int y, const std::string& text);
  // Copies the bitmap onto the image at (0, 0) and tells the back end.
  void finish();

 private:
  Image& image_;
  Bitmap bitmap_;
};

// F2 of a full scale as the y-range edits show it (with a point).
std::string rangeText(double value);
