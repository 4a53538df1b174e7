// The painters' off-screen round trip: draw on a copy of a page's picture (or
// on a fresh white framed one) and put it back in one piece when done, so a
// painter that stops half-way leaves the picture as it was.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/canvas.h"
#include "platform/controls.h"
#include "store/Store.h"

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

// The start of a panel's frame: black pen and text on a white brush, the x
// axis at axisY from the right end (500) to the y axis (50), then up to top.
void panelAxes(OffscreenPlot& plot, int axisY, int top);

// A legend entry at height y: a short line in the pen's colour, the title
// beside it.
void legendEntry(OffscreenPlot& plot, int y, const std::string& title);
// The first slot's entry: a red line and its title in black (the pen stays
// black).
void firstLegendEntry(OffscreenPlot& plot, int y, const std::string& title);

// A slot's state names a computed or a measured curve.
bool slotUsed(const std::string& state);

// The colour of slots 2..5 on the UV/ECD and IR/VCD pages; the computed UV
// curves of slots 4 and 5 are drawn lighter.
TColor slotColour(int slot, bool computedUv = false);

// A curve of slots 2..5 over the page's picture: drawn in the slot's colour,
// with its legend entry at legendY below the first slot's.
void paintSlotCurve(Image& image, TColor colour, int legendY, const std::string& title,
                    const std::function<void(OffscreenPlot&)>& drawCurve);

// The painters of one panel: slot 1's frame and curve, and the curve of a
// further slot, each for a measured or a computed slot.
struct PanelPainters {
  std::function<void()> drawMeasured;
  std::function<void()> drawComputed;
  std::function<void(int)> addMeasured;
  std::function<void(int)> addComputed;
};
// A panel once its range is known: the scaling factors of the used slots
// under the heading (with auto scaling only), slot 1, then slots 2..5 as
// their states say.
void paintPanel(Memo& memo, const std::string& heading, const SlotTexts& states, const SlotReals& factors,
                bool autoScaling, const PanelPainters& painters);

// F2 of a full scale as the y-range edits show it (with a point).
std::string rangeText(double value);
// The y-range edits of a panel that runs from -fullScale to fullScale.
void showSymmetricRange(Edit& low, Edit& high, double fullScale);
