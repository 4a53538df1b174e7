#include "platform/canvas.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QTemporaryDir>
#include <QImage>
#include <climits>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet pixelsNotOf(const Bitmap& bitmap, TColor background) {
  PixelSet result;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      if (bitmap.Pixel(x, y) != background) result.insert({x, y});
    }
  }
  return result;
}

std::vector<TColor> allPixels(const Bitmap& bitmap) {
  std::vector<TColor> result;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) result.push_back(bitmap.Pixel(x, y));
  }
  return result;
}

// A background whose neighbouring pixels all differ, so that a NotXor pixel
// painted the wrong number of times cannot hide.
void paintPattern(Bitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const int red = (x * 37 + y * 101) & 0xFF;
      const int green = ((x * 13) ^ (y * 7)) & 0xFF;
      const int blue = ((x + y) * 29) & 0xFF;
      bitmap.Canvas().SetPixels(x, y, red | (green << 8) | (blue << 16));
    }
  }
}

TEST(CanvasColours, NamedColoursAreBbggrrAndReadBackUnchanged) {
  struct Case {
    const char* name;
    TColor color;
    int red, green, blue;
  };
  const Case cases[] = {
      {"clBlack", clBlack, 0, 0, 0},         {"clMaroon", clMaroon, 128, 0, 0},
      {"clGreen", clGreen, 0, 128, 0},       {"clOlive", clOlive, 128, 128, 0},
      {"clNavy", clNavy, 0, 0, 128},         {"clPurple", clPurple, 128, 0, 128},
      {"clTeal", clTeal, 0, 128, 128},       {"clGray", clGray, 128, 128, 128},
      {"clSilver", clSilver, 192, 192, 192}, {"clRed", clRed, 255, 0, 0},
      {"clLime", clLime, 0, 255, 0},         {"clYellow", clYellow, 255, 255, 0},
      {"clBlue", clBlue, 0, 0, 255},         {"clFuchsia", clFuchsia, 255, 0, 255},
      {"clAqua", clAqua, 0, 255, 255},       {"clWhite", clWhite, 255, 255, 255},
      {"clSkyBlue", clSkyBlue, 166, 202, 240},
  };
  Bitmap bitmap(2, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.color, c.red | (c.green << 8) | (c.blue << 16));
    bitmap.Canvas().SetPixels(1, 0, c.color);
    EXPECT_EQ(bitmap.Pixel(1, 0), c.color);
    const QColor shown(bitmap.image().pixel(1, 0));
    EXPECT_EQ(shown.red(), c.red);
    EXPECT_EQ(shown.green(), c.green);
    EXPECT_EQ(shown.blue(), c.blue);
  }
}

TEST(Bitmap, IsWhiteWhenCreatedOrResizedAndReadsMinusOneOutside) {
  Bitmap bitmap(5, 4);
  EXPECT_EQ(bitmap.Width(), 5);
  EXPECT_EQ(bitmap.Height(), 4);
  EXPECT_EQ(pixelsNotOf(bitmap, clWhite), PixelSet{});
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {5, 0}, {0, 4}, {INT_MIN, INT_MAX}}) {
    EXPECT_EQ(bitmap.Pixel(x, y), -1) << x << "," << y;
    EXPECT_EQ(bitmap.Canvas().Pixels(x, y), -1) << x << "," << y;
  }

  bitmap.Canvas().SetPixels(2, 2, clRed);
  bitmap.Canvas().TextOut(0, 0, "x");
  bitmap.SetSize(7, 3);
  EXPECT_EQ(bitmap.Width(), 7);
  EXPECT_EQ(bitmap.Height(), 3);
  EXPECT_EQ(pixelsNotOf(bitmap, clWhite), PixelSet{});
  EXPECT_TRUE(bitmap.Canvas().TextLog().empty());

  for (auto [w, h] : {std::pair{-3, 10}, {10, 0}, {100000, 100000}, {INT_MAX, INT_MAX}}) {
    bitmap.SetSize(w, h);
    EXPECT_EQ(bitmap.Width(), 0) << w << "x" << h;
    EXPECT_EQ(bitmap.Height(), 0) << w << "x" << h;
  }
}

TEST(CanvasRectangle, CoversTheBoxWithRightAndBottomEdgesExclusive) {
  Bitmap bitmap(680, 810);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Pen.Color = clBlack;
  canvas.Brush.Color = clYellow;
  canvas.Rectangle(0, 0, 673, 800);

  for (auto [x, y] : {std::pair{0, 0}, {672, 0}, {0, 799}, {672, 799}, {336, 0}, {0, 400},
                      {672, 400}, {336, 799}}) {
    EXPECT_EQ(bitmap.Pixel(x, y), clBlack) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{1, 1}, {671, 798}, {336, 400}}) {
    EXPECT_EQ(bitmap.Pixel(x, y), clYellow) << x << "," << y;
  }
  for (int y = 0; y < 810; ++y) EXPECT_EQ(bitmap.Pixel(673, y), clWhite) << "row " << y;
  for (int x = 0; x < 680; ++x) EXPECT_EQ(bitmap.Pixel(x, 800), clWhite) << "column " << x;
}

TEST(CanvasRectangle, ClearBrushSwappedCornersEmptyBoxesAndWidePens) {
  Bitmap ordered(16, 16);
  ordered.Canvas().Brush.Color = clRed;
  ordered.Canvas().Rectangle(2, 1, 10, 8);
  Bitmap swapped(16, 16);
  swapped.Canvas().Brush.Color = clRed;
  swapped.Canvas().Rectangle(10, 8, 2, 1);
  EXPECT_EQ(allPixels(swapped), allPixels(ordered));

  Bitmap clear(16, 16);
  clear.Canvas().Brush.Style = BrushStyle::Clear;
  clear.Canvas().Rectangle(2, 1, 10, 8);
  PixelSet outline;
  for (const auto& [x, y] : pixelsNotOf(ordered, clWhite)) {
    if (ordered.Pixel(x, y) == clBlack) outline.insert({x, y});
  }
  EXPECT_EQ(outline.size(), 2u * 8 + 2u * 5);
  EXPECT_EQ(pixelsNotOf(clear, clWhite), outline);

  Bitmap empty(16, 16);
  empty.Canvas().Rectangle(5, 5, 5, 9);
  empty.Canvas().Rectangle(5, 5, 9, 5);
  EXPECT_EQ(pixelsNotOf(empty, clWhite), PixelSet{});

  // A wide outline stays inside the box.
  Bitmap wide(16, 16);
  wide.Canvas().Pen.Width = 3;
  wide.Canvas().Brush.Color = clRed;
  wide.Canvas().Rectangle(2, 2, 12, 12);
  const std::vector<TColor> row6 = {clWhite, clWhite, clBlack, clBlack, clBlack, clRed, clRed,
                                    clRed,   clRed,   clBlack, clBlack, clBlack, clWhite};
  for (int x = 0; x < static_cast<int>(row6.size()); ++x) EXPECT_EQ(wide.Pixel(x, 6), row6[x]) << x;
  EXPECT_EQ(wide.Pixel(6, 4), clBlack);
  EXPECT_EQ(wide.Pixel(6, 5), clRed);
  EXPECT_EQ(wide.Pixel(6, 12), clWhite);
}

TEST(CanvasFillRect, FillsWithTheBrushRightAndBottomExclusiveWhateverThePenMode) {
  Bitmap bitmap(10, 8);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush.Color = clGreen;
  canvas.Pen.Mode = PenMode::NotXor;
  canvas.FillRect(2, 3, 6, 5);
  PixelSet expected;
  for (int y = 3; y < 5; ++y) {
    for (int x = 2; x < 6; ++x) expected.insert({x, y});
  }
  EXPECT_EQ(pixelsNotOf(bitmap, clWhite), expected);
  EXPECT_EQ(bitmap.Pixel(2, 3), clGreen);

  canvas.Brush.Style = BrushStyle::Clear;
  canvas.Brush.Color = clRed;
  canvas.FillRect(0, 0, 10, 8);
  EXPECT_EQ(pixelsNotOf(bitmap, clWhite), expected);
}

TEST(CanvasLineTo, PaintsTheExactPixelsWithoutTheEndPoint) {
  struct Case {
    const char* name;
    TPoint from, to;
    PixelSet expected;
  };
  const std::vector<Case> cases = {
      {"right", {2, 5}, {7, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}}},
      {"left", {7, 5}, {2, 5}, {{7, 5}, {6, 5}, {5, 5}, {4, 5}, {3, 5}}},
      {"down", {3, 1}, {3, 4}, {{3, 1}, {3, 2}, {3, 3}}},
      {"up", {3, 4}, {3, 1}, {{3, 4}, {3, 3}, {3, 2}}},
      {"diagonal", {1, 1}, {4, 4}, {{1, 1}, {2, 2}, {3, 3}}},
      {"anti-diagonal", {4, 1}, {1, 4}, {{4, 1}, {3, 2}, {2, 3}}},
      {"shallow", {0, 0}, {4, 1}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {"steep", {0, 0}, {1, 4}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
      {"zero length", {3, 3}, {3, 3}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap bitmap(10, 10);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen.Color = clRed;
    canvas.MoveTo(c.from.x, c.from.y);
    canvas.LineTo(c.to.x, c.to.y);
    EXPECT_EQ(pixelsNotOf(bitmap, clWhite), c.expected);
    EXPECT_EQ(canvas.PenPos, c.to);
    for (const auto& [x, y] : c.expected) EXPECT_EQ(bitmap.Pixel(x, y), clRed);
  }
}

TEST(CanvasLineTo, PolylinePaintsEveryCornerOnce) {
  // In NotXor a corner painted twice would turn white again.
  Bitmap bitmap(8, 8);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Pen.Mode = PenMode::NotXor;
  canvas.MoveTo(1, 1);
  canvas.LineTo(6, 1);
  canvas.LineTo(6, 6);
  canvas.LineTo(1, 6);
  canvas.LineTo(1, 1);
  const PixelSet painted = pixelsNotOf(bitmap, clWhite);
  EXPECT_EQ(painted.size(), 20u);
  for (auto [x, y] : {std::pair{1, 1}, {6, 1}, {6, 6}, {1, 6}}) {
    EXPECT_EQ(bitmap.Pixel(x, y), clBlack) << x << "," << y;
  }
}

TEST(CanvasLineTo, WidePensPaintASquareAroundEveryPixelOnce) {
  Bitmap thin(30, 20);
  thin.Canvas().MoveTo(2, 2);
  thin.Canvas().LineTo(25, 11);
  const PixelSet centre = pixelsNotOf(thin, clWhite);

  struct Case {
    int width, before, after;
  };
  for (const Case c : {Case{2, 0, 1}, Case{3, 1, 1}, Case{4, 1, 2}}) {
    SCOPED_TRACE(c.width);
    PixelSet expected;
    for (const auto& [x, y] : centre) {
      for (int dy = -c.before; dy <= c.after; ++dy) {
        for (int dx = -c.before; dx <= c.after; ++dx) expected.insert({x + dx, y + dy});
      }
    }
    // NotXor on white: a pixel painted twice would come back white.
    Bitmap wide(30, 20);
    wide.Canvas().Pen.Width = c.width;
    wide.Canvas().Pen.Mode = PenMode::NotXor;
    wide.Canvas().MoveTo(2, 2);
    wide.Canvas().LineTo(25, 11);
    EXPECT_EQ(pixelsNotOf(wide, clWhite), expected);
  }
}

TEST(CanvasNotXor, PaintsTheInverseOfPenXorPixel) {
  Bitmap bitmap(300, 800);
  TCanvas& canvas = bitmap.Canvas();
  canvas.SetPixels(0, 0, clRed);
  canvas.Pen.Color = clYellow;
  canvas.Pen.Mode = PenMode::NotXor;
  canvas.MoveTo(0, 0);
  canvas.LineTo(2, 0);
  EXPECT_EQ(bitmap.Pixel(0, 0), clFuchsia);  // NOT(0x00FFFF XOR 0x0000FF)
  EXPECT_EQ(bitmap.Pixel(1, 0), clYellow);   // NOT(0x00FFFF XOR 0xFFFFFF)

  // The selection band: outline and fill both in NotXor, so it shows yellow
  // on white and vanishes when drawn again.
  canvas.Brush.Color = clYellow;
  canvas.Rectangle(100, 60, 200, 760);
  for (auto [x, y] : {std::pair{100, 60}, {150, 400}, {199, 759}}) {
    EXPECT_EQ(bitmap.Pixel(x, y), clYellow) << x << "," << y;
  }
  EXPECT_EQ(bitmap.Pixel(200, 400), clWhite);
  canvas.Rectangle(100, 60, 200, 760);
  EXPECT_EQ(pixelsNotOf(bitmap, clWhite), (PixelSet{{0, 0}, {1, 0}}));
}

TEST(CanvasNotXor, DrawingEverythingTwiceRestoresEveryPixel) {
  for (int width : {1, 2, 3}) {
    SCOPED_TRACE(width);
    Bitmap bitmap(60, 50);
    paintPattern(bitmap);
    const std::vector<TColor> original = allPixels(bitmap);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen.Color = 0x3C96D2;
    canvas.Pen.Width = width;
    canvas.Pen.Mode = PenMode::NotXor;
    canvas.Brush.Color = 0x1E7F40;
    auto drawAll = [&] {
      // Every octant, both sides of each diagonal, and lines leaving the bitmap.
      for (auto [dx, dy] : {std::pair{20, 0}, {20, 7}, {20, 20}, {7, 20}, {0, 20}, {-7, 20},
                            {-20, 20}, {-20, 7}, {-20, 0}, {-20, -7}, {-20, -20}, {-7, -20},
                            {0, -20}, {7, -20}, {20, -20}, {20, -7}, {45, 31}, {-41, -33}}) {
        canvas.MoveTo(30, 25);
        canvas.LineTo(30 + dx, 25 + dy);
      }
      canvas.Rectangle(5, 4, 40, 30);
      canvas.Rectangle(-5, 10, 70, 20);
      canvas.Ellipse(12, 8, 50, 45);
      canvas.Ellipse(44, 2, 51, 9);
    };
    drawAll();
    EXPECT_NE(allPixels(bitmap), original);
    drawAll();
    EXPECT_EQ(allPixels(bitmap), original);
  }
}

TEST(CanvasEllipse, StaysInItsBoxIsSymmetricAndHasAClosedOutline) {
  Bitmap bitmap(40, 30);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush.Color = clRed;
  canvas.Ellipse(10, 10, 30, 20);
  for (const auto& [x, y] : pixelsNotOf(bitmap, clWhite)) {
    EXPECT_TRUE(x >= 10 && x < 30 && y >= 10 && y < 20) << x << "," << y;
  }
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      EXPECT_EQ(bitmap.Pixel(x, y), bitmap.Pixel(39 - x, y)) << x << "," << y;
      EXPECT_EQ(bitmap.Pixel(x, y), bitmap.Pixel(x, 29 - y)) << x << "," << y;
    }
  }
  // Every row of the box starts and ends with the pen and is filled between.
  for (int y = 10; y < 20; ++y) {
    int left = 10;
    while (bitmap.Pixel(left, y) == clWhite) ++left;
    int right = 29;
    while (bitmap.Pixel(right, y) == clWhite) --right;
    EXPECT_EQ(bitmap.Pixel(left, y), clBlack) << "row " << y;
    EXPECT_EQ(bitmap.Pixel(right, y), clBlack) << "row " << y;
  }
  EXPECT_EQ(bitmap.Pixel(10, 15), clBlack);
  EXPECT_EQ(bitmap.Pixel(20, 10), clBlack);
  EXPECT_EQ(bitmap.Pixel(20, 15), clRed);
}

TEST(CanvasEllipse, SmallMarkerHasAFixedShape) {
  // The point markers of the plots: a box of P +- 3.
  Bitmap bitmap(8, 8);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush.Color = clRed;
  canvas.Ellipse(4 - 3, 4 - 3, 4 + 3, 4 + 3);
  const std::vector<std::string> expected = {
      "........",  //
      "..####..",  //
      ".#rrrr#.",  //
      ".#rrrr#.",  //
      ".#rrrr#.",  //
      ".#rrrr#.",  //
      "..####..",  //
      "........",
  };
  std::vector<std::string> shown;
  for (int y = 0; y < 8; ++y) {
    std::string row;
    for (int x = 0; x < 8; ++x) {
      const TColor c = bitmap.Pixel(x, y);
      row += c == clWhite ? '.' : c == clBlack ? '#' : c == clRed ? 'r' : '?';
    }
    shown.push_back(row);
  }
  EXPECT_EQ(shown, expected);
}

TEST(CanvasClipping, ClippedDrawingPaintsWhatTheWholeDrawingWouldShow) {
  // The same lines on a small bitmap and, shifted, on a large one: the small
  // one must show exactly the matching window of the large one.
  struct Line {
    int x0, y0, x1, y1, width;
  };
  const Line lines[] = {{-37, -11, 53, 19, 1}, {25, -40, -3, 31, 1},  {-10, 5, 10, 5, 1},
                        {-90, 80, 70, -60, 2}, {19, -30, 19, 40, 3},  {-200, 9, 300, 0, 3}};
  for (const Line& line : lines) {
    SCOPED_TRACE(std::to_string(line.x0) + "," + std::to_string(line.y0) + " to " +
                 std::to_string(line.x1) + "," + std::to_string(line.y1));
    Bitmap small(20, 10);
    small.Canvas().Pen.Width = line.width;
    small.Canvas().MoveTo(line.x0, line.y0);
    small.Canvas().LineTo(line.x1, line.y1);
    Bitmap large(620, 310);
    large.Canvas().Pen.Width = line.width;
    large.Canvas().MoveTo(line.x0 + 300, line.y0 + 150);
    large.Canvas().LineTo(line.x1 + 300, line.y1 + 150);
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 20; ++x) {
        ASSERT_EQ(small.Pixel(x, y), large.Pixel(x + 300, y + 150)) << x << "," << y;
      }
    }
  }
}

TEST(CanvasClipping, ExtremeCoordinatesAreClippedSilently) {
  Bitmap bitmap(20, 10);
  TCanvas& canvas = bitmap.Canvas();
  canvas.MoveTo(INT_MIN, 3);
  canvas.LineTo(INT_MAX, 3);
  PixelSet row3;
  for (int x = 0; x < 20; ++x) row3.insert({x, 3});
  EXPECT_EQ(pixelsNotOf(bitmap, clWhite), row3);

  canvas.MoveTo(INT_MIN, INT_MIN);
  canvas.LineTo(INT_MAX, INT_MAX);
  canvas.MoveTo(INT_MAX, INT_MIN);
  canvas.LineTo(INT_MIN, INT_MAX);
  canvas.Pen.Width = INT_MAX;
  canvas.MoveTo(INT_MIN, 5);
  canvas.LineTo(INT_MAX, -5);
  canvas.Pen.Width = INT_MIN;
  canvas.LineTo(-1, -1);
  canvas.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  canvas.Ellipse(-3, -3, 2, 2);
  canvas.FillRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
  canvas.SetPixels(-1, 0, clRed);
  canvas.SetPixels(20, 0, clRed);
  canvas.TextOut(INT_MAX, INT_MAX, "far");
  canvas.TextOut(INT_MIN, INT_MIN, "far");
  canvas.Draw(INT_MAX, INT_MIN, bitmap);
  canvas.Draw(-5, -5, Bitmap(3, 3));

  // A box larger than the bitmap leaves its outline outside: all is brush.
  canvas.Pen.Width = 1;
  canvas.Brush.Color = clTeal;
  canvas.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(pixelsNotOf(bitmap, clTeal), PixelSet{});

  Bitmap none;
  TCanvas& nothing = none.Canvas();
  nothing.LineTo(5, 5);
  nothing.Rectangle(0, 0, 5, 5);
  nothing.Ellipse(0, 0, 5, 5);
  nothing.FillRect(0, 0, 5, 5);
  nothing.TextOut(0, 0, "empty");
  nothing.Draw(0, 0, bitmap);
  EXPECT_EQ(none.Width(), 0);
  EXPECT_EQ(none.Pixel(0, 0), -1);
}

TEST(CanvasText, TextOutIsLoggedAsWrittenAndMovesThePen) {
  Bitmap bitmap(673, 800);
  TCanvas& canvas = bitmap.Canvas();
  EXPECT_EQ(canvas.Font.Name, "default");
  EXPECT_EQ(canvas.Font.Size, 8);
  EXPECT_EQ(canvas.Font.Color, clBlack);

  canvas.TextOut(553, 114, "Curve 1");
  canvas.Font.Name = "Symbol";
  canvas.Font.Size = 12;
  canvas.TextOut(2, 412, "De");
  EXPECT_EQ(canvas.PenPos, (TPoint{2 + canvas.TextWidth("De"), 412}));
  canvas.Font.Name = "default";
  canvas.Font.Size = 8;
  canvas.Font.Color = clGreen;
  canvas.TextOut(553, 598, "");

  const std::vector<TextLogEntry> expected = {
      {"Curve 1", 553, 114, "default", 8, clBlack},
      {"De", 2, 412, "Symbol", 12, clBlack},
      {"", 553, 598, "default", 8, clGreen},
  };
  EXPECT_EQ(canvas.TextLog(), expected);
  canvas.ClearTextLog();
  EXPECT_TRUE(canvas.TextLog().empty());
}

TEST(CanvasText, TextSitsBelowAndRightOfItsPointOnTheUntouchedBackground) {
  Bitmap bitmap(200, 60);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush.Color = clRed;
  canvas.FillRect(0, 0, 200, 60);
  canvas.Brush.Color = clWhite;
  canvas.Font.Size = 12;
  canvas.Font.Color = clBlue;
  canvas.TextOut(20, 10, "Hg");
  const int width = canvas.TextWidth("Hg");
  const int height = canvas.TextHeight("Hg");
  EXPECT_GT(width, 0);
  EXPECT_GT(height, 0);
  const PixelSet changed = pixelsNotOf(bitmap, clRed);
  EXPECT_FALSE(changed.empty());
  for (const auto& [x, y] : changed) {
    // Glyphs may overhang their box a little; a text placed by its baseline
    // would start a whole line higher.
    EXPECT_TRUE(x >= 18 && x < 20 + width + 2 && y >= 8 && y < 10 + height + 2) << x << "," << y;
    EXPECT_NE(bitmap.Pixel(x, y), clWhite) << "no background box";
  }
}

TEST(CanvasText, SymbolFontShowsGreekAndUnknownFacesFallBackToTheDefault) {
  const std::pair<const char*, const char*> letters[] = {
      {"De", "Δε"}, {"l", "λ"},     {"J", "ϑ"},  {"Q", "Θ"}, {"V", "ς"},
      {"j", "ϕ"},   {"v", "ϖ"},     {"C", "Χ"},  {"w", "ω"}, {"1 a!", "1 α!"},
  };
  for (const auto& [latin, greek] : letters) EXPECT_EQ(SymbolToGreek(latin), greek) << latin;

  Bitmap bitmap(10, 10);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Font.Size = 12;
  const int greekWidth = canvas.TextWidth("Δε");
  const int defaultWidth = canvas.TextWidth("Absorption");
  canvas.Font.Name = "Symbol";
  EXPECT_EQ(canvas.TextWidth("De"), greekWidth);
  canvas.Font.Name = "No Such Face Anywhere";
  EXPECT_EQ(canvas.TextWidth("Absorption"), defaultWidth);
  canvas.Font.Size = 24;
  EXPECT_GT(canvas.TextWidth("Absorption"), defaultWidth);
}

TEST(BitmapCopy, PaintersRoundTripKeepsPixelsAndEachTextOnce) {
  Bitmap picture(40, 30);
  picture.Canvas().Rectangle(0, 0, 40, 30);
  picture.Canvas().TextOut(3, 4, "Absorption");

  Bitmap work(picture);
  EXPECT_EQ(allPixels(work), allPixels(picture));
  EXPECT_EQ(work.Canvas().TextLog(), picture.Canvas().TextLog());
  work.Canvas().Pen.Color = clRed;
  work.Canvas().MoveTo(5, 20);
  work.Canvas().LineTo(30, 20);
  work.Canvas().TextOut(6, 7, "De");
  EXPECT_EQ(picture.Pixel(10, 20), clWhite);

  picture.Canvas().Draw(0, 0, work);
  EXPECT_EQ(allPixels(picture), allPixels(work));
  const std::vector<TextLogEntry> both = {{"Absorption", 3, 4, "default", 8, clBlack},
                                          {"De", 6, 7, "default", 8, clBlack}};
  EXPECT_EQ(picture.Canvas().TextLog(), both);

  // Blanking the picture forgets its texts, whichever way it is done.
  Bitmap blank(40, 30);
  blank.Canvas().Rectangle(0, 0, 40, 30);
  picture.Canvas().Draw(0, 0, blank);
  EXPECT_TRUE(picture.Canvas().TextLog().empty());
  picture.Canvas().TextOut(1, 1, "x");
  picture.Canvas().FillRect(0, 0, 40, 30);
  EXPECT_TRUE(picture.Canvas().TextLog().empty());

  Bitmap assigned(5, 5);
  assigned.Canvas().Pen.Color = clRed;
  assigned.Assign(work);
  EXPECT_EQ(assigned.Width(), 40);
  EXPECT_EQ(allPixels(assigned), allPixels(work));
  EXPECT_EQ(assigned.Canvas().TextLog(), both);
  EXPECT_EQ(assigned.Canvas().Pen.Color, clRed);
}

TEST(BitmapCopy, DrawAtAnOffsetClipsAndShiftsTheLog) {
  Bitmap source(4, 3);
  source.Canvas().Brush.Color = clNavy;
  source.Canvas().FillRect(0, 0, 4, 3);
  source.Canvas().SetPixels(0, 0, clRed);
  // Texts off the bitmaps: logged, but no glyph gets in the way of the pixels.
  source.Canvas().TextOut(10, 20, "a");

  Bitmap target(6, 5);
  target.Canvas().TextOut(-50, 0, "kept");
  target.Canvas().Draw(3, 1, source);
  PixelSet expected;
  for (int y = 1; y < 4; ++y) {
    for (int x = 3; x < 6; ++x) expected.insert({x, y});
  }
  EXPECT_EQ(pixelsNotOf(target, clWhite), expected);
  EXPECT_EQ(target.Pixel(3, 1), clRed);
  EXPECT_EQ(target.Pixel(5, 3), clNavy);
  const std::vector<TextLogEntry> log = {{"kept", -50, 0, "default", 8, clBlack},
                                         {"a", 13, 21, "default", 8, clBlack}};
  EXPECT_EQ(target.Canvas().TextLog(), log);
}

TEST(Bitmap, SavePngWritesThePixels) {
  Bitmap bitmap(7, 5);
  paintPattern(bitmap);
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath("picture.png");
  ASSERT_TRUE(bitmap.SavePng(path.toStdString()));
  const QImage loaded(path);
  ASSERT_EQ(loaded.size(), bitmap.image().size());
  EXPECT_EQ(loaded.convertToFormat(QImage::Format_RGB32), bitmap.image());
  EXPECT_FALSE(Bitmap().SavePng(path.toStdString()));
}

}  // namespace
