// The xy exports of slot 1: the ECD and UV walks over the shown range, the
// VCD and IR files over the whole wavenumber grid, and their save wordings.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/numbers.h"
#include "platform/testing/session.h"
#include "settings/settings.h"
#include "store/Store.h"

namespace {

std::vector<std::string> fileLines(const std::string& path) {
  const std::string text = readTextFile(path);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

class XyExports : public ::testing::Test {
 protected:
  Session ui;
  TempFolder temp;

  void SetUp() override {
    ui.willChooseFile(fixture("measured/mol.cd.bil"));
    ASSERT_TRUE(ui.menu(Form1->Open1));
    ui.act([&] { Form1->UvBilFile(fixture("measured/mol.uv.bil"), 1); });
  }
  void loadVibrational() {
    ui.act([&] { Form1->VcdBilFile(fixture("measured/mol.vc.bil"), 1); });
    ui.act([&] { Form1->IrBilFile(fixture("measured/mol.ir.bil"), 1); });
  }
  // Exports through `item` into `name` of the temporary folder.
  std::vector<std::string> exportTo(MenuItem* item, const std::string& name) {
    const std::string path = temp.file(name);
    ui.willChooseFile(path);
    EXPECT_TRUE(ui.menu(item));
    EXPECT_EQ(ui.lastBox().text, "File saved!");
    return fileLines(path);
  }
  Store& store() { return ui.store(); }
};

TEST_F(XyExports, EcdAndUvCover150To600NmInTenthsWithTenBlanks) {
  struct Case {
    MenuItem* item;
    const char* file;
    const Grid2<MINLAMBDA, MAXLAMBDA, 5>& band;
    const char* dialog;
    const char* preset;
  };
  for (const Case& c : std::vector<Case>{
           {Form1->Savexy1, "a.cd.xy", store().EPS, "SaveDialog3", "mol.cd"},
           {Form1->Savexy2, "a.uv.xy", store().ABSG, "SaveDialog4", "mol.uv"}}) {
    const std::vector<std::string> lines = exportTo(c.item, c.file);
    ASSERT_EQ(lines.size(), 4501u) << c.file;
    const std::regex form(R"(^[0-9]+(\.[0-9])? {10}-?[0-9]+\.[0-9]{6}$)");
    for (size_t k = 0; k < lines.size(); ++k) {
      const long bin = 1500 + static_cast<long>(k);
      ASSERT_TRUE(std::regex_match(lines[k], form)) << c.file << ": " << lines[k];
      ASSERT_EQ(lines[k], FloatToStr(bin / 10.0) + "          " + FloatToStrF(c.band(bin, 1), 6));
    }
    EXPECT_EQ(lines.front().substr(0, 13), "150          ");
    EXPECT_EQ(lines.back().substr(0, 13), "600          ");
    EXPECT_EQ(ui.dialogs().back().name, c.dialog);
    EXPECT_EQ(ui.dialogs().back().presetFileName, c.preset) << "from the slot-1 title";
  }
}

TEST_F(XyExports, StepsRangesAndTheirLimits) {
  struct Case {
    const char* start;
    const char* end;
    const char* step;
    std::vector<std::string> firstXs;
    size_t count;
  };
  const std::vector<Case> cases = {
      {"150", "600", "0.25", {"150", "150.2", "150.4"}, 2251},
      {"150", "600", "0.35", {"150", "150.4", "150.8"}, 1126},
      {"150", "150.35", "0.1", {"150", "150.1", "150.2", "150.3"}, 4},  // end between steps
      {"50", "100.2", "0.1", {"100", "100.1", "100.2"}, 3},           // clipped to 100 nm
      {"3999", "5000", "0.1", {"3999", "3999.1"}, 11},                 // clipped to 4000 nm
      {"300", "200", "0.1", {}, 0},                                    // an empty file
      // Steps too large for a whole number of bins write the first line.
      {"150", "600", "1e300", {"150"}, 1},
      {"150", "600", "1.7976931348623157e308", {"150"}, 1},
  };
  int file = 0;
  for (const Case& c : cases) {
    ui.type(Form1->Edit4, c.start);
    ui.type(Form1->Edit5, c.end);
    ui.act([&] { Form2->Edit2->SetText(c.step); });
    const std::vector<std::string> lines =
        exportTo(Form1->Savexy1, "steps" + std::to_string(++file) + ".cd.xy");
    ASSERT_EQ(lines.size(), c.count) << c.start << " " << c.end << " " << c.step;
    for (size_t k = 0; k < c.firstXs.size(); ++k)
      EXPECT_EQ(lines[k].substr(0, lines[k].find(' ')), c.firstXs[k]) << c.start << " " << c.step;
  }
}

TEST_F(XyExports, AStepBelowOneBinIsRefusedBeforeTheDialog) {
  for (const char* step : {"0.05", "0", "-0.1", "-1e300"}) {
    ui.act([&] { Form2->Edit2->SetText(step); });
    const size_t dialogs = ui.dialogs().size();
    ASSERT_TRUE(ui.menu(Form1->Savexy2));
    EXPECT_EQ(ui.lastBox().text, "The step size must be more than 0.05 nm!") << step;
    EXPECT_EQ(ui.dialogs().size(), dialogs);
  }
}

TEST_F(XyExports, WavenumberUnitWritesFallingWholeWavenumbers) {
  ui.act([&] { Form2->RadioButton6->SetChecked(true); });
  ui.act([&] { Form1->Edit4->SetText("150"); });
  ui.act([&] { Form1->Edit5->SetText("150.3"); });
  const std::vector<std::string> lines = exportTo(Form1->Savexy1, "k.cd.xy");
  std::vector<std::string> xs;
  for (const std::string& line : lines) xs.push_back(line.substr(0, line.find(' ')));
  EXPECT_EQ(xs, (std::vector<std::string>{"66667", "66622", "66578", "66534"}));
}

TEST_F(XyExports, MirroredEcdAndNoSelection) {
  ui.untick(Form1->CheckBox3);
  ui.tick(Form1->CheckBox2);
  const std::vector<std::string> lines = exportTo(Form1->Savexy1, "m.cd.xy");
  ASSERT_EQ(lines.size(), 4501u);
  EXPECT_EQ(lines[1000], "250          " + FloatToStrF(-store().EPS(2500, 1), 6));
  EXPECT_NE(store().EPS(2500, 1), 0.0);

  ui.untick(Form1->CheckBox2);
  const size_t dialogs = ui.dialogs().size();
  ASSERT_TRUE(ui.menu(Form1->Savexy1));
  EXPECT_EQ(ui.lastBox().text, "No CD-Spectrum selected");
  EXPECT_EQ(ui.dialogs().size(), dialogs);
}

TEST_F(XyExports, CancelAndOverwriteWordings) {
  loadVibrational();
  struct Case {
    MenuItem* item;
    const char* file;
    const char* cancelMessage;
    const char* question;
  };
  for (const Case& c : std::vector<Case>{
           {Form1->Savexy1, "o.cd.xy", "File not saved", "Overwrite File \"o.cd.xy\"?"},
           {Form1->Savexy2, "o.uv.xy", "File not saved", "Datei \"o.uv.xy\" Overwrite File?"},
           {Form1->MenuItem6, "o.vc.xy", "File not saved!", "Overwrite File \"o.vc.xy\"?"},
           {Form1->saveIRxy, "o.ir.xy", "File not saved!", "Overwrite File \"o.ir.xy\"?"}}) {
    ui.willCancel();
    ASSERT_TRUE(ui.menu(c.item)) << c.file;
    EXPECT_EQ(ui.lastBox().text, c.cancelMessage) << c.file;

    const std::string path = temp.file(c.file);
    writeTextFile(path, "keep");
    ui.willChooseFile(path);
    ui.willAnswer(Answer::No);
    ASSERT_TRUE(ui.menu(c.item));
    const std::vector<Box>& boxes = ui.boxes();
    ASSERT_GE(boxes.size(), 2u);
    EXPECT_EQ(boxes[boxes.size() - 2].text, c.question);
    EXPECT_EQ(boxes[boxes.size() - 2].caption, " ");
    EXPECT_EQ(ui.lastBox().text, "File not saved!");
    EXPECT_EQ(readTextFile(path), "keep");
  }
}

TEST_F(XyExports, VcdWritesTheWholeGridInExponentForm) {
  loadVibrational();
  std::vector<std::string> lines = exportTo(Form1->MenuItem6, "n.vc.xy");
  ASSERT_EQ(lines.size(), 4002u);
  EXPECT_EQ(lines[0], "wavenumber\trotational strength\tgamma = 4");
  EXPECT_EQ(ui.dialogs().back().presetFileName, "mol.ir") << "from the caption, not the VCD title";
  const double value = store().VCD(1000, 3, 1);
  ASSERT_NE(value, 0.0);
  EXPECT_EQ(lines[1001], "1000\t" + FloatToStrE(value, 5));
  EXPECT_TRUE(std::regex_match(lines[1001], std::regex(R"(^1000\t-?[0-9]\.[0-9]{4}E[+-][0-9]+$)")));
  EXPECT_EQ(lines[4001].substr(0, 5), "4000\t");

  ui.act([&] {
    Form1->CheckBox9->SetChecked(true);
    Form1->CheckBox6->SetChecked(false);
  });
  lines = exportTo(Form1->MenuItem6, "e.vc.xy");
  ASSERT_EQ(lines.size(), 4002u);
  EXPECT_EQ(lines[0], "wavenumber\trotational strength");
  EXPECT_EQ(lines[1001], "1000\t" + FloatToStrE(-value, 5));
  EXPECT_EQ(lines[1], "0\t0.0000E+0") << "a mirrored zero has no sign";
}

TEST_F(XyExports, IrWritesSixDecimalsOrRefuses) {
  loadVibrational();
  ui.type(Form1->Edit17, "6");
  std::vector<std::string> lines = exportTo(Form1->saveIRxy, "n.ir.xy");
  ASSERT_EQ(lines.size(), 4002u);
  EXPECT_EQ(lines[0], "wavenumber\tIR intensity\tgamma = 6");
  EXPECT_EQ(lines[1], "0\t" + FloatToStrF(store().IR(0, 3, 1), 6));
  EXPECT_EQ(lines[1501], "1500\t" + FloatToStrF(store().IR(1500, 3, 1), 6));

  ui.act([&] { Form1->CheckBox19->SetChecked(false); });
  const size_t dialogs = ui.dialogs().size();
  ASSERT_TRUE(ui.menu(Form1->saveIRxy));
  EXPECT_EQ(ui.lastBox().text, "No IR spectrum selected");
  EXPECT_EQ(ui.dialogs().size(), dialogs);
}

// The program's own export is no file it opens: opening or dropping it
// leaves the curves, the caption and the memo as they were, and one box
// names the file.
TEST_F(XyExports, OpeningOrDroppingAnExportChangesNothing) {
  const std::string path = temp.file("mol_c1.cd.xy");
  exportTo(Form1->Savexy1, "mol_c1.cd.xy");
  const std::string caption = Form1->Caption();
  const std::vector<std::string> memo = Form1->Memo1->Lines();
  const double line = store().ROTS(2450, 1);
  ASSERT_FALSE(memo.empty());
  for (const bool dropped : {false, true}) {
    SCOPED_TRACE(dropped ? "dropped" : "opened");
    ui.clearBoxes();
    if (dropped) {
      ui.drop(Form1, {path});
    } else {
      ui.willChooseFile(path);
      ASSERT_TRUE(ui.menu(Form1->Open1));
    }
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.lastBox().text,
              "\"mol_c1.cd.xy\" was not opened: it is of no kind the program opens. These are bil "
              "files (*.uv.bil, *.cd.bil, *.or.bil, *.vc.bil, *.ir.bil), measured spectra "
              "(*.uv.exp.xy, *.cd.exp.xy, *.or.exp.xy, *.vc.exp.xy, *.ir.exp.xy), chromatograms "
              "(*.cuv, *.ccd), outputs (*.out, *.log), DFT/MRCI files (*.cd, *.uv) and sTDA files "
              "(*.dat).");
    EXPECT_EQ(store().CDACTIVE[1], "calc");
    EXPECT_EQ(store().UVACTIVE[1], "calc");
    EXPECT_EQ(store().ROTS(2450, 1), line);
    EXPECT_EQ(Form1->Caption(), caption);
    EXPECT_EQ(Form1->Memo1->Lines(), memo);
    EXPECT_TRUE(Form1->Savexy1->Enabled());
  }
  // File > Open HPLC data takes the same way.
  ui.clearBoxes();
  ui.willChooseFile(path);
  ASSERT_TRUE(ui.menu(Form1->OpenHPLC1));
  EXPECT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(store().CDACTIVE[1], "calc");
}

}  // namespace
