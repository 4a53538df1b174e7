// The key of a UV/ECD PNG picture with "legend inside the plot" unticked, as
// a reader sees it: the pixels the key draws (the picture against the same
// script drawn without a key) stand right of the frame, clear of everything
// else drawn and inside the picture.
#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <string>
#include <vector>

#include "gnuplot_render_check.h"
#include "plot_picture_support.h"

namespace {

bool inked(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return qRed(p) < 200 || qGreen(p) < 200 || qBlue(p) < 200;
}

// The frame's right edge: the rightmost column whose dark run is nearly as
// long as the longest, the left border's.
int frameRightOf(const QImage& image) {
  std::vector<int> runs(static_cast<size_t>(image.width()), 0);
  int longest = 0;
  for (int x = 0; x < image.width(); ++x) {
    int run = 0;
    for (int y = 0; y < image.height(); ++y) {
      run = inked(image, x, y) ? run + 1 : 0;
      runs[static_cast<size_t>(x)] = std::max(runs[static_cast<size_t>(x)], run);
    }
    longest = std::max(longest, runs[static_cast<size_t>(x)]);
  }
  int right = 0;
  for (int x = 0; x < image.width(); ++x)
    if (runs[static_cast<size_t>(x)] >= longest * 9 / 10) right = x;
  return right;
}

struct KeyInk {
  QRect key;            // the pixels the key changes
  int frameRight = 0;   // the frame's right border
  QRect otherInk;       // what else is drawn within a few pixels of the key
  QSize picture;
};

// Draws `name`.plt of `folder` a second time with "set key off" and compares
// the two pictures.
KeyInk keyInkOf(const TempFolder& folder, const std::string& name) {
  std::vector<std::string> lines = ReadLines(folder.file(name + ".plt"));
  for (std::string& line : lines) {
    if (line.rfind("set out ", 0) == 0) line = "set out '" + name + "-nokey.png'";
    if (line.rfind("set key ", 0) == 0) line = "set key off";
  }
  WriteLinesCRLF(folder.file(name + "-nokey.plt"), lines);
  expectRendered(folder.path(), name + "-nokey.plt", ".png");
  const QImage with = QImage(QString::fromStdString(folder.file(name + ".png"))).convertToFormat(QImage::Format_RGB32);
  const QImage without =
      QImage(QString::fromStdString(folder.file(name + "-nokey.png"))).convertToFormat(QImage::Format_RGB32);
  KeyInk ink;
  ink.picture = with.size();
  if (with.isNull() || without.isNull() || with.size() != without.size()) return ink;
  for (int y = 0; y < with.height(); ++y)
    for (int x = 0; x < with.width(); ++x)
      if (with.pixel(x, y) != without.pixel(x, y)) ink.key |= QRect(x, y, 1, 1);
  ink.frameRight = frameRightOf(without);
  const QRect around = ink.key.adjusted(-3, -3, 3, 3) & without.rect();
  for (int y = around.top(); y <= around.bottom(); ++y)
    for (int x = around.left(); x <= around.right(); ++x)
      if (inked(without, x, y)) ink.otherInk |= QRect(x, y, 1, 1);
  return ink;
}

std::string boxText(const QRect& r) {
  return "[" + std::to_string(r.left()) + " " + std::to_string(r.top()) + " " + std::to_string(r.right()) + " " +
         std::to_string(r.bottom()) + "]";
}

// Names of `length` characters, each its own, as real outputs shorten to.
void namesOf(Session& ui, bool ecd, size_t length) {
  longNames(ui, ecd);
  SlotTexts& titles = ecd ? ui.store().CDTITLE : ui.store().UVTITLE;
  for (long s = 1; s <= 5; ++s) titles[s] = titles[s].substr(titles[s].size() - std::min(length, titles[s].size()));
}

}  // namespace

TEST(PlotPngKey, OutsideKeyStandsRightOfTheFrameClearOfAllElseAndInsideThePicture) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  const std::vector<KeyPage> cases = {
      {"ECD, 1 curve", loadOneEcdCurve, true},
      {"ECD, 2 curves", loadEcdPair, true},
      {"ECD, 5 curves", loadFiveEcdCurves, true},
      {"ECD, 2 curves, mirror image and bars", loadEcdPair, true, true},
      {"ECD, 5 curves, mirror image and bars", loadFiveEcdCurves, true, true},
      {"UV, 1 curve", loadOneUvCurve, false},
      {"UV, 2 curves", loadUvPair, false},
      {"UV, 5 curves", loadFiveUvCurves, false},
      {"UV, 2 curves and bars", loadUvPair, false, true},
  };
  for (const KeyPage& k : cases) {
    for (bool secondAxis : {false, true}) {
      for (size_t length : {size_t{8}, size_t{20}}) {
        SCOPED_TRACE(std::string(k.name) + (secondAxis ? ", second y axis" : "") + ", names of " +
                     std::to_string(length));
        Session ui;
        loadKeyPage(ui, k, secondAxis, [&](Session& u) { namesOf(u, k.ecd, length); });
        TempFolder out;
        const std::string png = clickEps(ui, k.ecd ? Form1->Button12 : Form1->Button13, out, "key", ".png");
        ASSERT_TRUE(FileExists(png));
        const KeyInk ink = keyInkOf(out, "key");
        ASSERT_FALSE(ink.key.isEmpty());
        ASSERT_GT(ink.frameRight, 0);
        // The sample lines start right of the frame's border.
        EXPECT_GT(ink.key.left(), ink.frameRight + 4) << boxText(ink.key) << " frame " << ink.frameRight;
        // Nothing of the key at the picture's edges.
        EXPECT_LT(ink.key.right(), ink.picture.width() - 2) << boxText(ink.key);
        EXPECT_GT(ink.key.top(), 0) << boxText(ink.key);
        EXPECT_LT(ink.key.bottom(), ink.picture.height() - 2) << boxText(ink.key);
        // No tic label, axis label, band-width or shift label within the key.
        EXPECT_TRUE(ink.otherInk.isEmpty()) << "key " << boxText(ink.key) << ", other ink " << boxText(ink.otherInk);
      }
    }
  }
}
