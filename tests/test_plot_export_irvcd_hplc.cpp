// The script builders of the IR/VCD and HPLC plots: panels and overlays, the
// mirror image, band-width labels, data files, the flagged HPLC traces and
// their ranges, and the HPLC save flow.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plot_export_test_support.h"
#include "platform/numbers.h"

namespace {

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::vector<std::string> linesStarting(const std::vector<std::string>& lines, const std::string& start) {
  std::vector<std::string> found;
  for (const std::string& line : lines)
    if (line.rfind(start, 0) == 0) found.push_back(line);
  return found;
}

bool holds(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::vector<std::string> dataFileNames(const PlotScript& script) {
  std::vector<std::string> names;
  for (const DataFile& file : script.dataFiles) names.push_back(file.name);
  return names;
}

PlotScript buildVcd(Session& ui, const PlotControls& c) {
  return BuildIrVcdScript(IrVcdPlot::Vcd, ui.store(), c, "v.plt");
}

}  // namespace

// ---- VCD and IR ------------------------------------------------------------------------

TEST(IrVcdPlotScript, OneComputedCurveIsOnePanel) {
  Session ui;
  ui.act([] { Form1->Choose(fixture("plots/conf1.vc.bil")); });
  ui.store().VCDMAX[1] = 112.2;
  ui.store().VCDFACTOR[1] = 0.5;
  ui.store().VCD(1000, 3, 1) = 0.0123456;
  PlotControls c = ReadPlotControls(*Form1);
  PlotScript script = buildVcd(ui, c);
  EXPECT_TRUE(linesStarting(script.lines, "set multiplot").empty());
  EXPECT_TRUE(holds(script.lines, "set bmargin 4"));
  EXPECT_TRUE(holds(script.lines, "set yrange [-1.2E+2:1.2E+2]"));
  EXPECT_TRUE(holds(script.lines, "set ytics border nomirror norotate 6.2E+1"));
  EXPECT_EQ(script.lines.back(), R"(plot 'v-1.xy' using ($1*1.0):($2) title '{/Arial=14 conf1' with lines ls 1)");
  ASSERT_EQ(script.dataFiles.size(), 1u);
  EXPECT_EQ(script.dataFiles[0].lines.size(), 4001u);
  EXPECT_EQ(script.dataFiles[0].lines[1000], "1000\t1.2346E-2");
  // Overlay: the same panel, at the height of the largest curve.
  c.vcd.CheckBox1 = true;
  EXPECT_TRUE(holds(buildVcd(ui, c).lines, "set yrange [-6.2E+1:6.2E+1]"));
  // Both dialects draw the axis from high to low without "reverse".
  EXPECT_TRUE(holds(script.lines, "set xrange [2000:500]"));
}

TEST(IrVcdPlotScript, BandWidthLabels) {
  Session ui;
  ui.act([] { Form1->Choose(fixture("plots/conf1.vc.bil")); });
  PlotControls c = ReadPlotControls(*Form1);
  struct Case {
    const char *factor, *label;
  };
  for (const Case& k : std::vector<Case>{
           {"1.0", R"(set label "{/Arial=14{/Symbol g} =4 cm^{-1}" at graph 1,1 offset character 1,-2.25)"},
           {"1.00", R"(set label "{/Arial=14{/Symbol g} =4 cm^{-1}; scaling = 1.00" at graph 1,1 offset character 1,-2.25)"},
           {"0.98", R"(set label "{/Arial=14{/Symbol g} =4 cm^{-1}; scaling = 0.98" at graph 1,1 offset character 1,-2.25)"}}) {
    c.Edit26 = k.factor;
    EXPECT_EQ(linesStarting(buildVcd(ui, c).lines, "set label"), std::vector<std::string>{k.label});
  }
  c.vcd.CheckBox4 = true;  // "no gamma and scaling"
  EXPECT_TRUE(linesStarting(buildVcd(ui, c).lines, "set label").empty());
  // IR curve 1's label stands in the same place, beside the key.
  Session ir;
  ir.act([] { Form1->Choose(fixture("plots/conf1.ir.bil")); });
  EXPECT_EQ(linesStarting(BuildIrVcdScript(IrVcdPlot::Ir, ir.store(), ReadPlotControls(*Form1), "i.plt").lines,
                          "set label"),
            std::vector<std::string>{R"(set label "{/Arial=14{/Symbol g} =4 cm^{-1}" at graph 1,1 offset character 1,-2.25)"});
}

TEST(IrVcdPlotScript, OverlayOfSlotsOneTwoAndFour) {
  Session ui;
  loadIrVcdPage(ui, true, 4);
  PlotControls c = ReadPlotControls(*Form1);
  c.vcd.CheckBox1 = true;
  const PlotScript script = buildVcd(ui, c);
  EXPECT_TRUE(linesStarting(script.lines, "set multiplot").empty());
  const std::vector<std::string> tail(script.lines.end() - 3, script.lines.end());
  EXPECT_EQ(tail[0].substr(0, 13), "plot 'v-1.xy'");
  EXPECT_TRUE(endsWith(tail[0], " ,\\"));
  EXPECT_EQ(tail[1].substr(0, 10), " 'v-2.xy' ");
  EXPECT_NE(tail[1].find(":($2*" + FloatToStr(ui.store().VCDFACTOR[2]) + ")"), std::string::npos) << tail[1];
  EXPECT_TRUE(endsWith(tail[2], "with lines ls 4"));
  // No band-width label for the further curves of an overlay.
  EXPECT_EQ(linesStarting(script.lines, "set label").size(), 1u);
  c.CheckBox18 = false;  // "auto scaling (y)"
  for (const std::string& line : linesStarting(buildVcd(ui, c).lines, " \""))
    EXPECT_NE(line.find(":($2*1.0)"), std::string::npos) << line;
}

TEST(IrVcdPlotScript, MeasuredCurveKeepsItsPointsAndHasNoLabel) {
  Session ui;
  loadIrVcdPage(ui, true, 0);
  const PlotScript script = buildVcd(ui, ReadPlotControls(*Form1));
  EXPECT_TRUE(holds(script.lines, R"(plot 'v-2.xy' using ($1*1.0):($2) title '{/Arial=14 film' with lines ls 2)"));
  ASSERT_EQ(dataFileNames(script), (std::vector<std::string>{"v-1.xy", "v-2.xy"}));
  const std::vector<std::string>& points = script.dataFiles[1].lines;
  EXPECT_EQ(points.front().substr(0, 5), "2000\t");
  EXPECT_EQ(points.back().substr(0, 4), "800\t");
}

TEST(IrVcdPlotScript, MirrorImage) {
  Session ui;
  ui.act([] { Form1->Choose(fixture("plots/conf1.vc.bil")); });
  ui.tick(Form1->CheckBox9);
  PlotScript script = buildVcd(ui, ReadPlotControls(*Form1));
  EXPECT_EQ(script.lines.back(),
            R"(plot 'v-2.xy' using ($1*1.0):($2) title '{/Arial=14 (-)conf1' with lines ls 6)");
  EXPECT_EQ(linesStarting(script.lines, "set label").size(), 1u);
  ASSERT_EQ(dataFileNames(script), (std::vector<std::string>{"v-1.xy", "v-2.xy"}));
  EXPECT_EQ(script.dataFiles[1].lines[1460], "1460\t" + FloatToStrE(-ui.store().VCD(1460, 3, 1), 5));
  // Several curves stacked: the first panel holds the mirror image alone.
  ui.act([] { Form1->VCDXY(fixture("plots/film.vc.exp.xy"), 2); });
  script = buildVcd(ui, ReadPlotControls(*Form1));
  // (The one label is the stack's y label.)
  EXPECT_EQ(linesStarting(script.lines, "set label").size(), 1u);
  EXPECT_EQ(linesStarting(script.lines, "set label").front().substr(0, 19), "set label \"{/Symbol");
  EXPECT_EQ(linesStarting(script.lines, "plot ").front().substr(0, 14), "plot 'v-2.xy' ");
  // A measured curve 1 gets a mirror file of its negated points.
  Session measured;
  measured.act([] { Form1->Choose(fixture("plots/film.vc.exp.xy")); });
  PlotControls c = ReadPlotControls(*Form1);
  c.CheckBox6 = false;
  c.CheckBox9 = true;
  script = buildVcd(measured, c);
  ASSERT_EQ(dataFileNames(script), (std::vector<std::string>{"v-1.xy", "v-2.xy"}));
  EXPECT_EQ(script.dataFiles[1].lines[0], "2000\t" + FloatToStrE(-measured.store().EXPVCDY(1, 1), 5));
}

TEST(IrVcdPlotScript, ZeroCurveAloneAndStacked) {
  Session ui;
  loadIrVcdPage(ui, true, 0);
  ui.store().VCDMAX[1] = 0;
  PlotControls c = ReadPlotControls(*Form1);
  PlotScript script = buildVcd(ui, c);
  EXPECT_EQ(linesStarting(script.lines, "set yrange").front(), "set yrange [-1.0E+0:1.0E+0]");
  EXPECT_EQ(linesStarting(script.lines, "set ytics").front(), "set ytics border nomirror norotate");
  Session alone;
  alone.act([] { Form1->Choose(fixture("plots/conf1.vc.bil")); });
  alone.store().VCDMAX[1] = 0;
  script = buildVcd(alone, ReadPlotControls(*Form1));
  EXPECT_TRUE(holds(script.lines, "set yrange [-1.0E+0:1.0E+0]"));
  EXPECT_EQ(IrVcdRangeText(IrVcdPlot::Ir, 0), "-1.0E+0:1.0E+0");
  EXPECT_EQ(IrVcdRangeText(IrVcdPlot::Ir, 123), "0:1.2E+2");
}

TEST(IrVcdPlotScript, IrUnticked) {
  // One IR curve: nothing to draw, so the plot is cancelled before the dialog.
  Session ui;
  ui.act([] { Form1->Choose(fixture("plots/conf1.ir.bil")); });
  ui.untick(Form1->CheckBox19);
  ui.clearBoxes();
  ui.click(Form1->Button20);
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{"Plotting canceled!"});
  EXPECT_TRUE(ui.dialogs().empty());
  // Several curves overlaid: the first overlay line written takes "plot".
  Session several;
  loadIrVcdPage(several, false, 3);
  PlotControls c = ReadPlotControls(*Form1);
  c.CheckBox19 = false;
  c.ir.CheckBox1 = true;
  const PlotScript script = BuildIrVcdScript(IrVcdPlot::Ir, several.store(), c, "i.plt");
  const std::vector<std::string> plot = linesStarting(script.lines, "plot ");
  ASSERT_EQ(plot.size(), 1u);
  EXPECT_EQ(plot[0].substr(0, 13), "plot 'i-2.xy'");
  EXPECT_TRUE(endsWith(script.lines.back(), "with lines ls 3"));
  EXPECT_EQ(dataFileNames(script).front(), "i-1.xy");
}

TEST(IrVcdPlotScript, ButtonsRecomputeTheRangesOnEveryPath) {
  Session ui;
  loadIrVcdPage(ui, true, 0);
  ui.store().VCDTITLE[2] = "conf1.vc.exp.xy";
  ui.store().VCDFACTOR[1] = 9;
  ui.clearBoxes();
  ui.click(Form1->Button17);
  EXPECT_EQ(boxTexts(ui), (std::vector<std::string>{
                              IdenticalCurveNamesText,
                              "Plotting canceled!"}));
  EXPECT_NE(ui.store().VCDFACTOR[1], 9);
}

// ---- HPLC ----------------------------------------------------------------------------------

TEST(HplcPlotScript, SignalRangesNeverCutIntoTheTrace) {
  struct Case {
    double lowest, highest;
    const char* range;
  };
  for (const Case& k : std::vector<Case>{{5, 125, "4:138"},        // +5 mV baseline
                                         {-0.4, 0.4, "-0.44:0.44"},  // a CD trace within 0.4 mdeg
                                         {0, 0.003, "0:0.0033"},   // and one within 0.003 mdeg
                                         {0, 1.3, "0:1.43"},       // a 1.3 mdeg peak
                                         {-0.4, 10, "-0.44:11"},
                                         {-20, 30, "-22:33"},
                                         {0, 0, "-1:1"}})
    EXPECT_EQ(HplcSignalRange(k.lowest, k.highest), k.range) << k.lowest << " " << k.highest;
  EXPECT_EQ(HplcHeightRange(125), "-1:138");
  EXPECT_EQ(HplcHeightRange(-1), "-2:0");
  EXPECT_EQ(HplcHeightRange(0.003), "-0.0003:0.0033");  // the floor shrinks with a low band
}

TEST(HplcPlotScript, OneTrace) {
  Session ui;
  loadHplcTraces(ui, 1);
  const PlotControls c = ReadPlotControls(*Form1);
  PlotScript script = BuildHplc2DScript(HplcDetector::UV, ui.store(), c, "h.plt");
  EXPECT_EQ(script.lines.back(), R"(plot 'h-1.xy' using 1:($2*1.0000) title 'run1.cuv' with lines ls 1)");
  ASSERT_EQ(dataFileNames(script), std::vector<std::string>{"h-1.xy"});
  EXPECT_EQ(script.dataFiles[0].lines[1], "0.1\t" + FloatToStrF(ui.store().HPLCY(2, 1), 6));
  script = BuildHplc3DScript(ui.store(), c, "h.plt");
  EXPECT_TRUE(linesStarting(script.lines, "set xrange").empty());
  EXPECT_EQ(linesStarting(script.lines, "splot").size(), 1u);
  EXPECT_EQ(script.lines.back(), R"(      'h-1.xyz' using 1:2:($3*1.0000) notitle with lines ls 1)");
  ASSERT_EQ(dataFileNames(script), std::vector<std::string>{"h-1.xyz"});
  for (const std::string& line : script.dataFiles[0].lines) EXPECT_EQ(line.substr(0, 2), "4\t");
  // Without "auto scaling" every trace is multiplied by 1.0.
  ui.untick(Form1->CheckBox4);
  EXPECT_NE(BuildHplc2DScript(HplcDetector::UV, ui.store(), ReadPlotControls(*Form1), "h.plt").lines.back().find(
                "($2*1.0)"),
            std::string::npos);
}

TEST(HplcPlotScript, MixedDetectorsByRank) {
  Session ui;
  ui.act([&] {
    Form1->HPLCUV(fixture("plots/peaks.cuv"), 1);
    Form1->HPLCCD(fixture("plots/peaks.ccd"), 2);
    Form1->HPLCUV(fixture("plots/peaks.cuv"), 3);
    ui.store().HPLCTITLE[3] = "second.cuv";
  });
  const PlotControls c = ReadPlotControls(*Form1);
  PlotScript uv = BuildHplc2DScript(HplcDetector::UV, ui.store(), c, "h.plt");
  std::vector<std::string> tail(uv.lines.end() - 2, uv.lines.end());
  EXPECT_EQ(tail[0], R"(plot 'h-1.xy' using 1:($2*1.0000) title 'peaks.cuv' with lines ls 1 ,\)");
  EXPECT_EQ(tail[1], R"(      'h-2.xy' using 1:($2*1.0000) title 'second.cuv' with lines ls 2)");
  EXPECT_EQ(dataFileNames(uv), (std::vector<std::string>{"h-1.xy", "h-2.xy"}));
  PlotScript cd = BuildHplc2DScript(HplcDetector::CD, ui.store(), c, "c.plt");
  EXPECT_TRUE(holds(cd.lines, R"(set ylabel "CD [mdeg]" font "Arial, 20")"));
  EXPECT_EQ(dataFileNames(cd), std::vector<std::string>{"c-1.xy"});
  PlotScript three = BuildHplc3DScript(ui.store(), c, "t.plt");
  EXPECT_TRUE(holds(three.lines, "set xrange [3:4.5]"));
  ASSERT_EQ(three.dataFiles.size(), 2u);
  EXPECT_EQ(three.dataFiles[0].lines[0].substr(0, 2), "4\t");
  EXPECT_EQ(three.dataFiles[1].lines[0].substr(0, 2), "3\t");
}

TEST(HplcPlotScript, TracesWhoseTitlesShrinkAlike) {
  Session ui;
  loadHplcTraces(ui, 2);
  ui.store().HPLCTITLE[1] = "run 1.cuv";
  ui.store().HPLCTITLE[2] = "run_1.cuv";
  const PlotScript script = BuildHplc2DScript(HplcDetector::UV, ui.store(), ReadPlotControls(*Form1), "h.plt");
  EXPECT_EQ(dataFileNames(script), (std::vector<std::string>{"h-1.xy", "h-2.xy"}));
}

TEST(HplcPlotScript, SaveFlowMessagesAndPasses) {
  Session ui;
  TempFolder out;
  ui.act([&] {
    Form1->HPLCUV(fixture("plots/peaks.cuv"), 1);
    Form1->HPLCCD(fixture("plots/peaks.ccd"), 2);
  });
  Form2->Edit1->SetText(out.path());  // no gnuplot there
  ui.clearBoxes();
  // Both passes cancelled: one message each, nothing written.
  ui.willCancel();
  ui.willCancel();
  ui.click(Form1->Button3);
  EXPECT_EQ(boxTexts(ui), (std::vector<std::string>{"File not saved", "File not saved"}));
  // A refused overwrite says so once.
  writeTextFile(out.file("h.plt"), "old");
  ui.clearBoxes();
  ui.willChooseFile(out.file("h.plt"));
  ui.willAnswer(Answer::No);
  ui.act([] { Form1->Button15Click(); });  // the page disables the button beside a CD trace
  ASSERT_EQ(ui.boxes().size(), 3u);  // the CD trace left out, the question, the refusal
  EXPECT_EQ(ui.boxes()[2].text, "File not saved!");
  EXPECT_EQ(readTextFile(out.file("h.plt")), "old");
  // Slot 1 with a CD trace: the 3D plot draws nothing and says so.
  Session cd;
  cd.act([] { Form1->HPLCCD(fixture("plots/peaks.ccd"), 1); });
  cd.clearBoxes();
  cd.act([] { Form1->Button15Click(); });
  EXPECT_EQ(cd.boxes().size(), 1u);
  EXPECT_TRUE(cd.dialogs().empty());
}

// "plot 3D eps" draws the UV traces beside a UV slot 1 and nothing else; one
// message before the dialog names each trace it leaves out, its detector and
// its slot. What it draws stays as it was.
TEST(HplcPlotScript, ThreeDimensionalPlotSaysWhatItLeavesOut) {
  struct Case {
    const char* name;
    std::vector<std::pair<bool, const char*>> traces;  // UV or CD, file, for slots 1, 2, ...
    const char* leftOut;                              // "" when all are drawn
    bool written;
  };
  const std::vector<Case> cases = {
      {"UV traces alone", {{true, "plots/peaks.cuv"}, {true, "measured/tab.cuv"}}, "", true},
      {"a CD trace beside UV ones",
       {{true, "plots/peaks.cuv"}, {false, "plots/peaks.ccd"}, {true, "measured/tab.cuv"}},
       "\"peaks.ccd\" (CD, slot 2)", true},
      {"CD traces only", {{false, "plots/peaks.ccd"}, {false, "measured/trace.ccd"}},
       "\"peaks.ccd\" (CD, slot 1), \"trace.ccd\" (CD, slot 2)", false},
      {"a UV trace beside a CD slot 1", {{false, "plots/peaks.ccd"}, {true, "plots/peaks.cuv"}},
       "\"peaks.ccd\" (CD, slot 1), \"peaks.cuv\" (UV, slot 2)", false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Session ui;
    TempFolder out;
    ui.act([&] {
      for (size_t i = 0; i < k.traces.size(); ++i) {
        const int slot = static_cast<int>(i) + 1;
        if (k.traces[i].first) Form1->HPLCUV(fixture(k.traces[i].second), slot);
        else Form1->HPLCCD(fixture(k.traces[i].second), slot);
      }
    });
    ui.clearBoxes();
    if (k.written) ui.willChooseFile(out.file("bands.plt"));
    ui.act([] { Form1->Button15Click(); });
    std::vector<std::string> expected;
    if (*k.leftOut != '\0') expected.push_back(std::string(Hplc3DLeftOutPrefix) + k.leftOut);
    std::vector<std::string> shown = boxTexts(ui);
    if (k.written) {
      ASSERT_GT(shown.size(), expected.size());
      EXPECT_EQ(shown[expected.size()], "File saved!");
      shown.resize(expected.size());
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(FileExists(out.file("bands.plt")), k.written);
  }
}

TEST(HplcPlotScript, MainWindowHeadWriters) {
  Session ui;
  loadHplcTraces(ui, 2);
  ui.act([] { Form1->HPLC3DEPS("UV", "# HPLC chromatograms", "0:20", "-1:138", "run1.cuv", "x", "1.0000", true); });
  const std::vector<std::string>& lines = Form1->Memo2->Lines();
  EXPECT_TRUE(holds(lines, "set xrange [3:4.5]"));
  EXPECT_TRUE(endsWith(lines.back(), "notitle with lines ls 1 ,\\"));
  ui.act([] { Form1->HPLC3DEPS("CD", "# HPLC chromatograms", "0:20", "-1:2", "run1.cuv", "x", "1.0000", false); });
  EXPECT_TRUE(linesStarting(Form1->Memo2->Lines(), "set xrange").empty());  // no CD traces
  ui.act([] { Form1->HPLC2DEPS("CD", "# HPLC chromatograms", "0:20", "-1:2", "p", "x", "1.0", false); });
  EXPECT_EQ(Form1->Memo2->Lines().back(), R"(plot 'p.xy' using 1:($2*1.0) title 'p' with lines ls 1)");
  // The key that follows holds the other UV traces too: the margin is sized
  // for "run2.cuv", not for the first title alone.
  ui.act([] { Form1->HPLC2DEPS("UV", "# HPLC chromatograms", "0:20", "4:138", "p", "x", "1.0", true); });
  EXPECT_TRUE(holds(Form1->Memo2->Lines(), "set rmargin 13"));
  EXPECT_TRUE(holds(Form1->Memo2->Lines(), R"(set term post "Arial" 20 size 5.67,3.50)"));
}
