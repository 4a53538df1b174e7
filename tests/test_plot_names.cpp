// Names in publication plots: no character of a loaded file's name, a typed
// script name or a folder is run by gnuplot or breaks a script; every script
// keeps data files of its own; names show as typed; "File saved!" only when
// every file was written; each saved script is rendered or says why not.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "files/save_flow.h"
#include "gnuplot_render_check.h"
#include "plot_export_test_support.h"

namespace {

// The file names a script reads its data from: every single-quoted string
// of its plot lines that ends in ".xy" or ".xyz", with '' read as '.
std::vector<std::string> dataFilesNamed(const std::vector<std::string>& lines) {
  std::vector<std::string> names;
  for (const std::string& line : lines) {
    if (line.rfind("set out", 0) == 0) continue;
    size_t at = 0;
    while ((at = line.find('\'', at)) != std::string::npos) {
      std::string text;
      size_t i = at + 1;
      for (; i < line.size(); ++i) {
        if (line[i] != '\'') {
          text += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '\'') {
          text += '\'';
          ++i;
        } else {
          break;
        }
      }
      at = i + 1;
      const bool data = (text.size() > 3 && text.substr(text.size() - 3) == ".xy") ||
                        (text.size() > 4 && text.substr(text.size() - 4) == ".xyz");
      if (data) names.push_back(text);
    }
  }
  return names;
}

// One export button with the file it is tried on.
struct Exporter {
  const char* name;
  const char* fixture;  // loaded into slot 1
  const char* ending;   // the fixture's ending, kept by a hostile copy
  std::function<Button*()> button;
  const char* picture;
};

const std::vector<Exporter>& exporters() {
  static const std::vector<Exporter> all = {
      {"ECD EPS", "plots/conf1.cd.bil", ".cd.bil", [] { return Form1->Button1; }, ".eps"},
      {"ECD PNG", "plots/conf1.cd.bil", ".cd.bil", [] { return Form1->Button12; }, ".png"},
      {"UV EPS", "plots/conf1.uv.bil", ".uv.bil", [] { return Form1->Button7; }, ".eps"},
      {"UV PNG", "plots/conf1.uv.bil", ".uv.bil", [] { return Form1->Button13; }, ".png"},
      {"ORD EPS", "measured/mol.or.bil", ".or.bil", [] { return Form1->Button11; }, ".eps"},
      {"ORD PNG", "measured/mol.or.bil", ".or.bil", [] { return Form1->Button14; }, ".png"},
      {"VCD", "plots/conf1.vc.bil", ".vc.bil", [] { return Form1->Button17; }, ".eps"},
      {"IR", "plots/conf1.ir.bil", ".ir.bil", [] { return Form1->Button20; }, ".eps"},
      {"HPLC 2D", "plots/peaks.cuv", ".cuv", [] { return Form1->Button3; }, ".eps"},
      {"HPLC 3D", "plots/peaks.cuv", ".cuv", [] { return Form1->Button15; }, ".eps"},
  };
  return all;
}

enum class Where { LoadedFile, ScriptName, Folder };

}  // namespace

TEST(PlotNames, TextsForGnuplot) {
  EXPECT_EQ(GnuplotString("a`touch X`b"), "'a`touch X`b'");
  EXPECT_EQ(GnuplotString("it's \"$x\" \\ @y"), "'it''s \"$x\" \\ @y'");
  EXPECT_EQ(Latin1Text("M\xC3\xBCllers\xC3\xA4ure"), "M\xFCllers\xE4ure");
  // Outside ISO 8859-1, and bytes that are no UTF-8, become '?'.
  EXPECT_EQ(Latin1Text("\xCE\xB1-\xE2\x82\xAC-\xF0\x9F\x98\x80-\xFC-\xC3"), "?-?-?-?-?");
  // The legend shows every character as typed: markup escaped, control
  // characters left out, blanks and underscores dropped by ShrinkFileName.
  EXPECT_EQ(LegendName("{}^@&~\\`'\"$.cd.bil"), "\\{\\}\\^\\@\\&\\~\\\\`'\"$");
  EXPECT_EQ(LegendName("x\ny\tz_1 2.log"), "xyz12");
  DataFileNames names("it's.plt");
  EXPECT_EQ(names.take(), "it's-1");
  EXPECT_EQ(names.take(), "it's-2");
}

// One suite per export button, so that the cases of the buttons run side by side.
class HostileNames : public testing::TestWithParam<size_t> {};

TEST_P(HostileNames, NoCharacterOfANameRunsOrBreaksTheScript) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  const Exporter& exporter = exporters()[GetParam()];
  struct Hostile {
    const char* label;
    std::string text;
  };
  const std::vector<Hostile> hostile = {
      {"backquote", "`touch MARKER`"}, {"double quote", "\"q"}, {"single quote", "'q"},
      {"backslash", "\\q"},            {"dollar", "$(touch MARKER)"}, {"at", "@MARKER"},
      {"newline", "\nq"},
  };
  {
    for (const Hostile& h : hostile) {
      for (Where where : {Where::LoadedFile, Where::ScriptName, Where::Folder}) {
        const char* place = where == Where::LoadedFile ? "file" : where == Where::ScriptName ? "script" : "folder";
        SCOPED_TRACE(std::string(exporter.name) + ", " + h.label + " in the " + place + " name");
        Session ui;
        TempFolder root;
        const std::string name = "x" + h.text + "y";
        std::string scriptFolder = root.file("out");
        std::string loaded = fixture(exporter.fixture);
        if (where == Where::Folder) scriptFolder = root.file(name);
        std::filesystem::create_directories(NativePath(scriptFolder));
        // The program reads '\' as a folder separator, so no loaded file's
        // name holds one: the curve takes it from its title alone.
        const bool titleOnly = where == Where::LoadedFile && h.text[0] == '\\';
        if (where == Where::LoadedFile && !titleOnly) {
          loaded = root.file(name + exporter.ending);
          std::filesystem::copy_file(fixture(exporter.fixture), loaded);
        }
        ui.act([&] { Form1->Choose(loaded); });
        if (titleOnly) {
          Store& store = ui.store();
          for (SlotTexts* titles : {&store.CDTITLE, &store.UVTITLE, &store.VCDTITLE, &store.IRTITLE, &store.HPLCTITLE})
            (*titles)[1] = name + exporter.ending;
          store.ORDTITLE[1] = name + exporter.ending;
        }
        // The person accepts the preset name, or types one.
        const std::string typed =
            where == Where::LoadedFile ? ScriptPresetName(Form1->Caption()) : where == Where::ScriptName ? name : "p";
        ui.clearBoxes();
        ui.willChooseFile(scriptFolder + "/" + typed);
        ui.click(exporter.button());

        const std::string script = scriptFolder + "/" + typed + ".plt";
        const bool lineBreak = h.text[0] == '\n' && where != Where::Folder;
        const bool typedSeparator = h.text[0] == '\\' && where == Where::ScriptName;
        if (lineBreak) {
          EXPECT_EQ(boxTexts(ui), std::vector<std::string>{ScriptNameRefusedText});
          EXPECT_FALSE(FileExists(script));
        } else if (typedSeparator) {
          // "x\qy" names the script qy in a folder x that is not there.
          ASSERT_EQ(ui.boxes().size(), 1u);
          EXPECT_NE(ui.boxes()[0].text.find("x/qy-1.xy"), std::string::npos) << ui.boxes()[0].text;
        } else {
          EXPECT_EQ(boxTexts(ui), std::vector<std::string>{FileSavedText});
          expectPicture(NativePath(scriptFolder + "/" + typed + exporter.picture));
          for (const std::string& data : dataFilesNamed(ReadLines(script)))
            EXPECT_TRUE(FileExists(scriptFolder + "/" + data)) << data;
        }
        EXPECT_FALSE(FileExists(NativePath(scriptFolder) + "/MARKER"));
        EXPECT_FALSE(FileExists(root.file("MARKER")));
        EXPECT_FALSE(FileExists("MARKER"));
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryExporter, HostileNames, testing::Range<size_t>(0, 10),
                         [](const testing::TestParamInfo<size_t>& info) {
                           return CaseName(exporters()[info.param].name);
                         });

namespace {

// Every data file a saved script reads, with its bytes as they are now.
std::vector<std::pair<std::string, std::string>> dataOf(const std::string& folder, const std::string& script) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const std::string& name : dataFilesNamed(ReadLines(folder + "/" + script)))
    files.emplace_back(name, readTextFile(folder + "/" + name));
  return files;
}

}  // namespace

TEST(PlotNames, PicturesInOneFolderKeepTheirOwnData) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  struct Pair {
    const char* label;
    std::function<void(Session&)> loadFirst, loadSecond;
    std::function<Button*()> first, second;
  };
  const std::vector<Pair> pairs = {
      {"ECD then UV", [](Session& ui) { loadEcdPair(ui); }, [](Session& ui) { loadUvPair(ui); },
       [] { return Form1->Button1; }, [] { return Form1->Button7; }},
      {"VCD then IR", [](Session& ui) { loadIrVcdPage(ui, true, 3); },
       [](Session& ui) { loadIrVcdPage(ui, false, 3); }, [] { return Form1->Button17; },
       [] { return Form1->Button20; }},
  };
  for (const Pair& pair : pairs) {
    SCOPED_TRACE(pair.label);
    Session ui;
    TempFolder out;
    pair.loadFirst(ui);
    ui.willChooseFile(out.file("first"));
    ui.click(pair.first());
    const auto firstData = dataOf(out.path(), "first.plt");
    ASSERT_FALSE(firstData.empty());
    pair.loadSecond(ui);
    ui.willChooseFile(out.file("second"));
    ui.click(pair.second());
    // The same file names in both, the second picture left the first's data
    // as it was, and the first script, run again, still draws.
    const auto secondData = dataOf(out.path(), "second.plt");
    for (const auto& [name, bytes] : secondData)
      for (const auto& [firstName, firstBytes] : firstData) EXPECT_NE(name, firstName);
    EXPECT_EQ(dataOf(out.path(), "first.plt"), firstData);
    expectRendered(out.path(), "first.plt", ".eps");

    // Saving the first again, after its question, replaces only its own.
    const auto before = dataOf(out.path(), "second.plt");
    pair.loadFirst(ui);
    ui.willChooseFile(out.file("first.plt"));
    ui.willAnswer(Answer::Yes);
    ui.click(pair.first());
    EXPECT_EQ(dataOf(out.path(), "second.plt"), before);
  }
}

TEST(PlotNames, HplcPassesOfOneClickKeepTheirOwnData) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  Session ui;
  TempFolder out;
  // Two long trace names that shorten alike.
  ui.act([&] {
    Form1->HPLCUV(fixture("plots/peaks.cuv"), 1);
    Form1->HPLCCD(fixture("plots/peaks.ccd"), 2);
    ui.store().HPLCTITLE[1] = "Tolbutamid_racemate_run_UV.cuv";
    ui.store().HPLCTITLE[2] = "Tolbutamid_racemate_run_CD.ccd";
  });
  const PlotControls controls = ReadPlotControls(*Form1);
  const PlotScript uv = BuildHplc2DScript(HplcDetector::UV, ui.store(), controls, "uv.plt");
  const PlotScript cd = BuildHplc2DScript(HplcDetector::CD, ui.store(), controls, "cd.plt");
  ui.clearBoxes();
  ui.willChooseFile(out.file("uv"));
  ui.willChooseFile(out.file("cd"));
  ui.click(Form1->Button3);
  EXPECT_EQ(boxTexts(ui), (std::vector<std::string>{FileSavedText, FileSavedText}));
  const auto uvData = dataOf(out.path(), "uv.plt");
  const auto cdData = dataOf(out.path(), "cd.plt");
  ASSERT_EQ(uvData.size(), 1u);
  ASSERT_EQ(cdData.size(), 1u);
  EXPECT_EQ(uvData[0].second, scriptText(uv.dataFiles[0].lines));
  EXPECT_EQ(cdData[0].second, scriptText(cd.dataFiles[0].lines));
  EXPECT_NE(uvData[0].second, cdData[0].second);
  expectRendered(out.path(), "uv.plt", ".eps");
  expectRendered(out.path(), "cd.plt", ".eps");
}

TEST(PlotNames, NamesShowAsTyped) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  // UTF-8, as the file system names it, with characters of enhanced-text markup.
  const std::string typed = "M\xC3\xBCllers\xC3\xA4ure@{1}^2";
  Session ui;
  TempFolder root, out;
  const std::string loaded = root.file(typed + ".cd.bil");
  std::filesystem::copy_file(fixture("plots/conf1.cd.bil"), loaded);
  ui.act([&] { Form1->Choose(loaded); });
  ui.clearBoxes();
  ui.willChooseFile(out.file(typed));
  ui.click(Form1->Button1);
  ui.willChooseFile(out.file(typed + "-png"));
  ui.click(Form1->Button12);
  EXPECT_EQ(boxTexts(ui), (std::vector<std::string>{FileSavedText, FileSavedText}));
  // The file names stay the file system's; the legends are ISO 8859-1, as
  // the head declares.
  for (const char* script : {".plt", "-png.plt"}) {
    const std::string text = readTextFile(out.file(typed + script));
    EXPECT_NE(text.find("'{/Arial=18 M\xFCllers\xE4ure\\@\\{1\\}\\^2'"), std::string::npos) << script;
    EXPECT_EQ(text.find("{/Arial=18 M\xC3\xBC"), std::string::npos) << script;
  }
  EXPECT_TRUE(FileExists(out.file(typed + "-1.xy")));
  expectPicture(out.file(typed + "-png.png"));
  const std::string gs = FindOnPath("gs");
  if (gs.empty()) GTEST_SKIP() << "no Ghostscript to read the EPS text";
  std::string errors;
  const std::string textPath = out.file("text.txt");
  // Ghostscript's txtwrite writes what the page shows, in UTF-8.
  writeTextFile(out.file("read.sh"), "#!/bin/sh\nexec \"" + gs +
                                         "\" -q -dNOPAUSE -dBATCH -sDEVICE=txtwrite -sOutputFile=text.txt \"$1\"\n");
  std::filesystem::permissions(out.file("read.sh"), std::filesystem::perms::owner_all);
  ASSERT_EQ(RunAndCapture(out.file("read.sh"), typed + ".eps", out.path(), errors), 0) << errors;
  EXPECT_NE(readTextFile(textPath).find(typed), std::string::npos) << readTextFile(textPath);
}

TEST(PlotNames, FileSavedOnlyWhenEveryFileWasWritten) {
  Session ui;
  FakeGnuplot gnuplot(WritesPicture);
  TempFolder out;
  loadEcdPair(ui);
  // A folder in the place of the second data file: it cannot be written.
  std::filesystem::create_directories(out.file("p-2.xy/held"));
  ui.clearBoxes();
  ui.willChooseFile(out.file("p"));
  ui.click(Form1->Button1);
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_NE(ui.boxes()[0].text.find(out.file("p-2.xy")), std::string::npos) << ui.boxes()[0].text;
  EXPECT_FALSE(FileExists(out.file("p.plt")));
  EXPECT_FALSE(FileExists(out.file("p.eps")));
}

TEST(PlotNames, AFailedHplcPassLeavesTheOthersPicture) {
  Session ui;
  // gnuplot fails on the UV pass and draws the CD pass.
  FakeGnuplot gnuplot(std::string(R"([ "$1" = uv.plt ] && exit 1; )") + WritesPicture);
  TempFolder out;
  ui.act([&] {
    Form1->HPLCUV(fixture("plots/peaks.cuv"), 1);
    Form1->HPLCCD(fixture("plots/peaks.ccd"), 2);
  });
  ui.clearBoxes();
  ui.willChooseFile(out.file("uv"));
  ui.willChooseFile(out.file("cd"));
  ui.click(Form1->Button3);
  EXPECT_EQ(boxTexts(ui), (std::vector<std::string>{
                              FileSavedText, FileSavedText,
                              "gnuplot could not render \"" + out.file("uv.plt") + "\": no picture was written"}));
  EXPECT_EQ(readTextFile(out.file("cd.eps")), "picture\n");

  // The CD pass cannot write its data: the saved UV pass is still drawn.
  FakeGnuplot drawing(WritesPicture);
  TempFolder blocked;
  std::filesystem::create_directories(blocked.file("cd-1.xy/held"));
  ui.clearBoxes();
  ui.willChooseFile(blocked.file("uv"));
  ui.willChooseFile(blocked.file("cd"));
  ui.click(Form1->Button3);
  ASSERT_EQ(ui.boxes().size(), 2u);
  EXPECT_EQ(ui.boxes()[0].text, FileSavedText);
  EXPECT_NE(ui.boxes()[1].text.find(blocked.file("cd-1.xy")), std::string::npos) << ui.boxes()[1].text;
  EXPECT_EQ(readTextFile(blocked.file("uv.eps")), "picture\n");
  EXPECT_FALSE(FileExists(blocked.file("cd.plt")));
}

TEST(PlotNames, IdenticalNamesSayTheyAgreeInTheirFirst20Characters) {
  Session ui;
  ui.act([] {
    Form1->Choose(fixture("plots/conf1.cd.bil"));
    Form1->CDXY(fixture("plots/film.cd.exp.xy"), 2);
  });
  ui.store().CDTITLE[1] = "Cyclohexyl_Tolbutamid_c1.cd.bil";
  ui.store().CDTITLE[2] = "Cyclohexyl_Tolbutamid_c2.cd.bil";
  ui.clearBoxes();
  ui.click(Form1->Button1);
  EXPECT_EQ(boxTexts(ui), (std::vector<std::string>{
                              "Identical curve names found (curve names must differ within their first 20 "
                              "characters), please rename a curve in the settings window and try again",
                              "Plotting canceled!"}));
}
