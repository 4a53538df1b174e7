// Real renders: every golden page and a table of options, written as the
// program writes them and rendered by the installed gnuplot.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "gnuplot_render_check.h"
#include "plot_export_test_support.h"
#include "plots/cdplotting.h"
#include "plots/irplotting.h"
#include "plots/uvplotting.h"
#include "plots/vcdplotting.h"
#include "settings/settings.h"

TEST(GnuplotRender, EveryGoldenPageInBothDialects) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  for (bool gnuplot5 : {false, true}) {
    for (const GoldenPage& page : goldenPages()) {
      SCOPED_TRACE(std::string(page.name) + (gnuplot5 ? " gnuplot 5" : " gnuplot 4"));
      Session ui;
      prepareGoldenPage(ui, page.button, gnuplot5);
      TempFolder folder;
      const std::string scriptName = std::string(page.name) + ".plt";
      writePlot(folder.path(), scriptName, buildPlot(ui, page.button, scriptName));
      expectRendered(folder.path(), scriptName, isPngButton(page.button) ? ".png" : ".eps");
    }
  }
}

TEST(GnuplotRender, EveryIrVcdAndHplcGoldenInBothDialects) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  for (bool gnuplot5 : {false, true}) {
    for (const GoldenPage2& page : goldenPages2()) {
      SCOPED_TRACE(std::string(page.name) + (gnuplot5 ? " gnuplot 5" : " gnuplot 4"));
      Session ui;
      prepareGoldenPage2(ui, page.name, gnuplot5);
      TempFolder folder;
      const std::string scriptName = std::string(page.name) + ".plt";
      writePlot(folder.path(), scriptName, buildPlot(ui, page.button, scriptName));
      expectRendered(folder.path(), scriptName, ".eps");
    }
  }
}

// ---- The save flow and the run of gnuplot, as a person meets them ----------------------

TEST(PlotSaveFlow, DialogPresetFromTheCaption) {
  struct Case {
    const char *caption, *preset;
  };
  for (const Case& k : std::vector<Case>{{"abc", "abc"}, {"abcd", ""}, {"C:\\data\\mol7.cd.bil", "mol7.cd"}}) {
    Session ui;
    loadEcdPair(ui);
    Form1->SetCaption(k.caption);
    ui.willCancel();
    ui.click(Form1->Button1);
    ASSERT_FALSE(ui.dialogs().empty());
    EXPECT_EQ(ui.dialogs().back().name, "SaveDialog5");
    EXPECT_EQ(ui.dialogs().back().presetFileName, k.preset) << k.caption;
  }
}

TEST(PlotSaveFlow, CancelRefusalAndTheEndingOfTheScript) {
  Session ui;
  FakeGnuplot gnuplot(WritesPicture);
  TempFolder out;
  ui.act([] { Form1->Choose(fixture("plots/conf1.cd.bil")); });
  ui.clearBoxes();

  // Cancelled: no box, nothing written, and the page's factors recomputed.
  ui.store().CDFACTOR[1] = 7;
  ui.willCancel();
  ui.click(Form1->Button1);
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_EQ(ui.store().CDFACTOR[1], 1.0);

  // A name without ".plt" gets it; the picture lies beside the script.
  ui.willChooseFile(out.file("mol7.cd"));
  ui.click(Form1->Button1);
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{"File saved!"});
  EXPECT_TRUE(FileExists(out.file("mol7.cd.plt")));
  EXPECT_TRUE(FileExists(out.file("mol7.cd-1.xy")));
  EXPECT_EQ(readTextFile(out.file("mol7.cd.eps")), "picture\n");
  EXPECT_EQ(lineStarting(ReadLines(out.file("mol7.cd.plt")), "set out"), "set out 'mol7.cd.eps'");

  // Refused: the old script stays.
  writeTextFile(out.file("mol7.cd.plt"), "old");
  ui.clearBoxes();
  ui.willChooseFile(out.file("mol7.cd.plt"));
  ui.willAnswer(Answer::No);
  ui.click(Form1->Button12);
  ASSERT_EQ(ui.boxes().size(), 3u);
  EXPECT_EQ(ui.boxes()[0].kind, BoxKind::Question);
  EXPECT_EQ(ui.boxes()[0].caption, " ");
  EXPECT_EQ(ui.boxes()[0].text, "Datei \"mol7.cd.plt\" Overwrite File?");
  EXPECT_EQ(ui.boxes()[1].text, "File not saved!");
  EXPECT_EQ(ui.boxes()[2].text, "File not saved");
  EXPECT_EQ(readTextFile(out.file("mol7.cd.plt")), "old");
}

TEST(PlotSaveFlow, CanceledBeforeTheDialog) {
  Session fresh;  // before the first reset every slot is empty
  fresh.click(Form1->Button1);
  fresh.click(Form1->Button14);
  EXPECT_EQ(boxTexts(fresh), (std::vector<std::string>{"Plotting canceled!", "No Spectrum selected"}));
  EXPECT_TRUE(fresh.dialogs().empty());

  Session ui;
  loadEcdPair(ui);
  ui.store().CDTITLE[2] = "conf1.cd.exp.xy";
  ui.clearBoxes();
  ui.click(Form1->Button1);
  EXPECT_EQ(boxTexts(ui), (std::vector<std::string>{
                              IdenticalCurveNamesText,
                              "Plotting canceled!"}));
  // Nothing to draw: one curve, and neither "normal ECD" nor "enantiomeric".
  Session alone;
  alone.act([] { Form1->Choose(fixture("plots/conf1.cd.bil")); });
  alone.untick(Form1->CheckBox3);
  alone.clearBoxes();
  alone.click(Form1->Button1);
  EXPECT_EQ(boxTexts(alone), std::vector<std::string>{"Plotting canceled!"});
  EXPECT_TRUE(alone.dialogs().empty());
  // ORD with neither its curve nor its mirror image ticked, and no curve 2.
  Session ord;
  ord.act([] { Form1->Choose(fixture("measured/mol.or.bil")); });
  ord.untick(Form1->CheckBox11);
  ord.clearBoxes();
  ord.click(Form1->Button11);
  EXPECT_EQ(boxTexts(ord), std::vector<std::string>{"No Spectrum selected"});
}

TEST(GnuplotRun, EachFailureGivesOneBox) {
  struct Case {
    const char* gnuplotBody;
    std::string reason;  // after the script path
  };
  const std::vector<Case> cases = {
      {R"(echo "\"$1\" line 3: unknown font" >&2; exit 1)", "\"p.plt\" line 3: unknown font"},
      {"exit 0", "no picture was written"},
  };
  for (const Case& k : cases) {
    Session ui;
    FakeGnuplot gnuplot(k.gnuplotBody);
    TempFolder out;
    ui.act([] { Form1->Choose(fixture("plots/conf1.cd.bil")); });
    ui.clearBoxes();
    ui.willChooseFile(out.file("p.plt"));
    ui.click(Form1->Button1);
    EXPECT_EQ(boxTexts(ui), (std::vector<std::string>{
                                "File saved!", "gnuplot could not render \"" + out.file("p.plt") +
                                                   "\": " + k.reason}));
  }
}

TEST(GnuplotRun, BrokenScriptOnTheRealGnuplot) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  Session ui;
  TempFolder out;
  ui.act([] { Form1->Choose(fixture("plots/conf1.cd.bil")); });
  // A folder in the place of the picture: gnuplot cannot open its output.
  std::filesystem::create_directories(out.file("b.eps"));
  ui.clearBoxes();
  ui.willChooseFile(out.file("b.plt"));
  ui.click(Form1->Button1);
  ASSERT_EQ(ui.boxes().size(), 2u);
  const std::vector<std::string> script = ReadLines(out.file("b.plt"));
  const auto setOut = std::find_if(script.begin(), script.end(),
                                   [](const std::string& line) { return line.rfind("set out ", 0) == 0; });
  ASSERT_NE(setOut, script.end());
  EXPECT_EQ(ui.boxes()[1].text, "gnuplot could not render \"" + out.file("b.plt") + "\": \"b.plt\" line " +
                                    std::to_string(setOut - script.begin() + 1) +
                                    ": cannot open file; output not changed");
}

TEST(GnuplotRun, NoGnuplotAnywhere) {
  Session ui;
  TempFolder emptyFolder, out;
  Form2->Edit1->SetText(emptyFolder.path());
  ui.act([] { Form1->Choose(fixture("plots/conf1.cd.bil")); });
  ui.clearBoxes();
  const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
  setenv("PATH", emptyFolder.path().c_str(), 1);
  ui.willChooseFile(out.file("p.plt"));
  ui.click(Form1->Button1);
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(boxTexts(ui), (std::vector<std::string>{
                              "File saved!", "gnuplot not found in \"" + emptyFolder.path() +
                                                 "\" or on PATH; \"" + out.file("p.plt") +
                                                 "\" was not rendered"}));
  EXPECT_TRUE(FileExists(out.file("p.plt")));
  EXPECT_TRUE(FileExists(out.file("p-1.xy")));
}

TEST(GnuplotRender, NamesRunNoCommandAndStayInTheFolder) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  Session ui;
  TempFolder out;
  loadEcdPair(ui);
  ui.store().CDTITLE[1] = "`touch${IFS}m`.cd.bil";
  // A title typed in the CD settings window.
  Form10->Edit3->SetText("../film");
  ui.act([] { Form10->Button1Click(); });
  ui.clearBoxes();
  ui.willChooseFile(out.file("p.plt"));
  ui.click(Form1->Button12);
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{"File saved!"});
  EXPECT_TRUE(FileExists(out.file("p.png")));
  // The data files are the script's own, whatever the curves are called.
  EXPECT_TRUE(FileExists(out.file("p-1.xy")));
  EXPECT_TRUE(FileExists(out.file("p-2.xy")));
  EXPECT_FALSE(FileExists(out.file("m")));
  EXPECT_FALSE(FileExists("m"));
}

TEST(GnuplotRender, TableOfOptions) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  struct Option {
    const char* name;
    bool uv;  // the UV page, else the ECD page
    std::function<void(Session&)> set;
  };
  const std::vector<Option> options = {
      {"second axis", false, [](Session&) { Form10->CheckBox2->SetChecked(true); }},
      {"second axis with bars", false,
       [](Session& ui) {
         ui.tick(Form1->CheckBox1);
         Form10->CheckBox2->SetChecked(true);
       }},
      {"UV second axis", true, [](Session&) { Form11->CheckBox2->SetChecked(true); }},
      {"bars", false, [](Session& ui) { ui.tick(Form1->CheckBox1); }},
      {"mirror alone", false,
       [](Session& ui) {
         ui.tick(Form1->CheckBox2);
         ui.untick(Form1->CheckBox3);
       }},
      {"eV", true, [](Session&) { Form11->CheckBox7->SetChecked(true); }},
      {"wavenumber", false, [](Session& ui) { ui.act([] { Form2->RadioButton6->SetChecked(true); }); }},
      {"UV wavenumber with bars", true,
       [](Session& ui) {
         ui.act([] { Form2->RadioButton6->SetChecked(true); });
         ui.tick(Form1->CheckBox1);
       }},
      {"user ranges", false,
       [](Session&) {
         Form10->CheckBox3->SetChecked(true);
         Form10->Edit7->SetText("[-10:10]");
       }},
      {"square off, legend inside, tics inside, zeroline, transparent", false,
       [](Session&) {
         Form10->CheckBox1->SetChecked(false);
         Form10->CheckBox5->SetChecked(true);
         Form10->CheckBox6->SetChecked(true);
         Form10->CheckBox7->SetChecked(true);
         Form10->CheckBox8->SetChecked(true);
       }},
      {"UV square off, legend inside, tics inside, transparent", true,
       [](Session&) {
         Form11->CheckBox1->SetChecked(false);
         Form11->CheckBox5->SetChecked(true);
         Form11->CheckBox6->SetChecked(true);
         Form11->CheckBox8->SetChecked(true);
       }},
      {"a curve of zeros", false, [](Session& ui) { ui.store().CDMAX[1] = 0; }},
  };
  for (const Option& option : options) {
    for (PlotButton button : option.uv ? std::vector{PlotButton::UvEps, PlotButton::UvPng}
                                       : std::vector{PlotButton::EcdEps, PlotButton::EcdPng}) {
      SCOPED_TRACE(std::string(option.name) + (isPngButton(button) ? " png" : " eps"));
      Session ui;
      ui.tick(Form2->CheckBox1);
      option.uv ? loadUvPair(ui) : loadEcdPair(ui);
      option.set(ui);
      TempFolder folder;
      writePlot(folder.path(), "o.plt", buildPlot(ui, button, "o.plt"));
      expectRendered(folder.path(), "o.plt", isPngButton(button) ? ".png" : ".eps");
    }
  }
}

TEST(GnuplotRender, OrdOptions) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  const std::vector<std::function<void(Session&)>> options = {
      [](Session& ui) { ui.tick(Form1->CheckBox13); },  // connect points
      [](Session& ui) {
        ui.tick(Form1->CheckBox12);
        ui.untick(Form1->CheckBox11);
      },
      [](Session& ui) { ui.act([] { Form2->RadioButton6->SetChecked(true); }); },
  };
  for (size_t i = 0; i < options.size(); ++i) {
    for (PlotButton button : {PlotButton::OrdEps, PlotButton::OrdPng}) {
      SCOPED_TRACE(i);
      Session ui;
      ui.act([] { Form1->Choose(fixture("measured/mol.or.bil")); });
      options[i](ui);
      TempFolder folder;
      writePlot(folder.path(), "o.plt", buildPlot(ui, button, "o.plt"));
      expectRendered(folder.path(), "o.plt", isPngButton(button) ? ".png" : ".eps");
    }
  }
}

// As a person: real outputs opened, every UV/ECD and ORD button clicked.
TEST(GnuplotRender, PersonPlotsRealOutputs) {
  const std::string uvEcd = corpus("gaussian/uv_ecd/g09_cclib_dvb_td.out");
  const std::string rotation = corpus("gaussian/ir_vcd/g09_tesliper_fal-freq-roa.out");
  if (uvEcd.empty() || rotation.empty()) GTEST_SKIP() << "no corpus";
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  Session ui;
  TempFolder out;
  ui.willChooseFile(uvEcd);
  ASSERT_TRUE(ui.menu(Form1->Open1));
  ui.clearBoxes();
  const struct {
    Button* button;
    const char* script;
    const char* picture;
  } clicks[] = {{Form1->Button1, "ecd.plt", "ecd.eps"},
                {Form1->Button12, "ecd-png.plt", "ecd-png.png"},
                {Form1->Button7, "uv.plt", "uv.eps"},
                {Form1->Button13, "uv-png.plt", "uv-png.png"}};
  for (const auto& click : clicks) {
    ui.willChooseFile(out.file(click.script));
    ui.click(click.button);
    expectPicture(out.file(click.picture));
  }
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>(4, "File saved!"));
  // scripts/readme-picture keeps the ECD PNG for the README.
  if (const char* keep = std::getenv("ORVANIX_README_PICTURE"))
    writeTextFile(keep, readTextFile(out.file("ecd-png.png")));

  ui.willChooseFile(rotation);
  ASSERT_TRUE(ui.menu(Form1->Open1));
  ASSERT_EQ(ui.store().ORDACTIVE[1], "calc");
  ui.clearBoxes();
  ui.willChooseFile(out.file("ord.plt"));
  ui.click(Form1->Button11);
  expectPicture(out.file("ord.eps"));
  ui.willChooseFile(out.file("ord-png.plt"));
  ui.click(Form1->Button14);
  expectPicture(out.file("ord-png.png"));
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>(2, "File saved!"));
}

TEST(GnuplotRender, IrVcdOptions) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  struct Option {
    const char* name;
    std::function<void(Session&, bool vcd)> set;
  };
  const auto window = [](bool vcd) -> IrVcdGnuplotSettingsForm& {
    return vcd ? static_cast<IrVcdGnuplotSettingsForm&>(*Form13) : *Form15;
  };
  const std::vector<Option> options = {
      {"one curve", [](Session& ui, bool vcd) {
         ui.act([vcd] { Form1->Choose(fixture(vcd ? "plots/conf1.vc.bil" : "plots/conf1.ir.bil")); });
       }},
      {"two curves, overlay", [&](Session& ui, bool vcd) {
         loadIrVcdPage(ui, vcd, 0);
         window(vcd).CheckBox1->SetChecked(true);
       }},
      {"five curves", [](Session& ui, bool vcd) {
         loadIrVcdPage(ui, vcd, 3);
         ui.act([vcd] {
           for (int slot : {4, 5})
             vcd ? Form1->VcdBilFile(fixture("plots/conf2.vc.bil"), slot) : Form1->IrBilFile(fixture("plots/conf2.ir.bil"), slot);
           for (int slot : {4, 5})
             (vcd ? Form1->store.VCDTITLE : Form1->store.IRTITLE)[slot] = "more" + std::to_string(slot);
         });
       }},
      {"five curves overlaid, no gamma, format y, tics inside", [&](Session& ui, bool vcd) {
         loadIrVcdPage(ui, vcd, 4);
         IrVcdGnuplotSettingsForm& w = window(vcd);
         w.CheckBox1->SetChecked(true);
         w.CheckBox4->SetChecked(true);
         w.CheckBox5->SetChecked(true);
         w.CheckBox6->SetChecked(true);
       }},
      {"measured curve 1, no zeroline", [](Session& ui, bool vcd) {
         ui.act([vcd] { Form1->Choose(fixture(vcd ? "plots/film.vc.exp.xy" : "plots/film.ir.exp.xy")); });
         Form13->CheckBox7->SetChecked(false);
       }},
      {"enantiomeric, stacked", [](Session& ui, bool vcd) {
         loadIrVcdPage(ui, vcd, 3);
         if (vcd) ui.tick(Form1->CheckBox9);
       }},
      {"a curve of zeros", [](Session& ui, bool vcd) {
         loadIrVcdPage(ui, vcd, 0);
         (vcd ? ui.store().VCDMAX : ui.store().IRMAX)[1] = 0;
       }},
  };
  for (bool gnuplot5 : {false, true}) {
    for (const Option& option : options) {
      for (bool vcd : {true, false}) {
        SCOPED_TRACE(std::string(option.name) + (vcd ? " VCD" : " IR") + (gnuplot5 ? " gnuplot 5" : ""));
        Session ui;
        if (gnuplot5) ui.tick(Form2->CheckBox1);
        option.set(ui, vcd);
        TempFolder folder;
        writePlot(folder.path(), "o.plt", buildPlot(ui, vcd ? PlotButton2::Vcd : PlotButton2::Ir, "o.plt"));
        expectRendered(folder.path(), "o.plt", ".eps");
      }
    }
  }
}

// As a person: the IR/VCD page of a real output beside measured curves,
// stacked and overlaid; then chromatograms of either detector.
TEST(GnuplotRender, PersonPlotsIrVcdAndHplc) {
  const std::string vcd = corpus("gaussian/ir_vcd/g09_tesliper_fal-freq-vdc.out");
  if (vcd.empty()) GTEST_SKIP() << "no corpus";
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  Session ui;
  TempFolder out;
  ui.willChooseFile(vcd);
  ASSERT_TRUE(ui.menu(Form1->Open1));
  ui.willChooseFile(fixture("measured/sample.ir.exp.xy"));
  ASSERT_TRUE(ui.menu(Form1->cpwithIR));
  ui.willChooseFile(fixture("measured/sample.vc.exp.xy"));
  ASSERT_TRUE(ui.menu(Form1->MenuItem5));
  ui.clearBoxes();
  for (bool overlay : {false, true}) {
    Form13->CheckBox1->SetChecked(overlay);
    Form15->CheckBox1->SetChecked(overlay);
    const std::string tag = overlay ? "-overlay" : "";
    ui.willChooseFile(out.file("vcd" + tag + ".plt"));
    ui.click(Form1->Button17);
    expectPicture(out.file("vcd" + tag + ".eps"));
    ui.willChooseFile(out.file("ir" + tag + ".plt"));
    ui.click(Form1->Button20);
    expectPicture(out.file("ir" + tag + ".eps"));
  }
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>(4, "File saved!"));

  for (const char* trace : {"measured/tab.cuv", "measured/trace.ccd"}) {
    SCOPED_TRACE(trace);
    Session hplc;
    hplc.willChooseFile(fixture(trace));
    ASSERT_TRUE(hplc.menu(Form1->OpenHPLC1));
    hplc.willChooseFile(fixture(trace));
    ASSERT_TRUE(hplc.menu(Form1->withchromatogram1));
    hplc.clearBoxes();
    const std::string base = out.file(ExtractFileName(trace));
    hplc.willChooseFile(base + "-2d.plt");
    hplc.click(Form1->Button3);
    expectPicture(base + "-2d.eps");
    if (hplc.store().HPLC_UV[1]) {
      hplc.willChooseFile(base + "-3d.plt");
      hplc.click(Form1->Button15);
      expectPicture(base + "-3d.eps");
    }
    EXPECT_EQ(boxTexts(hplc), std::vector<std::string>(hplc.store().HPLC_UV[1] ? 2 : 1, "File saved!"));
  }
}

// A UV trace in slot 1 beside a CD trace: the 2D plot saves one script per
// detector, and both pictures are rendered, not only the last one.
TEST(GnuplotRender, TwoDetectorPassesBothRender) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  Session ui;
  TempFolder out;
  ui.act([] {
    Form1->HPLCUV(fixture("plots/peaks.cuv"), 1);
    Form1->HPLCCD(fixture("plots/peaks.ccd"), 2);
  });
  ui.clearBoxes();
  ui.willChooseFile(out.file("uv-pass.plt"));
  ui.willChooseFile(out.file("cd-pass.plt"));
  ui.click(Form1->Button3);
  expectPicture(out.file("uv-pass.eps"));
  expectPicture(out.file("cd-pass.eps"));
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>(2, "File saved!"));
}
