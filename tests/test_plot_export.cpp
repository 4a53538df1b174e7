// The script builders of the UV/ECD and ORD plots: golden scripts, the
// head's rules, the y ranges, factors and plot lines, and the data files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "plot_export_test_support.h"
#include "platform/numbers.h"
#include "plots/cdplotting.h"
#include "plots/irplotting.h"
#include "plots/vcdplotting.h"
#include "plots/first_curve.h"
#include "plots/gnuplot_settings_form.h"
#include "plots/uvplotting.h"

namespace {

// ORVANIX_UPDATE_GOLDENS=1 rewrites the golden scripts from the builders.
bool updatingGoldens() {
  const char* value = std::getenv("ORVANIX_UPDATE_GOLDENS");
  return value != nullptr && std::string(value) == "1";
}

}  // namespace

TEST(PlotGoldens, IrVcdAndHplcScriptsStayByteForByte) {
  for (bool gnuplot5 : {false, true}) {
    for (const GoldenPage2& page : goldenPages2()) {
      const std::string golden = fixture(std::string("plots/") + page.name +
                                         (gnuplot5 ? ".gnuplot5.plt" : ".gnuplot4.plt"));
      SCOPED_TRACE(golden);
      Session ui;
      prepareGoldenPage2(ui, page.name, gnuplot5);
      const PlotScript script = buildPlot(ui, page.button, std::string(page.name) + ".plt");
      if (updatingGoldens()) WriteLinesCRLF(golden, script.lines);
      EXPECT_EQ(scriptText(script.lines), readTextFile(golden));
    }
  }
}

TEST(PlotGoldens, ScriptsStayByteForByte) {
  for (bool gnuplot5 : {false, true}) {
    for (const GoldenPage& page : goldenPages()) {
      const std::string golden = fixture(std::string("plots/") + page.name +
                                         (gnuplot5 ? ".gnuplot5.plt" : ".gnuplot4.plt"));
      SCOPED_TRACE(golden);
      Session ui;
      prepareGoldenPage(ui, page.button, gnuplot5);
      const PlotScript script = buildPlot(ui, page.button, std::string(page.name) + ".plt");
      if (updatingGoldens()) WriteLinesCRLF(golden, script.lines);
      EXPECT_EQ(scriptText(script.lines), readTextFile(golden));
    }
  }
}

// ---- Helpers -------------------------------------------------------------------

namespace {

// The plot command: the line that starts with "plot " and every line after it.
std::vector<std::string> plotLines(const PlotScript& script) {
  std::vector<std::string> lines;
  bool inPlot = false;
  for (const std::string& line : script.lines) {
    inPlot = inPlot || line.rfind("plot ", 0) == 0;
    if (inPlot) lines.push_back(line);
  }
  return lines;
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

const DataFile* dataFile(const PlotScript& script, const std::string& name) {
  for (const DataFile& file : script.dataFiles)
    if (file.name == name) return &file;
  return nullptr;
}

std::vector<std::string> dataFileNames(const PlotScript& script) {
  std::vector<std::string> names;
  for (const DataFile& file : script.dataFiles) names.push_back(file.name);
  return names;
}

// One ECD or UV page with computed slot 1 (conf1) and, on request, the
// measured film curve in further slots; the maxima and factors are set as a
// test needs them.
struct UvEcdPage {
  Session ui;
  bool ecd;
  explicit UvEcdPage(bool ecdPage = true) : ecd(ecdPage) {
    ui.act([&] { Form1->Choose(fixture(ecd ? "plots/conf1.cd.bil" : "plots/conf1.uv.bil")); });
  }
  Store& store() { return ui.store(); }
  SlotTexts& active() { return ecd ? store().CDACTIVE : store().UVACTIVE; }
  SlotTexts& titles() { return ecd ? store().CDTITLE : store().UVTITLE; }
  SlotReals& maxima() { return ecd ? store().CDMAX : store().UVMAX; }
  SlotReals& factors() { return ecd ? store().CDFACTOR : store().UVFACTOR; }
  void addMeasured(long slot, double maximum) {
    ui.act([&] {
      if (ecd) Form1->CDXY(fixture("plots/film.cd.exp.xy"), static_cast<int>(slot));
      else Form1->UVXY(fixture("plots/film.uv.exp.xy"), static_cast<int>(slot));
    });
    titles()[slot] = "film" + std::to_string(slot) + ".cd.exp.xy";
    maxima()[slot] = maximum;
  }
  void addComputed(long slot, double maximum) {
    active()[slot] = "calc";
    titles()[slot] = "calc" + std::to_string(slot) + ".cd.bil";
    maxima()[slot] = maximum;
    factors()[slot] = 1.0;
  }
  PlotControls controls() { return ReadPlotControls(*Form1); }
  PlotScript build(UvEcdPlot plot, const PlotControls& c) { return BuildUvEcdScript(plot, store(), c, "p.plt"); }
  PlotScript build(UvEcdPlot plot) { return build(plot, controls()); }
};

}  // namespace

// ---- Number texts, names and plot lines ------------------------------------------

TEST(PlotScriptTexts, TicStepsRangesAndFactors) {
  struct Step {
    double step;
    const char* text;
  };
  // A step of 0 or below gives the magnitude; exactly 0 gives none.
  for (const Step& s : std::vector<Step>{{6.875, "7"}, {2.75, "3"}, {1.2, "1"}, {0.44, "0.44"},
                                         {-5, "5"}, {-0.2, "0.2"}, {0, ""}})
    EXPECT_EQ(TicStepText(s.step), s.text) << s.step;
  EXPECT_EQ(TicsLine("set ytics border nomirror norotate", 0), "set ytics border nomirror norotate");
  EXPECT_EQ(TicsLine("set ytics border nomirror norotate", 4), "set ytics border nomirror norotate 4");

  // Two decimals as long as they keep two significant digits; more below.
  struct Range {
    double half;
    const char *symmetric, *fromZero;
  };
  for (const Range& r : std::vector<Range>{{13.75, "-13.75:13.75", "0:13.75"},
                                           {0.88, "-0.88:0.88", "0:0.88"},
                                           {0.088, "-0.088:0.088", "0:0.088"},
                                           {0.00088, "-0.00088:0.00088", "0:0.00088"},
                                           {0.0033, "-0.0033:0.0033", "0:0.0033"}}) {
    EXPECT_EQ(SymmetricRangeText(r.half), r.symmetric) << r.half;
    EXPECT_EQ(FromZeroRangeText(r.half), r.fromZero) << r.half;
  }
  EXPECT_EQ(TicStepText(0.00044678975), "0.00045");
  EXPECT_EQ(YRangeText(0.0008, /*fromZero*/ false, /*exponentForm*/ false), "[-0.00088:0.00088]");
  EXPECT_EQ(YRangeText(12.5, /*fromZero*/ false, /*exponentForm*/ false), "[-13.75:13.75]");

  // Steps and mantissa digits that powers-of-ten labels show within 1 %.
  EXPECT_EQ(PowerLabelStep(26497), 26000);
  EXPECT_EQ(PowerLabelStep(28), 28);
  EXPECT_EQ(PowerLabelStep(0.44), 0.44);
  EXPECT_EQ(MantissaDecimals(0, 52994, 26000), 1);   // 2.6 and 5.2
  EXPECT_EQ(MantissaDecimals(0, 52994, 26497), 2);   // 2.65 and 5.30
  EXPECT_EQ(MantissaDecimals(-6.7e-2, 6.7e-2, 3e-2), 0);
  EXPECT_EQ(MantissaDecimals(0, 15.4, 7), 1);        // 14 is 1.4, not 1
  EXPECT_EQ(MantissaDecimals(0, 13.75, 7), 0);       // 7 alone
  EXPECT_EQ(PowerLabelLines("y", 1, "%L", '"'),
            (std::vector<std::string>{R"(set format y "%.1t{/Symbol \327}10^{%L}")", R"(set ytics add ("0" 0))"}));

  EXPECT_EQ(SymmetricRangeText(13.75), "-13.75:13.75");
  EXPECT_EQ(SymmetricRangeText(0), "-1.00:1.00");  // gnuplot refuses an empty range
  EXPECT_EQ(FromZeroRangeText(0.88), "0:0.88");
  EXPECT_EQ(FromZeroRangeText(0), "-1.00:1.00");
  EXPECT_EQ(RangeText("2.5", "2.50"), "1.50:3.50");

  EXPECT_EQ(FactorText(0.25, 4), "0.2500");
  EXPECT_EQ(FactorText(0, 7), "0.0000000");
  EXPECT_EQ(FactorText(3e-8, 7), "3E-8");  // would show only zeros
  EXPECT_EQ(FactorText(6e-8, 7), "6E-8");  // "0.0000001" would draw it 67 % too high
  EXPECT_EQ(FactorText(0.0123, 4), "0.0123");
  EXPECT_EQ(FactorText(0.00016, 4), "0.00016");  // not "0.0002"
}

TEST(PlotScriptTexts, PlotCommandJoinsItsEntries) {
  EXPECT_EQ(JoinPlotEntries({{"\"a.xy\" w l", {}}}), std::vector<std::string>{"plot \"a.xy\" w l"});
  const std::vector<std::string> lines = JoinPlotEntries({{"a", {}}, {"b", "b-last"}, {"c", "c-last"}});
  EXPECT_EQ(lines, (std::vector<std::string>{"plot a ,\\", "     b ,\\", "     c-last"}));
}

TEST(GnuplotFailure, TheLineThatExplainsIt) {
  const std::string errors =
      "\n         set terminal postscript eps enhanced color solid \"Arial\" x\n"
      "\"p.plt\" line 5: warning: Skipping data file with no valid points\n"
      "\"p.plt\" line 9: undefined variable: x\n";
  EXPECT_EQ(GnuplotFailureLine("p.plt", errors), "\"p.plt\" line 9: undefined variable: x");
  EXPECT_EQ(GnuplotFailureLine("p.plt", "  \n  something broke  \n"), "something broke");
  EXPECT_EQ(GnuplotFailureLine("p.plt", ""), "no picture was written");
  EXPECT_EQ(PictureBaseName("/data/plot.ps"), "plo");
  EXPECT_EQ(PictureBaseName("C:\\data\\x.plt"), "x");
}

// ---- The UV/ECD plots ---------------------------------------------------------------

TEST(UvEcdPlotScript, OneComputedCurveIsTheHeadAndOnePlotLine) {
  UvEcdPage page;
  page.maxima()[1] = 12.5;
  page.factors()[1] = 1;
  const PlotScript script = page.build(UvEcdPlot::EcdEps);
  EXPECT_EQ(lineStarting(script.lines, "set yrange"), "set yrange [-13.75:13.75]");
  EXPECT_EQ(lineStarting(script.lines, "set ytics"), "set ytics border nomirror norotate 7");
  EXPECT_EQ(plotLines(script), std::vector<std::string>{
      R"(plot 'p-1.xy' using ($1+(0)):($2*1.0000) title '{/Arial=18 conf1' with lines ls 1)"});
  ASSERT_EQ(dataFileNames(script), std::vector<std::string>{"p-1.xy"});
  const std::vector<std::string>& lines = script.dataFiles[0].lines;
  ASSERT_EQ(lines.size(), 39001u);
  EXPECT_EQ(lines[0].substr(0, 4), "100\t");
  EXPECT_EQ(lines[1].substr(0, 6), "100.1\t");
  EXPECT_EQ(lines.back().substr(0, 5), "4000\t");
}

TEST(UvEcdPlotScript, TwoCurvesShareTheHeightOfTheOther) {
  // Slots 1 and 2, and slots 1 and 3 with 2 empty: the factor takes the
  // other slot in use either way.
  for (long other : {2L, 3L}) {
    UvEcdPage page;
    page.addMeasured(other, 5);
    page.maxima()[1] = 20;
    PlotControls c = page.controls();
    const PlotScript script = page.build(UvEcdPlot::EcdEps, c);
    EXPECT_EQ(lineStarting(script.lines, "set yrange"), "set yrange [-5.50:5.50]");
    EXPECT_EQ(lineStarting(script.lines, "set ytics"), "set ytics border nomirror norotate 3");
    const std::vector<std::string> plot = plotLines(script);
    ASSERT_EQ(plot.size(), 2u);
    EXPECT_NE(plot[0].find("($2*0.2500)"), std::string::npos) << plot[0];
    EXPECT_TRUE(endsWith(plot[0], " ,\\"));
    const std::string slot = std::to_string(other);
    EXPECT_EQ(plot[1], "     'p-2.xy' using ($1+(0)):($2*1.0000) title '{/Arial=18 film" + slot +
                           "' with lines ls " + slot);

    c.CheckBox8 = false;  // "auto scaling": the curves as they are
    const std::vector<std::string> unscaled = plotLines(page.build(UvEcdPlot::EcdEps, c));
    EXPECT_NE(unscaled[0].find("($2*1.0)"), std::string::npos);
    EXPECT_NE(unscaled[1].find("($2*1.0)"), std::string::npos);
  }
  // A curve 1 of height 0 keeps the factors and the plot stays sound.
  UvEcdPage flat;
  flat.addMeasured(2, 5);
  flat.maxima()[1] = 0;
  flat.factors()[1] = 1;
  const PlotScript script = flat.build(UvEcdPlot::EcdEps);
  EXPECT_EQ(lineStarting(script.lines, "set yrange"), "set yrange [-1.00:1.00]");
  EXPECT_EQ(lineStarting(script.lines, "set ytics"), "set ytics border nomirror norotate");
}

TEST(UvEcdPlotScript, MirrorImageBesideOrInPlaceOfCurveOne) {
  UvEcdPage page;
  page.ui.tick(Form1->CheckBox2);  // "enantiomeric ECD" beside "normal ECD"
  PlotScript script = page.build(UvEcdPlot::EcdEps);
  std::vector<std::string> plot = plotLines(script);
  ASSERT_EQ(plot.size(), 2u);
  EXPECT_TRUE(endsWith(plot[0], "ls 1 ,\\"));
  EXPECT_EQ(plot[1].substr(0, 14), "     'p-2.xy' ");
  EXPECT_TRUE(endsWith(plot[1], "'{/Arial=18 (-)conf1' with lines ls 6"));
  ASSERT_EQ(dataFileNames(script), (std::vector<std::string>{"p-1.xy", "p-2.xy"}));
  const auto& band = script.dataFiles[0].lines;
  const auto& mirror = script.dataFiles[1].lines;
  ASSERT_EQ(mirror.size(), 39001u);
  const size_t at248 = 2480 - 1000;
  EXPECT_EQ(mirror[at248], band[at248].substr(0, 4) + "-" + band[at248].substr(4));

  page.ui.untick(Form1->CheckBox3);  // only "enantiomeric ECD"
  plot = plotLines(page.build(UvEcdPlot::EcdEps));
  ASSERT_EQ(plot.size(), 1u);
  EXPECT_EQ(plot[0], R"(plot 'p-2.xy' using ($1+(0)):($2*1.0000) title '{/Arial=18 (-)conf1' with lines ls 6)");
}

TEST(UvEcdPlotScript, BarsOfCurveOne) {
  // conf1 has sticks of -12 at 215 nm, 25 at 248 nm and -8 at 290 nm.
  struct Case {
    const char *start, *end, *shift, *factor;
  };
  const std::vector<Case> cases = {
      {"150", "600", "10", "2.0000"},  // 140..590: the 25 at 248 nm
      {"150", "255", "10", "4.1667"},  // 140..245 leaves 248 nm out: |50 / -12|
      {"150", "255", "0", "2.0000"},
      {"300", "400", "0", "1.0000"},   // no stick: the bars keep their height
  };
  for (const Case& k : cases) {
    UvEcdPage page;
    PlotControls c = page.controls();
    page.maxima()[1] = 50;
    c.CheckBox1 = true;
    c.Edit4 = k.start;
    c.Edit5 = k.end;
    c.Edit2 = k.shift;
    const std::vector<std::string> plot = plotLines(page.build(UvEcdPlot::EcdEps, c));
    ASSERT_EQ(plot.size(), 2u);
    EXPECT_EQ(plot[1], std::string("     'p-2.xy' using ($1+(") + k.shift + ")):($2*" + k.factor +
                           ") title '{/Arial=18 bar-conf1' with imp ls 2")
        << k.start << " " << k.end << " " << k.shift;
  }
}

TEST(UvEcdPlotScript, BarsWithTheMirrorImageAlone) {
  UvEcdPage page;
  PlotControls c = page.controls();
  page.maxima()[1] = 50;
  c.CheckBox1 = true;
  c.CheckBox3 = false;
  c.CheckBox2 = true;
  const PlotScript eps = page.build(UvEcdPlot::EcdEps, c);
  std::vector<std::string> plot = plotLines(eps);
  ASSERT_EQ(plot.size(), 2u);
  EXPECT_EQ(plot[0].substr(0, 13), "plot 'p-3.xy'");
  EXPECT_NE(plot[1].find(":($2*(-1)*2.0000)"), std::string::npos) << plot[1];
  EXPECT_EQ(dataFileNames(eps), (std::vector<std::string>{"p-1.xy", "p-2.xy", "p-3.xy"}));
  // The PNG draws the mirror image too, as the page shows it, with its bars
  // mirrored; the last line takes the EPS font at the PNG key size.
  plot = plotLines(page.build(UvEcdPlot::EcdPng, c));
  ASSERT_EQ(plot.size(), 2u);
  EXPECT_TRUE(endsWith(plot[0], "'{/Arial=18 (-)conf1' with lines ls 6 ,\\")) << plot[0];
  EXPECT_EQ(plot[1], R"(     'p-2.xy' using ($1+(0)):($2*(-1)*2.0000) title '{/Arial=14 bar-conf1' with imp ls 2)");
}

TEST(UvEcdPlotScript, MeasuredCurveOneGetsAMirrorFileAndNoBars) {
  Session ui;
  ui.act([] { Form1->Choose(fixture("plots/film.cd.exp.xy")); });
  // The boxes stay as they were before the measured curve was loaded.
  PlotControls c = ReadPlotControls(*Form1);
  c.CheckBox2 = true;
  c.CheckBox1 = true;
  const PlotScript script = BuildUvEcdScript(UvEcdPlot::EcdEps, ui.store(), c, "p.plt");
  EXPECT_EQ(dataFileNames(script), (std::vector<std::string>{"p-1.xy", "p-2.xy"}));
  const std::vector<std::string> plot = plotLines(script);
  ASSERT_EQ(plot.size(), 2u);
  EXPECT_EQ(plot[1].find("bar-"), std::string::npos);
  EXPECT_EQ(script.dataFiles[0].lines[0], "400\t" + FloatToStrF(ui.store().EXPCDY(1, 1), 6));
  EXPECT_EQ(script.dataFiles[1].lines[0], "400\t" + FloatToStrF(-ui.store().EXPCDY(1, 1), 6));
}

TEST(UvEcdPlotScript, UvBarsFollowAutoScaling) {
  UvEcdPage page(/*ecd*/ false);
  PlotControls c = page.controls();
  c.CheckBox5 = false;  // "UV" unticked
  c.CheckBox1 = true;
  PlotScript script = page.build(UvEcdPlot::UvEps, c);
  std::vector<std::string> plot = plotLines(script);
  ASSERT_EQ(plot.size(), 2u);
  EXPECT_TRUE(endsWith(plot[0], "ls 1 ,\\"));
  EXPECT_EQ(plot[1].substr(0, 14), "     'p-2.xy' ");
  c.CheckBox8 = false;
  script = page.build(UvEcdPlot::UvEps, c);
  EXPECT_EQ(plotLines(script).size(), 1u);
  EXPECT_EQ(dataFileNames(script), (std::vector<std::string>{"p-1.xy", "p-2.xy"}));
  // One computed curve alone shows its powers of ten, with the mantissa
  // digits its tics need and the zero tic labelled 0.
  EXPECT_EQ(lineStarting(script.lines, "set format y "), R"(set format y "%.1t{/Symbol \327}10^{%L}")");
  EXPECT_EQ(lineStarting(script.lines, "set ytics add"), R"(set ytics add ("0" 0))");
}

TEST(UvEcdPlotScript, UvRangesAndSteps) {
  struct Case {
    double height;
    const char *range, *step;
  };
  for (const Case& k : std::vector<Case>{{0.8, "0:0.88", "0.44"}, {2.0, "0:2.20", "1"}, {0, "-1.00:1.00", ""}}) {
    UvEcdPage page(false);
    page.maxima()[1] = k.height;
    page.factors()[1] = 1;
    const PlotScript script = page.build(UvEcdPlot::UvEps);
    EXPECT_EQ(lineStarting(script.lines, "set yrange"), std::string("set yrange [") + k.range + "]");
    EXPECT_EQ(lineStarting(script.lines, "set ytics"),
              std::string("set ytics border nomirror norotate") + (*k.step ? " " : "") + k.step);
  }
  UvEcdPage page(false);
  PlotControls c = page.controls();
  c.uv.CheckBox3 = true;
  c.uv.Edit7 = "[0:2.4]";
  PlotScript script = page.build(UvEcdPlot::UvEps, c);
  EXPECT_EQ(lineStarting(script.lines, "set yrange"), "set yrange [0:2.4]");
  EXPECT_EQ(lineStarting(script.lines, "set ytics"), "set ytics border nomirror norotate 1");
  // The ECD step follows the lower bound, as its magnitude.
  UvEcdPage ecd;
  c = ecd.controls();
  c.cd.CheckBox3 = true;
  c.cd.Edit7 = "[-10:10]";
  script = ecd.build(UvEcdPlot::EcdEps, c);
  EXPECT_EQ(lineStarting(script.lines, "set yrange"), "set yrange [-10:10]");
  EXPECT_EQ(lineStarting(script.lines, "set ytics"), "set ytics border nomirror norotate 5");
  c.cd.Edit7 = "[-y1:y1]";
  EXPECT_THROW(ecd.build(UvEcdPlot::EcdEps, c), EConvertError);
}

TEST(UvEcdPlotScript, UvEnergyAxisAndSecondAxis) {
  UvEcdPage page(false);
  page.addComputed(2, 1);
  page.addMeasured(3, 2);
  PlotControls c = page.controls();
  c.uv.CheckBox7 = true;  // "convert to eV"
  PlotScript script = page.build(UvEcdPlot::UvEps, c);
  EXPECT_EQ(lineStarting(script.lines, "set xrange"), "set xrange [2.07:8.26]");
  EXPECT_EQ(lineStarting(script.lines, "set xtics"), "set xtics border nomirror norotate");
  std::vector<std::string> plot = plotLines(script);
  ASSERT_EQ(plot.size(), 3u);
  EXPECT_NE(plot[0].find("using (1239.482/($1+(0))):"), std::string::npos) << plot[0];
  EXPECT_NE(plot[1].find("using (1239.482/($1+(0))):"), std::string::npos) << plot[1];

  c.uv.CheckBox7 = false;
  c.uv.CheckBox2 = true;  // "use second y axis"
  plot = plotLines(page.build(UvEcdPlot::UvEps, c));
  EXPECT_TRUE(endsWith(plot[0], " axis x1y2 ,\\"));
  EXPECT_TRUE(endsWith(plot[1], "with lines ls 2 axis x1y2 ,\\"));
  EXPECT_NE(plot[2].find("using ($1):($2*"), std::string::npos) << plot[2];
  EXPECT_TRUE(endsWith(plot[2], "with lines ls 3 axis x1y1"));

  // The wavenumber unit keeps its own axis whatever "convert to eV" says.
  c.uv.CheckBox2 = false;
  c.uv.CheckBox7 = true;
  c.wavenumberUnit = true;
  c.Edit2 = "1.0";
  script = page.build(UvEcdPlot::UvEps, c);
  EXPECT_EQ(lineStarting(script.lines, "set xrange"), "set xrange [50000:15000]");
  EXPECT_NE(plotLines(script)[0].find("using ($1*(1.0)):"), std::string::npos);
}

TEST(UvEcdPlotScript, WavenumberDataFiles) {
  UvEcdPage page;
  page.addMeasured(2, 5);
  PlotControls c = page.controls();
  c.wavenumberUnit = true;
  c.Edit2 = "1.0";
  c.Edit12 = "1.0";
  const PlotScript script = page.build(UvEcdPlot::EcdEps, c);
  const DataFile* band = dataFile(script, "p-1.xy");
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(band->lines.front().substr(0, 7), "100000\t");
  EXPECT_EQ(band->lines.back().substr(0, 5), "2500\t");
  const DataFile* film = dataFile(script, "p-2.xy");
  ASSERT_NE(film, nullptr);
  EXPECT_TRUE(std::any_of(film->lines.begin(), film->lines.end(),
                          [](const std::string& line) { return line.rfind("40000\t", 0) == 0; }));
  // Measured curves are never scaled in x.
  EXPECT_NE(plotLines(script)[1].find("using ($1*(1.0)):"), std::string::npos);
}

TEST(UvEcdPlotScript, FurtherCurvesInSlotOrder) {
  UvEcdPage page;
  page.addComputed(2, 1);
  page.addMeasured(4, 2);
  const std::vector<std::string> plot = plotLines(page.build(UvEcdPlot::EcdEps));
  ASSERT_EQ(plot.size(), 3u);
  EXPECT_TRUE(endsWith(plot[1], "with lines ls 2 ,\\"));
  EXPECT_TRUE(endsWith(plot[2], "with lines ls 4"));
}

TEST(UvEcdPlotScript, NothingOfCurveOneDrawnKeepsTheHead) {
  UvEcdPage page;
  page.addMeasured(2, 5);
  PlotControls c = page.controls();
  c.CheckBox3 = false;
  const PlotScript script = page.build(UvEcdPlot::EcdEps, c);
  EXPECT_EQ(script.lines.front(), "# CD plots");
  const std::vector<std::string> plot = plotLines(script);
  ASSERT_EQ(plot.size(), 1u);
  EXPECT_EQ(plot[0].substr(0, 13), "plot 'p-2.xy'");
}

TEST(UvEcdPlotScript, SameShortNamesGetTheirOwnDataFiles) {
  // The PNG plots compare the titles themselves, so these two pass.
  UvEcdPage page;
  page.addMeasured(2, 5);
  page.titles()[2] = "conf1.cd.exp.xy";
  EXPECT_TRUE(HasIdenticalCurveNames(UvEcdPlot::EcdEps, page.store()));
  EXPECT_FALSE(HasIdenticalCurveNames(UvEcdPlot::EcdPng, page.store()));
  const PlotScript script = page.build(UvEcdPlot::EcdPng);
  EXPECT_EQ(dataFileNames(script), (std::vector<std::string>{"p-1.xy", "p-2.xy"}));
  const std::vector<std::string> plot = plotLines(script);
  EXPECT_NE(plot[1].find("'p-2.xy'"), std::string::npos);
  EXPECT_TRUE(endsWith(plot[1], "title '{/Arial=14 conf1' with lines ls 2")) << plot[1];
}

// ---- The ORD plots ---------------------------------------------------------------------

namespace {
// Computed rotations of mol.or.bil in slot 1: 120 at 589 nm, 250 at 436 nm.
struct OrdPage {
  Session ui;
  OrdPage() { ui.act([] { Form1->Choose(fixture("measured/mol.or.bil")); }); }
  PlotControls controls() { return ReadPlotControls(*Form1); }
  PlotScript build(Picture picture, const PlotControls& c) {
    return BuildOrdScript(picture, ui.store(), c, "o.plt");
  }
};
}  // namespace

TEST(OrdPlotScript, OneComputedCurve) {
  OrdPage page;
  PlotControls c = page.controls();
  PlotScript script = page.build(Picture::Eps, c);
  EXPECT_EQ(lineStarting(script.lines, "set yrange"), "set yrange [-275.00:275.00]");
  EXPECT_EQ(plotLines(script), std::vector<std::string>{
      R"(plot 'o-1.xy' using ($1+(0)):($2*1.0) title '{/Arial=18 mol' with points ls 1 pt 13)"});
  ASSERT_EQ(dataFileNames(script), std::vector<std::string>{"o-1.xy"});
  EXPECT_EQ(script.dataFiles[0].lines, (std::vector<std::string>{"589\t120.000000", "436\t250.000000"}));
  // A point on the window's bound is never the maximum; point 1 starts,
  // wherever it lies.
  c.Edit21 = "436";
  EXPECT_EQ(lineStarting(page.build(Picture::Eps, c).lines, "set yrange"), "set yrange [-132.00:132.00]");
  c.Edit21 = "600";
  c.CheckBox13 = true;  // "connect points"
  EXPECT_TRUE(endsWith(plotLines(page.build(Picture::Eps, c))[0], "with linespoints ls 1 "));
  EXPECT_TRUE(endsWith(plotLines(page.build(Picture::Png, c))[0], "title '{/Arial=14 mol}' with linespoints ls 1 pt 13"));
}

TEST(OrdPlotScript, MeasuredCurveTwoSetsTheHeight) {
  OrdPage page;
  page.ui.act([] { Form1->ORDXY(fixture("plots/sample.or.exp.xy"), 2); });
  PlotControls c = page.controls();
  const double measured = OrdWindowMaximum(page.ui.store(), 2, 150, 600);
  PlotScript script = page.build(Picture::Eps, c);
  EXPECT_EQ(lineStarting(script.lines, "set yrange"), "set yrange [" + SymmetricRangeText(measured) + "]");
  std::vector<std::string> plot = plotLines(script);
  ASSERT_EQ(plot.size(), 2u);
  EXPECT_NE(plot[0].find("($2*" + FloatToStr(measured / 275) + ")"), std::string::npos) << plot[0];
  EXPECT_EQ(plot[1], R"(     'o-2.xy' using ($1+(0)):($2) title '{/Arial=18 sample' with lines ls 2)");
  EXPECT_EQ(plotLines(page.build(Picture::Png, c))[1],
            R"(     'o-2.xy' using ($1+(0)):($2) title '{/Arial=14 sample' with lines ls 2)");
  // A curve 1 of zeros keeps its own height beside it.
  page.ui.store().ORDCALCY(1, 1) = 0;
  page.ui.store().ORDCALCY(2, 1) = 0;
  EXPECT_NE(plotLines(page.build(Picture::Eps, c))[0].find("($2*1.0)"), std::string::npos);
}

TEST(OrdPlotScript, ComputedCurveTwoKeepsTheRangeOfCurveOne) {
  OrdPage page;
  page.ui.act([] { Form1->BilOrdFile(fixture("bil/mol.or.bil"), 2); });
  page.ui.store().ORDCALCY(1, 2) = -900;
  const PlotScript script = page.build(Picture::Eps, page.controls());
  EXPECT_EQ(lineStarting(script.lines, "set yrange"), "set yrange [-275.00:275.00]");
  EXPECT_TRUE(endsWith(plotLines(script)[1], "with points ls 2"));
}

TEST(OrdPlotScript, MirrorImage) {
  OrdPage page;
  PlotControls c = page.controls();
  c.CheckBox12 = true;
  PlotScript script = page.build(Picture::Eps, c);
  std::vector<std::string> plot = plotLines(script);
  ASSERT_EQ(plot.size(), 2u);
  EXPECT_TRUE(endsWith(plot[0], " ,\\"));
  EXPECT_EQ(plot[1], R"(     'o-2.xy' using ($1+(0)):($2*1.0) title '{/Arial=18 (-)mol' with points ls 6)");
  ASSERT_EQ(dataFileNames(script), (std::vector<std::string>{"o-1.xy", "o-2.xy"}));
  EXPECT_EQ(script.dataFiles[1].lines[0], "589\t-120.000000");
  c.CheckBox11 = false;  // the mirror image alone
  plot = plotLines(page.build(Picture::Png, c));
  ASSERT_EQ(plot.size(), 1u);
  EXPECT_EQ(plot[0], R"(plot 'o-2.xy' using ($1+(0)):($2*1.0) title '{/Arial=14 (-)mol}' with points ls 6 pt 13)");
}

TEST(OrdPlotScript, WavenumberUnitDrawsAsThePage) {
  OrdPage page;
  PlotControls c = page.controls();
  c.wavenumberUnit = true;
  c.Edit2 = "1.0";
  const PlotScript script = page.build(Picture::Eps, c);
  EXPECT_EQ(lineStarting(script.lines, "set xtics"), "set xtics border nomirror norotate 100,100");
  EXPECT_EQ(lineStarting(script.lines, "set label \"curve"), R"(set label "curve 1 = 0 nm" at graph 1.1,0.33)");
  EXPECT_NE(plotLines(script)[0].find("using ($1+(0))"), std::string::npos);
}

TEST(OrdPlotScript, SameShortNamesGetTheirOwnDataFiles) {
  OrdPage page;
  page.ui.act([] { Form1->ORDXY(fixture("plots/sample.or.exp.xy"), 2); });
  page.ui.store().ORDTITLE[1] = "conf1.cd.bil";
  page.ui.store().ORDTITLE[2] = "conf1.cd.exp.xy";
  const PlotScript script = page.build(Picture::Png, page.controls());
  EXPECT_EQ(dataFileNames(script), (std::vector<std::string>{"o-1.xy", "o-2.xy"}));
  EXPECT_EQ(plotLines(script)[1].substr(0, 14), "     'o-2.xy' ");
}

// ---- The head -------------------------------------------------------------------------

TEST(PlotHead, XTicsFollowTheShownWindow) {
  struct Case {
    bool wavenumber;
    const char *low, *high, *tics;
  };
  const std::vector<Case> cases = {
      {false, "200", "589", " 100,50"},       {false, "200", "590", " 100,100"},
      {true, "50000", "30001", " 5000,5000"}, {true, "50000", "30000", " 10000,10000"},
  };
  UvEcdPage page;
  for (const Case& k : cases) {
    PlotControls c = page.controls();
    c.wavenumberUnit = k.wavenumber;
    (k.wavenumber ? c.Edit35 : c.Edit4) = k.low;
    (k.wavenumber ? c.Edit36 : c.Edit5) = k.high;
    if (k.wavenumber) c.Edit2 = "1.0";
    for (UvEcdPlot plot : {UvEcdPlot::EcdEps, UvEcdPlot::EcdPng})
      EXPECT_EQ(lineStarting(page.build(plot, c).lines, "set xtics"),
                std::string("set xtics border nomirror norotate") + k.tics)
          << k.low << ":" << k.high;
    c.uv.CheckBox7 = true;  // "convert to eV": gnuplot chooses, for every kind
    EXPECT_EQ(lineStarting(page.build(UvEcdPlot::EcdEps, c).lines, "set xtics"),
              "set xtics border nomirror norotate");
  }
}

TEST(PlotHead, CorrectionLabels) {
  UvEcdPage page;
  page.addComputed(2, 1);
  PlotControls c = page.controls();
  c.wavenumberUnit = true;
  c.Edit2 = "1.0";
  c.Edit12 = "1.02";
  PlotScript script = page.build(UvEcdPlot::EcdEps, c);
  EXPECT_EQ(lineStarting(script.lines, "set label \"scale"), R"(set label "scale:" at graph 1.1,0.4)");
  EXPECT_EQ(lineStarting(script.lines, "set label \"curve"), R"(set label "curve 2 = 1.02" at graph 1.1,0.26)");
  c.Edit2 = "1.02";
  script = page.build(UvEcdPlot::EcdPng, c);
  EXPECT_EQ(lineStarting(script.lines, "set label \"{/Arial=14 curve"),
            R"(set label "{/Arial=14 curve 1 = 1.02" at graph 1.1,0.35)");
  c.wavenumberUnit = false;
  c.Edit2 = "-4";
  c.Edit12 = "0";
  script = page.build(UvEcdPlot::EcdEps, c);
  EXPECT_EQ(lineStarting(script.lines, "set label \"curve"), R"(set label "curve 1 = -4 nm" at graph 1.1,0.33)");
  c.cd.CheckBox4 = true;  // "no band width and shift"
  EXPECT_EQ(lineStarting(page.build(UvEcdPlot::EcdEps, c).lines, "set label"), "");
}

TEST(PlotHead, SecondAxisRanges) {
  UvEcdPage page;
  page.addMeasured(2, 5);
  page.maxima()[1] = 20;
  PlotControls c = page.controls();
  c.cd.CheckBox2 = true;
  PlotScript script = page.build(UvEcdPlot::EcdEps, c);
  EXPECT_EQ(lineStarting(script.lines, "set y2range"), "set y2range [-22.00:22.00]");
  EXPECT_EQ(lineStarting(script.lines, "set y2tics"), "set y2tics border nomirror norotate 11");
  EXPECT_EQ(lineStarting(script.lines, "set yrange"), "set yrange [-5.50:5.50]");
  EXPECT_EQ(lineStarting(script.lines, "set y2label"), R"(set y2label "CD [mdeg]-calc " font "Arial, 36")");
  c.cd.CheckBox3 = true;  // the user's ranges
  c.cd.Edit7 = "[-10:10]";
  c.cd.Edit8 = "[-4:8]";
  script = page.build(UvEcdPlot::EcdEps, c);
  EXPECT_EQ(lineStarting(script.lines, "set y2range"), "set y2range [-4:8]");
  EXPECT_EQ(lineStarting(script.lines, "set y2tics"), "set y2tics border nomirror norotate 4");
  // The bars on the second axis, in the wavenumber unit too.
  c.cd.CheckBox3 = false;
  c.CheckBox1 = true;
  c.wavenumberUnit = true;
  c.Edit2 = "1.0";
  script = page.build(UvEcdPlot::EcdEps, c);
  EXPECT_EQ(lineStarting(script.lines, "set y2range"), "set y2range [-27.50:27.50]");
  EXPECT_EQ(plotLines(script)[1],
            R"(     'p-2.xy' using ($1*(1.0)):($2) title '{/Arial=18 bar-conf1' with imp ls 2 axis x1y2 ,\)");
}

// ---- The settings openers ---------------------------------------------------------------

TEST(SettingsOpeners, CdRangeFollowsTheTwoCurveFactor) {
  for (long other : {2L, 3L}) {
    UvEcdPage page;
    page.addMeasured(other, 5);
    page.maxima()[1] = 20;
    page.ui.click(Form1->Button4);
    EXPECT_EQ(Form10->Edit7->Text(), "[-5.50:5.50]");
    EXPECT_EQ(Form10->Edit2->Text(), "conf1.cd.bil");
    EXPECT_EQ(Form10->Edit2->Text(), "conf1.cd.bil");
  }
  // A curve 1 of height 0 leaves the factors and the opener sound.
  UvEcdPage flat;
  flat.addMeasured(2, 5);
  flat.maxima()[1] = 0;
  flat.ui.click(Form1->Button4);
  EXPECT_EQ(Form10->Edit7->Text(), "[0.00:0.00]");
  EXPECT_TRUE(flat.ui.errorBoxes().empty());
  // The user's ranges: the titles only.
  UvEcdPage user;
  Form10->CheckBox3->SetChecked(true);
  Form10->Edit7->SetText("[-3:3]");
  user.ui.click(Form1->Button4);
  EXPECT_EQ(Form10->Edit7->Text(), "[-3:3]");
  EXPECT_EQ(Form10->Edit2->Text(), "conf1.cd.bil");
}

TEST(SettingsOpeners, UvVcdAndIrWindows) {
  UvEcdPage page(false);
  page.addMeasured(2, 2);
  page.maxima()[1] = 4;
  page.ui.click(Form1->Button6);
  EXPECT_EQ(Form11->Edit7->Text(), "[0:2.20]");
  EXPECT_EQ(Form11->Edit3->Text(), "film2.cd.exp.xy");
  Session ui;
  ui.act([] { Form1->Choose(fixture("measured/mol.vc.bil")); });
  ui.store().VCDMAX[1] = 0.01;
  ui.store().VCDFACTOR[1] = 2;
  ui.click(Form1->Button16);
  EXPECT_EQ(Form13->Edit7->Text(), "[-2.2E-2:2.2E-2]");
  EXPECT_EQ(Form13->Edit2->Text(), "mol.vc.bil");
  ui.act([] { Form1->Choose(fixture("measured/mol.ir.bil")); });
  ui.store().IRMAX[1] = 120;
  ui.click(Form1->Button19);
  EXPECT_EQ(Form15->Edit7->Text(), "[0:1.3E+2]");
  EXPECT_EQ(Form15->Edit2->Text(), "mol.ir.bil");
}

TEST(PlotHead, MainWindowWritersFillTheLineBuffer) {
  UvEcdPage page;
  page.ui.act([] {
    Form1->FirstCurveEPS("CD", "# CD plots", "150:600", "-2.20:2.20", "1", "conf1", "x", "1", "1.0000",
                         /*MULTIPLOT*/ true, /*SIGMA*/ false);
  });
  const std::vector<std::string>& lines = Form1->Memo2->Lines();
  EXPECT_EQ(lines.front(), "# CD plots");
  EXPECT_EQ(lineStarting(lines, "set out"), "set out 'x.eps'");
  EXPECT_EQ(lines.back(), R"(plot 'conf1.xy' using ($1+(0)):($2*1.0000) title '{/Arial=18 conf1' with lines ls 1 ,\)");
  // The PNG writer adds to what the exporter put there.
  page.ui.act([] {
    Form1->Memo2->Clear();
    Form1->Memo2->Add("kept");
    Form1->FirstCurvePNG("ORD", "# ORD plots", "150:600", "-1:1", "", "mol", "x", "1", "1.0",
                         false, false);
  });
  EXPECT_EQ(Form1->Memo2->Lines().front(), "kept");
  EXPECT_EQ(lineStarting(Form1->Memo2->Lines(), "set ytics"), "set ytics border nomirror norotate");
}
