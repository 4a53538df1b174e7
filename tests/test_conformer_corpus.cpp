// Every Gaussian, MOPAC and ORCA output of the shared corpus through the
// heat extraction, in both walk modes and both energy modes: no crash, no
// box, each file recognised, and where the file prints an energy, the heat
// file holds it. The files are copied into a temporary folder at test time.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "conformer_test_support.h"
#include "platform/numbers.h"

namespace {

namespace fs = std::filesystem;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The number after `marker` in a text, up to the next separator or blank.
std::optional<double> valueAfter(const std::string& text, const std::string& marker, const std::string& stops) {
  const size_t at = text.find(marker);
  if (at == std::string::npos) return std::nullopt;
  const size_t start = at + marker.size();
  const size_t end = text.find_first_of(stops, start);
  return TryStrToFloat(Trim(text.substr(start, end == std::string::npos ? std::string::npos : end - start)));
}

// What a file prints, read the simple way: the energy of its first archive
// record (by its route), its free energies, its last single point energy and
// its first final heat of formation (or, without one, its last heat of
// formation).
struct Printed {
  std::optional<double> archiveEnergy;
  std::vector<double> freeEnergies;
  std::optional<double> lastSinglePoint;
  std::optional<std::string> heatOfFormation;
};

Printed readPrinted(const std::string& path) {
  Printed printed;
  bool finalHeat = false;
  const std::vector<std::string> lines = ReadLines(path);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (!printed.archiveEnergy && (contains(line, " 1\\1\\") || contains(line, " 1|1|"))) {
      const char separator = contains(line, " 1\\1\\") ? '\\' : '|';
      std::string record;
      for (size_t k = i; k < lines.size() && !lines[k].empty(); ++k) {
        record += lines[k].substr(1);
        if (contains(lines[k], "@")) break;
      }
      const std::string sep(1, separator);
      const size_t routeStart = record.find(sep + sep + "#");
      const std::string route = record.substr(routeStart + 2, record.find(sep, routeStart + 2) - routeStart - 2);
      std::string field = "HF=";
      if (contains(route, "MP2") || contains(route, "mp2")) field = "MP2=";
      if (contains(route, "QCISD(T)")) field = "QCISD(T)=";
      printed.archiveEnergy = valueAfter(record, sep + field, sep);
    }
    if (contains(line, "Sum of electronic and thermal Free Energies"))
      printed.freeEnergies.push_back(*valueAfter(line, "=", "\t"));
    if (contains(line, "FINAL SINGLE POINT ENERGY")) printed.lastSinglePoint = valueAfter(line, "ENERGY", "\t");
    if (!finalHeat && contains(line, "HEAT OF FORMATION =")) {
      std::string value = TrimLeft(line.substr(line.find('=') + 1));
      printed.heatOfFormation = value.substr(0, value.find(' '));
      finalHeat = contains(line, "FINAL HEAT OF FORMATION");
    }
  }
  return printed;
}

double heatValue(const std::string& line) { return StrToFloat(line.substr(22, line.size() - 22 - 9)); }

struct CorpusFile {
  std::string source;
  std::string program;  // "Gaussian", "MOPAC", "ORCA"
  std::string subfolder;
  std::string name;  // ends with .log or .out
};

std::vector<CorpusFile> corpusOutputs() {
  std::vector<CorpusFile> files;
  const std::string root = corpus("");
  if (root.empty()) return files;
  const std::map<std::string, std::string> programs = {{"gaussian", "Gaussian"}, {"mopac", "MOPAC"}, {"orca", "ORCA"}};
  for (const auto& [folder, program] : programs) {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::recursive_directory_iterator(root + "/" + folder))
      if (entry.is_regular_file()) paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    for (const fs::path& path : paths) {
      std::string name = path.filename().string();
      if (!name.ends_with(".log") && !name.ends_with(".out")) name += ".log";
      files.push_back({path.string(), program, "c" + std::to_string(files.size()), name});
    }
  }
  return files;
}

void expectRecognised(const CorpusFile& file, const std::vector<std::string>& log) {
  const std::string start = file.name + (file.program == "Gaussian" ? " is a Gaussian" : file.program == "MOPAC" ? " is a MOPAC File" : " is an ORCA File");
  EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](const std::string& line) { return line.starts_with(start); }))
      << file.source;
}

TEST(ConformerCorpus, EveryOutputInSubfolderModeGivesWhatItPrints) {
  const std::vector<CorpusFile> files = corpusOutputs();
  if (files.empty()) GTEST_SKIP() << "no corpus";
  TempFolder root;
  for (const CorpusFile& file : files) copyFile(file.source, root.file(file.subfolder + "/" + file.name));

  for (const bool gibbs : {false, true}) {
    SCOPED_TRACE(gibbs ? "Gibbs" : "energies");
    Session ui;
    extractHeat(ui, root.path(), /*subfolders*/ true, gibbs);
    EXPECT_TRUE(ui.errorBoxes().empty());
    const std::vector<std::string> log = heatLog();
    for (const std::string& line : log) EXPECT_FALSE(line.starts_with("File handling error")) << line;

    for (const CorpusFile& file : files) {
      SCOPED_TRACE(file.source);
      expectRecognised(file, log);
      const Printed printed = readPrinted(file.source);
      const std::string stem = file.subfolder + "_" + file.name.substr(0, file.name.size() - 3);
      const std::string shown = file.subfolder + "/" + file.name;
      const bool heatRules = !gibbs || file.program == "MOPAC";
      const std::vector<std::string> heat =
          writtenLines(root.file((heatRules ? "heat/" : "Gibbs/") + stem + "heat"));
      const std::string noneLine =
          (heatRules ? "No energy found in " : "No Gibbs free energy found in ") + shown;
      const bool saidNone = std::find(log.begin(), log.end(), noneLine) != log.end();

      if (file.program == "MOPAC") {
        if (!printed.heatOfFormation) {
          EXPECT_TRUE(saidNone);
          continue;
        }
        ASSERT_FALSE(heat.empty());
        EXPECT_EQ(heat.front(), heatLine(*printed.heatOfFormation));
      } else if (gibbs) {
        if (printed.freeEnergies.empty()) {
          EXPECT_TRUE(saidNone);
          continue;
        }
        ASSERT_EQ(heat.size(), printed.freeEnergies.size());
        for (size_t k = 0; k < heat.size(); ++k)
          EXPECT_NEAR(heatValue(heat[k]), printed.freeEnergies[k] * 627.51, 1e-6);
      } else if (file.program == "Gaussian") {
        if (!printed.archiveEnergy) {
          EXPECT_TRUE(saidNone);
          continue;
        }
        ASSERT_FALSE(heat.empty());
        EXPECT_NEAR(heatValue(heat.front()), *printed.archiveEnergy * 627.51, 1e-6);
      } else {
        if (saidNone) continue;  // a single point energy outside both kinds of run
        ASSERT_FALSE(heat.empty());
        EXPECT_NEAR(heatValue(heat.back()), *printed.lastSinglePoint * 627.51, 1e-6);
      }
    }
  }
}

// Folder mode reads the "*.log" files of a folder, or its "*.out" files
// when there is none: the two kinds go into two folders here.
TEST(ConformerCorpus, EveryOutputInFolderModeIsRecognised) {
  const std::vector<CorpusFile> files = corpusOutputs();
  if (files.empty()) GTEST_SKIP() << "no corpus";
  TempFolder root;
  for (const CorpusFile& file : files)
    copyFile(file.source, root.file((file.name.ends_with(".log") ? "logs/" : "outs/") + file.subfolder + "_" + file.name));
  for (const std::string folder : {"logs", "outs"}) {
    Session ui;
    extractHeat(ui, root.file(folder), /*subfolders*/ false, /*gibbs*/ false);
    EXPECT_TRUE(ui.errorBoxes().empty());
    const std::vector<std::string> log = heatLog();
    for (const CorpusFile& file : files) {
      if (file.name.ends_with(".log") != (folder == "logs")) continue;
      CorpusFile flat = file;
      flat.name = file.subfolder + "_" + file.name;
      expectRecognised(flat, log);
    }
    for (const std::string& line : log) EXPECT_FALSE(line.starts_with("File handling error")) << line;
  }
}

// A real output cut inside the number of its archive record ("HF=-382.")
// gives no heat file, only its error line; the walk goes on with the whole
// copy of the same output.
TEST(ConformerCorpus, ACopyCutInsideItsArchiveEnergyGivesNoHeatFile) {
  const std::string path = corpus("gaussian/energies/g16_cclib_dvb_gopt.out");
  if (path.empty()) GTEST_SKIP() << "no corpus";
  const std::string text = readTextFile(path);
  const size_t energy = text.find("\\HF=-382.");
  ASSERT_NE(energy, std::string::npos);
  TempFolder root;
  writeNewFile(root.file("conf_a/job.log"), text.substr(0, energy + 9));
  copyFile(path, root.file("conf_b/job.log"));
  Session ui;
  extractHeat(ui, root.path(), /*subfolders*/ true, /*gibbs*/ false);

  EXPECT_EQ(heatLog(), (std::vector<std::string>{
                           "job.log is a Gaussian16 File",
                           "File handling error occurred. Details: EInOutError/The archive record "
                           "ends before its end marker \\@ in conf_a/job.log",
                           "job.log is a Gaussian16 File", "Energy found in conf_b/job.log"}));
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_FALSE(fs::exists(root.file("heat/conf_a_job.heat")));
  const std::vector<std::string> heat = writtenLines(root.file("heat/conf_b_job.heat"));
  ASSERT_EQ(heat.size(), 1u);
  EXPECT_NEAR(heatValue(heat[0]), -382.3082666 * 627.51, 1e-6);
  EXPECT_EQ(writtenLines(root.file("heat/allheats.txt")),
            (std::vector<std::string>{"conf_b/job.log\t-382.3082666"}));
}

}  // namespace
