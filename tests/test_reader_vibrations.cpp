// The Gaussian 09/16 IR and VCD readers: one row per mode, short last
// blocks, odd layouts (Raman lines, HPModes), values Gaussian could not
// print, the last of several analyses, files cut inside a block and the
// 4001-row line list.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "platform/testing/session.h"
#include "readers/parse.h"
#include "tests/reader_test_support.h"

namespace {

using Rows = std::vector<std::pair<double, double>>;

// The filled rows of a line list, up to the first empty one.
Rows lineList(const LineGrid& grid, int slot) {
  Rows rows;
  for (long row = 0; row <= LineGrid::high; ++row) {
    if (grid(row, 1, slot) == 0.0 && grid(row, 2, slot) == 0.0) break;
    rows.emplace_back(grid(row, 1, slot), grid(row, 2, slot));
  }
  return rows;
}

std::string withFixture(Session& ui, const std::string& name,
                        const std::vector<std::pair<std::string, std::string>>& changes) {
  std::string text = readTextFile(fixture("readers/g09_freq_vcd.log"));
  for (const auto& [from, to] : changes) text = replaced(text, from, to);
  const std::string path = ui.path(name);
  writeTextFile(path, text);
  return path;
}

const Rows vcdRows = {
    {-121.4, 1.25}, {1337.926, -2.5}, {1548.4195, 3.75}, {1717.9022, -4.25}, {3288.8988, 5.1}};
const Rows irRows = {{-121.4, 34.3912},
                     {1337.926, 35.4573},
                     {1548.4195, 130.0129},
                     {1717.9022, 24.4844},
                     {3288.8988, 11.6225}};

TEST(GaussianVibrations, EachModeOnceWithItsStrength) {
  Session ui;
  open(ui, fixture("readers/g09_freq_vcd.log"));
  const Store& store = ui.store();
  EXPECT_TRUE(ui.boxes().empty());
  // The last block holds two modes: no third row repeats the last one.
  EXPECT_EQ(lineList(store.VCD, 1), vcdRows);
  EXPECT_EQ(lineList(store.IR, 1), irRows);
  EXPECT_EQ(store.VCD(5, 1, 1), 0.0);
  EXPECT_EQ(store.VCDACTIVE[1], "calc");
  EXPECT_EQ(store.IRACTIVE[1], "calc");
  EXPECT_EQ(store.VCDTITLE[1], "g09_freq_vcd.log");
  EXPECT_TRUE(Form1->VCDspectra->Enabled());
  EXPECT_TRUE(Form1->IRSpectra->Enabled());
  EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet5);
  EXPECT_FALSE(Form1->Edit2->Enabled());
  EXPECT_FALSE(Form1->Edit3->Enabled());
}

TEST(GaussianVibrations, OddLayoutsLoadWhatTheyCan) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> changes;
    Rows vcd, ir;
  };
  const std::string hpBlock =
      " Frequencies ---  -121.4000 1337.9260 1548.4195 1717.9022 3288.8988\n"
      " Reduced masses ---  1.0 1.0 1.0 1.0 1.0\n"
      " IR Intensities ---  1.0 1.0 1.0 1.0 1.0\n"
      "  Coord Atom Element:\n";
  const std::vector<Case> cases = {
      {"Raman lines push the dipole strengths down",
       {{" IR Inten    --     11.0336                11.8913                50.4624\n",
         " IR Inten    --     11.0336                11.8913                50.4624\n"
         " Raman Activ --      0.0218                 6.0244                21.4502\n"
         " Depolar (P) --      0.7500                 0.7499                 0.4706\n"}},
       vcdRows,
       irRows},
      {"a high-precision table before the normal one",
       {{" Harmonic frequencies", hpBlock + " Harmonic frequencies"}},
       vcdRows,
       irRows},
  };
  for (const Case& c : cases) {
    Session ui;
    open(ui, withFixture(ui, "odd.log", c.changes));
    EXPECT_TRUE(ui.boxes().empty()) << c.what;
    EXPECT_EQ(lineList(ui.store().VCD, 1), c.vcd) << c.what;
    EXPECT_EQ(lineList(ui.store().IR, 1), c.ir) << c.what;
  }
}

TEST(GaussianVibrations, ValuesGaussianCouldNotPrintLeaveOutOnlyTheirModes) {
  struct Case {
    const char* what;
    std::string from, to;
    Rows vcd, ir;
  };
  auto without = [](const Rows& rows, std::initializer_list<size_t> left) {
    Rows kept;
    for (size_t i = 0; i < rows.size(); ++i)
      if (std::find(left.begin(), left.end(), i) == left.end()) kept.push_back(rows[i]);
    return kept;
  };
  const std::vector<Case> cases = {
      {"the wavenumber of mode 4", " Frequencies --   1717.9022", " Frequencies --  **********",
       without(vcdRows, {3}), without(irRows, {3})},
      {"the dipole strength of mode 2", "34.3912                35.4573",
       "34.3912             **********", vcdRows, without(irRows, {1})},
      {"the rotational strength of mode 5", "-4.2500                 5.1000",
       "-4.2500             **********", without(vcdRows, {4}), irRows},
  };
  for (const Case& c : cases) {
    Session ui;
    open(ui, withFixture(ui, "wide.log", {{c.from, c.to}}));
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(ui.errorBoxes().empty());
    EXPECT_EQ(lineList(ui.store().VCD, 1), c.vcd);
    EXPECT_EQ(lineList(ui.store().IR, 1), c.ir);
    // One box for the two readers of the file.
    EXPECT_EQ(boxTexts(ui), std::vector<std::string>{"Not everything of wide.log was loaded: 1 "
                                                     "mode whose values Gaussian could not print."});
  }
}

TEST(GaussianVibrations, TheLastAnalysisCounts) {
  // An optimisation with a frequency job at two geometries: the second
  // analysis lists every mode once, with its own values.
  Session ui;
  const std::string text = readTextFile(fixture("readers/g09_freq_vcd.log"));
  const size_t first = text.find(" Harmonic frequencies");
  const size_t end = text.find(" -------------------");
  const std::string second =
      replaced(text.substr(first, end - first), "3288.8988", "3300.0000");
  openText(ui, "twice.log", text.substr(0, end) + second + text.substr(end));
  EXPECT_TRUE(ui.boxes().empty());
  Rows vcd = vcdRows, ir = irRows;
  vcd.back().first = ir.back().first = 3300.0;
  EXPECT_EQ(lineList(ui.store().VCD, 1), vcd);
  EXPECT_EQ(lineList(ui.store().IR, 1), ir);
}

TEST(GaussianVibrations, AFileCutInsideABlockLoadsTheModesPrintedWhole) {
  const std::string text = readTextFile(fixture("readers/g09_freq_vcd.log"));
  const auto cutBefore = [&](const std::string& marker, const std::string& prefix = "") {
    return prefix + text.substr(0, text.find(marker));
  };
  struct Case {
    const char* what;
    std::string text;
    Rows vcd, ir;
    std::vector<std::string> boxes;
  };
  const std::string earlier = text.substr(0, text.find(" -------------------"));
  const std::vector<Case> cases = {
      // The second block has no strengths yet: the three modes of the first.
      {"one analysis cut before the strengths of its second block",
       cutBefore(" Dip. str.   --     24.4844"),
       Rows(vcdRows.begin(), vcdRows.begin() + 3),
       Rows(irRows.begin(), irRows.begin() + 3),
       {"The file \"cut.log\" ends inside a table (3 modes read); the rows it prints whole were "
        "loaded."}},
      // The dipole strengths are printed, the rotational ones are not.
      {"cut between the two strength lines", cutBefore(" Rot. str.   --     -4.2500"),
       Rows(vcdRows.begin(), vcdRows.begin() + 3), irRows,
       {"The file \"cut.log\" ends inside a table (3 modes read); the rows it prints whole were "
        "loaded."}},
      // A complete analysis before the cut one is the result.
      {"a second analysis cut", earlier + cutBefore(" Dip. str.   --     24.4844"), vcdRows,
       irRows,
       {"The file \"cut.log\" ends inside a table (3 modes read); the last complete table was "
        "loaded."}},
  };
  for (const Case& c : cases) {
    Session ui;
    openText(ui, "cut.log", c.text);
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(ui.errorBoxes().empty());
    EXPECT_EQ(lineList(ui.store().VCD, 1), c.vcd);
    EXPECT_EQ(lineList(ui.store().IR, 1), c.ir);
    EXPECT_EQ(boxTexts(ui), c.boxes);
  }
}

TEST(GaussianVibrations, WithoutStrengthsTheOpenChangesNothingAndSaysWhy) {
  Session ui;
  const std::string path =
      withFixture(ui, "norot.log", {{" Rot. str.", " Rot. xxx."}, {" Dip. str.", " Dip. xxx."}});
  // The parse still finds the five modes; none has a strength to draw.
  for (const readers::LineList list : {readers::LineList::Vcd, readers::LineList::Ir}) {
    const readers::ModeParse parse = readers::parseGaussianModes(path, list);
    EXPECT_EQ(parse.modes.size(), 5u);
    EXPECT_FALSE(parse.strengthsFound);
  }
  open(ui, path);
  EXPECT_TRUE(lineList(ui.store().VCD, 1).empty());
  EXPECT_TRUE(lineList(ui.store().IR, 1).empty());
  EXPECT_NE(ui.store().VCDACTIVE[1], "calc");
  EXPECT_NE(ui.store().IRACTIVE[1], "calc");
  EXPECT_EQ(Form1->Caption(), "Orvanix 1.0");
  EXPECT_EQ(boxTexts(ui),
            std::vector<std::string>{
                "No UV/ECD, IR/VCD or optical-rotation data were found in \"norot.log\": it prints "
                "no excited state, or none in a table the program reads. IR and VCD spectra are read from frequency jobs run with VCD (freq=VCD), which print "
                "both."});
}

TEST(GaussianVibrations, TheLineListIsBounded) {
  Session ui;
  std::string text = " Gaussian 09: x\n";
  for (int block = 0; block < 1400; ++block) {
    text +=
        " Frequencies --  100.0  200.0  300.0\n Red. masses --  1 1 1\n"
        " Frc consts  --  1 1 1\n IR Inten    --  1 1 1\n"
        " Dip. str.   --  1.0 2.0 3.0\n Rot. str.   --  4.0 5.0 6.0\n";
  }
  openText(ui, "many.log", text);
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_EQ(ui.store().VCD(4000, 1, 1), 200.0);
  EXPECT_EQ(ui.store().VCD(4000, 2, 1), 5.0);
  EXPECT_EQ(ui.store().IR(4000, 2, 1), 2.0);
  // The IR and the VCD reader found the same: one box.
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{
                              "Not everything of many.log was loaded: the modes after the first 4001."});
}

}  // namespace
