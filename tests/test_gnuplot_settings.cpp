// The four gnuplot settings windows: their sections at start-up, the mirror
// of the CD fonts, the second-y-axis handlers, "convert to eV", the "OK"
// buttons and the range texts they share.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Main.h"
#include "plot_export_test_support.h"
#include "platform/testing/session.h"
#include "plots/cdplotting.h"
#include "plots/irplotting.h"
#include "plots/uvplotting.h"
#include "plots/vcdplotting.h"
#include "settings/settings.h"

namespace {

std::vector<std::string> texts(std::span<Edit* const> edits) {
  std::vector<std::string> result;
  for (const Edit* edit : edits) result.push_back(edit->Text());
  return result;
}

struct SettingsFolder {
  explicit SettingsFolder(const std::string& text) { writeTextFile(folder.file("Orvanix.ini"), text); }
  TempFolder folder;
};

}  // namespace

TEST(GnuplotRanges, RangeTextsOfTheFourWindows) {
  EXPECT_EQ(CdRangeText(2), "[-2.20:2.20]");
  EXPECT_EQ(CdRangeText(0), "[0.00:0.00]");
  EXPECT_EQ(UvRangeText(12.5), "[0:13.75]");
  EXPECT_EQ(UvRangeText(0), "[0:0.00]");
  EXPECT_EQ(VcdRangeText(0.0123), "[-1.4E-2:1.4E-2]");
  EXPECT_EQ(IrRangeText(123), "[0:1.4E+2]");
}

TEST(GnuplotRanges, LargestMaximumCountsOnlyTheWantedStates) {
  SlotReals maxima;
  SlotTexts states;
  const double values[] = {4, 9, 2, 7, 1};
  const char* kinds[] = {"calc", "false", "exp", "exp", ""};
  for (long slot = 1; slot <= 5; ++slot) {
    maxima[slot] = values[slot - 1];
    states[slot] = kinds[slot - 1];
  }
  EXPECT_EQ(LargestMaximum(maxima, states, {"exp"}), 7);
  EXPECT_EQ(LargestMaximum(maxima, states, {"calc"}), 4);
  EXPECT_EQ(LargestMaximum(maxima, states, {"exp", "calc"}), 7);
  // A slot before its first reset is in no state.
  states.fill("");
  EXPECT_EQ(LargestMaximum(maxima, states, {"exp", "calc"}), 0);
}

TEST(GnuplotRanges, BarWindowStaysOnTheGrid) {
  struct Case {
    int shownStart, shownEnd, shift;
    int start, end;
  };
  const std::vector<Case> cases = {
      {150, 600, 0, 150, 600},
      {150, 600, 20, 130, 580},
      {150, 600, 100, 100, 500},      // never below 100 nm
      {3900, 4100, -200, 4000, 4000},  // an end beyond the grid falls back to the shown end, then 4000
      {200, 3990, -20, 220, 3990},     // 4010 is beyond the grid: the unshifted end
      {600, 150, 0, 600, 150},         // start after end stays so
  };
  for (const Case& c : cases) {
    const BarWindow window = barWindow(c.shownStart, c.shownEnd, c.shift);
    EXPECT_EQ(window.start, c.start) << c.shownStart << " " << c.shownEnd << " " << c.shift;
    EXPECT_EQ(window.end, c.end) << c.shownStart << " " << c.shownEnd << " " << c.shift;
  }
}

TEST(GnuplotRanges, LargestBarStrengthIsAbsoluteButStartsSigned) {
  std::vector<double> strengths(MAXLAMBDA - MINLAMBDA + 1, 0.0);
  const auto at = [&](int bin) -> double& { return strengths[static_cast<size_t>(bin - MINLAMBDA)]; };
  at(2000) = -3.0;
  at(2500) = -7.5;
  at(3000) = 4.0;
  at(40000) = 9.0;
  EXPECT_EQ(largestBarStrength(strengths, {150, 600}), 7.5);
  EXPECT_EQ(largestBarStrength(strengths, {200, 249}), 3.0);
  // A window that ends before it starts: the signed value at its start.
  EXPECT_EQ(largestBarStrength(strengths, {200, 150}), -3.0);
  // The last bin of the grid is read, nothing beyond.
  EXPECT_EQ(largestBarStrength(strengths, {4000, 4000}), 9.0);
}

TEST(GnuplotSettingsWindows, StartUpTakesEachWindowsOwnSection) {
  SettingsFolder prepared(
      "[CDsettings]\r\nFont_EPS=Times\r\ngen_size_EPS=28\r\nlabel_size_PNG=abc\r\nzeroline=1\r\n"
      "[UVsettings]\r\nFont_EPS=Courier\r\ntransparent=1\r\n"
      "[VCDsettings]\r\nFont_EPS=Symbol\r\nlabel_size_EPS=9\r\nzeroline=0\r\nno.format=1\r\n"
      "[IRsettings]\r\ngen_size_EPS=21\r\ntics_inside=1\r\n");
  Session ui(prepared.folder.path());
  EXPECT_TRUE(ui.boxes().empty());
  // Sizes are not checked here: they go into the scripts as they stand.
  EXPECT_EQ(texts(Form10->StoredEdits()),
            (std::vector<std::string>{"Times", "28", "36", "18", "Arial", "20", "22", "abc"}));
  EXPECT_TRUE(Form10->CheckBox7->Checked());
  // The UV window shows its own section, not the CD fonts.
  EXPECT_EQ(texts(Form11->StoredEdits()),
            (std::vector<std::string>{"Courier", "32", "36", "18", "Arial", "20", "22", "14"}));
  EXPECT_TRUE(Form11->CheckBox8->Checked());
  EXPECT_EQ(texts(Form13->StoredEdits()), (std::vector<std::string>{"Symbol", "18", "9"}));
  EXPECT_FALSE(Form13->CheckBox7->Checked());
  EXPECT_TRUE(Form13->CheckBox5->Checked());
  EXPECT_FALSE(Form13->CheckBox6->Checked());
  EXPECT_EQ(texts(Form15->StoredEdits()), (std::vector<std::string>{"Arial", "21", "14"}));
  EXPECT_TRUE(Form15->CheckBox6->Checked());
  EXPECT_FALSE(Form15->CheckBox5->Checked());
}

TEST(GnuplotSettingsWindows, StoredSecondAxisUnticksTheMainWindowsScaling) {
  SettingsFolder prepared("[CDsettings]\r\nsecondy=1\r\n");
  Session ui(prepared.folder.path());
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_TRUE(Form10->CheckBox2->Checked());
  EXPECT_EQ(Form10->Edit7->Text(), "[0.00:0.00]");
  EXPECT_EQ(Form10->Edit8->Text(), "[0.00:0.00]");
  EXPECT_FALSE(Form1->CheckBox8->Checked());
}

TEST(GnuplotSettingsWindows, StoredUvSecondAxisUnticksBarsAndScaling) {
  SettingsFolder prepared("[UVsettings]\r\nsecondy=1\r\n");
  Session ui(prepared.folder.path());
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_TRUE(Form11->CheckBox2->Checked());
  EXPECT_EQ(Form11->Edit7->Text(), "[0:0.00]");
  EXPECT_FALSE(Form1->CheckBox1->Checked());
  EXPECT_FALSE(Form1->CheckBox8->Checked());
}

TEST(GnuplotSettingsWindows, CdFontsAreMirroredIntoTheUvWindowOnly) {
  Session ui;
  ui.type(Form11->Edit15, "Verdana");
  ui.type(Form10->Edit1, "Times");
  // All eight are copied at each change, the UV window's own edits included.
  EXPECT_EQ(texts(Form11->StoredEdits()),
            (std::vector<std::string>{"Times", "32", "36", "18", "Arial", "20", "22", "14"}));
  ui.type(Form10->Edit18, "11");
  EXPECT_EQ(Form11->Edit18->Text(), "11");
  ui.type(Form11->Edit1, "Courier");
  EXPECT_EQ(Form10->Edit1->Text(), "Times");
}

TEST(GnuplotSettingsWindows, CdFontMirrorWaitsForTheUvWindow) {
  ScriptedUi ui;
  TForm10 window;
  Form10 = &window;
  ASSERT_EQ(Form11, nullptr);
  ui.type(window.Edit1, "Times");
  EXPECT_TRUE(ui.boxes().empty());
  Form10 = nullptr;
}

TEST(GnuplotSettingsWindows, CdSecondAxisFromMaxima) {
  Session ui;
  Store& store = ui.store();
  const char* states[] = {"calc", "exp", "exp", "false", "calc"};
  const double maxima[] = {2, 3, 5, 50, 1};
  const auto load = [&] {
    for (long slot = 1; slot <= 5; ++slot) {
      store.CDACTIVE[slot] = states[slot - 1];
      store.CDMAX[slot] = maxima[slot - 1];
    }
  };
  load();
  ui.tick(Form10->CheckBox2);
  EXPECT_EQ(Form10->Edit7->Text(), "[-5.50:5.50]");
  EXPECT_EQ(Form10->Edit8->Text(), "[-2.20:2.20]");
  EXPECT_FALSE(Form1->CheckBox8->Checked());

  // Unticking does nothing; with user-defined ranges only the scaling goes.
  ui.untick(Form10->CheckBox2);
  ui.tick(Form1->CheckBox8);
  ui.tick(Form10->CheckBox3);
  ui.type(Form10->Edit7, "[-1:1]");
  load();
  ui.tick(Form10->CheckBox2);
  EXPECT_EQ(Form10->Edit7->Text(), "[-1:1]");
  EXPECT_FALSE(Form1->CheckBox8->Checked());
  EXPECT_TRUE(ui.errorBoxes().empty());
}

TEST(GnuplotSettingsWindows, CdSecondAxisFromBars) {
  for (bool wavenumberUnit : {false, true}) {
    SCOPED_TRACE(wavenumberUnit ? "wavenumber" : "wavelength");
    Session ui;
    if (wavenumberUnit) ui.tick(Form2->RadioButton6);
    ui.tick(Form1->CheckBox1);
    if (!wavenumberUnit) {
      ui.type(Form1->Edit4, "200");
      ui.type(Form1->Edit5, "400");
      ui.type(Form1->Edit2, "10");
    }
    // Shown 200..400 nm less a shift of 10, so bars from 190 to 390 nm; the
    // wavenumber unit has no shift and its range edits hold 200 and 667.
    Store& store = ui.store();
    store.ROTS(1850, 1) = 99;   // before either window
    store.ROTS(1900, 1) = -6;   // only in the shifted window
    store.ROTS(3850, 1) = -8;   // in both
    store.ROTS(3950, 1) = -50;  // beyond the shifted window
    store.CDACTIVE[1] = "calc";
    store.CDMAX[1] = 2;
    store.CDACTIVE[2] = "exp";
    store.CDMAX[2] = 3;
    ui.tick(Form10->CheckBox2);
    EXPECT_TRUE(ui.errorBoxes().empty());
    EXPECT_EQ(Form10->Edit8->Text(), wavenumberUnit ? "[-55.00:55.00]" : "[-8.80:8.80]");
    EXPECT_EQ(Form10->Edit7->Text(), "[-3.30:3.30]");
    // With bars drawn, the automatic scaling stays.
    EXPECT_TRUE(Form1->CheckBox8->Checked());
  }
}

TEST(GnuplotSettingsWindows, UvSecondAxisUnticksBarsAndScalingEvenWithUserRanges) {
  Session ui;
  Store& store = ui.store();
  for (bool userRanges : {false, true}) {
    SCOPED_TRACE(userRanges ? "user-defined" : "automatic");
    ui.untick(Form11->CheckBox2);
    ui.tick(Form1->CheckBox1);
    ui.tick(Form1->CheckBox8);
    if (userRanges) ui.tick(Form11->CheckBox3);
    ui.type(Form11->Edit7, "[0:1]");
    store.UVACTIVE[1] = "calc";
    store.UVMAX[1] = 0.5;
    store.UVACTIVE[2] = "exp";
    store.UVMAX[2] = 2;
    ui.tick(Form11->CheckBox2);
    EXPECT_EQ(Form11->Edit7->Text(), userRanges ? "[0:1]" : "[0:2.20]");
    if (!userRanges) {
      EXPECT_EQ(Form11->Edit8->Text(), "[0:0.55]");
    }
    EXPECT_FALSE(Form1->CheckBox1->Checked());
    EXPECT_FALSE(Form1->CheckBox8->Checked());
  }
  EXPECT_TRUE(ui.errorBoxes().empty());
}

// Unticking "convert to eV" gives the label of the unit in force.
TEST(GnuplotSettingsWindows, ConvertToEvSetsTheXLabelInEitherUnit) {
  for (bool wavenumberUnit : {false, true}) {
    SCOPED_TRACE(wavenumberUnit ? "wavenumber" : "wavelength");
    Session ui;
    if (wavenumberUnit) ui.tick(Form2->RadioButton6);
    ui.type(Form11->Edit9, "something else");
    ui.tick(Form11->CheckBox7);
    EXPECT_EQ(Form11->Edit9->Text(), "energy [eV]");
    ui.untick(Form11->CheckBox7);
    EXPECT_EQ(Form11->Edit9->Text(), wavenumberUnit ? "wavenumber [cm^{-1}]" : "wavelength {/Symbol l} [nm]");
  }
}

// The unit switch relabels the x axes of the CD and UV windows that show the
// other unit's label, both ways, and leaves a typed label alone; the script
// then names the unit its axis runs in.
TEST(GnuplotSettingsWindows, UnitSwitchRelabelsTheXAxes) {
  Session ui;
  ui.type(Form10->Edit9, "{/Symbol l} / nm (film)");
  ui.tick(Form2->RadioButton6);
  EXPECT_EQ(Form10->Edit9->Text(), "{/Symbol l} / nm (film)");
  EXPECT_EQ(Form11->Edit9->Text(), "wavenumber [cm^{-1}]");
  ui.tick(Form2->RadioButton5);
  EXPECT_EQ(Form11->Edit9->Text(), "wavelength {/Symbol l} [nm]");
  ui.type(Form10->Edit9, "wavelength {/Symbol l} [nm]");
  ui.tick(Form2->RadioButton6);
  EXPECT_EQ(Form10->Edit9->Text(), "wavenumber [cm^{-1}]");

  ui.act([] { Form1->Choose(fixture("plots/conf1.uv.bil")); });
  TempFolder out;
  ui.willChooseFile(out.file("uv.plt"));
  ui.click(Form1->Button7);
  const std::vector<std::string> script = ReadLines(out.file("uv.plt"));
  EXPECT_EQ(lineStarting(script, "set xlabel"), R"(set xlabel "wavenumber [cm^{-1}]" font "Arial, 36")");
  EXPECT_EQ(lineStarting(script, "set xrange"), "set xrange [50000:15000]");
}

TEST(GnuplotSettingsWindows, OkStoresTheFilledCurveFieldsAsTitles) {
  Session ui;
  Store& store = ui.store();
  struct Window {
    const char* name;
    Form* form;
    std::array<Edit*, 5> curves;
    Button* ok;
    SlotTexts* titles;
  };
  const std::vector<Window> windows = {
      {"CD", Form10, {Form10->Edit2, Form10->Edit3, Form10->Edit4, Form10->Edit5, Form10->Edit6},
       Form10->Button1, &store.CDTITLE},
      {"UV", Form11, {Form11->Edit2, Form11->Edit3, Form11->Edit4, Form11->Edit5, Form11->Edit6},
       Form11->Button1, &store.UVTITLE},
      {"VCD", Form13, {Form13->Edit2, Form13->Edit3, Form13->Edit4, Form13->Edit5, Form13->Edit6},
       Form13->Button1, &store.VCDTITLE},
      {"IR", Form15, {Form15->Edit2, Form15->Edit3, Form15->Edit4, Form15->Edit5, Form15->Edit6},
       Form15->Button1, &store.IRTITLE},
  };
  for (const Window& window : windows) {
    SCOPED_TRACE(window.name);
    SlotTexts& titles = *window.titles;
    titles[1] = "old1.cd.bil";
    titles[2] = "kept.cd.bil";
    titles[5] = "";
    ui.type(window.curves[0], "renamed");
    ui.type(window.curves[1], "");
    ui.type(window.curves[4], "new title");
    bool closed = false;
    ui.onModal(window.form, [&] {
      ui.click(window.ok);
      closed = !window.form->Showing();
    });
    ui.act([&] { window.form->ShowModal(); });
    EXPECT_TRUE(closed);
    EXPECT_EQ(titles[1], "renamed");
    EXPECT_EQ(titles[2], "kept.cd.bil");
    EXPECT_EQ(titles[5], "new title");
  }
  EXPECT_TRUE(ui.errorBoxes().empty());
}
