// Real Gaussian outputs from the shared corpus, opened as a person would:
// none may crash, hang or end in an error box, and a few are checked against
// what the file prints, multi-step outputs by their last table. Skipped when
// the corpus is absent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/files.h"
#include "platform/testing/session.h"
#include "settings/settings.h"
#include "readers/parse.h"
#include "tests/reader_test_support.h"

namespace {

TEST(GaussianCorpus, EveryFileLoadsWithoutAnError) {
  const std::string folder = corpus("gaussian");
  if (folder.empty()) GTEST_SKIP() << "corpus absent";
  const std::vector<std::string> files = FindFiles(folder, "*", true);
  ASSERT_FALSE(files.empty());
  for (bool velocity : {false, true}) {
    Session ui;
    if (velocity) ui.tick(Form2->RadioButton1);
    for (const std::string& path : files) {
      ui.clearBoxes();
      // The dispatcher takes .log and .out; the one .g09 file goes through
      // the detectors directly.
      if (path.ends_with(".g09")) {
        ui.act([&] {
          Form1->Initialisierung();
          Form1->DetectQMSUV(path, 1);
          Form1->DetectQMSCD(path, 1);
          Form1->DetectQMSIR(path, 1);
          Form1->DetectQMSVCD(path, 1);
        });
      } else {
        openAfresh(ui, path);
      }
      EXPECT_TRUE(ui.errorBoxes().empty()) << path;
      // Outputs without spectra (energies, plain frequency jobs) say so; the
      // EOM-CCSD outputs print velocity rotatory strengths for their guess
      // states only.
      std::vector<std::string> allowed;
      if (velocity && path.find("eomccsd") != std::string::npos)
        allowed.push_back("\"" + ExtractFileName(path) +
                          "\" prints no velocity rotatory strengths for its final states; the "
                          "velocity ECD is left empty.");
      expectOnlyAllowedBoxes(ui, path, allowed);
    }
  }
}

struct Expected {
  const char* file;
  const char* states;
  const char* first;
  const char* last;
  long bin;
  double rotatory;
  double oscillator;
};

TEST(GaussianCorpus, StatesLabelsAndBinsMatchThePrintedTables) {
  const std::vector<Expected> cases = {
      // 220.27 nm: R(length) -0.4780, f 0.0018.
      {"gaussian/uv_ecd/g09_cclib_dvb_td.out", "5", "220.27 nm", "175.13 nm", 2203, -0.4780,
       0.0018},
      // Gaussian 03 layout: 234.54 nm, R(length) -0.4568, f 0.0008.
      {"gaussian/uv_ecd/g03_cclib-data_OPT_td.out", "10", "234.54 nm", "167.42 nm", 2345, -0.4568,
       0.0008},
      // Symmetry notes stand before every state line.
      {"gaussian/uv_ecd/g03_cclib-data_anth1.log", "52", "425.88 nm", "139.58 nm", 4259, 0.0,
       0.0636},
      // A TDA block of 80 states, then an EOM-CCSD block of 10 whose states
      // are parted by amplitude sections: the labels show the second block.
      {"gaussian/uv_ecd/g16_cclib_dvb_eomccsd.log", "10", "408.89 nm", "156.16 nm", 1626, 0.0,
       0.9802},
  };
  for (const Expected& c : cases) {
    const std::string path = corpus(c.file);
    if (path.empty()) GTEST_SKIP() << "corpus absent";
    Session ui;
    open(ui, path);
    EXPECT_EQ(Form1->Label11->Caption(), c.states) << c.file;
    EXPECT_EQ(Form1->Label13->Caption(), c.first) << c.file;
    EXPECT_EQ(Form1->Label15->Caption(), c.last) << c.file;
    EXPECT_DOUBLE_EQ(ui.store().ROTS(c.bin, 1), c.rotatory) << c.file;
    EXPECT_DOUBLE_EQ(ui.store().OSC(c.bin, 1), c.oscillator) << c.file;
  }
}

TEST(GaussianCorpus, FrequencyOutputsGiveOneRowPerMode) {
  struct Modes {
    const char* file;
    long modes;
    double firstWavenumber;
    double firstDipole;
  };
  const std::vector<Modes> cases = {
      // Six modes; the second block holds three.
      {"gaussian/ir_vcd/g09_tesliper_fal-freq-vdc.out", 6, 1279.9047, 34.3912},
      // freq=hpmodes: the high-precision table is not read twice.
      {"gaussian/ir_vcd/g16_cclib_dvb_ir.out", 54, 53.1981, 0.0},
  };
  for (const Modes& c : cases) {
    const std::string path = corpus(c.file);
    if (path.empty()) GTEST_SKIP() << "corpus absent";
    // The parse, as the open enters it: a file without dipole strengths
    // draws nothing, so the open leaves the line list alone.
    const readers::ModeParse parse = readers::parseGaussianModes(path, readers::LineList::Ir);
    ASSERT_FALSE(parse.modes.empty()) << c.file;
    EXPECT_EQ(static_cast<long>(parse.modes.size()), c.modes) << c.file;
    EXPECT_DOUBLE_EQ(parse.modes.front().wavenumber, c.firstWavenumber) << c.file;
    EXPECT_DOUBLE_EQ(parse.modes.front().strength, c.firstDipole) << c.file;
  }
}

// Multi-step outputs give their last table: the EOM-CCSD states without the
// CIS guess before them, the last step of an optimisation, the last
// frequency analysis.
TEST(GaussianCorpus, MultiStepOutputsGiveTheirLastTable) {
  const std::string eom = corpus("gaussian/uv_ecd/g16_cclib_dvb_eomccsd.log");
  if (eom.empty()) GTEST_SKIP() << "corpus absent";
  {
    Session ui;
    open(ui, eom);
    // The guess printed a band at 188.90 nm with f = 1.0777.
    EXPECT_EQ(ui.store().OSC(1889, 1), 0.0);
    expectStateLabels("10", "408.89 nm", "156.16 nm");
  }
  {
    // Five optimisation steps of two states each: the last step's two.
    Session ui;
    open(ui, corpus("gaussian/uv_ecd/g16_cclib-data_Pyridine_opt-eomccsd.log"));
    expectStateLabels("2", "286.13 nm", "223.04 nm");
    EXPECT_DOUBLE_EQ(ui.store().OSC(2861, 1), 0.0051);
    EXPECT_DOUBLE_EQ(ui.store().OSC(2230, 1), 0.0003);
    EXPECT_NEAR(sumOfBins(ui.store().OSC, 1), 0.0054, 1e-12);
    EXPECT_TRUE(ui.boxes().empty());
  }
}

}  // namespace
