// The VCD and IR pictures as a reader sees them: rendered by the installed
// gnuplot from the buttons a person clicks, read back through Ghostscript,
// with every curve point mapped through its panel's frame and ranges. No
// text, and no key sample, lies on a drawn curve; each y axis prints its
// tic labels in one form.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "gnuplot_render_check.h"
#include "plot_export_test_support.h"
#include "plot_picture_support.h"
#include "plots/irplotting.h"
#include "plots/vcdplotting.h"

namespace {

// One panel as gnuplot drew it: its frame in picture points, its ranges,
// and the curve points it plotted in range, in data units.
struct Panel {
  PictureBox frame;
  double xLeft = 0, xRight = 0, yBottom = 0, yTop = 0;
  std::vector<std::pair<double, double>> points;
};

bool startsPlot(const std::string& line) { return line.rfind("plot ", 0) == 0; }
bool continues(const std::string& line) {
  return line.size() >= 2 && line.compare(line.size() - 2, 2, ",\\") == 0;
}

// Runs the saved script `name`.plt twice more: once printing each panel's
// frame and ranges after its plot, once writing each panel's points as a
// table instead of drawing them.
std::vector<Panel> panelsOf(const TempFolder& folder, const std::string& name) {
  const std::vector<std::string> script = ReadLines(folder.file(name + ".plt"));
  std::vector<std::string> framed, tabled;
  int panel = 0;
  bool inPlot = false;
  for (const std::string& line : script) {
    if (line.rfind("set out ", 0) == 0) {
      framed.push_back("set out 'frames.eps'");
      framed.push_back("set print 'frames.txt'");
      tabled.push_back("set out 'tables.eps'");
      continue;
    }
    if (startsPlot(line)) {
      inPlot = true;
      tabled.push_back("set table 'panel-" + std::to_string(++panel) + ".tab'");
    }
    framed.push_back(line);
    if (line.find("multiplot") == std::string::npos) tabled.push_back(line);
    if (inPlot && !continues(line)) {
      inPlot = false;
      framed.push_back(
          "print GPVAL_TERM_XMIN, GPVAL_TERM_XMAX, GPVAL_TERM_YMIN, GPVAL_TERM_YMAX, GPVAL_X_MIN, GPVAL_X_MAX, "
          "GPVAL_Y_MIN, GPVAL_Y_MAX");
      tabled.push_back("unset table");
    }
  }
  WriteLinesCRLF(folder.file("framed.plt"), framed);
  WriteLinesCRLF(folder.file("tabled.plt"), tabled);
  std::string errors;
  EXPECT_EQ(RunAndCapture(gnuplotPath(), "framed.plt", folder.path(), errors), 0) << errors;
  EXPECT_EQ(RunAndCapture(gnuplotPath(), "tabled.plt", folder.path(), errors), 0) << errors;
  const PictureBox box = declaredBox(folder.file(name + ".eps"));
  std::vector<Panel> panels;
  std::istringstream frames(readTextFile(folder.file("frames.txt")));
  for (Panel p; frames >> p.frame.x0 >> p.frame.x1 >> p.frame.y0 >> p.frame.y1 >> p.xLeft >> p.xRight >>
                p.yBottom >> p.yTop;) {
    // gnuplot counts from the picture's corner, the EPS from its page's.
    p.frame = {box.x0 + p.frame.x0, box.y0 + p.frame.y0, box.x0 + p.frame.x1, box.y0 + p.frame.y1};
    panels.push_back(p);
  }
  for (size_t i = 0; i < panels.size(); ++i) {
    std::istringstream table(readTextFile(folder.file("panel-" + std::to_string(i + 1) + ".tab")));
    for (std::string line; std::getline(table, line);) {
      std::istringstream words(line);
      double x = 0, y = 0;
      std::string type;
      if (line.empty() || line[0] == '#' || !(words >> x >> y >> type) || type != "i") continue;
      panels[i].points.emplace_back(x, y);
    }
  }
  return panels;
}

// Each text whose box, widened on the left by a key sample's length, holds
// a curve point of a panel, with the first such point.
std::vector<std::string> textsOnCurves(const std::string& eps, const std::vector<Panel>& panels) {
  // "samplen 1" and its gaps at the key size: at most 12 points.
  constexpr double Sample = 12;
  std::vector<std::string> found;
  for (const PictureText& t : pictureTexts(eps)) {
    if (t.text().find_first_not_of(' ') == std::string::npos) continue;
    const PictureBox area{t.box.x0 - (t.vertical ? 0 : Sample), t.box.y0, t.box.x1, t.box.y1};
    bool hit = false;
    for (const Panel& p : panels) {
      for (const auto& [x, y] : p.points) {
        const double px = p.frame.x0 + (x - p.xLeft) / (p.xRight - p.xLeft) * (p.frame.x1 - p.frame.x0);
        const double py = p.frame.y0 + (y - p.yBottom) / (p.yTop - p.yBottom) * (p.frame.y1 - p.frame.y0);
        if (px < area.x0 || px > area.x1 || py < area.y0 || py > area.y1) continue;
        std::ostringstream line;
        line << "\"" << t.text() << "\" " << t.box << " holds (" << x << ", " << y << ") at " << px << "," << py;
        found.push_back(line.str());
        hit = true;
        break;
      }
      if (hit) break;
    }
  }
  return found;
}

// Adds a band of height `height` times the curve's extreme at `wavenumber`
// to computed slot `slot`, and lets the page take its ranges again.
void addStrongestBand(Session& ui, bool vcd, long slot, double wavenumber, double height) {
  auto& band = vcd ? ui.store().VCD : ui.store().IR;
  double largest = 0;
  for (long w = 0; w <= 4000; ++w) largest = std::max(largest, std::abs(band(w, 3, slot)));
  for (long w = 0; w <= 4000; ++w) {
    const double d = (w - wavenumber) / 6;
    band(w, 3, slot) += height * largest / (1 + d * d);
  }
  ui.act([vcd] { vcd ? Form1->DetermineVCDRange() : Form1->DetermineIRRange(); });
}

void twentyCharacterNames(Session& ui, bool vcd) {
  SlotTexts& titles = vcd ? ui.store().VCDTITLE : ui.store().IRTITLE;
  for (long s = 1; s <= 5; ++s) titles[s] = "tm7.6risRKSpbe0TDD" + std::to_string(s) + "F";
}

// Five IR panels: computed, measured and three computed conformers, named
// as real outputs shorten, with a band width and a scaling to label.
void fiveIrPanels(Session& ui) {
  loadIrVcdPage(ui, false, 3);
  ui.act([] {
    for (int slot = 4; slot <= 5; ++slot) Form1->IrBilFile(fixture("plots/conf2.ir.bil"), slot);
  });
  twentyCharacterNames(ui, false);
  ui.type(Form1->Edit17, "6");
  ui.type(Form1->Edit26, "0.98");
}

std::string clickPicture(Session& ui, Button* button, const TempFolder& folder, const std::string& name) {
  ui.willChooseFile(folder.file(name + ".plt"));
  ui.click(button);
  return folder.file(name + ".eps");
}

struct Kind {
  const char* name;
  std::function<void(Session&)> load;
  bool vcd;
};

const std::string CorpusFolder = std::string(ORVANIX_CORPUS) + "/gaussian/ir_vcd/";

}  // namespace

TEST(PlotIrVcdPictures, NoTextOrKeySampleLiesOnACurve) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  if (!ghostscriptFound()) GTEST_SKIP() << "no gs";
  std::vector<Kind> kinds = {
      // The strongest band under a key entry in the frame's top right
      // corner: beside a short name, and (at 1166) beside one of 20
      // characters.
      {"single VCD, strongest band where the key stood",
       [](Session& ui) {
         ui.act([] { Form1->Choose(fixture("plots/conf1.vc.bil")); });
         addStrongestBand(ui, true, 1, 640, 3);
         ui.type(Form1->Edit26, "0.98");
       },
       true},
      {"single VCD, strongest band at 1166",
       [](Session& ui) {
         ui.act([] { Form1->Choose(fixture("plots/conf1.vc.bil")); });
         addStrongestBand(ui, true, 1, 1166, 3);
         twentyCharacterNames(ui, true);
       },
       true},
      {"single IR with band width and scaling",
       [](Session& ui) {
         ui.act([] { Form1->Choose(fixture("plots/conf1.ir.bil")); });
         addStrongestBand(ui, false, 1, 1700, 2);
         ui.type(Form1->Edit26, "0.98");
       },
       false},
      {"five stacked IR panels", fiveIrPanels, false},
      {"stacked VCD with its mirror image",
       [](Session& ui) {
         loadIrVcdPage(ui, true, 4);
         twentyCharacterNames(ui, true);
         ui.tick(Form1->CheckBox9);
       },
       true},
      {"VCD overlay with its mirror image",
       [](Session& ui) {
         loadIrVcdPage(ui, true, 4);
         twentyCharacterNames(ui, true);
         ui.tick(Form1->CheckBox9);
         Form13->CheckBox1->SetChecked(true);
       },
       true},
      {"IR overlay of five",
       [](Session& ui) {
         fiveIrPanels(ui);
         Form15->CheckBox1->SetChecked(true);
       },
       false},
  };
  // A real Gaussian freq=vcd output, its IR and its VCD (whose rotatory
  // strengths are all zero: a flat curve on the zero line).
  for (bool vcd : {true, false}) {
    const char* file = "g09_tesliper_fal-freq-vdc.out";
    const std::string path = CorpusFolder + file;
    if (!FileExists(path)) continue;
    kinds.push_back({file, [path](Session& ui) { ui.act([&] { Form1->Choose(path); }); }, vcd});
  }
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(std::string(kind.name) + (kind.vcd ? " (VCD)" : " (IR)"));
    Session ui;
    kind.load(ui);
    TempFolder out;
    const std::string eps = clickPicture(ui, kind.vcd ? Form1->Button17 : Form1->Button20, out, "spectrum");
    ASSERT_TRUE(FileExists(eps)) << (ui.boxes().empty() ? std::string() : ui.boxes().back().text);
    const std::vector<Panel> panels = panelsOf(out, "spectrum");
    ASSERT_FALSE(panels.empty());
    size_t points = 0;
    for (const Panel& p : panels) points += p.points.size();
    EXPECT_GT(points, 100u);
    const std::vector<std::string> covered = textsOnCurves(eps, panels);
    EXPECT_TRUE(covered.empty()) << testing::PrintToString(covered);
    // The column beside the frames keeps the texts apart and inside the picture.
    const std::vector<PictureText> texts = pictureTexts(eps);
    EXPECT_TRUE(overlappingTexts(texts).empty()) << testing::PrintToString(overlappingTexts(texts));
    for (const PictureText& t : texts)
      EXPECT_TRUE(inside(t.box, declaredBox(eps), 1.0)) << "\"" << t.text() << "\" " << t.box;
    const std::optional<PictureBox> drawn = drawnBox(eps);
    ASSERT_TRUE(drawn.has_value());
    EXPECT_TRUE(inside(*drawn, declaredBox(eps))) << "drawn " << *drawn << ", declared " << declaredBox(eps);
  }
}

namespace {

// The decimals a plain tic label shows; -1 for a label in the power form.
int shownDecimals(const PictureText& label) {
  if (label.pieces.size() != 1) return -1;
  const std::string text = label.text();
  if (text.find_first_of("eE") != std::string::npos) return -1;
  const size_t point = text.find('.');
  return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

}  // namespace

// A VCD of 1.5E-4 has tics 8.3E-5 apart, which gnuplot's own format writes
// as powers beside plain decimals: every label of a panel shows the same
// fixed decimals instead, and tells its tic's value.
TEST(PlotIrVcdPictures, EachAxisPrintsItsTicLabelsInOneForm) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  if (!ghostscriptFound()) GTEST_SKIP() << "no gs";
  const auto scaleTo = [](Session& ui, long slot, double extreme) {
    auto& band = ui.store().VCD;
    double largest = 0;
    for (long w = 0; w <= 4000; ++w) largest = std::max(largest, std::abs(band(w, 3, slot)));
    for (long w = 0; w <= 4000; ++w) band(w, 3, slot) *= extreme / largest;
    ui.act([] { Form1->DetermineVCDRange(); });
  };
  const std::vector<Kind> kinds = {
      {"single VCD of 1.5E-4",
       [&](Session& ui) {
         ui.act([] { Form1->Choose(fixture("plots/conf1.vc.bil")); });
         scaleTo(ui, 1, 1.5e-4);
       },
       true},
      // The small panel's format must not reach the measured one below it.
      {"stacked VCD, panel 1 of 1.5E-4",
       [&](Session& ui) {
         loadIrVcdPage(ui, true, 0);
         scaleTo(ui, 1, 1.5e-4);
       },
       true},
  };
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(kind.name);
    Session ui;
    kind.load(ui);
    TempFolder out;
    const std::string eps = clickPicture(ui, Form1->Button17, out, "vcd");
    ASSERT_TRUE(FileExists(eps));
    const std::vector<Panel> panels = panelsOf(out, "vcd");
    const std::vector<PictureText> texts = pictureTexts(eps);
    EXPECT_TRUE(overlappingTexts(texts).empty()) << testing::PrintToString(overlappingTexts(texts));
    for (const PictureText& t : texts)
      EXPECT_TRUE(inside(t.box, declaredBox(eps), 1.0)) << "\"" << t.text() << "\" " << t.box;
    const std::vector<PictureText> labels = yTicLabels(texts);
    ASSERT_GE(labels.size(), 3u);
    for (const Panel& p : panels) {
      std::vector<PictureText> own;
      for (const PictureText& label : labels) {
        const double middle = (label.box.y0 + label.box.y1) / 2;
        if (middle >= p.frame.y0 - 0.5 && middle <= p.frame.y1 + 0.5) own.push_back(label);
      }
      ASSERT_GE(own.size(), 2u) << "panel " << p.frame;

      // A bare "0" may stand on the zero tic.
      const auto bareZero = [](const PictureText& label) { return label.text().find_first_not_of(' ') ==
                                                                  label.text().find_last_not_of(' ') &&
                                                              *ticLabelValue(label) == 0; };
      int decimals = -2;
      for (const PictureText& label : own)
        if (!bareZero(label) && decimals == -2) decimals = shownDecimals(label);
      EXPECT_GE(decimals, 0);
      for (const PictureText& label : own) {
        SCOPED_TRACE(label.text());
        if (!bareZero(label)) {
          EXPECT_EQ(shownDecimals(label), decimals);
        }
        const double value = *ticLabelValue(label);
        const double where = p.yBottom + ((label.box.y0 + label.box.y1) / 2 - p.frame.y0) /
                                             (p.frame.y1 - p.frame.y0) * (p.yTop - p.yBottom);
        // The label stands beside its tic: within half a label's height.
        EXPECT_NEAR(value, where, 0.5 * label.size / (p.frame.y1 - p.frame.y0) * (p.yTop - p.yBottom));
      }
    }
  }
}
