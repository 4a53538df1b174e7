// A chemist's road through the conformer tools: free energies extracted from
// a folder of conformer outputs, then their IR spectra summed with the
// Boltzmann weights of those energies, at two temperatures.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "conformer_test_support.h"
#include "platform/numbers.h"
#include "tools/sumspectra.h"

namespace {

const char* const outputs[] = {"fal-freq", "fal-freq-vdc", "fal-opt-freq", "fal-freq-roa"};

double printedFreeEnergy(const std::string& path) {
  for (const std::string& line : ReadLines(path)) {
    const size_t at = line.find("Sum of electronic and thermal Free Energies=");
    if (at != std::string::npos) return StrToFloat(line.substr(line.find('=') + 1));
  }
  ADD_FAILURE() << "no free energy in " << path;
  return 0.0;
}

TEST(ConformerAcceptance, FreeEnergiesExtractedThenIrSpectraSummedByBoltzmann) {
  std::vector<std::string> sources;
  for (const char* output : outputs) {
    sources.push_back(corpus(std::string("gaussian/ir_vcd/g09_tesliper_") + output + ".out"));
    if (sources.back().empty()) GTEST_SKIP() << "no corpus";
  }
  Session ui;
  TempFolder root;
  std::vector<double> hartrees;
  std::vector<std::string> bilFiles;
  for (size_t k = 0; k < sources.size(); ++k) {
    const std::string conformer = "conf" + std::to_string(k + 1);
    copyFile(sources[k], root.file(conformer + "/job.log"));
    hartrees.push_back(printedFreeEnergy(sources[k]));
    // One IR line per conformer at its own place, one line they share.
    const std::string own = IntToStr(1000 + 10 * static_cast<long long>(k)) + ".00";
    bilFiles.push_back(root.file("spectra/" + conformer + "_job.ir.bil"));
    writeNewFile(bilFiles.back(),
                 "Orvanix bil-file IR (wavenumber (cm**-1)   dipole strength (10**-40 esu**2-cm**2))\r\n" +
                     own + "\t100.000000\r\n1700.00\t50.000000\r\n");
  }

  // Tools > "extract heat", subfolders, Gibbs free energies.
  extractHeat(ui, root.path(), /*subfolders*/ true, /*gibbs*/ true);
  for (size_t k = 0; k < sources.size(); ++k)
    EXPECT_NE(std::find(heatLog().begin(), heatLog().end(),
                        "Gibbs free energy found in conf" + std::to_string(k + 1) + "/job.log"),
              heatLog().end());

  // Tools > "sum spectra": the bil files, IR, Boltzmann, the heat folder by
  // "Select Dir".
  ASSERT_TRUE(ui.menu(Form1->sumspectra1));
  ui.willChooseFiles(bilFiles);
  ui.click(Form4->Button1);
  EXPECT_EQ(Form4->Label1->Caption(), "4 Files selected");
  ui.tick(Form4->RadioButton7);
  ui.willChooseFolder(root.file("Gibbs"));
  ui.click(Form4->Button4);
  EXPECT_EQ(Form4->Edit1->Text(), root.file("Gibbs/"));

  for (const std::string temperature : {"298.0", "350"}) {
    SCOPED_TRACE(temperature);
    ui.type(Form4->Edit2, temperature);
    ui.click(Form4->Button2);
    EXPECT_TRUE(ui.errorBoxes().empty());
    const std::vector<double> percents = expectedPercents(hartrees, StrToFloat(temperature));
    const std::vector<std::string>& log = Form4->Memo1->Lines();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0], "Weighting factors:");
    for (size_t k = 0; k < percents.size(); ++k) {
      const std::string prefix = "conf" + std::to_string(k + 1) + "_job.ir.bil\t";
      ASSERT_TRUE(log[k + 1].starts_with(prefix)) << log[k + 1];
      EXPECT_NEAR(StrToFloat(log[k + 1].substr(prefix.size())), percents[k], 0.005 + 1e-9);
      // Each conformer's own line carries its weight.
      EXPECT_NEAR(ui.store().IR(k, 1, 1), 1000.0 + 10.0 * static_cast<double>(k), 0.0);
      EXPECT_NEAR(ui.store().IR(k, 2, 1), percents[k], 1e-9);
    }
    EXPECT_EQ(ui.store().IR(4, 1, 1), 1700.0);
    EXPECT_NEAR(ui.store().IR(4, 2, 1), 50.0, 1e-9);
    EXPECT_EQ(ui.store().IRACTIVE[1], "calc");
    EXPECT_EQ(ui.store().IRTITLE[1], "Boltzmann.ir.bil");
    EXPECT_EQ(Form1->Caption(), root.file("spectra/conf1_job.ir_Boltz.bil"));
  }
}

}  // namespace
