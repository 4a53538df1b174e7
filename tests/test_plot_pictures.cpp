// The pictures as a reader of the paper sees them: rendered by the
// installed gnuplot from the buttons a person clicks, then read back through
// Ghostscript. Everything drawn lies inside the picture's bounding box, no
// two texts overlap, small values still give a readable axis, and every tic
// label tells its tic's value.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "gnuplot_render_check.h"
#include "plot_export_test_support.h"
#include "plot_picture_support.h"
#include "platform/numbers.h"
#include "plots/cdplotting.h"
#include "plots/irplotting.h"
#include "plots/uvplotting.h"
#include "plots/vcdplotting.h"

namespace {

// `load` and a shift of -12 nm typed for every curve: a shift label for
// each computed curve.
std::function<void(Session&)> shifted(void (*load)(Session&)) {
  return [=](Session& ui) {
    load(ui);
    for (Edit* shift : {Form1->Edit2, Form1->Edit12, Form1->Edit13, Form1->Edit31, Form1->Edit32})
      ui.type(shift, "-12");
  };
}

// `load`, shifted, and "use second y axis" ticked in the CD (or UV) window.
std::function<void(Session&)> onSecondAxis(void (*load)(Session&), bool cd) {
  return [=](Session& ui) {
    shifted(load)(ui);
    (cd ? Form10->CheckBox2 : Form11->CheckBox2)->SetChecked(true);
  };
}

// `load` with "squared plot" unticked in the CD (or UV) window.
std::function<void(Session&)> notSquare(std::function<void(Session&)> load, bool cd) {
  return [=](Session& ui) {
    load(ui);
    (cd ? Form10->CheckBox1 : Form11->CheckBox1)->SetChecked(false);
  };
}

struct EpsKind {
  const char* name;
  std::function<void(Session&)> load;
  std::function<Button*()> button;
};

const std::vector<EpsKind>& everyEpsKind() {
  static const std::vector<EpsKind> kinds = {
      {"ecd-1", loadOneEcdCurve, [] { return Form1->Button1; }},
      {"ecd-2", loadEcdPair, [] { return Form1->Button1; }},
      {"ecd-5", loadFiveEcdCurves, [] { return Form1->Button1; }},
      {"uv-1", loadOneUvCurve, [] { return Form1->Button7; }},
      {"uv-2", loadUvPair, [] { return Form1->Button7; }},
      {"uv-5", loadFiveUvCurves, [] { return Form1->Button7; }},
      // "use second y axis": the computed curves on y2, beside the labels
      // of band width and shift, with a shift label of each computed curve.
      {"ecd-1-y2", onSecondAxis(loadOneEcdCurve, true), [] { return Form1->Button1; }},
      {"ecd-2-y2", onSecondAxis(loadEcdPair, true), [] { return Form1->Button1; }},
      {"ecd-5-y2", onSecondAxis(loadFiveEcdCurves, true), [] { return Form1->Button1; }},
      {"uv-1-y2", onSecondAxis(loadOneUvCurve, false), [] { return Form1->Button7; }},
      {"uv-2-y2", onSecondAxis(loadUvPair, false), [] { return Form1->Button7; }},
      // "squared plot" unticked: the plot takes the whole picture, the
      // labels of band width and shift its right margin.
      {"ecd-1-wide", notSquare(loadOneEcdCurve, true), [] { return Form1->Button1; }},
      {"ecd-2-wide", notSquare(shifted(loadEcdPair), true), [] { return Form1->Button1; }},
      {"ecd-5-wide", notSquare(shifted(loadFiveEcdCurves), true), [] { return Form1->Button1; }},
      {"uv-1-wide", notSquare(loadOneUvCurve, false), [] { return Form1->Button7; }},
      {"uv-2-wide", notSquare(shifted(loadUvPair), false), [] { return Form1->Button7; }},
      {"ecd-1-wide-y2", notSquare(onSecondAxis(loadOneEcdCurve, true), true), [] { return Form1->Button1; }},
      {"ecd-2-wide-y2", notSquare(onSecondAxis(loadEcdPair, true), true), [] { return Form1->Button1; }},
      {"ecd-5-wide-y2", notSquare(onSecondAxis(loadFiveEcdCurves, true), true), [] { return Form1->Button1; }},
      {"uv-1-wide-y2", notSquare(onSecondAxis(loadOneUvCurve, false), false), [] { return Form1->Button7; }},
      {"uv-2-wide-y2", notSquare(onSecondAxis(loadUvPair, false), false), [] { return Form1->Button7; }},
      {"ord",
       [](Session& ui) {
         loadOrdPair(ui);
         ui.tick(Form1->CheckBox12);
       },
       [] { return Form1->Button11; }},
      {"vcd-1", [](Session& ui) { ui.act([] { Form1->Choose(fixture("plots/conf1.vc.bil")); }); },
       [] { return Form1->Button17; }},
      {"vcd-stacked", [](Session& ui) { loadIrVcdPage(ui, true, 4); }, [] { return Form1->Button17; }},
      {"vcd-overlay",
       [](Session& ui) {
         loadIrVcdPage(ui, true, 4);
         Form13->CheckBox1->SetChecked(true);
       },
       [] { return Form1->Button17; }},
      {"ir-stacked", [](Session& ui) { loadIrVcdPage(ui, false, 3); }, [] { return Form1->Button20; }},
      {"ir-overlay",
       [](Session& ui) {
         loadIrVcdPage(ui, false, 3);
         Form15->CheckBox1->SetChecked(true);
       },
       [] { return Form1->Button20; }},
      {"hplc-2d", [](Session& ui) { loadHplcTraces(ui, 3); }, [] { return Form1->Button3; }},
      {"hplc-3d", [](Session& ui) { loadHplcTraces(ui, 3); }, [] { return Form1->Button15; }},
  };
  return kinds;
}

}  // namespace

TEST(PlotPictures, EverythingDrawnLiesInsideTheBoxAndNoTextsOverlap) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  if (!ghostscriptFound()) GTEST_SKIP() << "no gs";
  for (bool gnuplot5 : {false, true}) {
    for (const EpsKind& kind : everyEpsKind()) {
      SCOPED_TRACE(std::string(kind.name) + (gnuplot5 ? " gnuplot 5" : " gnuplot 4"));
      Session ui;
      if (gnuplot5) ui.tick(Form2->CheckBox1);
      kind.load(ui);
      TempFolder out;
      const std::string eps = clickEps(ui, kind.button(), out, kind.name);
      ASSERT_TRUE(FileExists(eps));
      const std::optional<PictureBox> drawn = drawnBox(eps);
      ASSERT_TRUE(drawn.has_value());
      EXPECT_TRUE(inside(*drawn, declaredBox(eps))) << "drawn " << *drawn << ", declared " << declaredBox(eps);
      const std::vector<PictureText> texts = pictureTexts(eps);
      EXPECT_FALSE(texts.empty());
      for (const PictureText& text : texts)
        EXPECT_TRUE(inside(text.box, declaredBox(eps), 1.0)) << "\"" << text.text() << "\" " << text.box;
      const std::vector<std::string> overlapping = overlappingTexts(texts);
      EXPECT_TRUE(overlapping.empty()) << testing::PrintToString(overlapping);
    }
  }
}

namespace {

// Five IR panels stacked: computed, measured and three computed conformers.
void loadFiveIrPanels(Session& ui) {
  loadIrVcdPage(ui, false, 3);
  ui.act([&] {
    for (int slot = 4; slot <= 5; ++slot) {
      Form1->IrBilFile(fixture("plots/conf2.ir.bil"), slot);
      ui.store().IRTITLE[slot] = "conformer" + std::to_string(slot) + ".ir.bil";
    }
  });
}

}  // namespace

// The pictures drawn without a top margin: the top tic label of a range
// that ends on a tic, and the top border line of stacked panels, stay whole
// inside the box.
TEST(PlotPictures, NothingSticksOutAtTheTop) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  if (!ghostscriptFound()) GTEST_SKIP() << "no gs";
  const std::vector<EpsKind> kinds = {
      {"hplc-2d-tab", [](Session& ui) { ui.act([] { Form1->HPLCUV(fixture("measured/tab.cuv"), 1); }); },
       [] { return Form1->Button3; }},
      {"vcd-stacked", [](Session& ui) { loadIrVcdPage(ui, true, 4); }, [] { return Form1->Button17; }},
      {"ir-stacked-5", loadFiveIrPanels, [] { return Form1->Button20; }},
      {"ecd-user-range",
       [](Session& ui) {
         loadOneEcdCurve(ui);
         Form10->CheckBox3->SetChecked(true);
         ui.type(Form10->Edit7, "[-40:40]");
       },
       [] { return Form1->Button1; }},
      {"uv-user-range",
       [](Session& ui) {
         loadUvPair(ui);
         Form11->CheckBox3->SetChecked(true);
         ui.type(Form11->Edit7, "[0:60000]");
       },
       [] { return Form1->Button7; }},
      {"ord", [](Session& ui) { loadOrdPair(ui); }, [] { return Form1->Button11; }},
  };
  for (const EpsKind& kind : kinds) {
    SCOPED_TRACE(kind.name);
    Session ui;
    kind.load(ui);
    TempFolder out;
    const std::string eps = clickEps(ui, kind.button(), out, kind.name);
    ASSERT_TRUE(FileExists(eps));
    const std::optional<PictureBox> drawn = drawnBox(eps);
    ASSERT_TRUE(drawn.has_value());
    EXPECT_TRUE(inside(*drawn, declaredBox(eps), 0.0)) << "drawn " << *drawn << ", declared " << declaredBox(eps);
    // Text boxes are estimated from the font size: half a point of slack.
    for (const PictureText& text : pictureTexts(eps))
      EXPECT_TRUE(inside(text.box, declaredBox(eps), 0.5)) << "\"" << text.text() << "\" " << text.box;
  }
}

// With "legend inside the plot" unticked the key stands right of the frame,
// beyond the second axis's tic labels and label, clear of every other text
// and inside the picture, at names of 20 characters.
TEST(PlotPictures, OutsideKeyKeepsClearOfTheFrameAndTheSecondAxis) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  if (!ghostscriptFound()) GTEST_SKIP() << "no gs";
  const std::vector<KeyPage> cases = {
      {"ECD, 1 curve", loadOneEcdCurve, true},   {"ECD, 2 curves", loadEcdPair, true},
      {"ECD, 5 curves", loadFiveEcdCurves, true}, {"ECD, 5 curves, mirror image and bars", loadFiveEcdCurves, true, true},
      {"UV, 1 curve", loadOneUvCurve, false},    {"UV, 2 curves", loadUvPair, false},
  };
  for (const KeyPage& k : cases) {
    for (bool secondAxis : {false, true}) {
      SCOPED_TRACE(std::string(k.name) + (secondAxis ? ", second y axis" : ""));
      Session ui;
      loadKeyPage(ui, k, secondAxis, [&](Session& u) { longNames(u, k.ecd); });
      TempFolder out;
      const std::string eps = clickEps(ui, k.ecd ? Form1->Button1 : Form1->Button7, out, "key");
      ASSERT_TRUE(FileExists(eps));
      const std::vector<PictureText> texts = pictureTexts(eps);
      const std::vector<std::string> overlapping = overlappingTexts(texts);
      EXPECT_TRUE(overlapping.empty()) << testing::PrintToString(overlapping);
      // The frame's right edge: the last x tic stands on it.
      double frameRight = 0;
      for (const PictureText& t : texts)
        if (!t.vertical && t.text() == " 600") frameRight = (t.box.x0 + t.box.x1) / 2;
      ASSERT_GT(frameRight, 0);
      // What stands right of the frame besides the key: the second axis's
      // tic labels and label.
      double axisTexts = frameRight;
      for (const PictureText& t : yTicLabels(texts, true)) axisTexts = std::max(axisTexts, t.box.x1);
      for (const PictureText& t : texts)
        if (t.vertical && t.box.x0 > frameRight) axisTexts = std::max(axisTexts, t.box.x1);
      int entries = 0;
      for (const PictureText& t : texts) {
        if (t.text().find("tm7.6risRKSpbe0TDD") == std::string::npos) continue;
        ++entries;
        // The sample line stands a character's width left of its text.
        EXPECT_GT(t.box.x0 - 12, axisTexts) << t.text() << " " << t.box;
        EXPECT_TRUE(inside(t.box, declaredBox(eps), 0.5)) << t.text() << " " << t.box;
      }
      EXPECT_GE(entries, 1);
    }
  }
}

// ---- Small values ------------------------------------------------------------------------


// A curve far below 1 (a measured ECD in absorbance units, a computed ECD
// of a few thousandths) spans its panel with a handful of labelled tics, in
// every exporter that writes a y or y2 range.
TEST(PlotPictures, SmallValuesGiveAReadableAxis) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  if (!ghostscriptFound()) GTEST_SKIP() << "no gs";
  struct Case {
    const char* name;
    std::function<void(Session&)> load;
    std::function<Button*()> button;
    bool png;
    double extreme;    // of the curve on the y axis
    double extreme2;   // of the curve on the y2 axis; 0 without one
  };
  const auto deltaA = [](Session& ui) { ui.act([] { Form1->Choose(fixture("plots/delta-a.cd.exp.xy")); }); };
  const auto smallEcd = [](Session& ui) {
    ui.act([] { Form1->Choose(fixture("plots/conf1.cd.bil")); });
    scaleUvEcdBand(ui, true, 1, 0.003);
  };
  const auto smallUv = [](Session& ui) {
    ui.act([] { Form1->Choose(fixture("plots/conf1.uv.bil")); });
    scaleUvEcdBand(ui, false, 1, 0.003);
  };
  const auto smallOrd = [](Session& ui) {
    ui.act([] { Form1->Choose(fixture("measured/mol.or.bil")); });
    double largest = 0;
    for (long i = 1; i <= ui.store().ORDDATAPTS[1]; ++i) largest = std::max(largest, std::abs(ui.store().ORDCALCY(i, 1)));
    for (long i = 1; i <= ui.store().ORDDATAPTS[1]; ++i) ui.store().ORDCALCY(i, 1) *= 0.003 / largest;
  };
  const std::vector<Case> cases = {
      {"measured ECD in absorbance units", deltaA, [] { return Form1->Button1; }, false, 0.0008, 0},
      {"the same as PNG", deltaA, [] { return Form1->Button12; }, true, 0.0008, 0},
      {"computed ECD of 0.003", smallEcd, [] { return Form1->Button1; }, false, 0.003, 0},
      {"both on two axes",
       [&](Session& ui) {
         smallEcd(ui);
         ui.act([] { Form1->CDXY(fixture("plots/delta-a.cd.exp.xy"), 2); });
         Form10->CheckBox2->SetChecked(true);
       },
       [] { return Form1->Button1; }, false, 0.0008, 0.003},
      {"computed UV of 0.003", smallUv, [] { return Form1->Button7; }, false, 0.003, 0},
      {"the same as PNG", smallUv, [] { return Form1->Button13; }, true, 0.003, 0},
      {"UV second axis",
       [&](Session& ui) {
         smallUv(ui);
         ui.act([] { Form1->UVXY(fixture("plots/film.uv.exp.xy"), 2); });
         Form11->CheckBox2->SetChecked(true);
       },
       [] { return Form1->Button7; }, false, 0, 0.003},
      {"ORD of 0.003 degrees", smallOrd, [] { return Form1->Button11; }, false, 0.003, 0},
      {"the same as PNG", smallOrd, [] { return Form1->Button14; }, true, 0.003, 0},
      {"VCD of 3E-6",
       [](Session& ui) {
         ui.act([] { Form1->Choose(fixture("plots/conf1.vc.bil")); });
         scaleIrVcdBand(ui, true, 3e-6);
       },
       [] { return Form1->Button17; }, false, 3e-6, 0},
      {"IR of 0.004",
       [](Session& ui) {
         ui.act([] { Form1->Choose(fixture("plots/conf1.ir.bil")); });
         scaleIrVcdBand(ui, false, 0.004);
       },
       [] { return Form1->Button20; }, false, 0.004, 0},
      {"CD chromatogram of 0.004 mdeg",
       [](Session& ui) {
         ui.act([] { Form1->HPLCCD(fixture("plots/peaks.ccd"), 1); });
         double largest = 0;
         for (long p = 1; p <= ui.store().HPLCDATAPTS[1]; ++p) largest = std::max(largest, std::abs(ui.store().HPLCY(p, 1)));
         for (long p = 1; p <= ui.store().HPLCDATAPTS[1]; ++p) ui.store().HPLCY(p, 1) *= 0.004 / largest;
         ui.act([] { Form1->DetermineHPLCRange(); });
       },
       [] { return Form1->Button3; }, false, 0.004, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Session ui;
    k.load(ui);
    TempFolder out;
    ui.willChooseFile(out.file("small.plt"));
    ui.click(k.button());
    const std::string eps = k.png ? epsOfPngScript(out, "small") : out.file("small.eps");
    ASSERT_TRUE(FileExists(eps));
    const std::vector<PictureText> texts = pictureTexts(eps);
    for (bool right : {false, true}) {
      const double extreme = right ? k.extreme2 : k.extreme;
      if (extreme == 0) continue;
      SCOPED_TRACE(right ? "y2" : "y");
      const std::vector<PictureText> labels = yTicLabels(texts, right);
      std::string shown;
      for (const PictureText& t : texts) {
        shown += "\n";
        for (const std::string& piece : t.pieces) shown += "[" + piece + "]";
      }
      EXPECT_GE(labels.size(), 2u) << shown;
      EXPECT_LE(labels.size(), 10u) << shown;
      // The labels reach up to the curve as they would for a curve of 50.
      EXPECT_GE(largestMagnitude(labels), 0.3 * extreme);
      EXPECT_LE(largestMagnitude(labels), 1.2 * extreme);
    }
  }
}

// ---- Margins that hold the tic labels ------------------------------------------------------

namespace {

// The columns of a PNG left of its frame that hold ink, in runs: the y
// label, then the tic labels. The frame's left border is the column with
// the longest dark run.
struct LeftInk {
  int firstInked = 0;
  std::vector<std::pair<int, int>> runs;  // first and last column
  int frameTop = 0, frameBottom = 0;
  std::vector<int> runHeights;  // rows from the run's top ink to its bottom ink
};

LeftInk leftInkOf(const std::string& pngPath) {
  const QImage image(QString::fromStdString(pngPath));
  const auto inked = [&](int x, int y) {
    const QRgb p = image.pixel(x, y);
    return qAlpha(p) > 0 && (qRed(p) < 200 || qGreen(p) < 200 || qBlue(p) < 200);
  };
  LeftInk ink;
  int frame = 0, longest = 0;
  for (int x = 0; x < image.width() / 2; ++x) {
    int run = 0, best = 0, top = 0, bestTop = 0;
    for (int y = 0; y < image.height(); ++y) {
      if (inked(x, y)) {
        if (run == 0) top = y;
        best = std::max(best, ++run);
        if (run == best) bestTop = top;
      } else {
        run = 0;
      }
    }
    if (best > longest) {
      longest = best;
      frame = x;
      ink.frameTop = bestTop;
      ink.frameBottom = bestTop + best;
    }
  }
  ink.firstInked = image.width();
  for (int x = 0; x < frame - 12; ++x) {
    int top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
      if (inked(x, y)) top = std::min(top, y), bottom = std::max(bottom, y);
    if (bottom < 0) continue;
    ink.firstInked = std::min(ink.firstInked, x);
    if (!ink.runs.empty() && ink.runs.back().second == x - 1) {
      ink.runs.back().second = x;
      ink.runHeights.back() = std::max(ink.runHeights.back(), bottom - top);
    } else {
      ink.runs.push_back({x, x});
      ink.runHeights.push_back(bottom - top);
    }
  }
  return ink;
}

}  // namespace

// The margins hold the longest tic label at the magnitudes of real spectra:
// a measured ECD in absorbance units (8E-4), the small rotatory strengths of
// a TURBOMOLE output, a measured UV in molar absorptivity (1.2E5), on the y
// axis and beside the second one, square or not. In the EPS all that is
// drawn lies in its box; in the PNG the y label is drawn, apart from the tic
// labels and shorter than the frame, and nothing touches the left edge.
// Each axis prints its labels in one form.
TEST(PlotPictures, MarginsHoldTheLongestTicLabel) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  if (!ghostscriptFound()) GTEST_SKIP() << "no gs";
  // Loaded under its own name, which its legend shortens to 20 characters.
  const std::string corpusOutput = std::string(ORVANIX_CORPUS) + "/turbomole/escf/tm7.6_ris_RKS_pbe0_TDDFT_escf.out";
  const bool corpus = FileExists(corpusOutput);
  struct Case {
    std::string name;
    std::function<void(Session&, const TempFolder&)> load;
    bool ecd;
    std::string secondCurve = {};  // the key title of a curve in slot 2 that must be drawn
  };
  const auto deltaA = [](Session& ui, const TempFolder& in) {
    const std::string file = writeMeasuredBand(in, "lactone.cd.exp.xy", -0.0008);
    ui.act([&] { Form1->Choose(file); });
  };
  const auto epsilon = [](Session& ui, const TempFolder& in) {
    const std::string file = writeMeasuredBand(in, "porphyrin.uv.exp.xy", 1.2e5);
    ui.act([&] { Form1->Choose(file); });
  };
  const auto turbomole = [&](Session& ui, const TempFolder&) {
    ui.act([&] { Form1->Choose(corpusOutput); });
  };
  const auto withSecondAxis = [](std::function<void(Session&, const TempFolder&)> load, bool ecd) {
    return [=](Session& ui, const TempFolder& in) {
      load(ui, in);
      if (ecd) {
        ui.act([&] { Form1->CdBilFile(fixture("plots/conf1.cd.bil"), 2); });
        Form10->CheckBox2->SetChecked(true);
      } else {
        ui.act([&] { Form1->UvBilFile(fixture("plots/conf1.uv.bil"), 2); });
        Form11->CheckBox2->SetChecked(true);
      }
    };
  };
  const auto smallOnSecondAxis = [&](Session& ui, const TempFolder&) {
    // A measured ECD in absorbance, then the TURBOMOLE output compared with
    // it as a person does, on y2.
    ui.act([&] { Form1->Choose(fixture("plots/delta-a.cd.exp.xy")); });
    ui.willChooseFile(corpusOutput);
    ASSERT_TRUE(ui.menu(Form1->BilFile1));
    ASSERT_EQ(ui.store().CDACTIVE[2], "calc");
    Form10->CheckBox2->SetChecked(true);
  };
  std::vector<Case> cases = {
      {"measured ECD in absorbance", deltaA, true},
      {"measured UV in molar absorptivity", epsilon, false},
      {"ECD in absorbance, second axis", withSecondAxis(deltaA, true), true},
      {"UV of 1.2E5, second axis", withSecondAxis(epsilon, false), false},
      // Tics of 8.3E-5 and 1.7E-4, which gnuplot's own format writes in two forms.
      {"computed ECD of 1.5E-4",
       [](Session& ui, const TempFolder&) {
         loadOneEcdCurve(ui);
         scaleUvEcdBand(ui, true, 1, 1.5e-4);
       },
       true},
  };
  if (corpus) {
    cases.push_back({"TURBOMOLE rotatory strengths", turbomole, true});
    cases.push_back({"TURBOMOLE rotatory strengths on the second axis", smallOnSecondAxis, true, "tm7.6risRKSpbe0TDDFT"});
  }
  for (const Case& k : cases) {
    for (bool square : {true, false}) {
      for (bool png : {false, true}) {
        SCOPED_TRACE(k.name + (square ? ", square" : ", not square") + (png ? ", PNG" : ", EPS"));
        Session ui;
        TempFolder in, out;
        k.load(ui, in);
        if (!square) (k.ecd ? Form10->CheckBox1 : Form11->CheckBox1)->SetChecked(false);
        Button* button = k.ecd ? (png ? Form1->Button12 : Form1->Button1) : (png ? Form1->Button13 : Form1->Button7);
        const std::string picture = clickEps(ui, button, out, "axis", png ? ".png" : ".eps");
        ASSERT_TRUE(FileExists(picture));
        // A wide PNG's margins leave no plot on the smaller EPS canvas: its
        // labels are read from the square one.
        const std::string eps = png ? (square ? epsOfPngScript(out, "axis") : std::string()) : picture;
        const std::vector<PictureText> texts = eps.empty() ? std::vector<PictureText>() : pictureTexts(eps);
        for (bool right : {false, true}) {
          const std::vector<PictureText> labels = yTicLabels(texts, right);
          size_t powers = 0;
          for (const PictureText& label : labels)
            powers += label.pieces.size() > 1 || label.text() == "0" ? 1 : 0;
          std::string shown;
          for (const PictureText& label : labels) shown += " [" + label.text() + "]";
          EXPECT_TRUE(powers == 0 || powers == labels.size()) << (right ? "y2:" : "y:") << shown;
        }
        if (!k.secondCurve.empty()) {
          // Curve 2 stands in the plot command and in the key.
          const std::vector<std::string> script = ReadLines(out.file("axis.plt"));
          EXPECT_NE(lineStarting(script, "     'axis-2.xy'").find("axis x1y2"), std::string::npos);
          if (!texts.empty()) {
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                                    [&](const PictureText& t) { return t.text() == k.secondCurve; }));
          }
        }
        if (!png) {
          const std::optional<PictureBox> drawn = drawnBox(eps);
          ASSERT_TRUE(drawn.has_value());
          EXPECT_TRUE(inside(*drawn, declaredBox(eps))) << "drawn " << *drawn << ", declared " << declaredBox(eps);
          for (const PictureText& text : texts)
            EXPECT_TRUE(inside(text.box, declaredBox(eps), 1.0)) << "\"" << text.text() << "\" " << text.box;
          continue;
        }
        const LeftInk ink = leftInkOf(picture);
        EXPECT_GE(ink.firstInked, 2);
        ASSERT_GE(ink.runs.size(), 2u) << "the y label stands apart from the tic labels";
        EXPECT_LT(ink.runHeights.front(), ink.frameBottom - ink.frameTop) << "the y label is shorter than the frame";
        EXPECT_GT(ink.runHeights.front(), 40) << "the y label is drawn";
      }
    }
  }
}

// ---- Tic labels ---------------------------------------------------------------------------

namespace {

// The step the script writes after `prefix` ("set ytics border nomirror
// norotate 26000" gives 26000).
double scriptStep(const std::vector<std::string>& script, const std::string& prefix) {
  const std::string line = lineStarting(script, prefix);
  return StrToFloat(line.substr(line.rfind(' ') + 1));
}

}  // namespace

// A single computed UV curve labels its y axis (and a second UV axis its
// y2 axis) in powers of ten, as does a VCD or IR plot with "format y
// 'x10^x'": each label shows its tic's value to within 1 %, and the zero
// tic says 0.
TEST(PlotPictures, PowerOfTenLabelsTellTheirTics) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  if (!ghostscriptFound()) GTEST_SKIP() << "no gs";
  struct Case {
    const char* name;
    std::function<void(Session&)> load;
    bool y2;
    std::function<Button*()> button = [] { return Form1->Button7; };
  };
  const std::vector<Case> cases = {
      {"one computed curve", [](Session& ui) { ui.act([] { Form1->Choose(fixture("plots/conf1.uv.bil")); }); }, false},
      {"VCD",
       [](Session& ui) {
         ui.act([] { Form1->Choose(fixture("plots/conf1.vc.bil")); });
         Form13->CheckBox5->SetChecked(true);
       },
       false, [] { return Form1->Button17; }},
      {"IR, overlaid",
       [](Session& ui) {
         loadIrVcdPage(ui, false, 0);
         Form15->CheckBox1->SetChecked(true);
         Form15->CheckBox5->SetChecked(true);
       },
       false, [] { return Form1->Button20; }},
      {"a curve of 26497 / 1.1",
       [](Session& ui) {
         ui.act([] { Form1->Choose(fixture("plots/conf1.uv.bil")); });
         scaleUvEcdBand(ui, false, 1, 2 * 26497 / 1.1);
       },
       false},
      {"second axis",
       [](Session& ui) {
         loadUvPair(ui);
         Form11->CheckBox2->SetChecked(true);
       },
       true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Session ui;
    k.load(ui);
    TempFolder out;
    ui.willChooseFile(out.file("uv.plt"));
    ui.click(k.button());
    const std::vector<std::string> script = ReadLines(out.file("uv.plt"));
    const double step = scriptStep(script, k.y2 ? "set y2tics border" : "set ytics border");
    ASSERT_GT(step, 0);
    const std::vector<PictureText> labels = yTicLabels(pictureTexts(out.file("uv.eps")), k.y2);
    ASSERT_GE(labels.size(), 2u);
    bool zeroSeen = false;
    for (const PictureText& label : labels) {
      const double shown = *ticLabelValue(label);
      const double tic = std::round(shown / step) * step;
      SCOPED_TRACE(label.text());
      if (tic == 0) {
        EXPECT_EQ(label.text(), "0");
        zeroSeen = true;
      } else {
        EXPECT_LE(std::abs(shown - tic), 0.01 * std::abs(tic)) << "tic " << tic;
      }
    }
    EXPECT_TRUE(zeroSeen);
  }
}

// A single computed UV curve on the second y axis leaves the y axis empty
// with its range of -1 to 1: its tics are labelled plainly, not as powers
// of ten.
TEST(PlotPictures, EmptyUvAxisBesideTheSecondIsLabelledPlainly) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  if (!ghostscriptFound()) GTEST_SKIP() << "no gs";
  Session ui;
  loadOneUvCurve(ui);
  Form11->CheckBox2->SetChecked(true);
  TempFolder out;
  const std::string eps = clickEps(ui, Form1->Button7, out, "uv");
  const std::vector<PictureText> texts = pictureTexts(eps);
  const std::vector<PictureText> labels = yTicLabels(texts);
  ASSERT_GE(labels.size(), 2u);
  for (const PictureText& label : labels) {
    SCOPED_TRACE(label.text());
    EXPECT_EQ(label.pieces.size(), 1u);
    EXPECT_EQ(label.text().find("10"), std::string::npos);
    EXPECT_LE(std::abs(*ticLabelValue(label)), 1.0);
  }
  EXPECT_GE(yTicLabels(texts, true).size(), 2u);
}

// ---- Colours -----------------------------------------------------------------------------

// Curve 1 is red in every picture of both dialects, every head sets the
// classic colour sequence, and the bands of the three-dimensional HPLC plot
// each have a colour of their own.
TEST(PlotPictures, CurveOneIsRedAndEveryBandHasItsOwnColour) {
  for (bool gnuplot5 : {false, true}) {
    for (const GoldenPage& page : goldenPages()) {
      Session ui;
      prepareGoldenPage(ui, page.button, gnuplot5);
      EXPECT_EQ(lineStarting(buildPlot(ui, page.button, "p.plt").lines, "set colorsequence"),
                "set colorsequence classic") << page.name;
    }
    for (const GoldenPage2& page : goldenPages2()) {
      Session ui;
      prepareGoldenPage2(ui, page.name, gnuplot5);
      EXPECT_EQ(lineStarting(buildPlot(ui, page.button, "p.plt").lines, "set colorsequence"),
                "set colorsequence classic") << page.name;
    }
  }
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  for (bool gnuplot5 : {false, true}) {
    SCOPED_TRACE(gnuplot5 ? "gnuplot 5" : "gnuplot 4");
    for (const EpsKind& kind : everyEpsKind()) {
      const std::string name = kind.name;
      if (name.rfind("hplc", 0) == 0) continue;
      SCOPED_TRACE(name);
      Session ui;
      if (gnuplot5) ui.tick(Form2->CheckBox1);
      kind.load(ui);
      TempFolder out;
      const std::string eps = clickEps(ui, kind.button(), out, name);
      EXPECT_EQ(keyColour(eps, name == "ord" ? "mol" : "conf1"), "1 0 0");
    }
    Session ui;
    if (gnuplot5) ui.tick(Form2->CheckBox1);
    loadHplcTraces(ui, 3);
    TempFolder out;
    const std::string eps = clickEps(ui, Form1->Button15, out, "bands");
    const std::string front = keyColour(eps, "run1.cuv"), middle = keyColour(eps, "run2.cuv"),
                      back = keyColour(eps, "run3.cuv");
    EXPECT_FALSE(front.empty());
    EXPECT_NE(front, middle);
    EXPECT_NE(front, back);
    EXPECT_NE(middle, back);
  }
}

// ---- HPLC passes --------------------------------------------------------------------------

// A UV trace in slot 1 and a CD trace beside it: the CD pass scales its
// trace against itself, not against the UV maximum, and its axis shows the
// CD trace's own height.
TEST(PlotPictures, HplcCdPassIsScaledByItsOwnTraces) {
  Session ui;
  TempFolder out;
  ui.act([] {
    Form1->HPLCUV(fixture("plots/peaks.cuv"), 1);
    Form1->HPLCCD(fixture("plots/peaks.ccd"), 2);
  });
  ASSERT_TRUE(Form1->CheckBox4->Checked());  // "auto scaling"
  const double cdHeight = ui.store().HPLCMAX[2];
  ASSERT_NE(ui.store().HPLCFACTOR[2], 1.0);  // the page scales CD to the UV height
  ui.clearBoxes();
  ui.willChooseFile(out.file("uv-pass.plt"));
  ui.willChooseFile(out.file("cd-pass.plt"));
  ui.click(Form1->Button3);
  const std::vector<std::string> cd = ReadLines(out.file("cd-pass.plt"));
  EXPECT_NE(lineStarting(cd, "plot ").find("using 1:($2*1.0000)"), std::string::npos) << lineStarting(cd, "plot ");
  EXPECT_EQ(lineStarting(cd, "set yrange"),
            "set yrange [" + HplcSignalRange(ui.store().HPLCMIN[2], cdHeight) + "]");
  const std::vector<std::string> uv = ReadLines(out.file("uv-pass.plt"));
  EXPECT_NE(lineStarting(uv, "plot ").find("using 1:($2*1.0000)"), std::string::npos);
  if (!gnuplotFound() || !ghostscriptFound()) GTEST_SKIP() << "no gnuplot or gs";
  const std::vector<PictureText> labels = yTicLabels(pictureTexts(out.file("cd-pass.eps")));
  ASSERT_GE(labels.size(), 2u);
  EXPECT_LE(largestMagnitude(labels), 1.2 * cdHeight);
}

namespace {

// A chromatogram of two Gaussian bands of heights `first` at 3 min and
// `second` at 6 min, written as the detector saves it.
std::string writeTwoBandTrace(const TempFolder& folder, const std::string& name, double first, double second) {
  std::string text = "Time\tValue\n";
  for (int p = 0; p <= 200; ++p) {
    const double t = p * 0.05;
    const double y = first * std::exp(-std::pow((t - 3) / 0.3, 2)) + second * std::exp(-std::pow((t - 6) / 0.3, 2));
    text += FloatToStr(t) + "\t" + FloatToStrF(y, 4) + "\n";
  }
  writeTextFile(folder.file(name), text);
  return folder.file(name);
}

double boundOf(const std::string& rangeLine, bool upper) {
  const std::string range = rangeLine.substr(rangeLine.find('[') + 1, rangeLine.find(']') - rangeLine.find('[') - 1);
  return StrToFloat(upper ? range.substr(range.find(':') + 1) : range.substr(0, range.find(':')));
}

}  // namespace

// Two CD traces whose main bands point opposite ways (+15/-10 and -12/+7
// mdeg): the second is scaled by its -12 band to the height of the first,
// and the pass's range holds both as drawn, with and without auto scaling.
// The page keeps its own factors.
TEST(PlotPictures, HplcPassRangeHoldsEveryTraceAsDrawn) {
  for (bool autoScaling : {true, false}) {
    SCOPED_TRACE(autoScaling ? "auto scaling" : "no auto scaling");
    Session ui;
    TempFolder in, out;
    const std::string a = writeTwoBandTrace(in, "racemate-a.ccd", 15, -10);
    const std::string b = writeTwoBandTrace(in, "racemate-b.ccd", -12, 7);
    ui.act([&] {
      Form1->HPLCCD(a, 1);
      Form1->HPLCCD(b, 2);
    });
    if (!autoScaling) ui.untick(Form1->CheckBox4);
    const double pageFactor = ui.store().HPLCFACTOR[2];
    ui.willChooseFile(out.file("cd.plt"));
    ui.click(Form1->Button3);
    EXPECT_EQ(ui.store().HPLCFACTOR[2], pageFactor);
    const std::vector<std::string> script = ReadLines(out.file("cd.plt"));
    const std::string second = lineStarting(script, "      'cd-2.xy'");
    EXPECT_NE(second.find(autoScaling ? "($2*1.2500)" : "($2*1.0)"), std::string::npos) << second;
    const double factor = autoScaling ? 1.25 : 1.0;
    const double low = boundOf(lineStarting(script, "set yrange"), false);
    const double high = boundOf(lineStarting(script, "set yrange"), true);
    EXPECT_LE(low, -12 * factor);
    EXPECT_GE(high, 15.0);
    EXPECT_GE(low, -12 * factor * 1.3);
    EXPECT_LE(high, 15 * 1.3);
    if (!gnuplotFound() || !ghostscriptFound()) continue;
    const std::string eps = out.file("cd.eps");
    const std::optional<PictureBox> drawn = drawnBox(eps);
    ASSERT_TRUE(drawn.has_value());
    EXPECT_TRUE(inside(*drawn, declaredBox(eps))) << "drawn " << *drawn << ", declared " << declaredBox(eps);
  }
}

// ---- The mirror image with bars --------------------------------------------------------

namespace {

// Where the tallest bar of an ECD PNG points: +1 up from the zero line
// (halfway down the frame of the symmetric range), -1 down, 0 when the
// picture shows no frame. Inside the frame only the bars and the zero line
// are dark; the curves are coloured.
int tallestBarDirection(const std::string& pngPath) {
  const QImage image(QString::fromStdString(pngPath));
  const auto dark = [&](int x, int y) {
    const QRgb p = image.pixel(x, y);
    return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90;
  };
  const auto darkInRow = [&](int y) {
    int count = 0;
    for (int x = 0; x < image.width(); ++x) count += dark(x, y) ? 1 : 0;
    return count;
  };
  // The frame's top and bottom: the first and last rows dark over most of
  // the frame's width.
  std::vector<int> longRows;
  int widest = 0;
  for (int y = 0; y < image.height(); ++y) widest = std::max(widest, darkInRow(y));
  for (int y = 0; y < image.height(); ++y)
    if (darkInRow(y) > widest * 8 / 10) longRows.push_back(y);
  if (longRows.size() < 2) return 0;
  const int top = longRows.front(), bottom = longRows.back(), zero = (top + bottom) / 2;
  int left = image.width(), right = 0;
  for (int x = 0; x < image.width(); ++x)
    if (dark(x, (top + zero) / 2) && dark(x, (zero + bottom) / 2) && dark(x, top + 4)) {
      left = std::min(left, x);
      right = std::max(right, x);
    }
  int bestColumn = -1, bestCount = 0, direction = 0;
  for (int x = left + 4; x < right - 3; ++x) {
    int above = 0, below = 0;
    for (int y = top + 3; y < zero - 2; ++y) above += dark(x, y) ? 1 : 0;
    for (int y = zero + 3; y < bottom - 2; ++y) below += dark(x, y) ? 1 : 0;
    if (above + below > bestCount) {
      bestCount = above + below;
      bestColumn = x;
      direction = above > below ? 1 : -1;
    }
  }
  return bestColumn < 0 ? 0 : direction;
}

}  // namespace

// conf1's tallest stick is +25 at 248 nm. With only "enantiomeric ECD"
// ticked the PNG draws it downward, beside the mirrored band, as the page
// and the EPS do; with "normal ECD" it points up.
TEST(PlotPictures, PngMirrorsTheBarsWithTheBand) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  for (bool mirrored : {false, true}) {
    SCOPED_TRACE(mirrored ? "enantiomeric ECD" : "normal ECD");
    Session ui;
    ui.act([] { Form1->Choose(fixture("plots/conf1.cd.bil")); });
    ui.tick(Form1->CheckBox1);  // bars of curve 1
    if (mirrored) {
      ui.tick(Form1->CheckBox2);
      ui.untick(Form1->CheckBox3);
    }
    TempFolder out;
    ui.willChooseFile(out.file("bars.plt"));
    ui.click(Form1->Button12);
    const std::string bars = lineStarting(ReadLines(out.file("bars.plt")), "     'bars-2.xy'");
    EXPECT_EQ(bars.find("*(-1)*") != std::string::npos, mirrored) << bars;
    EXPECT_EQ(tallestBarDirection(out.file("bars.png")), mirrored ? -1 : 1);
  }
}

// ---- The left edge of a PNG -----------------------------------------------------------------

namespace {

// The first column of `pngPath` from the left that is not all background.
int firstInkedColumn(const std::string& pngPath) {
  const QImage image(QString::fromStdString(pngPath));
  for (int x = 0; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y) {
      const QRgb p = image.pixel(x, y);
      if (qAlpha(p) > 0 && (qRed(p) < 200 || qGreen(p) < 200 || qBlue(p) < 200)) return x;
    }
  return image.width();
}

}  // namespace

// The y label stands whole beside the widest tic labels ("44000" of the UV
// pair): nothing touches the PNG's left edge.
TEST(PlotPictures, PngYLabelIsNotCutOffAtTheLeft) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  struct Case {
    const char* name;
    std::function<void(Session&)> load;
    std::function<Button*()> button;
  };
  const std::vector<Case> cases = {
      {"UV pair", loadUvPair, [] { return Form1->Button13; }},
      {"UV of 150000",
       [](Session& ui) {
         loadUvPair(ui);
         scaleUvEcdBand(ui, false, 1, 150000);
       },
       [] { return Form1->Button13; }},
      {"one computed UV curve", loadOneUvCurve, [] { return Form1->Button13; }},
      {"ECD pair", loadEcdPair, [] { return Form1->Button12; }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Session ui;
    k.load(ui);
    TempFolder out;
    const std::string png = clickEps(ui, k.button(), out, "left", ".png");
    ASSERT_TRUE(FileExists(png));
    EXPECT_GE(firstInkedColumn(png), 2);
  }
}

// The ORD PNG writes its axis labels at the PNG axis-label size: the y label
// stands whole beside the tic labels, shorter than the frame, and nothing
// touches the left edge.
TEST(PlotPictures, OrdPngAxisLabelsFitThePicture) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  Session ui;
  loadOrdPair(ui);
  TempFolder out;
  const std::string png = clickEps(ui, Form1->Button14, out, "ord", ".png");
  ASSERT_TRUE(FileExists(png));
  const LeftInk ink = leftInkOf(png);
  EXPECT_GE(ink.firstInked, 2);
  ASSERT_GE(ink.runs.size(), 2u) << "the y label stands apart from the tic labels";
  EXPECT_GT(ink.runHeights.front(), 40) << "the y label is drawn";
  EXPECT_LT(ink.runHeights.front(), (ink.frameBottom - ink.frameTop) * 9 / 10) << "the y label is shorter than the frame";
}
