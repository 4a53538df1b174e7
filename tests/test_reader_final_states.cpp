// A Gaussian output may print a velocity table for some states only: the
// EOM-CCSD outputs print velocity rotatory strengths for their CIS guess
// states and none for the EOM-CCSD states that follow. Such a table is not
// the result: the velocity ECD stays empty, one box says why, and the batch
// extraction writes what File > Open shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/reader_test_support.h"
#include "tests/test_spectra_extraction_support.h"

namespace {

std::string finalStatesMessage(const std::string& name) {
  return "\"" + name +
         "\" prints no velocity rotatory strengths for its final states; the velocity ECD is "
         "left empty.";
}

// The fixture's excited-state calculation, followed by one for other states
// (the fourth at 190 nm) that prints every table but the velocity rotatory
// strengths.
std::string laterStatesWithoutVelocityRotations() {
  const std::string text = readTextFile(fixture("readers/g16_td_optrot.log"));
  const size_t tables = text.find(" Ground to excited state transition electric");
  const size_t velocity = text.find(" <0|del|b> * <b|rxdel|0> + <0|del|b> * <b|delr+rdel|0>");
  const size_t length = text.find(" 1/2[<0|r|b>*<b|rxdel|0> + (<0|rxdel|b>*<b|r|0>)*]");
  const size_t end = text.find(" Leave Link  914");
  const std::string later = text.substr(tables, velocity - tables) + text.substr(length, end - length);
  return text.substr(0, end) + replaced(later, "180.25 nm", "190.00 nm") + text.substr(end);
}

TEST(GaussianFinalStates, AVelocityTableOfEarlierStatesLeavesTheVelocityEcdEmpty) {
  const std::string text = laterStatesWithoutVelocityRotations();
  {
    SCOPED_TRACE("velocity");
    Session ui;
    chooseVelocity(ui);
    openText(ui, "eom.log", text);
    EXPECT_EQ(boxTexts(ui), std::vector<std::string>{finalStatesMessage("eom.log")});
    EXPECT_NE(ui.store().CDACTIVE[1], "calc");
    EXPECT_EQ(sumOfBins(ui.store().ROTS, 1), 0.0);
    // The velocity oscillator strengths of the later states load.
    EXPECT_EQ(ui.store().UVACTIVE[1], "calc");
    EXPECT_DOUBLE_EQ(ui.store().OSC(1900, 1), 0.041);
    EXPECT_DOUBLE_EQ(ui.store().OSC(1802, 1), 0.0);
  }
  {
    SCOPED_TRACE("length");
    Session ui;
    openText(ui, "eom.log", text);
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_EQ(ui.store().CDACTIVE[1], "calc");
    EXPECT_DOUBLE_EQ(ui.store().ROTS(1900, 1), -3.0);
    EXPECT_DOUBLE_EQ(ui.store().ROTS(1802, 1), 0.0);
  }
}

TEST(GaussianFinalStates, TheBatchExtractionWritesWhatFileOpenShows) {
  Session ui;
  chooseGauge(ui, Gauge::Velocity);
  TempFolder root;
  writeNewFile(root.file("conf_a/eom.log"), laterStatesWithoutVelocityRotations());
  extractSpectra(ui, root.path(), /*subfolders*/ true);
  EXPECT_EQ(spectraLog(), (std::vector<std::string>{"eom.log is a Gaussian16 File",
                                                    "ECD/UV found in conf_a/eom.log",
                                                    "ORD-values found in conf_a/eom.log",
                                                    finalStatesMessage("conf_a/eom.log")}));
  EXPECT_EQ(writtenLines(root.file("spectra/conf_a_eom.cd.bil")),
            std::vector<std::string>{"Orvanix bil-file (velocity formalism) ECD"});
  const std::vector<std::string> uv = writtenLines(root.file("spectra/conf_a_eom.uv.bil"));
  ASSERT_FALSE(uv.empty());
  EXPECT_EQ(uv.front(), "Orvanix bil-file (velocity formalism) UV");
  EXPECT_EQ(uv.back(), "212.9\t0.011000");
  EXPECT_EQ(uv[1], "190.0\t0.041000");
}

// The real EOM-CCSD output: its 80 CIS guess states print velocity rotatory
// strengths, its 10 EOM-CCSD states do not.
TEST(GaussianFinalStates, TheEomCcsdOutputInBothFormalisms) {
  const std::string path = corpus("gaussian/uv_ecd/g16_cclib_dvb_eomccsd.log");
  if (path.empty()) GTEST_SKIP() << "corpus absent";
  {
    SCOPED_TRACE("velocity");
    Session ui;
    chooseVelocity(ui);
    open(ui, path);
    EXPECT_EQ(boxTexts(ui), std::vector<std::string>{finalStatesMessage("g16_cclib_dvb_eomccsd.log")});
    EXPECT_NE(ui.store().CDACTIVE[1], "calc");
    EXPECT_EQ(sumOfBins(ui.store().ROTS, 1), 0.0);
    // The absorption of the EOM-CCSD states: the first at 408.89 nm.
    EXPECT_EQ(ui.store().UVACTIVE[1], "calc");
    EXPECT_EQ(Form1->Label11->Caption(), "10");
    EXPECT_EQ(Form1->Label13->Caption(), "408.89 nm");
  }
  {
    // Unchanged: the EOM-CCSD table counts, whose R(length) of the
    // centrosymmetric molecule are all 0.
    SCOPED_TRACE("length");
    Session ui;
    open(ui, path);
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_EQ(ui.store().UVACTIVE[1], "calc");
    EXPECT_EQ(sumOfBins(ui.store().ROTS, 1), 0.0);
    EXPECT_EQ(Form1->Label11->Caption(), "10");
    EXPECT_EQ(Form1->Label13->Caption(), "408.89 nm");
  }
}

}  // namespace
