// A named pipe where a file is expected never holds the program: the two
// extraction walks name it in their log, File > Open and the savers refuse it
// in a box that names it. Each action runs under a time limit, so a pipe that
// blocks again fails the test instead of hanging it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/testing/file_checks.h"
#include "test_spectra_extraction_support.h"

namespace {

bool anyBoxHolds(const Session& ui, const std::string& text) {
  return std::any_of(ui.boxes().begin(), ui.boxes().end(),
                     [&](const Box& box) { return box.text.find(text) != std::string::npos; });
}

bool isPipe(const std::string& path) {
  struct stat status {};
  return lstat(path.c_str(), &status) == 0 && S_ISFIFO(status.st_mode);
}

// Both walks in both modes: the pipes with an output ending get one line
// each, the regular outputs beside them are read as before.
TEST(NonRegularFiles, TheWalksNameAPipeAndReadTheFilesBesideIt) {
  for (const bool subfolders : {true, false}) {
    SCOPED_TRACE(subfolders ? "subfolder mode" : "folder mode");
    Session ui;
    TempFolder root;
    const std::string folder = subfolders ? root.file("conf_a") : root.path();
    const std::string shown = subfolders ? "conf_a/" : "";
    writeNewFile(folder + "/a.log", readTextFile(fixture("conformers/mopac2016.out")));
    makePipe(folder + "/x.log");
    makePipe(folder + "/z.dat");
    makePipe(folder + "/w.txt");  // no output ending: not the walk's business
    const std::vector<std::string> pipes = {folder + "/x.log", folder + "/z.dat"};

    ASSERT_TRUE(EndsInTime(pipes, [&] { extractHeat(ui, root.path(), subfolders, false); }));
    EXPECT_EQ(heatLog(), (std::vector<std::string>{"a.log is a MOPAC File", "Energy found in " + shown + "a.log",
                                                   shown + "x.log is not a regular file"}));

    ASSERT_TRUE(EndsInTime(pipes, [&] { extractSpectra(ui, root.path(), subfolders); }));
    EXPECT_EQ(spectraLog(), (std::vector<std::string>{shown + "z.dat is not a regular file",
                                                      shown + "x.log is not a regular file"}));
    EXPECT_TRUE(ui.errorBoxes().empty());
    EXPECT_TRUE(isPipe(folder + "/x.log"));
  }
}

// File > Open on a pipe of every ending the dispatcher reads: a box names
// the pipe, no slot is filled.
TEST(NonRegularFiles, FileOpenRefusesAPipeInABoxThatNamesIt) {
  for (const std::string name : {"x.log", "z.dat", "x.cd.bil", "x.uv.exp.xy", "x.or.exp.xy", "x.cuv", "x.cd"}) {
    SCOPED_TRACE(name);
    Session ui;
    TempFolder root;
    const std::string pipe = root.file(name);
    makePipe(pipe);
    ui.willChooseFile(pipe);
    ASSERT_TRUE(EndsInTime({pipe}, [&] { ui.menu(Form1->Open1); }));
    EXPECT_TRUE(anyBoxHolds(ui, "Not a regular file (" + pipe + ")")) << ui.lastBox().text;
    EXPECT_EQ(ui.boxes().size(), 1u) << "one box per open";
    EXPECT_NE(ui.store().CDACTIVE[1], "calc");
    EXPECT_NE(ui.store().UVACTIVE[1], "exp");
    EXPECT_FALSE(ui.store().HPLC_UV[1]);
  }
}

// Saving onto a pipe without a reader: the overwrite question, then the box
// that names the pipe, which stays a pipe.
TEST(NonRegularFiles, SavingOntoAPipeIsRefusedInABoxThatNamesIt) {
  struct Case {
    std::string name;
    MenuItem* TForm1::*item;
    std::string loaded;
  };
  const std::vector<Case> cases = {
      {"x.cd.bil", &TForm1::SaveCD1, "measured/mol.cd.bil"},
      {"x.cd.xy", &TForm1::Savexy1, "measured/mol.cd.bil"},
      {"x.ir.xy", &TForm1::saveIRxy, "measured/mol.ir.bil"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session ui;
    TempFolder root;
    const std::string pipe = root.file(c.name);
    makePipe(pipe);
    ui.act([&] { Form1->Choose(fixture(c.loaded)); });
    ui.clearBoxes();
    ui.willChooseFile(pipe);
    ui.willAnswer(Answer::Yes);
    ASSERT_TRUE(EndsInTime({pipe}, [&] { ui.menu(Form1->*c.item); }));
    ASSERT_EQ(ui.errorBoxes().size(), 1u);
    EXPECT_EQ(ui.errorBoxes()[0].text, "Not a regular file (" + pipe + ")");
    EXPECT_FALSE(anyBoxHolds(ui, "File saved!"));
    EXPECT_TRUE(isPipe(pipe));
  }
}

TEST(NonRegularFiles, APlotScriptOntoAPipeIsRefusedInABoxThatNamesIt) {
  Session ui;
  TempFolder root;
  const std::string pipe = root.file("x.plt");
  makePipe(pipe);
  ui.act([] { Form1->HPLCUV(fixture("plots/peaks.cuv"), 1); });
  Form2->Edit1->SetText(root.path());  // no gnuplot there
  ui.clearBoxes();
  ui.willChooseFile(pipe);
  ui.willAnswer(Answer::Yes);
  ASSERT_TRUE(EndsInTime({pipe}, [&] { ui.click(Form1->Button3); }));
  EXPECT_TRUE(anyBoxHolds(ui, "Not a regular file (" + pipe + ")")) << ui.lastBox().text;
  EXPECT_TRUE(isPipe(pipe));
}

}  // namespace
