// Pictures that combine many curves, long names, bars, mirror images and a
// second y axis, as a person clicks them and gnuplot renders them: every
// tic label counted in the margins, the key clear of the second axis, the
// frame as large as beside one short name, one number form per axis.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gnuplot_render_check.h"
#include "plot_picture_support.h"
#include "platform/numbers.h"
#include "plots/cdplotting.h"
#include "plots/irplotting.h"
#include "plots/uvplotting.h"
#include "plots/vcdplotting.h"

namespace {

const std::string TdOutput = std::string(ORVANIX_CORPUS) + "/gaussian/uv_ecd/g09_cclib_dvb_td.out";
const std::string TurbomoleOutput =
    std::string(ORVANIX_CORPUS) + "/turbomole/escf/tm7.6_ris_RKS_pbe0_TDDFT_escf.out";

// ---- The frame of a picture --------------------------------------------------------------

struct FrameSize {
  double width = 0, height = 0;
};

std::ostream& operator<<(std::ostream& out, const FrameSize& f) { return out << f.width << " x " << f.height; }

// The bounds of the script's range of `axis` ("set yrange [-5.50:5.50]").
std::pair<double, double> rangeOf(const std::vector<std::string>& script, const std::string& axis) {
  const std::string line = lineStarting(script, "set " + axis + "range [");
  const size_t open = line.find('[') + 1;
  const std::string range = line.substr(open, line.find(']') - open);
  return {StrToFloat(range.substr(0, range.find(':'))), StrToFloat(range.substr(range.find(':') + 1))};
}

std::pair<double, double> yRangeOf(const std::vector<std::string>& script) { return rangeOf(script, "y"); }

// Two x tic values a picture's frame is measured between, the second at the
// frame's right edge.
struct XTics {
  double inner = 200, right = 600;
};

// The middles of the x axis's tic labels `tics.inner` and `tics.right`: on
// the lowest base line that labels of those values share (a y tic label may
// show the same number).
std::optional<std::pair<double, double>> xTicMiddles(const std::vector<PictureText>& texts, XTics tics) {
  std::optional<double> inner, right;
  double axisBase = 1e9;
  const auto isTic = [&](const PictureText& t) {
    return !t.vertical && ticLabelValue(t) && (*ticLabelValue(t) == tics.inner || *ticLabelValue(t) == tics.right);
  };
  for (const PictureText& t : texts)
    if (isTic(t)) axisBase = std::min(axisBase, t.box.y0);
  for (const PictureText& t : texts) {
    if (!isTic(t) || std::abs(t.box.y0 - axisBase) > 0.5) continue;
    const double middle = (t.box.x0 + t.box.x1) / 2;
    (*ticLabelValue(t) == tics.inner ? inner : right) = middle;
  }
  if (!inner || !right) return std::nullopt;
  return std::make_pair(*inner, *right);
}

// The frame of an EPS: its width from two x tic labels and the script's x
// range, its height from the lowest and highest y tic labels and the
// script's y range.
FrameSize epsFrame(const std::vector<PictureText>& texts, const std::vector<std::string>& script, XTics tics) {
  FrameSize frame;
  if (const auto middles = xTicMiddles(texts, tics)) {
    const auto [low, high] = rangeOf(script, "x");
    frame.width = (middles->second - middles->first) * (high - low) / (tics.right - tics.inner);
  }
  const std::vector<PictureText> labels = yTicLabels(texts);
  if (labels.size() >= 2) {
    const auto [low, high] = yRangeOf(script);
    const PictureText* bottom = &labels.front();
    const PictureText* top = &labels.front();
    for (const PictureText& label : labels) {
      if (label.box.y0 < bottom->box.y0) bottom = &label;
      if (label.box.y0 > top->box.y0) top = &label;
    }
    const double values = *ticLabelValue(*top) - *ticLabelValue(*bottom);
    if (values > 0) frame.height = (top->box.y0 - bottom->box.y0) * (high - low) / values;
  }
  return frame;
}

// The frame of a PNG: the columns and rows whose dark runs are nearly as
// long as the longest, the borders.
FrameSize pngFrame(const std::string& path) {
  const QImage image = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
  const auto dark = [&](int x, int y) {
    const QRgb p = image.pixel(x, y);
    return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90;
  };
  const auto longestRun = [&](bool column, int at) {
    int run = 0, longest = 0;
    const int length = column ? image.height() : image.width();
    for (int i = 0; i < length; ++i) {
      run = (column ? dark(at, i) : dark(i, at)) ? run + 1 : 0;
      longest = std::max(longest, run);
    }
    return longest;
  };
  const auto span = [&](bool columns) {
    const int count = columns ? image.width() : image.height();
    std::vector<int> runs(static_cast<size_t>(count));
    int longest = 0;
    for (int i = 0; i < count; ++i) longest = std::max(longest, runs[static_cast<size_t>(i)] = longestRun(columns, i));
    int first = count, last = -1;
    for (int i = 0; i < count; ++i) {
      if (runs[static_cast<size_t>(i)] >= longest * 9 / 10) {
        first = std::min(first, i);
        last = std::max(last, i);
      }
    }
    return last > first ? static_cast<double>(last - first) : 0.0;
  };
  if (image.isNull()) return {};
  return {span(true), span(false)};
}

// ---- Pages -----------------------------------------------------------------------------------

struct Page {
  std::string name;
  std::function<void(Session&, const TempFolder&)> load;
  bool ecd = true;  // of the HPLC page: CD traces
  bool png = false;
  bool square = true;
  bool corpus = false;  // needs the corpus
  bool hplc = false;    // the HPLC page's chromatograms
};

// The HPLC chromatograms run from 0 to 20 minutes.
XTics ticsOf(const Page& page) { return page.hplc ? XTics{5, 20} : XTics{}; }

// The width of a margin character of the picture's terminal font.
double characterOf(const Page& page) { return page.hplc ? 0.6 * 10 : 0.6 * 16; }

Button* buttonOf(const Page& page) {
  if (page.hplc) return Form1->Button3;
  if (page.ecd) return page.png ? Form1->Button12 : Form1->Button1;
  return page.png ? Form1->Button13 : Form1->Button7;
}

// Curves in slots 3 to 5 beside what slots 1 and 2 hold, each under a name
// of 20 characters.
void threeMoreCurves(Session& ui, bool ecd) {
  ui.act([&] {
    for (int slot = 3; slot <= 5; ++slot) {
      if (ecd) Form1->CdBilFile(fixture("plots/conf1.cd.bil"), slot);
      else Form1->UvBilFile(fixture("plots/conf1.uv.bil"), slot);
      (ecd ? ui.store().CDTITLE : ui.store().UVTITLE)[slot] = "tm7.6risRKSpbe0TDD" + std::to_string(slot) + "F";
    }
  });
}

void secondAxis(bool ecd) { (ecd ? Form10->CheckBox2 : Form11->CheckBox2)->SetChecked(true); }

// HPLC traces of one detector in slots 1 to `count`, named `name` followed by
// the slot.
void loadTraces(Session& ui, bool cd, int count, const std::string& name) {
  ui.act([&] {
    for (int slot = 1; slot <= count; ++slot) {
      if (cd) Form1->HPLCCD(fixture("plots/peaks.ccd"), slot);
      else Form1->HPLCUV(fixture("plots/peaks.cuv"), slot);
      ui.store().HPLCTITLE[slot] = name + std::to_string(slot);
    }
  });
}

constexpr char LongTraceName[] = "tm7.6risRKSpbe0TDDF";  // 20 characters with the slot

// The same picture with one curve of a five-character name and no second
// axis: the frame every picture keeps.
Page referenceOf(const Page& page) {
  if (page.hplc)
    return {"reference", [cd = page.ecd](Session& ui, const TempFolder&) { loadTraces(ui, cd, 1, "run1"); },
            page.ecd, false, true, false, true};
  return {"reference", [ecd = page.ecd](Session& ui, const TempFolder&) { ecd ? loadOneEcdCurve(ui) : loadOneUvCurve(ui); },
          page.ecd, page.png, page.square};
}

struct Rendered {
  std::string picture;
  std::vector<std::string> script;
};

Rendered render(const Page& page, bool gnuplot5, const TempFolder& in, const TempFolder& out) {
  Session ui;
  if (gnuplot5) ui.tick(Form2->CheckBox1);
  page.load(ui, in);
  if (!page.square && !page.hplc) (page.ecd ? Form10->CheckBox1 : Form11->CheckBox1)->SetChecked(false);
  const std::string picture = clickEps(ui, buttonOf(page), out, page.name, page.png ? ".png" : ".eps");
  return {picture, ReadLines(out.file(page.name + ".plt"))};
}

// The texts right of the frame that belong to the second axis: its tic
// labels and its label, whose box reaches a third of its size past its base
// line (brackets and descenders).
double secondAxisTextsRight(const std::vector<PictureText>& texts, double frameRight) {
  double right = frameRight;
  for (const PictureText& t : yTicLabels(texts, true)) right = std::max(right, t.box.x1);
  for (const PictureText& t : texts)
    if (t.vertical && t.box.x0 > frameRight) right = std::max(right, t.box.x0 + 0.72 * t.size + 0.35 * t.size);
  return right;
}

}  // namespace

// Pictures that combine what real work combines: everything drawn lies in
// the EPS box, no two texts overlap (x tic labels included), each key title
// and its sample line stand right of the second axis's labels, and the
// frame is at least 80 % as wide and high as beside one short name.
TEST(PlotLayout, CombinedPicturesKeepTheirFrameAndTheirTextsApart) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  if (!ghostscriptFound()) GTEST_SKIP() << "no gs";
  const bool corpus = FileExists(TdOutput) && FileExists(TurbomoleOutput);
  const auto tdBesideEpsilon = [](Session& ui, const TempFolder& in) {
    // epsilon 1.25703E5: the range 0:138273.69 and its rounded top tic 138274.
    const std::string measured = writeMeasuredBand(in, "porphyrin.uv.exp.xy", 125703.35);
    ui.act([&] {
      Form1->Choose(TdOutput);
      Form1->UVXY(measured, 2);
    });
    threeMoreCurves(ui, false);
  };
  const auto fiveUvBarsSecondAxis = [](Session& ui, const TempFolder&) {
    loadFiveUvCurves(ui);
    longNames(ui, false);
    ui.tick(Form1->CheckBox1);
    secondAxis(false);
  };
  const auto oneUvSecondAxis = [](Session& ui, const TempFolder&) {
    loadOneUvCurve(ui);
    secondAxis(false);
  };
  const auto deltaABesideSmallStrengths = [](Session& ui, const TempFolder& in) {
    const std::string measured = writeMeasuredBand(in, "lactone.cd.exp.xy", -0.0008);
    ui.act([&] {
      Form1->Choose(measured);
      Form1->CdBilFile(fixture("plots/conf1.cd.bil"), 2);
    });
    auto& band = ui.store().EPS;
    for (long bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin) band(bin, 2) *= 6e-6;
    ui.act([] { Form1->DetermineCDRange(); });
    secondAxis(true);
  };
  const auto fiveEcdMirrorBarsSecondAxis = [](Session& ui, const TempFolder&) {
    loadFiveEcdCurves(ui);
    longNames(ui, true);
    ui.tick(Form1->CheckBox1);
    ui.tick(Form1->CheckBox2);
    secondAxis(true);
  };
  const auto ecdPairBarsSecondAxis = [](Session& ui, const TempFolder&) {
    loadEcdPair(ui);
    ui.tick(Form1->CheckBox1);
    secondAxis(true);
  };
  std::vector<Page> pages = {
      {"uv-1-y2", oneUvSecondAxis, false},
      {"uv-5-bars-y2", fiveUvBarsSecondAxis, false},
      {"uv-5-bars-y2-wide", fiveUvBarsSecondAxis, false, false, false},
      {"ecd-deltaA-y2", deltaABesideSmallStrengths, true},
      {"ecd-5-mirror-bars-y2", fiveEcdMirrorBarsSecondAxis, true},
      {"ecd-5-mirror-bars-y2-png", fiveEcdMirrorBarsSecondAxis, true, true},
      {"ecd-5-mirror-bars-y2-png-wide", fiveEcdMirrorBarsSecondAxis, true, true, false},
      {"ecd-pair-bars-y2-png", ecdPairBarsSecondAxis, true, true},
      {"uv-5-bars-y2-png-wide", fiveUvBarsSecondAxis, false, true, false},
      {"hplc-uv-5", [](Session& ui, const TempFolder&) { loadTraces(ui, false, 5, LongTraceName); }, false, false,
       true, false, true},
      {"hplc-cd-5", [](Session& ui, const TempFolder&) { loadTraces(ui, true, 5, LongTraceName); }, true, false,
       true, false, true},
  };
  if (corpus) pages.push_back({"uv-td-epsilon", tdBesideEpsilon, false, false, true, true});
  for (bool gnuplot5 : {false, true}) {
    for (const Page& page : pages) {
      SCOPED_TRACE(page.name + (gnuplot5 ? ", gnuplot 5" : ", gnuplot 4"));
      TempFolder in, out, referenceOut;
      const Rendered picture = render(page, gnuplot5, in, out);
      const Rendered reference = render(referenceOf(page), gnuplot5, in, referenceOut);
      ASSERT_TRUE(FileExists(picture.picture));
      if (page.png) {
        const FrameSize frame = pngFrame(picture.picture), wanted = pngFrame(reference.picture);
        EXPECT_GE(frame.width, 0.8 * wanted.width) << frame << " beside " << wanted;
        EXPECT_GE(frame.height, 0.8 * wanted.height) << frame << " beside " << wanted;
        continue;
      }
      const PictureBox declared = declaredBox(picture.picture);
      const std::optional<PictureBox> drawn = drawnBox(picture.picture);
      ASSERT_TRUE(drawn.has_value());
      EXPECT_TRUE(inside(*drawn, declared)) << "drawn " << *drawn << ", declared " << declared;
      const std::vector<PictureText> texts = pictureTexts(picture.picture);
      for (const PictureText& text : texts)
        EXPECT_TRUE(inside(text.box, declared, 1.0)) << "\"" << text.text() << "\" " << text.box;
      const std::vector<std::string> overlapping = overlappingTexts(texts);
      EXPECT_TRUE(overlapping.empty()) << testing::PrintToString(overlapping);
      const XTics tics = ticsOf(page);
      const FrameSize frame = epsFrame(texts, picture.script, tics);
      const FrameSize wanted = epsFrame(pictureTexts(reference.picture), reference.script, tics);
      ASSERT_GT(wanted.width, 0);
      EXPECT_GE(frame.width, 0.8 * wanted.width) << frame << " beside " << wanted;
      EXPECT_GE(frame.height, 0.8 * wanted.height) << frame << " beside " << wanted;
      // The key's sample lines stand a character and the sample's length
      // (samplen 1) left of their titles, right of the frame and of the
      // second axis.
      const std::optional<std::pair<double, double>> middles = xTicMiddles(texts, tics);
      ASSERT_TRUE(middles.has_value());
      const double frameRight = middles->second;
      const double sample = 2 * characterOf(page);
      if (page.hplc) {
        // Every trace's title, found by its name wherever it stands.
        size_t titles = 0;
        for (const PictureText& t : texts) {
          if (t.text().rfind(LongTraceName, 0) != 0) continue;
          ++titles;
          EXPECT_GT(t.box.x0 - sample, frameRight) << "key title \"" << t.text() << "\" " << t.box;
        }
        EXPECT_EQ(titles, 5u);
        continue;
      }
      const double axisRight = secondAxisTextsRight(texts, frameRight);
      for (const PictureText& t : texts) {
        if (t.size < 10 && t.box.x0 > frameRight && t.text().find_first_not_of(' ') != std::string::npos) {
          EXPECT_GT(t.box.x0 - sample, axisRight) << "key title \"" << t.text() << "\" " << t.box;
        }
      }
    }
  }
}

namespace {

// Multiplies every point of slot 1's curve so that its extreme becomes
// `extreme`, and lets the page take its ranges again.
void scaleOrdCurve(Session& ui, double extreme) {
  double largest = 0;
  for (long i = 1; i <= ui.store().ORDDATAPTS[1]; ++i) largest = std::max(largest, std::abs(ui.store().ORDCALCY(i, 1)));
  for (long i = 1; i <= ui.store().ORDDATAPTS[1]; ++i) ui.store().ORDCALCY(i, 1) *= extreme / largest;
}

void scaleTrace(Session& ui, double extreme) {
  double largest = 0;
  for (long p = 1; p <= ui.store().HPLCDATAPTS[1]; ++p) largest = std::max(largest, std::abs(ui.store().HPLCY(p, 1)));
  for (long p = 1; p <= ui.store().HPLCDATAPTS[1]; ++p) ui.store().HPLCY(p, 1) *= extreme / largest;
  ui.act([] { Form1->DetermineHPLCRange(); });
}

// Whether a tic label is a power of ten ("1.1×10^6": a mantissa piece, then
// the exponent as a piece of its own).
bool powerLabel(const PictureText& label) { return label.pieces.size() > 1; }

}  // namespace

// Every exporter prints each y axis's tic labels in one number form, plain
// decimals or powers of ten, at every magnitude a real curve takes: gnuplot's
// own form writes "550000" beside "1.1×10^6" and "0.00016" beside "8×10^-5".
TEST(PlotLayout, EveryAxisPrintsItsLabelsInOneForm) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  if (!ghostscriptFound()) GTEST_SKIP() << "no gs";
  struct Kind {
    const char* name;
    std::function<void(Session&, double)> load;
    std::function<Button*()> button;
  };
  const std::vector<Kind> kinds = {
      {"UV",
       [](Session& ui, double extreme) {
         loadUvPair(ui);
         scaleUvEcdBand(ui, false, 1, extreme);
         ui.untick(Form1->CheckBox8);  // each curve as it is
       },
       [] { return Form1->Button7; }},
      {"ECD",
       [](Session& ui, double extreme) {
         loadOneEcdCurve(ui);
         scaleUvEcdBand(ui, true, 1, extreme);
       },
       [] { return Form1->Button1; }},
      {"VCD",
       [](Session& ui, double extreme) {
         ui.act([] { Form1->Choose(fixture("plots/conf1.vc.bil")); });
         scaleIrVcdBand(ui, true, extreme);
       },
       [] { return Form1->Button17; }},
      {"IR",
       [](Session& ui, double extreme) {
         ui.act([] { Form1->Choose(fixture("plots/conf1.ir.bil")); });
         scaleIrVcdBand(ui, false, extreme);
       },
       [] { return Form1->Button20; }},
      {"IR overlay",
       [](Session& ui, double extreme) {
         ui.act([] {
           Form1->Choose(fixture("plots/conf1.ir.bil"));
           Form1->IrBilFile(fixture("plots/conf2.ir.bil"), 2);
         });
         scaleIrVcdBand(ui, false, extreme);
         Form15->CheckBox1->SetChecked(true);
       },
       [] { return Form1->Button20; }},
      {"ORD",
       [](Session& ui, double extreme) {
         ui.act([] { Form1->Choose(fixture("measured/mol.or.bil")); });
         scaleOrdCurve(ui, extreme);
       },
       [] { return Form1->Button11; }},
      {"HPLC",
       [](Session& ui, double extreme) {
         ui.act([] { Form1->HPLCCD(fixture("plots/peaks.ccd"), 1); });
         scaleTrace(ui, extreme);
       },
       [] { return Form1->Button3; }},
  };
  for (bool gnuplot5 : {false, true}) {
    for (const Kind& kind : kinds) {
      for (double extreme : {1e-6, 1e-4, 1.0, 1e5, 1e6}) {
        SCOPED_TRACE(std::string(kind.name) + " of " + FloatToStr(extreme) + (gnuplot5 ? ", gnuplot 5" : ", gnuplot 4"));
        Session ui;
        if (gnuplot5) ui.tick(Form2->CheckBox1);
        kind.load(ui, extreme);
        TempFolder out;
        const std::string eps = clickEps(ui, kind.button(), out, "form");
        ASSERT_TRUE(FileExists(eps));
        const std::vector<PictureText> labels = yTicLabels(pictureTexts(eps));
        std::string shown;
        size_t powers = 0, plain = 0;
        for (const PictureText& label : labels) {
          shown += " [" + label.text() + "]";
          if (powerLabel(label)) ++powers;
          else if (*ticLabelValue(label) != 0) ++plain;
        }
        EXPECT_GE(labels.size(), 2u) << shown;
        EXPECT_TRUE(powers == 0 || plain == 0) << shown;
      }
    }
  }
}

// The second y axis names what it carries, the computed bands, whether slot
// 1 holds the computed curve or a measured one: never "-calc" alone, nor the
// y1 label again.
TEST(PlotLayout, SecondAxisNamesItsQuantity) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  if (!ghostscriptFound()) GTEST_SKIP() << "no gs";
  struct Case {
    const char* name;
    std::function<void(Session&)> load;
    bool ecd;
    const char* y2Label;  // as the picture shows it
  };
  const auto compare = [](Session& ui, const std::string& file, bool ecd) {
    ui.willChooseFile(file);
    ASSERT_TRUE(ui.menu(ecd ? Form1->BilFile1 : Form1->xyFile1));
  };
  const std::vector<Case> cases = {
      {"ECD: measured slot 1, computed slot 2",
       [&](Session& ui) {
         ui.act([] { Form1->Choose(fixture("plots/film.cd.exp.xy")); });
         compare(ui, fixture("plots/conf1.cd.bil"), true);
       },
       // gnuplot's Symbol D prints as the increment sign, its hyphen as a minus.
       true, "\u2206\u03b5 [M\u22121\u22c5cm\u22121]\u2212calc "},
      {"UV: measured slot 1, computed slot 2, the y1 label in the y2 field",
       [&](Session& ui) {
         ui.act([] { Form1->Choose(fixture("plots/film.uv.exp.xy")); });
         compare(ui, fixture("plots/conf1.uv.bil"), false);
         ui.type(Form11->Edit11, Form11->Edit10->Text());
       },
       false, "calc. absorption [a.u.]"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Session ui;
    k.load(ui);
    ASSERT_TRUE(SlotInUse((k.ecd ? ui.store().CDACTIVE : ui.store().UVACTIVE)[2]));
    secondAxis(k.ecd);
    TempFolder out;
    const std::string eps = clickEps(ui, k.ecd ? Form1->Button1 : Form1->Button7, out, "y2");
    ASSERT_TRUE(FileExists(eps));
    const std::vector<PictureText> texts = pictureTexts(eps);
    // The vertical texts: the y label left of the frame, the y2 label right of it.
    std::vector<std::string> vertical;
    double rightmost = -1;
    std::string y2;
    for (const PictureText& t : texts) {
      if (!t.vertical) continue;
      vertical.push_back(t.text());
      if (t.box.x0 > rightmost) rightmost = t.box.x0, y2 = t.text();
    }
    ASSERT_EQ(vertical.size(), 2u) << testing::PrintToString(vertical);
    EXPECT_EQ(y2, k.y2Label);
  }
}
