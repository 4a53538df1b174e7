// The walk of the extract spectra window: which files are handed to which
// extractor, the log lines in both modes, the spectra folder and its names,
// and how a bad file is logged while the walk goes on.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_spectra_extraction_support.h"

namespace {

namespace fs = std::filesystem;

// Outputs that hold their program's marker line and no table.
struct MarkedOutput {
  std::string name;
  std::string text;
};
const std::vector<MarkedOutput>& markedOutputs() {
  static const std::vector<MarkedOutput> outputs = {
      {"a_escf.log", " escf (TURBOMOLE V7.5)\n"},
      {"b_escf_alone.log", " escf without its program's name\n"},
      {"c_g03.log", " Gaussian 03:  IA32L-G03RevB.04  2-Jun-2003\n"},
      {"d_g09.log", " Gaussian 09:  EM64L-G09RevD.01 24-Apr-2013\n"},
      {"e_g16.log", " Gaussian 16:  ES64L-G16RevA.03 25-Dec-2016\n"},
      {"f_orca.log", "                                 * O   R   C   A *\n"},
      {"g_plain.log", " nothing any program would print\n"},
      {"h_ricc2.log", " ricc2 (TURBOMOLE V7.5)\n"},
  };
  return outputs;
}

const std::string tableRow = "  1  5.0  0.1  0.2  3.0  4.0";

void writeMarkedFolder(const std::string& folder) {
  for (const MarkedOutput& output : markedOutputs()) writeNewFile(folder + "/" + output.name, output.text);
  writeNewFile(folder + "/tda.dat", stdaTable({tableRow}));
}

// The lines of the marked folder, `nameOf` giving the shown name of a file.
std::vector<std::string> markedFolderLog(bool subfolders, const std::string& shown, const std::string& slashed) {
  auto noData = [&](const std::string& name) { return "No Spectral Data found in " + slashed + name; };
  return {"tda.dat might be an sTDA/sTDDFT file",
          "Spectra found in " + shown + "tda.dat",
          "a_escf.log is an escf File",
          noData("a_escf.log"),
          "c_g03.log is a Gaussian03 File",
          noData("c_g03.log"),
          "d_g09.log is a Gaussian09 File",
          noData("d_g09.log"),
          "e_g16.log is a Gaussian16 File",
          noData("e_g16.log"),
          "f_orca.log is an ORCA File",
          noData("f_orca.log"),
          subfolders ? "h_ricc2.log is an ricc2 File" : "h_ricc2.log is a ricc2 File",
          noData("h_ricc2.log")};
}

// Each marker in its test order, in both modes: the recognition line, then
// the extractor's own line; "escf" without "TURBOMOLE" and a file without a
// marker leave no line.
TEST(SpectraExtractionWalk, EachMarkerCallsItsExtractorInBothModes) {
  {
    Session ui;
    TempFolder root;
    writeMarkedFolder(root.path());
    extractSpectra(ui, root.path(), /*subfolders*/ false);
    EXPECT_EQ(spectraLog(), markedFolderLog(false, "", "/"));
    EXPECT_TRUE(fs::exists(root.file("spectra/tda.cd.bil")));
    EXPECT_TRUE(fs::exists(root.file("spectra/tda.uv.bil")));
  }
  {
    Session ui;
    TempFolder root;
    writeMarkedFolder(root.file("conf_a"));
    extractSpectra(ui, root.path(), /*subfolders*/ true);
    EXPECT_EQ(spectraLog(), markedFolderLog(true, "conf_a/", "conf_a/"));
    EXPECT_TRUE(fs::exists(root.file("spectra/conf_a_tda.cd.bil")));
  }
}

// Subfolder mode: the sTDA tables of every subfolder before the first output;
// nothing of the folder itself, of a dot folder or of a deeper one; .log
// over .out; CONF1.DAT passed over without a word.
TEST(SpectraExtractionWalk, TablesOfEverySubfolderComeFirst) {
  Session ui;
  TempFolder root;
  for (const std::string sub : {"conf1", "conf2"}) {
    writeNewFile(root.file(sub + "/tda.dat"), stdaTable({tableRow}));
    writeNewFile(root.file(sub + "/job.log"), " Gaussian 16:  ES64L-G16RevA.03\n");
    writeNewFile(root.file(sub + "/job.out"), " Gaussian 09:  EM64L-G09RevD.01\n");
  }
  writeNewFile(root.file("conf2/CONF1.DAT"), stdaTable({tableRow}));
  writeNewFile(root.file("top.dat"), stdaTable({tableRow}));
  writeNewFile(root.file("top.log"), " Gaussian 16:\n");
  writeNewFile(root.file(".hidden/job.log"), " Gaussian 16:\n");
  writeNewFile(root.file("conf3/deeper/job.log"), " Gaussian 16:\n");
  extractSpectra(ui, root.path(), true);

  EXPECT_EQ(spectraLog(), (std::vector<std::string>{
                              "tda.dat might be an sTDA/sTDDFT file", "Spectra found in conf1/tda.dat",
                              "tda.dat might be an sTDA/sTDDFT file", "Spectra found in conf2/tda.dat",
                              "job.log is a Gaussian16 File", "No Spectral Data found in conf1/job.log",
                              "job.log is a Gaussian16 File", "No Spectral Data found in conf2/job.log"}));
  std::vector<std::string> written;
  for (const auto& entry : fs::directory_iterator(root.file("spectra")))
    written.push_back(entry.path().filename().string());
  std::sort(written.begin(), written.end());
  EXPECT_EQ(written, (std::vector<std::string>{"conf1_tda.cd.bil", "conf1_tda.uv.bil", "conf2_tda.cd.bil",
                                               "conf2_tda.uv.bil"}));
}

// An ORCA output is refused in the velocity formalism with four lines in
// the order of the mode, once for every banner line; with neither
// formalism it gets no line, and the sTDA extractor reads nothing.
TEST(SpectraExtractionWalk, OrcaRefusalAndNoFormalism) {
  const std::string twoBanners = " * O   R   C   A *\n text\n * O   R   C   A *\n";
  struct Case {
    Gauge gauge;
    bool subfolders;
    std::vector<std::string> log;
  };
  const std::vector<Case> cases = {
      {Gauge::Velocity, true,
       {"tda.dat might be an sTDA/sTDDFT file", "Spectra found in conf/tda.dat",
        "job.log is an ORCA File, but ...", "Extract-Spectra works only with Length-Formalism for ORCA !",
        "*** Change your Settings! ***", "   ", "job.log is an ORCA File, but ...",
        "Extract-Spectra works only with Length-Formalism for ORCA !", "*** Change your Settings! ***",
        "   "}},
      {Gauge::Velocity, false,
       {"tda.dat might be an sTDA/sTDDFT file", "Spectra found in tda.dat",
        "job.log is an ORCA File, but ...", "*** Change your Settings! ***",
        "Extract-Spectra works only with Length-Formalism for ORCA !", "   ",
        "job.log is an ORCA File, but ...", "*** Change your Settings! ***",
        "Extract-Spectra works only with Length-Formalism for ORCA !", "   "}},
      {Gauge::Neither, false,
       {"tda.dat might be an sTDA/sTDDFT file", "No Spectral Data found in /tda.dat"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "subfolders " << c.subfolders << " gauge " << int(c.gauge));
    Session ui;
    TempFolder root;
    const std::string folder = c.subfolders ? root.file("conf") : root.path();
    writeNewFile(folder + "/job.log", twoBanners);
    writeNewFile(folder + "/tda.dat", stdaTable({tableRow}));
    chooseGauge(ui, c.gauge);
    extractSpectra(ui, root.path(), c.subfolders);
    EXPECT_EQ(spectraLog(), c.log);
    EXPECT_FALSE(fs::exists(root.file("spectra/job.cd.bil")));
    EXPECT_EQ(fs::exists(root.file(c.subfolders ? "spectra/conf_tda.cd.bil" : "spectra/tda.cd.bil")),
              c.gauge != Gauge::Neither);
  }
}

// Stems that meet in one run keep the files written first: conf1.dat and a
// conf1 output in one folder, a_b/c and a/b_c in two subfolders.
TEST(SpectraExtractionWalk, AStemMetTwiceInOneRunIsNotOverwritten) {
  Session ui;
  TempFolder root;
  writeNewFile(root.file("a/b_c.dat"), stdaTable({"  1  5.0  0.1  0.2  3.0  4.0"}));
  writeNewFile(root.file("a_b/c.dat"), stdaTable({"  1  4.0  0.5  0.6  7.0  8.0"}));
  extractSpectra(ui, root.path(), true);
  EXPECT_EQ(spectraLog(), (std::vector<std::string>{
                              "b_c.dat might be an sTDA/sTDDFT file", "Spectra found in a/b_c.dat",
                              "c.dat might be an sTDA/sTDDFT file",
                              "a_b/c.dat: a_b_c.cd.bil was already written in this run; not overwritten"}));
  EXPECT_EQ(writtenLines(root.file("spectra/a_b_c.cd.bil")),
            (std::vector<std::string>{"Orvanix bil-file (length formalism) ECD", "247.9\t3.000000"}));

  // A second Start is a run of its own: the files are written again.
  extractSpectra(ui, root.path(), true);
  EXPECT_EQ(spectraLog().size(), 4u);
}

// A binary file, a row that does not convert and a file that cannot be
// read: each gets its line, no box, and the next file is still read.
TEST(SpectraExtractionWalk, BadFilesAreLoggedAndTheWalkGoesOn) {
  Session ui;
  TempFolder root;
  writeNewFile(root.file("conf_a/job.log"), std::string("Gaussian 09: \0binary", 20));
  writeNewFile(root.file("conf_b/tda.dat"), stdaTable({"  1  5.0  abc  0.2  3.0  4.0"}));
  writeNewFile(root.file("conf_c/tda.dat"), stdaTable({tableRow}));
  writeNewFile(root.file("conf_d/tda.dat"), stdaTable({tableRow}));
  const bool canLock = geteuid() != 0;  // root reads every file
  if (canLock) chmod(root.file("conf_c/tda.dat").c_str(), 0);
  extractSpectra(ui, root.path(), true);
  if (canLock) chmod(root.file("conf_c/tda.dat").c_str(), 0644);

  const std::vector<std::string>& log = spectraLog();
  ASSERT_GE(log.size(), 5u);
  EXPECT_EQ(log[0], "tda.dat might be an sTDA/sTDDFT file");
  EXPECT_EQ(log[1], "File handling error occurred. Details: EConvertError/\"abc\" is an invalid float (tda.dat, line 3) in conf_b/tda.dat");
  if (canLock) {
    EXPECT_EQ(log[2], "File handling error occurred. Details: EInOutError/Access denied (" +
                          root.file("conf_c/tda.dat") + ") in conf_c/tda.dat");
  }
  EXPECT_EQ(log[log.size() - 2], "Spectra found in conf_d/tda.dat");
  EXPECT_EQ(log.back(), "conf_a/job.log is not a text file");
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_FALSE(fs::exists(root.file("spectra/conf_b_tda.cd.bil")));
  EXPECT_TRUE(fs::exists(root.file("spectra/conf_d_tda.cd.bil")));
}

// What the readers would tell after File > Open (here: the file ends inside
// a table, before its list of states) is one log line after the file's own
// lines, naming the file as the log's other lines do; a table without a
// state gives no bil file.
TEST(SpectraExtractionWalk, ANoteOfTheReadersIsOneLogLine) {
  for (const bool subfolders : {false, true}) {
    SCOPED_TRACE(subfolders ? "subfolder mode" : "folder mode");
    Session ui;
    TempFolder root;
    const std::string shown = subfolders ? "conf_a/job.log" : "job.log";
    writeNewFile(root.file(shown),
                 " Gaussian 16:  ES64L-G16RevA.03\n"
                 " 1/2[<0|r|b>*<b|rxdel|0> + (<0|rxdel|b>*<b|r|0>)*]\n"
                 " Rotatory Strengths (R) in cgs (10**-40 erg-esu-cm/Gauss)\n"
                 "       state          XX          YY          ZZ     R(length)\n"
                 "         1        -0.6314     -0.8070      0.0043     10.0000\n");
    extractSpectra(ui, root.path(), subfolders);
    const std::vector<std::string>& log = spectraLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "job.log is a Gaussian16 File");
    EXPECT_EQ(log[1], "No Spectral Data found in " + std::string(subfolders ? "" : "/") + shown +
                          ": it prints no excited state, or none in a table the program reads.");
    EXPECT_TRUE(log[2].starts_with("The file \"" + shown + "\" ends inside a table")) << log[2];
    EXPECT_FALSE(fs::exists(root.file("spectra")));
  }
}

// Start leaves the field ending with a separator; an empty field walks the
// current folder; "Select Dir" makes the chosen folder; "Close" closes.
TEST(SpectraExtractionWalk, FolderFieldSelectDirAndClose) {
  TempFolder root;
  writeNewFile(root.file("tda.dat"), stdaTable({tableRow}));
  {
    Session ui;
    extractSpectra(ui, root.path(), false);
    EXPECT_EQ(Form6->Edit1->Text(), root.path() + "/");
  }
  const std::string before = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(root.path()));
  fs::remove_all(root.file("spectra"));
  {
    Session ui;
    ui.onModal(Form6, [&] {
      ui.type(Form6->Edit1, "");
      ui.untick(Form6->CheckBox1);
      ui.click(Form6->Button2);
    });
    ui.menu(Form1->buildbilfiles1);
    EXPECT_TRUE(fs::exists(root.file("spectra/tda.cd.bil")));
  }
  SetCurrentDir(before);
  {
    Session ui;
    ui.willChooseFolder(root.file("new/folder"));
    ui.onModal(Form6, [&] {
      ui.click(Form6->Button1);
      ui.click(Form6->Button3);
    });
    ui.menu(Form1->buildbilfiles1);
    EXPECT_TRUE(fs::is_directory(root.file("new/folder")));
    EXPECT_EQ(Form6->Edit1->Text(), root.file("new/folder"));
  }
}

}  // namespace
