// A chemist's road through the three conformer windows, on copies of real
// outputs: energies extracted, spectra extracted, then the extracted spectra
// summed with the Boltzmann weights of those energies. Every expected value
// comes from the files the test is given. The folder is a temporary one, or
// the one named by ORVANIX_CONFORMERS.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "files/bilfiles.h"
#include "platform/numbers.h"
#include "test_spectra_extraction_support.h"
#include "tools/sumspectra.h"

namespace {

namespace fs = std::filesystem;

// The folder of the conformers: ORVANIX_CONFORMERS when set, otherwise a
// temporary folder. Of a chosen folder only the folders this test writes are
// cleared first.
class ConformerFolder {
 public:
  ConformerFolder() {
    const char* chosen = std::getenv("ORVANIX_CONFORMERS");
    if (chosen != nullptr && *chosen != '\0') {
      path_ = chosen;
      for (const std::string sub : {"conf1", "conf2", "conf3", "conf4", "heat", "Gibbs", "spectra"})
        fs::remove_all(path_ + "/" + sub);
      fs::create_directories(path_);
    } else {
      temporary_ = std::make_unique<TempFolder>();
      path_ = temporary_->path();
    }
  }
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::unique_ptr<TempFolder> temporary_;
  std::string path_;
};

// The number after `marker` up to the next archive separator or blank.
double numberAfter(const std::string& text, const std::string& marker) {
  const size_t at = text.find(marker);
  if (at == std::string::npos) {
    ADD_FAILURE() << "no " << marker;
    return 0.0;
  }
  const size_t start = at + marker.size();
  return StrToFloat(Trim(text.substr(start, text.find_first_of("\\|\n ", start) - start)));
}

// The "HF=" value of the archive record, whose lines are joined first.
double printedArchiveEnergy(const std::string& path) {
  std::string record;
  bool inside = false;
  for (const std::string& line : ReadLines(path)) {
    if (!inside && (line.starts_with(" 1\\1\\") || line.starts_with(" 1|1|"))) inside = true;
    if (!inside) continue;
    record += line.substr(1);
    if (line.find('@') != std::string::npos) break;
  }
  return numberAfter(record, "HF=");
}

std::vector<std::string> filesEndingWith(const std::string& folder, const std::string& ending) {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().filename().string().ends_with(ending)) files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

// Tools > "sum spectra" over `files`, Boltzmann, the kind radio, the heat
// folder chosen by "Select Dir".
void openBoltzmannSum(Session& ui, const std::vector<std::string>& files, RadioButton* kind,
                      const std::string& heatFolder) {
  ASSERT_TRUE(ui.menu(Form1->sumspectra1));
  ui.willChooseFiles(files);
  ui.click(Form4->Button1);
  ui.tick(Form4->RadioButton2);
  ui.tick(kind);
  ui.willChooseFolder(heatFolder);
  ui.click(Form4->Button4);
}

// (A) Free energies of four formaldehyde frequency outputs, their spectra,
// and a Boltzmann IR sum over the one ir.bil extracted (only the freq=VCD
// output prints dipole strengths): it weighs 100 %, and IR slot 1 holds its
// lines.
TEST(SpectraExtractionAcceptance, FreeEnergiesSpectraAndTheirIrSum) {
  const char* const outputs[] = {"fal-freq", "fal-freq-vdc", "fal-opt-freq", "fal-freq-roa"};
  std::vector<std::string> sources;
  for (const char* output : outputs) {
    sources.push_back(corpus(std::string("gaussian/ir_vcd/g09_tesliper_") + output + ".out"));
    if (sources.back().empty()) GTEST_SKIP() << "no corpus";
  }
  ConformerFolder root;
  for (size_t k = 0; k < sources.size(); ++k) copyFile(sources[k], root.file("conf" + std::to_string(k + 1) + "/job.log"));

  Session ui;
  extractHeat(ui, root.path(), true, /*gibbs*/ true);
  extractSpectra(ui, root.path(), true);
  EXPECT_TRUE(ui.errorBoxes().empty());
  const std::vector<std::string> irFiles = filesEndingWith(root.file("spectra"), ".ir.bil");
  ASSERT_EQ(irFiles, std::vector<std::string>{root.file("spectra/conf2_job.ir.bil")});
  EXPECT_NE(std::find(spectraLog().begin(), spectraLog().end(), "IR found in conf2/job.log"), spectraLog().end());

  openBoltzmannSum(ui, irFiles, Form4->RadioButton7, root.file("Gibbs"));
  ui.click(Form4->Button2);
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_EQ(Form4->Memo1->Lines(), (std::vector<std::string>{"Weighting factors:", "conf2_job.ir.bil\t100.00"}));
  const std::vector<std::string> lines = writtenLines(irFiles[0]);
  ASSERT_GT(lines.size(), 1u);
  for (size_t k = 1; k < lines.size(); ++k) {
    const BilPoint point = ParseBilLine(lines[k]);
    // The sum keeps a line at its whole wavenumber.
    EXPECT_EQ(ui.store().IR(static_cast<long>(k - 1), 1, 1), std::nearbyint(point.x));
    EXPECT_NEAR(ui.store().IR(static_cast<long>(k - 1), 2, 1), point.y, 1e-9);
  }
  EXPECT_EQ(ui.store().IRACTIVE[1], "calc");
}

// (B) Electronic energies of four divinylbenzene TD outputs (Gaussian 03,
// 09 and 16), their UV spectra, and the Boltzmann UV sum at two
// temperatures: the weights are those of the printed "HF=" energies, and UV
// slot 1 is the weighted sum of the extracted lines.
TEST(SpectraExtractionAcceptance, ElectronicEnergiesSpectraAndTheirUvSum) {
  const char* const outputs[] = {"g03_cclib-data_dvb_td.out", "g09_cclib_dvb_td.out",
                                 "g09_cclib-data_dvb_td_revA.02.out", "g16_cclib_dvb_td.out"};
  std::vector<std::string> sources;
  for (const char* output : outputs) {
    sources.push_back(corpus(std::string("gaussian/uv_ecd/") + output));
    if (sources.back().empty()) GTEST_SKIP() << "no corpus";
  }
  ConformerFolder root;
  std::vector<double> hartrees;
  for (size_t k = 0; k < sources.size(); ++k) {
    copyFile(sources[k], root.file("conf" + std::to_string(k + 1) + "/job.log"));
    hartrees.push_back(printedArchiveEnergy(sources[k]));
  }

  Session ui;
  extractHeat(ui, root.path(), true, /*gibbs*/ false);
  extractSpectra(ui, root.path(), true);
  EXPECT_TRUE(ui.errorBoxes().empty());
  const std::vector<std::string> uvFiles = filesEndingWith(root.file("spectra"), ".uv.bil");
  ASSERT_EQ(uvFiles.size(), 4u);

  openBoltzmannSum(ui, uvFiles, Form4->RadioButton4, root.file("heat"));
  for (const std::string temperature : {"298.0", "350"}) {
    SCOPED_TRACE(temperature);
    ui.type(Form4->Edit2, temperature);
    ui.click(Form4->Button2);
    EXPECT_TRUE(ui.errorBoxes().empty());
    const std::vector<double> percents = expectedPercents(hartrees, StrToFloat(temperature));
    const std::vector<std::string>& log = Form4->Memo1->Lines();
    ASSERT_EQ(log.size(), 5u);
    std::vector<double> expected(static_cast<size_t>(MAXLAMBDA - MINLAMBDA + 1), 0.0);
    for (size_t k = 0; k < percents.size(); ++k) {
      const std::string prefix = "conf" + std::to_string(k + 1) + "_job.uv.bil\t";
      ASSERT_TRUE(log[k + 1].starts_with(prefix)) << log[k + 1];
      EXPECT_NEAR(StrToFloat(log[k + 1].substr(prefix.size())), percents[k], 0.005 + 1e-9);
      const std::vector<std::string> lines = writtenLines(uvFiles[k]);
      for (size_t i = 1; i < lines.size(); ++i) {
        const BilPoint point = ParseBilLine(lines[i]);
        expected[static_cast<size_t>(*WavelengthBin(point.x) - MINLAMBDA)] += point.y * percents[k] / 100.0;
      }
    }
    for (long bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin)
      EXPECT_NEAR(ui.store().OSC(bin, 1), expected[static_cast<size_t>(bin - MINLAMBDA)], 1e-6) << bin;
    EXPECT_EQ(ui.store().UVACTIVE[1], "calc");
  }
}

}  // namespace
