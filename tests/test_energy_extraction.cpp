// The energy readers of the heat extraction window, through Start: which
// energy each kind of output gives, the heat file and allheats.txt written,
// and the log lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conformer_test_support.h"
#include "tools/energy_readers.h"

namespace {

struct ReaderCase {
  const char* fixture;
  bool gibbs;
  std::vector<std::string> log;
  const char* folder;                // where the heat file goes; "" when nothing is written
  std::vector<std::string> heat;     // heat-file lines
  std::vector<std::string> energies; // allheats.txt values, as cut from the output
};

const ReaderCase readerCases[] = {
    {"g09_backslash.log", false,
     {"g09_backslash.log is a Gaussian09 File", "Energy found in g09_backslash.log"}, "heat",
     {heatLine("-71047.824456453")}, {"-113.2218203"}},
    {"g16_pipe.log", false,
     {"g16_pipe.log is a Gaussian16 File", "Energy found in g16_pipe.log"}, "heat",
     {heatLine("-71047.874406249")}, {"-113.2218999"}},
    // "m" + "p2" across the line end still asks for the MP2 value.
    {"g09_mp2_wrapped_route.log", false,
     {"g09_mp2_wrapped_route.log is a Gaussian09 File",
      "Energy found in g09_mp2_wrapped_route.log"},
     "heat", {heatLine("-71613.610313817")}, {"-114.1234567"}},
    // A route over three archive lines.
    {"g16_long_route.log", false,
     {"g16_long_route.log is a Gaussian16 File", "Energy found in g16_long_route.log"}, "heat",
     {heatLine("-71454.003521823")}, {"-113.8691073"}},
    {"g16_qcisdt.log", false,
     {"g16_qcisdt.log is a Gaussian16 File", "Energy found in g16_qcisdt.log"}, "heat",
     {heatLine("-47822.179733055")}, {"-76.2094305"}},
    {"g09_opt_freq.log", false,
     {"g09_opt_freq.log is a Gaussian09 File",
      "Attention, more than one energy found in g09_opt_freq.log"},
     "heat", {heatLine("-71047.8242682"), heatLine("-71047.824581955")},
     {"-113.22182", "-113.2218205"}},
    // One heat line per free-energy line, whatever the number of archives.
    {"g09_opt_freq.log", true,
     {"g09_opt_freq.log is a Gaussian09 File", "Gibbs free energy found in g09_opt_freq.log"},
     "Gibbs", {heatLine("-71043.21395223"), heatLine("-71043.2120697")},
     {"-113.214473", "-113.214470"}},
    {"g09_test_job.log", false,
     {"g09_test_job.log is a Gaussian09 File", "Energy found in g09_test_job.log"}, "heat",
     {heatLine("-71047.818683361")}, {"-113.2218111"}},
    {"g09_backslash.log", true,
     {"g09_backslash.log is a Gaussian09 File", "No Gibbs free energy found in /g09_backslash.log"},
     "", {}, {}},
    // MOPAC2016, and a heat of formation is no free energy: "heat" also in
    // Gibbs mode, taken as printed.
    {"mopac2016.out", true,
     {"mopac2016.out is a MOPAC File", "Energy found in mopac2016.out"}, "heat",
     {heatLine("-20.69694")}, {"-20.69694"}},
    // Nothing after "ORCA TERMINATED" counts.
    {"orca_single_point.out", false,
     {"orca_single_point.out is an ORCA File", "Energy found in orca_single_point.out"}, "heat",
     {heatLine("-239743.401206448")}, {"-382.055108614123"}},
    {"orca_single_point.out", true,
     {"orca_single_point.out is an ORCA File",
      "No Gibbs free energy found in /orca_single_point.out"},
     "", {}, {}},
    // Only the energy of the converged geometry.
    {"orca_optimisation.out", false,
     {"orca_optimisation.out is an ORCA File", "Energy found in orca_optimisation.out"}, "heat",
     {heatLine("-239743.416742763")}, {"-382.055133372796"}},
    // The free energy of a frequency run after the optimisation.
    {"orca_optimisation.out", true,
     {"orca_optimisation.out is an ORCA File", "Gibbs free energy found in orca_optimisation.out"},
     "Gibbs", {heatLine("-239646.139425447")}, {"-381.90011223"}},
    // iop(9/40=4): 72 lines of transition elements between "(Enter
    // ...l9999.exe)" and the archive, whose route begins on its second line.
    {"g16_td_iop940.log", false,
     {"g16_td_iop940.log is a Gaussian16 File", "Energy found in g16_td_iop940.log"}, "heat",
     {heatLine("-71849.972434734")}, {"-114.5001234"}},
    // A FORCE job prints no FINAL line: its last heat of formation counts.
    {"mopac_force.out", false,
     {"mopac_force.out is a MOPAC File", "Energy found in mopac_force.out"}, "heat",
     {heatLine("-57.798979")}, {"-57.798979"}},
    // With a FINAL line, that line alone counts.
    {"mopac2012_final.out", false,
     {"mopac2012_final.out is a MOPAC File", "Energy found in mopac2012_final.out"}, "heat",
     {heatLine("-57.79898")}, {"-57.79898"}},
    {"orca_neither.out", false,
     {"orca_neither.out is an ORCA File", "No energy found in /orca_neither.out"}, "", {}, {}},
    {"orca_gibbs.out", true,
     {"orca_gibbs.out is an ORCA File", "Gibbs free energy found in orca_gibbs.out"}, "Gibbs",
     {heatLine("-239645.991527615")}, {"-381.89987654"}},
};

TEST(EnergyExtraction, EachReaderGivesItsEnergyHeatFileAndList) {
  for (const ReaderCase& c : readerCases) {
    SCOPED_TRACE(std::string(c.fixture) + (c.gibbs ? " (Gibbs)" : ""));
    Session ui;
    TempFolder folder;
    copyFile(fixture(std::string("conformers/") + c.fixture), folder.file(c.fixture));
    extractHeat(ui, folder.path(), /*subfolders*/ false, c.gibbs);

    EXPECT_EQ(heatLog(), c.log);
    EXPECT_TRUE(ui.errorBoxes().empty());
    const std::string name = std::string(c.fixture);
    const std::string heatName = name.substr(0, name.size() - 3) + "heat";
    if (std::string(c.folder).empty()) {
      EXPECT_FALSE(std::filesystem::exists(folder.file("heat")));
      EXPECT_FALSE(std::filesystem::exists(folder.file("Gibbs")));
      continue;
    }
    const std::string written = folder.file(c.folder);
    EXPECT_EQ(writtenLines(written + "/" + heatName), c.heat);
    std::vector<std::string> list;
    for (const std::string& energy : c.energies) list.push_back(name + "\t" + energy);
    EXPECT_EQ(writtenLines(written + "/allheats.txt"), list);
  }
}

// A coordinate field of a vanadium atom looks like the archive's end marker:
// the cut then meets no number, and that file is logged and writes nothing.
TEST(EnergyExtraction, AVanadiumFieldEndsTheArchiveWalkAndIsLogged) {
  Session ui;
  TempFolder folder;
  copyFile(fixture("conformers/g16_vanadium.log"), folder.file("g16_vanadium.log"));
  copyFile(fixture("conformers/g09_backslash.log"), folder.file("later.log"));
  extractHeat(ui, folder.path(), false, false);

  ASSERT_EQ(heatLog().size(), 4u);
  EXPECT_EQ(heatLog()[0], "g16_vanadium.log is a Gaussian16 File");
  EXPECT_TRUE(heatLog()[1].starts_with("File handling error occurred. Details: EConvertError/"));
  EXPECT_TRUE(heatLog()[1].ends_with(" in g16_vanadium.log"));
  EXPECT_EQ(heatLog()[3], "Energy found in later.log");
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_FALSE(std::filesystem::exists(folder.file("heat/g16_vanadium.heat")));
  EXPECT_EQ(writtenLines(folder.file("heat/allheats.txt")),
            (std::vector<std::string>{"later.log\t-113.2218203"}));
}

// A record cut by the end of the file may cut its number: "HF=-1201." is
// no energy. The file gets its error line and no heat file, and the walk
// goes on.
TEST(EnergyExtraction, ARecordCutBeforeItsEndGivesTheErrorLineAndNoHeatFile) {
  Session ui;
  TempFolder folder;
  copyFile(fixture("conformers/g16_cut_in_hf.log"), folder.file("conf_a/job.log"));
  copyFile(fixture("conformers/g09_backslash.log"), folder.file("conf_b/job.log"));
  extractHeat(ui, folder.path(), /*subfolders*/ true, false);

  EXPECT_EQ(heatLog(), (std::vector<std::string>{
                           "job.log is a Gaussian16 File",
                           "File handling error occurred. Details: EInOutError/The archive record "
                           "ends before its end marker \\@ in conf_a/job.log",
                           "job.log is a Gaussian09 File", "Energy found in conf_b/job.log"}));
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_FALSE(std::filesystem::exists(folder.file("heat/conf_a_job.heat")));
  EXPECT_EQ(writtenLines(folder.file("heat/allheats.txt")),
            (std::vector<std::string>{"conf_b/job.log\t-113.2218203"}));
}

// Where the file ends decides: inside the number, after it but before the
// end marker, or between the two characters of the marker; a marker that
// the archive's line break splits still ends the record.
TEST(EnergyExtraction, OnlyARecordThatReachesItsEndMarkerGivesItsValue) {
  const std::string start =
      " Gaussian 16:  ES64L-G16RevA.03\n"
      " 1\\1\\GINC-NODE\\SP\\RHF\\3-21G\\C1H2O1\\USER\\07-Mar-2019\\0\\\\#P HF/3-21G\\\\Fo\n"
      " rmaldehyde\\\\0,1\\C,0.,0.,0.\\O,0.,0.,1.2\\\\Version=ES64L-G16RevA.03\\State=1-A1\n";
  struct Case {
    const char* name;
    std::string rest;
    bool whole;
  };
  const std::vector<Case> cases = {
      {"cut in the number", " \\HF=-113.22", false},
      {"cut before the marker", " \\HF=-113.2218203\\RMSD=2.151e-09\\PG=C02V [C2(C1O1)]\\\n", false},
      {"cut inside the marker", " \\HF=-113.2218203\\RMSD=2.151e-09\\PG=C02V [C2(C1O1)]\\\\", false},
      {"an empty line before the marker",
       " \\HF=-113.2218203\\RMSD=2.151e-09\\\n\n\\@\n Normal termination of Gaussian 16.\n", false},
      {"marker split by the line break", " \\HF=-113.2218203\\RMSD=2.151e-09\\PG=C02V\\\n @\n", true},
      {"whole", " \\HF=-113.2218203\\RMSD=2.151e-09\\PG=C02V\\\\@\n\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    writeNewFile(folder.file("job.log"), start + c.rest);
    if (c.whole) {
      EXPECT_EQ(GaussianEnergies(folder.file("job.log"), false).energies,
                std::vector<std::string>{"-113.2218203"});
    } else {
      EXPECT_THROW(GaussianEnergies(folder.file("job.log"), false), EInOutError);
    }
    // Free energies do not come from the record.
    EXPECT_NO_THROW(GaussianEnergies(folder.file("job.log"), true));
  }
}

// In Gibbs mode MOPAC heats still go to "heat"; each folder's list holds
// every line of the run up to the last heat file written into it.
TEST(EnergyExtraction, EachResultFolderListsTheRunUpToItsLastFile) {
  Session ui;
  TempFolder folder;
  copyFile(fixture("conformers/g09_opt_freq.log"), folder.file("a.log"));
  copyFile(fixture("conformers/mopac2016.out"), folder.file("b.log"));
  copyFile(fixture("conformers/orca_gibbs.out"), folder.file("c.log"));
  extractHeat(ui, folder.path(), false, /*gibbs*/ true);

  const std::vector<std::string> all = {"a.log\t-113.214473", "a.log\t-113.214470",
                                        "b.log\t-20.69694", "c.log\t-381.89987654"};
  EXPECT_EQ(writtenLines(folder.file("Gibbs/allheats.txt")), all);
  EXPECT_EQ(writtenLines(folder.file("heat/allheats.txt")),
            std::vector<std::string>(all.begin(), all.begin() + 3));
  EXPECT_EQ(writtenLines(folder.file("heat/b.heat")), (std::vector<std::string>{heatLine("-20.69694")}));
  EXPECT_TRUE(std::filesystem::exists(folder.file("Gibbs/a.heat")));
  EXPECT_TRUE(std::filesystem::exists(folder.file("Gibbs/c.heat")));
}

TEST(EnergyExtraction, ArchiveLineJoinerKeepsTheLastFieldOnly) {
  struct Join {
    std::string S, S1, separator, expected;
  };
  for (const Join& join : std::vector<Join>{{"a\\b\\c", "d\\e", "\\", "cd\\e"},
                                            {"a|b", "c", "|", "bc"},
                                            {"no separator", "next", "\\", "no separator"},
                                            {"ends\\", "next", "\\", "next"},
                                            {"a\\b", "c", "", "a\\b"}}) {
    std::string S = join.S;
    TForm5::ZeileSuchen(S, join.S1, join.separator);
    EXPECT_EQ(S, join.expected) << join.S;
  }
}

TEST(EnergyExtraction, MopacIsKnownByItsBannerOfAnyVersion) {
  EXPECT_TRUE(IsMopacBanner(" **                                MOPAC2007                        **"));
  EXPECT_TRUE(IsMopacBanner(" ** Cite this work as: MOPAC2012, James J. P. Stewart"));
  EXPECT_TRUE(IsMopacBanner("                            MOPAC2016 (Version: 16.093M)"));
  EXPECT_TRUE(IsMopacBanner(" **                          MOPAC v22.0.6                           **"));
  EXPECT_FALSE(IsMopacBanner("     **  MOPAC calculations will run in shared-memory parallel CPUs  **"));
  EXPECT_FALSE(IsMopacBanner(" == MOPAC DONE =="));
}

// The heat line of a hartree value is what the sum reads back; the MOPAC
// text is taken as printed, but only when it is a number.
TEST(EnergyExtraction, HeatLinesConvertHartreeAndRefuseNonNumbers) {
  EXPECT_EQ(HartreeHeatLine("-1"), heatLine("-627.51"));
  EXPECT_EQ(HartreeHeatLine("0.5"), heatLine("313.755"));
  EXPECT_EQ(KcalHeatLine("22.95653"), heatLine("22.95653"));
  EXPECT_THROW(HartreeHeatLine(""), EConvertError);
  EXPECT_THROW(HartreeHeatLine("-1,5"), EConvertError);
  EXPECT_THROW(KcalHeatLine("*********"), EConvertError);
}

}  // namespace
