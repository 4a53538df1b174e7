// The folder walk of the extraction windows: which files are read in either
// mode, the names results are written under, and how a bad file is logged
// while the walk goes on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_spectra_extraction_support.h"
#include "tools/folder_walk.h"

namespace {

namespace fs = std::filesystem;

std::string gaussianFixture() { return fixture("conformers/g09_backslash.log"); }
const char* const energy = "-113.2218203";

TEST(ConformerWalk, NamesStemsAndFolders) {
  struct Case {
    WalkFile file;
    std::string path, shown, slashed, stem;
  };
  const std::vector<Case> cases = {
      {{"/d/", "", "conf1.log"}, "/d/conf1.log", "conf1.log", "/conf1.log", "conf1."},
      {{"/d/", "conf_a", "job.log"}, "/d/conf_a/job.log", "conf_a/job.log", "conf_a/job.log",
       "conf_a_job."},
      {{"C:\\d\\", "sub", "x.out"}, "C:\\d\\sub/x.out", "sub/x.out", "sub/x.out", "sub_x."},
      // A name too short for its ending loses all of it.
      {{"/d/", "", "ab"}, "/d/ab", "ab", "/ab", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.file.path(), c.path);
    EXPECT_EQ(c.file.shownName(), c.shown);
    EXPECT_EQ(c.file.slashedName(), c.slashed);
    EXPECT_EQ(c.file.stem(), c.stem);
  }
  EXPECT_EQ(WalkFolder("/data/calc"), "/data/calc/");
  EXPECT_EQ(WalkFolder("/data/calc/"), "/data/calc/");
  EXPECT_EQ(WalkFolder("C:\\calc\\"), "C:\\calc\\");
  EXPECT_EQ(WalkFolder(""), GetCurrentDir() + "/");
  EXPECT_EQ(JoinFolder("/d", "x"), "/d/x");
  EXPECT_EQ(JoinFolder("/d\\", "x"), "/d\\x");
}

// Subfolder mode: one level down, never the folder itself, never a folder
// whose name begins with "."; "*.log" over "*.out", in any case.
TEST(ConformerWalk, SubfolderModeReadsEachSubfolderOnce) {
  Session ui;
  TempFolder root;
  copyFile(gaussianFixture(), root.file("top.log"));
  copyFile(gaussianFixture(), root.file("conf_a/job.log"));
  copyFile(gaussianFixture(), root.file("conf_b/job.log"));
  copyFile(gaussianFixture(), root.file("conf_c/first.out"));
  copyFile(gaussianFixture(), root.file("conf_c/second.log"));
  copyFile(gaussianFixture(), root.file("conf_d/only.out"));
  copyFile(gaussianFixture(), root.file("conf_e/UPPER.LOG"));
  copyFile(gaussianFixture(), root.file(".snapshot/job.log"));
  copyFile(gaussianFixture(), root.file("conf_f/deeper/job.log"));
  extractHeat(ui, root.path(), /*subfolders*/ true, /*gibbs*/ false);

  const std::vector<std::string> found = {"conf_a/job.log", "conf_b/job.log", "conf_c/second.log",
                                          "conf_d/only.out", "conf_e/UPPER.LOG"};
  std::vector<std::string> log, list;
  for (const std::string& shown : found) {
    log.push_back(shown.substr(shown.find('/') + 1) + " is a Gaussian09 File");
    log.push_back("Energy found in " + shown);
    list.push_back(shown + "\t" + energy);
  }
  EXPECT_EQ(heatLog(), log);
  EXPECT_EQ(writtenLines(root.file("heat/allheats.txt")), list);
  std::vector<std::string> heatFiles;
  for (const auto& entry : fs::directory_iterator(root.file("heat")))
    heatFiles.push_back(entry.path().filename().string());
  std::sort(heatFiles.begin(), heatFiles.end());
  EXPECT_EQ(heatFiles, (std::vector<std::string>{"allheats.txt", "conf_a_job.heat", "conf_b_job.heat",
                                                  "conf_c_second.heat", "conf_d_only.heat",
                                                  "conf_e_UPPER.heat"}));
}

TEST(ConformerWalk, FolderModeReadsTheFolderItselfAndLogsSlashedNames) {
  Session ui;
  TempFolder root;
  copyFile(gaussianFixture(), root.file("conf1.log"));
  copyFile(gaussianFixture(), root.file("conf2.out"));
  copyFile(fixture("conformers/orca_neither.out"), root.file("conf3.log"));
  copyFile(gaussianFixture(), root.file("sub/conf4.log"));
  extractHeat(ui, root.path(), false, false);

  EXPECT_EQ(heatLog(), (std::vector<std::string>{"conf1.log is a Gaussian09 File", "Energy found in conf1.log",
                                                  "conf3.log is an ORCA File",
                                                  "No energy found in /conf3.log"}));
  EXPECT_EQ(writtenLines(root.file("heat/conf1.heat")), (std::vector<std::string>{heatLine("-71047.824456453")}));
  EXPECT_FALSE(fs::exists(root.file("heat/conf4.heat")));
  EXPECT_FALSE(fs::exists(root.file("heat/conf2.heat")));
}

// Two outputs whose stems meet write one heat file: the first, and a line
// for the second.
TEST(ConformerWalk, AStemMetTwiceInOneRunIsNotOverwritten) {
  {
    Session ui;
    TempFolder root;
    copyFile(fixture("conformers/g16_pipe.log"), root.file("conf1.LOG"));
    copyFile(gaussianFixture(), root.file("conf1.log"));
    extractHeat(ui, root.path(), false, false);
    EXPECT_EQ(heatLog(), (std::vector<std::string>{
                             "conf1.LOG is a Gaussian16 File", "Energy found in conf1.LOG",
                             "conf1.log is a Gaussian09 File",
                             "conf1.log: conf1.heat was already written in this run; not overwritten"}));
    EXPECT_EQ(writtenLines(root.file("heat/conf1.heat")),
              (std::vector<std::string>{heatLine("-71047.874406249")}));
    EXPECT_EQ(writtenLines(root.file("heat/allheats.txt")),
              (std::vector<std::string>{"conf1.LOG\t-113.2218999"}));
  }
  {
    Session ui;
    TempFolder root;
    copyFile(fixture("conformers/g16_pipe.log"), root.file("a/b_c.log"));
    copyFile(gaussianFixture(), root.file("a_b/c.log"));
    extractHeat(ui, root.path(), true, false);
    EXPECT_EQ(heatLog().back(), "a_b/c.log: a_b_c.heat was already written in this run; not overwritten");
    EXPECT_EQ(writtenLines(root.file("heat/a_b_c.heat")),
              (std::vector<std::string>{heatLine("-71047.874406249")}));
  }
}

// A second Start of the same folder writes the same files again.
TEST(ConformerWalk, EachStartIsARunOfItsOwn) {
  Session ui;
  TempFolder root;
  copyFile(gaussianFixture(), root.file("conf1.log"));
  extractHeat(ui, root.path(), false, false);
  extractHeat(ui, root.path(), false, false);
  EXPECT_EQ(heatLog(), (std::vector<std::string>{"conf1.log is a Gaussian09 File", "Energy found in conf1.log"}));
  EXPECT_EQ(writtenLines(root.file("heat/allheats.txt")), (std::vector<std::string>{std::string("conf1.log\t") + energy}));
}

// A binary file, an output of another program, a number that does not
// convert and a file that cannot be read: each gets its line, and the next
// file is still read.
TEST(ConformerWalk, BadFilesAreLoggedAndTheWalkGoesOn) {
  Session ui;
  TempFolder root;
  writeNewFile(root.file("conf_a/job.log"), std::string("Gaussian 09: \0binary", 20));
  writeNewFile(root.file("conf_b/job.log"), " TURBOMOLE escf output\n");
  writeNewFile(root.file("conf_c/job.log"),
                " MOPAC2012\n          FINAL HEAT OF FORMATION =    ********* KCAL/MOL\n");
  copyFile(gaussianFixture(), root.file("conf_d/job.log"));
  copyFile(gaussianFixture(), root.file("conf_e/job.log"));
  const bool canLock = geteuid() != 0;  // root reads every file
  if (canLock) chmod(root.file("conf_d/job.log").c_str(), 0);
  extractHeat(ui, root.path(), true, false);
  if (canLock) chmod(root.file("conf_d/job.log").c_str(), 0644);

  const std::vector<std::string>& log = heatLog();
  ASSERT_GE(log.size(), 7u);
  EXPECT_EQ(log[0], "conf_a/job.log is not a text file");
  EXPECT_EQ(log[1], "conf_b/job.log was not recognised");
  EXPECT_EQ(log[2], "job.log is a MOPAC File");
  EXPECT_EQ(log[3], "File handling error occurred. Details: EConvertError/\"*********\" is an invalid float in conf_c/job.log");
  if (canLock) {
    EXPECT_EQ(log[4], "File handling error occurred. Details: EInOutError/Access denied (" +
                          root.file("conf_d/job.log") + ") in conf_d/job.log");
  }
  EXPECT_EQ(log.back(), "Energy found in conf_e/job.log");
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_FALSE(fs::exists(root.file("heat/conf_c_job.heat")));
  EXPECT_TRUE(fs::exists(root.file("heat/conf_e_job.heat")));
}

// The folder field may use "\" or lack its last separator; Start leaves it
// ending with one. An empty field walks the current folder.
TEST(ConformerWalk, TheFolderFieldTakesEitherSeparatorOrNone) {
  TempFolder root;
  copyFile(gaussianFixture(), root.file("conf1.log"));
  const std::string path = root.path();
  const std::string backslashed = path.substr(0, path.rfind('/')) + "\\" + path.substr(path.rfind('/') + 1);
  for (const std::string& field : {path, backslashed, path + "\\"}) {
    SCOPED_TRACE(field);
    fs::remove_all(root.file("heat"));
    Session ui;
    extractHeat(ui, field, false, false);
    EXPECT_TRUE(Form5->Edit1->Text().ends_with("/") || Form5->Edit1->Text().ends_with("\\"));
    EXPECT_EQ(writtenLines(root.file("heat/conf1.heat")), (std::vector<std::string>{heatLine("-71047.824456453")}));
  }

  const std::string before = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(root.path()));
  fs::remove_all(root.file("heat"));
  {
    Session ui;
    ui.onModal(Form5, [&] {
      ui.type(Form5->Edit1, "");
      ui.untick(Form5->CheckBox1);
      ui.click(Form5->Button2);
    });
    ui.menu(Form1->heatextraction1);
    EXPECT_EQ(Form5->Edit1->Text(), root.path() + "/");
  }
  SetCurrentDir(before);
  EXPECT_TRUE(fs::exists(root.file("heat/conf1.heat")));
}

// A walk that meets no output file says so in one line, in both windows: a
// missing folder, or none where the walk looks, with the hint to the other
// mode when that mode would find some.
TEST(ConformerWalk, AWalkThatMeetsNoOutputFileSaysSo) {
  TempFolder root;
  writeNewFile(root.file("top/job.log"), " Gaussian 16:\n");
  writeNewFile(root.file("deep/conf_a/job.out"), " Gaussian 16:\n");
  fs::create_directories(root.file("empty/sub"));
  const std::string untick = "; the folder itself holds output files, which are read with \"search in "
                             "subfolder(s) only\" unticked";
  const std::string tick = "; its subfolders hold output files, which \"search in subfolder(s) only\" reads";
  struct Case {
    std::string folder;
    bool subfolders;
    std::string line;
  };
  const std::vector<Case> cases = {
      {root.file("none"), true, "Folder not found: " + root.file("none") + "/"},
      {root.file("none"), false, "Folder not found: " + root.file("none") + "/"},
      {root.file("top"), true, "No output file found in the subfolders of " + root.file("top") + "/" + untick},
      {root.file("deep"), false, "No output file found in " + root.file("deep") + "/" + tick},
      {root.file("empty"), true, "No output file found in the subfolders of " + root.file("empty") + "/"},
      {root.file("empty"), false, "No output file found in " + root.file("empty") + "/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder + (c.subfolders ? " in subfolder mode" : " in folder mode"));
    Session ui;
    extractHeat(ui, c.folder, c.subfolders, false);
    EXPECT_EQ(heatLog(), std::vector<std::string>{c.line});
    extractSpectra(ui, c.folder, c.subfolders);
    EXPECT_EQ(spectraLog(), std::vector<std::string>{c.line});
    EXPECT_TRUE(ui.errorBoxes().empty());
  }
  EXPECT_FALSE(fs::exists(root.file("none"))) << "Start makes no folder";
}

// A session that counts how often the program asked to show its changes.
class PaintCountingSession : public Session {
 public:
  void ProcessPaint() override { ++paints; }
  int paints = 0;
};

// A long walk is never a frozen window: every log line shows as it comes.
TEST(ConformerWalk, EachLogLineShowsAtOnce) {
  PaintCountingSession ui;
  TempFolder root;
  for (const char* name : {"a", "b", "c"}) copyFile(gaussianFixture(), root.file(std::string(name) + "/job.log"));
  extractHeat(ui, root.path(), true, false);
  EXPECT_EQ(heatLog().size(), 6u);
  EXPECT_GE(ui.paints, 6);
}

TEST(ConformerWalk, SelectDirCreatesTheChosenFolder) {
  Session ui;
  TempFolder root;
  const std::string chosen = root.file("new/deeper");
  ui.onModal(Form5, [&] {
    ui.willChooseFolder(chosen);
    ui.click(Form5->Button1);
  });
  ui.menu(Form1->heatextraction1);
  EXPECT_EQ(Form5->Edit1->Text(), chosen);
  EXPECT_TRUE(fs::is_directory(chosen));
}

TEST(ConformerWalk, TextTestLooksAtTheFirst64KiB) {
  TempFolder root;
  writeTextFile(root.file("late.log"), std::string(TextTestLength, 'x') + std::string(1, '\0'));
  writeTextFile(root.file("early.log"), std::string(TextTestLength - 1, 'x') + std::string(1, '\0'));
  writeTextFile(root.file("empty.log"), "");
  EXPECT_TRUE(IsTextFile(root.file("late.log")));
  EXPECT_FALSE(IsTextFile(root.file("early.log")));
  EXPECT_TRUE(IsTextFile(root.file("empty.log")));
  EXPECT_THROW(IsTextFile(root.file("missing.log")), EInOutError);
}

}  // namespace
