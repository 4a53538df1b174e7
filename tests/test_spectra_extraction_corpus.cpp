// Same file, same spectrum: every Gaussian, ORCA and TURBOMOLE output of the
// shared corpus that the walk hands to an extractor, in each formalism the
// extractor takes, gives bil files whose lines after the header equal those
// of the file of the same kind saved through the File menu after File >
// "Open" of the output. The files are copied into a temporary folder at test
// time.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_spectra_extraction_support.h"

namespace {

namespace fs = std::filesystem;

struct SavedKind {
  std::string ending;
  MenuItem* TForm1::*menu;
  MenuItem* TForm1::*writer;
};

const std::vector<SavedKind>& savedKinds() {
  static const std::vector<SavedKind> kinds = {
      {"cd.bil", &TForm1::CDspectra1, &TForm1::SaveCD1},
      {"uv.bil", &TForm1::UVspectra1, &TForm1::SaveUV1},
      {"or.bil", &TForm1::ORD1, &TForm1::Saveorbil1},
      {"vc.bil", &TForm1::VCDspectra, &TForm1::MenuItem4},
      {"ir.bil", &TForm1::IRSpectra, &TForm1::saveIRBIL}};
  return kinds;
}

std::vector<std::string> bodyOf(const std::vector<std::string>& lines) {
  return lines.empty() ? lines : std::vector<std::string>(lines.begin() + 1, lines.end());
}

// The outputs of the corpus folders a walk takes (*.log and *.out).
std::vector<fs::path> corpusOutputs() {
  std::vector<fs::path> outputs;
  const std::string root = corpus("");
  if (root.empty()) return outputs;
  for (const std::string folder : {"gaussian", "orca", "turbomole"})
    for (const auto& entry : fs::recursive_directory_iterator(root + "/" + folder)) {
      const std::string ending = entry.path().extension().string();
      if (entry.is_regular_file() && (ending == ".log" || ending == ".out")) outputs.push_back(entry.path());
    }
  std::sort(outputs.begin(), outputs.end());
  return outputs;
}

TEST(SpectraExtractionCorpus, AnExtractedFileEqualsTheFileSavedAfterOpening) {
  const std::vector<fs::path> outputs = corpusOutputs();
  if (outputs.empty()) GTEST_SKIP() << "no corpus";
  TempFolder root;
  for (size_t i = 0; i < outputs.size(); ++i)
    copyFile(outputs[i].string(), root.file("f" + std::to_string(100 + i) + "/" + outputs[i].filename().string()));

  int compared = 0;
  for (const Gauge gauge : {Gauge::Length, Gauge::Velocity}) {
    Session ui;
    chooseGauge(ui, gauge);
    fs::remove_all(root.file("spectra"));
    extractSpectra(ui, root.path(), true);
    EXPECT_TRUE(ui.errorBoxes().empty());
    for (const std::string& line : spectraLog()) EXPECT_EQ(line.find("File handling error"), std::string::npos) << line;

    for (size_t i = 0; i < outputs.size(); ++i) {
      const std::string sub = "f" + std::to_string(100 + i);
      const std::string name = outputs[i].filename().string();
      const std::string stem = sub + "_" + name.substr(0, name.size() - 3);
      bool extracted = false;
      for (const SavedKind& kind : savedKinds()) extracted = extracted || fs::exists(root.file("spectra/" + stem + kind.ending));
      if (!extracted) continue;
      SCOPED_TRACE(outputs[i].string() + (gauge == Gauge::Length ? " length" : " velocity"));
      ui.willChooseFile(root.file(sub + "/" + name));
      ASSERT_TRUE(ui.menu(Form1->Open1));
      for (const SavedKind& kind : savedKinds()) {
        const std::string extractedPath = root.file("spectra/" + stem + kind.ending);
        if (!fs::exists(extractedPath)) continue;
        // A kind the reader leaves empty has no menu to save it from.
        if (!(Form1->*kind.menu)->Enabled()) {
          EXPECT_EQ(bodyOf(writtenLines(extractedPath)), std::vector<std::string>{}) << kind.ending;
          ++compared;
          continue;
        }
        const std::string savedPath = root.file("saved/" + stem + (gauge == Gauge::Length ? "L." : "V.") + kind.ending);
        fs::create_directories(root.file("saved"));
        ui.willChooseFile(savedPath);
        ASSERT_TRUE(ui.menu(Form1->*kind.writer));
        EXPECT_EQ(bodyOf(writtenLines(extractedPath)), bodyOf(writtenLines(savedPath))) << kind.ending;
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 40);
}

// A real output whose states all lie off the grid writes no bil file, and
// the log says why, as its box after File > "Open" does.
TEST(SpectraExtractionCorpus, AnOutputThatDrawsNothingWritesNoBilFile) {
  const std::string rocis = corpus("orca/uv_ecd/orca5.0_cclib_dvb_rocis.out");
  if (rocis.empty()) GTEST_SKIP() << "no corpus";
  TempFolder root;
  copyFile(rocis, root.file("conf_a/rocis.out"));
  // The extraction reads ORCA outputs in the length formalism only.
  Session ui;
  chooseGauge(ui, Gauge::Length);
  extractSpectra(ui, root.path(), true);
  EXPECT_EQ(spectraLog(), (std::vector<std::string>{
                              "rocis.out is an ORCA File",
                              "No Spectral Data found in conf_a/rocis.out: all 4 states lie "
                              "outside 100-4000 nm."}));
  EXPECT_FALSE(fs::exists(root.file("spectra")));
}

}  // namespace
