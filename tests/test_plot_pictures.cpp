// The pictures as a reader of the paper sees them: rendered by the
// installed gnuplot from the buttons a person clicks, then read back through
// Ghostscript. Everything drawn lies inside the picture's bounding box, no
// two texts overlap, small values still give a readable axis, and every tic
// label tells its tic's value.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "gnuplot_render_check.h"
#include "plot_export_test_support.h"
#include "plot_picture_support.h"
#include "plots/cdplotting.h"
#include "plots/irplotting.h"
#include "plots/uvplotting.h"
#include "plots/vcdplotting.h"

namespace {

// Clicks `button` with the script `name`.plt chosen in `folder`; the path of
// the EPS gnuplot wrote.
std::string clickEps(Session& ui, Button* button, const TempFolder& folder, const std::string& name) {
  ui.willChooseFile(folder.file(name + ".plt"));
  ui.click(button);
  return folder.file(name + ".eps");
}

// Every ECD slot filled: computed slot 1, measured slot 2, computed 3 to 5.
void loadFiveEcdCurves(Session& ui) {
  loadEcdPair(ui);
  ui.act([&] {
    for (int slot = 3; slot <= 5; ++slot) {
      Form1->CdBilFile(fixture("plots/conf1.cd.bil"), slot);
      ui.store().CDTITLE[slot] = "other" + std::to_string(slot) + ".cd.bil";
    }
  });
}

void loadFiveUvCurves(Session& ui) {
  loadUvPair(ui);
  ui.act([&] {
    for (int slot = 3; slot <= 5; ++slot) {
      Form1->UvBilFile(fixture("plots/conf1.uv.bil"), slot);
      ui.store().UVTITLE[slot] = "other" + std::to_string(slot) + ".uv.bil";
    }
  });
}

struct EpsKind {
  const char* name;
  std::function<void(Session&)> load;
  std::function<Button*()> button;
};

const std::vector<EpsKind>& everyEpsKind() {
  static const std::vector<EpsKind> kinds = {
      {"ecd-1", [](Session& ui) { ui.act([] { Form1->Choose(fixture("plots/conf1.cd.bil")); }); },
       [] { return Form1->Button1; }},
      {"ecd-2", loadEcdPair, [] { return Form1->Button1; }},
      {"ecd-5", loadFiveEcdCurves, [] { return Form1->Button1; }},
      {"uv-1", [](Session& ui) { ui.act([] { Form1->Choose(fixture("plots/conf1.uv.bil")); }); },
       [] { return Form1->Button7; }},
      {"uv-2", loadUvPair, [] { return Form1->Button7; }},
      {"uv-5", loadFiveUvCurves, [] { return Form1->Button7; }},
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
