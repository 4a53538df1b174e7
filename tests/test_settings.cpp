// The settings window and the settings file: start-up with and without a
// file, "Save Settings" and a restart, the formalism change, the unit switch,
// "search DIR" and a folder that cannot take the file.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "platform/testing/session.h"
#include "plots/cdplotting.h"
#include "plots/irplotting.h"
#include "plots/uvplotting.h"
#include "plots/vcdplotting.h"
#include "settings/settings.h"
#include "tools/heatEx.h"
#include "tools/specEx.h"

namespace {

const char* const RepresentationChanged = "Representation changed, Spectra have to be reloaded";

// The section headers of a settings file, in file order.
std::vector<std::string> sectionHeaders(const std::string& path) {
  std::vector<std::string> headers;
  const std::string text = readTextFile(path);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 2 && line.front() == '[' && line.back() == ']')
      headers.push_back(line.substr(1, line.size() - 2));
    start = end + 1;
  }
  return headers;
}

// A prepared program folder holding a settings file with `text`.
struct SettingsFolder {
  explicit SettingsFolder(const std::string& text) { writeTextFile(folder.file("Orvanix.ini"), text); }
  TempFolder folder;
};

// How the main window's UV/ECD range and correction edits stand.
struct UnitLayout {
  std::vector<std::string> texts;  // Edit2, Edit12, Edit13, Edit31, Edit32, Edit4, Edit5, Edit35, Edit36
  bool nanometreRangeEnabled;
  bool wavenumberRangeVisible;
  bool operator==(const UnitLayout&) const = default;
};

UnitLayout unitLayout() {
  UnitLayout layout;
  for (Edit* edit : {Form1->Edit2, Form1->Edit12, Form1->Edit13, Form1->Edit31, Form1->Edit32,
                     Form1->Edit4, Form1->Edit5, Form1->Edit35, Form1->Edit36})
    layout.texts.push_back(edit->Text());
  layout.nanometreRangeEnabled = Form1->Edit4->Enabled() && Form1->Edit5->Enabled();
  layout.wavenumberRangeVisible =
      Form1->Edit35->Visible() && Form1->Edit36->Visible() && Form1->Label35->Visible();
  return layout;
}

UnitLayout startUpLayout() {
  Session ui;
  return unitLayout();
}

bool isBlankPlot(Image* image) {
  const Bitmap& picture = image->Picture();
  const int width = image->Bounds().Width;
  const int height = image->Bounds().Height;
  return image->Visible() && picture.Width() == width && picture.Height() == height &&
         picture.Pixel(0, 0) == clBlack && picture.Pixel(width - 1, height - 1) == clBlack &&
         picture.Pixel(width / 2, height / 2) == clWhite;
}

}  // namespace

TEST(SettingsFile, StartUpWithoutFileWritesEveryDefaultAndShowsTheLayout) {
  Session ui;
  const std::string path = ui.path("Orvanix.ini");
  EXPECT_EQ(SettingsFilePath(), path);
  ASSERT_TRUE(FileExists(path));
  EXPECT_EQ(sectionHeaders(path),
            (std::vector<std::string>{"Formalism", "Bandshape", "Units", "GnuPlot", "Gnuplot_version",
                                      "XY-Curves", "CDsettings", "UVsettings", "VCDsettings",
                                      "IRsettings", "ExtractHeat", "ExtractSpectra"}));

  struct Expected {
    const char* section;
    const char* key;
    const char* value;
  };
  const std::vector<Expected> expected = {
      {"Formalism", "Velocity", "0"},      {"Formalism", "Length", "1"},
      {"Bandshape", "Gaussian", "1"},      {"Bandshape", "Lorentzian", "0"},
      {"Units", "wavelength", "1"},        {"Units", "wavenumber", "0"},
      {"GnuPlot", "Dir", R"(C:\Programme\gnuplot\bin)"},
      {"Gnuplot_version", "5.x", "0"},     {"XY-Curves", "stepsize", "0.1"},
      {"CDsettings", "Font_EPS", "Arial"}, {"CDsettings", "gen_size_EPS", "32"},
      {"CDsettings", "axis_size_EPS", "36"}, {"CDsettings", "label_size_EPS", "18"},
      {"CDsettings", "Font_PNG", "Arial"}, {"CDsettings", "gen_size_PNG", "20"},
      {"CDsettings", "axis_size_PNG", "22"}, {"CDsettings", "label_size_PNG", "14"},
      {"CDsettings", "square", "1"},       {"CDsettings", "secondy", "0"},
      {"CDsettings", "nolabel", "0"},      {"CDsettings", "legend_inside", "0"},
      {"CDsettings", "tics_inside", "0"},  {"CDsettings", "zeroline", "0"},
      {"CDsettings", "transparent", "0"},
      {"UVsettings", "Font_EPS", "Arial"}, {"UVsettings", "gen_size_EPS", "32"},
      {"UVsettings", "axis_size_EPS", "36"}, {"UVsettings", "label_size_EPS", "18"},
      {"UVsettings", "Font_PNG", "Arial"}, {"UVsettings", "gen_size_PNG", "20"},
      {"UVsettings", "axis_size_PNG", "22"}, {"UVsettings", "label_size_PNG", "14"},
      {"UVsettings", "square", "1"},       {"UVsettings", "secondy", "0"},
      {"UVsettings", "nolabel", "0"},      {"UVsettings", "legend_inside", "0"},
      {"UVsettings", "tics_inside", "0"},  {"UVsettings", "transparent", "0"},
      {"VCDsettings", "Font_EPS", "Arial"}, {"VCDsettings", "gen_size_EPS", "18"},
      {"VCDsettings", "label_size_EPS", "14"}, {"VCDsettings", "zeroline", "1"},
      {"VCDsettings", "tics_inside", "0"}, {"VCDsettings", "no.format", "0"},
      {"IRsettings", "Font_EPS", "Arial"}, {"IRsettings", "gen_size_EPS", "18"},
      {"IRsettings", "label_size_EPS", "14"}, {"IRsettings", "tics_inside", "0"},
      {"IRsettings", "no.format", "0"},
      {"ExtractHeat", "subfolders", "1"},  {"ExtractSpectra", "subfolders", "1"},
  };
  const IniFile file(path);
  for (const Expected& entry : expected)
    EXPECT_EQ(file.ReadString(entry.section, entry.key, "<missing>"), entry.value)
        << entry.section << "/" << entry.key;
  EXPECT_FALSE(file.ValueExists("UVsettings", "zeroline"));
  EXPECT_FALSE(file.ValueExists("IRsettings", "zeroline"));

  EXPECT_TRUE(Form2->RadioButton2->Checked());
  EXPECT_FALSE(Form2->RadioButton1->Checked());
  EXPECT_TRUE(Form2->RadioButton3->Checked());
  EXPECT_FALSE(Form2->RadioButton4->Checked());
  EXPECT_TRUE(Form2->RadioButton5->Checked());
  EXPECT_FALSE(Form2->RadioButton6->Checked());
  EXPECT_EQ(Form2->Edit1->Text(), R"(C:\Programme\gnuplot\bin)");
  EXPECT_FALSE(Form2->CheckBox1->Checked());
  EXPECT_EQ(Form2->Edit2->Text(), "0.1");
  EXPECT_TRUE(ui.boxes().empty());
}

TEST(SettingsFile, SaveSettingsThenRestartRestoresEveryStoredControl) {
  Session ui;
  ui.tick(Form2->RadioButton1);
  ui.tick(Form2->RadioButton4);
  ui.tick(Form2->RadioButton6);
  ui.type(Form2->Edit1, "/opt/gnuplot/bin");
  ui.tick(Form2->CheckBox1);
  ui.type(Form2->Edit2, "0.25");

  // Typing the CD fonts copies them into the UV window; the UV window then
  // gets values of its own.
  const std::vector<std::string> cdTexts = {"Times", "30", "34", "16", "Courier", "19", "21", "13"};
  const std::vector<std::string> uvTexts = {"Helvetica", "31", "35", "17", "Verdana", "18", "20", "12"};
  for (size_t i = 0; i < cdTexts.size(); ++i) ui.type(Form10->StoredEdits()[i], cdTexts[i]);
  for (size_t i = 0; i < uvTexts.size(); ++i) ui.type(Form11->StoredEdits()[i], uvTexts[i]);
  for (CheckBox* box : Form10->StoredBoxes()) ui.act([&] { box->SetChecked(!box->Checked()); });
  for (CheckBox* box : Form11->StoredBoxes()) ui.act([&] { box->SetChecked(!box->Checked()); });
  const std::vector<std::string> vcdTexts = {"Symbol", "24", "11"};
  const std::vector<std::string> irTexts = {"Courier", "22", "10"};
  for (size_t i = 0; i < vcdTexts.size(); ++i) ui.type(Form13->StoredEdits()[i], vcdTexts[i]);
  for (size_t i = 0; i < irTexts.size(); ++i) ui.type(Form15->StoredEdits()[i], irTexts[i]);
  for (CheckBox* box : Form13->StoredBoxes()) ui.act([&] { box->SetChecked(!box->Checked()); });
  for (CheckBox* box : Form15->StoredBoxes()) ui.act([&] { box->SetChecked(!box->Checked()); });
  ui.untick(Form5->CheckBox1);
  ui.untick(Form6->CheckBox1);
  ui.click(Form2->Button1);
  EXPECT_TRUE(ui.errorBoxes().empty());

  ui.clearBoxes();
  ui.restart();
  EXPECT_TRUE(Form2->RadioButton1->Checked());
  EXPECT_FALSE(Form2->RadioButton2->Checked());
  EXPECT_TRUE(Form2->RadioButton4->Checked());
  EXPECT_FALSE(Form2->RadioButton3->Checked());
  EXPECT_TRUE(Form2->RadioButton6->Checked());
  EXPECT_FALSE(Form2->RadioButton5->Checked());
  EXPECT_EQ(Form2->Edit1->Text(), "/opt/gnuplot/bin");
  EXPECT_TRUE(Form2->CheckBox1->Checked());
  EXPECT_EQ(Form2->Edit2->Text(), "0.25");

  for (size_t i = 0; i < cdTexts.size(); ++i) EXPECT_EQ(Form10->StoredEdits()[i]->Text(), cdTexts[i]);
  for (size_t i = 0; i < uvTexts.size(); ++i) EXPECT_EQ(Form11->StoredEdits()[i]->Text(), uvTexts[i]);
  for (size_t i = 0; i < vcdTexts.size(); ++i) EXPECT_EQ(Form13->StoredEdits()[i]->Text(), vcdTexts[i]);
  for (size_t i = 0; i < irTexts.size(); ++i) EXPECT_EQ(Form15->StoredEdits()[i]->Text(), irTexts[i]);
  for (size_t i = 0; i < CdFlagSettings.size(); ++i)
    EXPECT_NE(Form10->StoredBoxes()[i]->Checked(), CdFlagSettings[i].layout) << CdFlagSettings[i].key;
  for (size_t i = 0; i < UvFlagSettings.size(); ++i)
    EXPECT_NE(Form11->StoredBoxes()[i]->Checked(), UvFlagSettings[i].layout) << UvFlagSettings[i].key;
  for (size_t i = 0; i < VcdFlagSettings.size(); ++i)
    EXPECT_NE(Form13->StoredBoxes()[i]->Checked(), VcdFlagSettings[i].layout) << VcdFlagSettings[i].key;
  for (size_t i = 0; i < IrFlagSettings.size(); ++i)
    EXPECT_NE(Form15->StoredBoxes()[i]->Checked(), IrFlagSettings[i].layout) << IrFlagSettings[i].key;
  EXPECT_FALSE(Form5->CheckBox1->Checked());
  EXPECT_FALSE(Form6->CheckBox1->Checked());

  // The stored velocity formalism is reported once, before anything else.
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.boxes()[0].text, RepresentationChanged);
}

// Counts how often a file of a folder is replaced by a whole new one (a
// temporary file renamed onto it) or written in place, while it lives.
class FileWrites {
 public:
  FileWrites(const std::string& folder, std::string name)
      : name_(std::move(name)), watch_(inotify_init1(IN_NONBLOCK)) {
    inotify_add_watch(watch_, folder.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
  }
  ~FileWrites() { close(watch_); }
  int count() {
    alignas(inotify_event) char buffer[8192];
    for (;;) {
      const ssize_t length = read(watch_, buffer, sizeof buffer);
      if (length <= 0) return count_;
      for (ssize_t at = 0; at < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if (event->len > 0 && name_ == event->name) ++count_;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
  }

 private:
  std::string name_;
  int watch_;
  int count_ = 0;
};

TEST(SettingsFile, EachSaveWritesTheFileOnceAndWhole) {
  TempFolder folder;
  FileWrites writes(folder.path(), "Orvanix.ini");
  {
    Session ui(folder.path());
    EXPECT_EQ(writes.count(), 1) << "the defaults of a new file are written in one go";
    const std::string defaults = readTextFile(folder.file("Orvanix.ini"));
    ui.tick(Form2->RadioButton4);
    ui.click(Form2->Button1);
    EXPECT_EQ(writes.count(), 2) << "one save, one write";
    EXPECT_NE(readTextFile(folder.file("Orvanix.ini")), defaults);
    EXPECT_EQ(sectionHeaders(folder.file("Orvanix.ini")).size(), 12u);
  }
}

TEST(SettingsFile, StoredBooleansBeginWithOneAndMissingValuesTakeTheDefault) {
  SettingsFolder prepared(
      "[bandshape]\r\nGaussian=yes\r\nLorentzian=1abc\r\n"
      "[Gnuplot_version]\r\n5.x=1abc\r\n"
      "[GNUPLOT]\r\nDir=/usr/bin\r\n"
      "[Formalism]\r\nVelocity=\r\n"
      "[CDsettings]\r\nsquare=yes\r\n"
      "[UVsettings]\r\nsecondy=\r\n");
  Session ui(prepared.folder.path());
  EXPECT_FALSE(Form2->RadioButton3->Checked());
  EXPECT_TRUE(Form2->RadioButton4->Checked());
  EXPECT_TRUE(Form2->CheckBox1->Checked());
  EXPECT_EQ(Form2->Edit1->Text(), "/usr/bin");
  // Missing or empty: the layout values.
  EXPECT_FALSE(Form2->RadioButton1->Checked());
  EXPECT_TRUE(Form2->RadioButton2->Checked());
  EXPECT_TRUE(Form2->RadioButton5->Checked());
  EXPECT_EQ(Form2->Edit2->Text(), "0.1");
  EXPECT_FALSE(Form10->CheckBox1->Checked());
  EXPECT_TRUE(Form11->CheckBox1->Checked());
  EXPECT_FALSE(Form11->CheckBox2->Checked());
  EXPECT_EQ(Form10->Edit1->Text(), "Arial");
  EXPECT_TRUE(Form13->CheckBox7->Checked());
  EXPECT_TRUE(ui.boxes().empty());
}

TEST(SettingsFile, StoredVelocityReportsTheChangeOnceAndBlanksThePlots) {
  SettingsFolder prepared("[Formalism]\r\nVelocity=1\r\nLength=0\r\n");
  Session ui(prepared.folder.path());
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.boxes()[0].kind, BoxKind::Message);
  EXPECT_EQ(ui.boxes()[0].text, RepresentationChanged);
  EXPECT_TRUE(Form2->RadioButton1->Checked());
  EXPECT_FALSE(Form2->RadioButton2->Checked());
  EXPECT_FALSE(Form1->Button2->Enabled());
  EXPECT_TRUE(isBlankPlot(Form1->Image1));
  EXPECT_TRUE(isBlankPlot(Form1->Image3));
  EXPECT_TRUE(isBlankPlot(Form1->Image4));
}

TEST(SettingsWindow, TickingAFormalismReportsItOnceEachTime) {
  Session ui;
  ui.tick(Form2->RadioButton1);
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().text, RepresentationChanged);
  EXPECT_FALSE(Form1->Button2->Enabled());
  EXPECT_TRUE(isBlankPlot(Form1->Image1));
  ui.tick(Form2->RadioButton2);
  EXPECT_EQ(ui.boxes().size(), 2u);
  // Ticking the ticked one again changes nothing.
  ui.tick(Form2->RadioButton2);
  EXPECT_EQ(ui.boxes().size(), 2u);
}

TEST(SettingsFile, StoredUnitsAtStartUp) {
  const UnitLayout wavelengthLayout = startUpLayout();
  const UnitLayout wavenumberLayout{{"1.0", "1.0", "1.0", "1.0", "1.0", "200", "667", "50000", "15000"},
                                    false, true};
  struct Case {
    const char* units;
    bool wavelengthTicked;
    bool wavenumberTicked;
    UnitLayout mainWindow;
  };
  const std::vector<Case> cases = {
      // Unticking "wavelength" runs the switch while neither is ticked: the
      // main window keeps its wavelength layout until the first reset.
      {"wavelength=0\r\nwavenumber=1", false, true, wavelengthLayout},
      // Neither ticked: the wavelength takes over.
      {"wavelength=0\r\nwavenumber=0", true, false, wavelengthLayout},
      // Both ticked: the last one read wins, with the full switch.
      {"wavelength=1\r\nwavenumber=1", false, true, wavenumberLayout},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.units);
    SettingsFolder prepared(std::string("[Units]\r\n") + c.units + "\r\n");
    Session ui(prepared.folder.path());
    EXPECT_EQ(Form2->RadioButton5->Checked(), c.wavelengthTicked);
    EXPECT_EQ(Form2->RadioButton6->Checked(), c.wavenumberTicked);
    EXPECT_TRUE(unitLayout() == c.mainWindow);
    EXPECT_TRUE(ui.boxes().empty());
  }
}

TEST(SettingsFile, APairWithNeitherRadioTickedKeepsItsDefault) {
  SettingsFolder prepared(
      "[Formalism]\r\nVelocity=0\r\nLength=0\r\n[Bandshape]\r\nGaussian=0\r\nLorentzian=0\r\n"
      "[Units]\r\nwavelength=0\r\nwavenumber=0\r\n");
  Session ui(prepared.folder.path());
  EXPECT_TRUE(Form2->RadioButton2->Checked()) << "length";
  EXPECT_FALSE(Form2->RadioButton1->Checked());
  EXPECT_TRUE(Form2->RadioButton3->Checked()) << "Gaussian";
  EXPECT_FALSE(Form2->RadioButton4->Checked());
  EXPECT_TRUE(Form2->RadioButton5->Checked()) << "wavelength";
  EXPECT_TRUE(ui.boxes().empty()) << "the default formalism is no change to report";

  // The cd.bil writer then writes a header the program reads back.
  ui.willChooseFile(fixture("measured/mol.cd.bil"));
  ASSERT_TRUE(ui.menu(Form1->Open1));
  const std::string saved = ui.path("back.cd.bil");
  ui.willChooseFile(saved);
  ui.menu(Form1->SaveCD1);
  EXPECT_EQ(readTextFile(saved).substr(0, 35), "Orvanix bil-file (length formalism)");
  ui.willChooseFile(saved);
  ASSERT_TRUE(ui.menu(Form1->Open1));
  EXPECT_EQ(ui.store().ROTS(2500, 1), 10.0);
  EXPECT_TRUE(ui.errorBoxes().empty());
}

// Two computed curves on the UV/ECD page, then the unit to wavenumber and
// back: every correction holds its unit's value before any redraw reads it,
// so no box appears and the page comes back as it was.
void unitRoundTripWithTwoCurves(Session& ui, const std::string& first, const std::string& second) {
  ui.willChooseFile(first);
  ASSERT_TRUE(ui.menu(Form1->Open1));
  ui.willChooseFile(second);
  ASSERT_TRUE(ui.menu(Form1->BilFile1));
  ASSERT_EQ(ui.store().CDACTIVE[1], "calc");
  ASSERT_EQ(ui.store().CDACTIVE[2], "calc");
  // The range the switch leaves behind, so the pictures can be compared.
  ui.type(Form1->Edit4, "200");
  ui.type(Form1->Edit5, "667");
  const QImage before = Form1->Image1->Picture().image();
  ui.clearBoxes();

  ui.tick(Form2->RadioButton6);
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_EQ(unitLayout().texts[1], "1.0");
  const QImage inWavenumbers = Form1->Image1->Picture().image();
  EXPECT_NE(inWavenumbers, before) << "the curves are drawn over wavenumbers";

  ui.tick(Form2->RadioButton5);
  EXPECT_TRUE(ui.boxes().empty()) << (ui.boxes().empty() ? "" : ui.lastBox().text);
  EXPECT_TRUE(unitLayout() ==
              (UnitLayout{{"0", "0", "0", "0", "0", "200", "667", "50000", "15000"}, true, false}));
  EXPECT_TRUE(Form1->Image1->Picture().image() == before) << "both panels are drawn again";
  ui.click(Form1->Button2);
  EXPECT_TRUE(ui.boxes().empty()) << "Redraw shows no box either";
}

TEST(SettingsWindow, UnitRoundTripWithTwoCurvesRedrawsWithoutABox) {
  Session ui;
  unitRoundTripWithTwoCurves(ui, fixture("measured/mol.cd.bil"), fixture("bil/rounding.cd.bil"));
}

TEST(SettingsWindow, UnitRoundTripWithTwoGaussianOutputs) {
  const std::string first = corpus("gaussian/uv_ecd/g03_cclib-data_OPT_td.out");
  const std::string second = corpus("gaussian/uv_ecd/g09_cclib_dvb_td.out");
  if (first.empty() || second.empty()) GTEST_SKIP() << "no corpus";
  Session ui;
  unitRoundTripWithTwoCurves(ui, first, second);
}

TEST(SettingsWindow, SearchDirAcceptsOnlyAFolderWithGnuplot) {
  TempFolder windowsStyle, posixStyle, empty;
  writeTextFile(windowsStyle.file("wgnuplot.exe"), "");
  writeTextFile(posixStyle.file("gnuplot"), "");
  Session ui;
  const std::string layoutFolder = Form2->Edit1->Text();

  ui.willCancel();
  ui.click(Form2->Button3);
  EXPECT_EQ(Form2->Edit1->Text(), layoutFolder);
  EXPECT_TRUE(ui.boxes().empty());

  ui.willChooseFolder(empty.path());
  ui.click(Form2->Button3);
  EXPECT_EQ(Form2->Edit1->Text(), layoutFolder);
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().text, "wgnuplot.exe not found");

  for (const TempFolder* folder : {&windowsStyle, &posixStyle}) {
    ui.willChooseFolder(folder->path());
    ui.click(Form2->Button3);
    EXPECT_EQ(Form2->Edit1->Text(), folder->path());
  }
  EXPECT_EQ(ui.boxes().size(), 1u);
}

TEST(SettingsWindow, OkClosesTheWindow) {
  Session ui;
  bool showingInside = false;
  ui.onModal(Form2, [&] {
    showingInside = Form2->Showing();
    ui.click(Form2->Button2);
    EXPECT_FALSE(Form2->Showing());
  });
  ui.act([] { Form2->ShowModal(); });
  EXPECT_TRUE(showingInside);
}

TEST(SettingsFile, AFolderThatCannotTakeTheFileShowsOneFileErrorAndStartsWithTheLayout) {
  // Root may write anywhere, but nothing can be created below a plain file.
  TempFolder parent;
  writeTextFile(parent.file("plain"), "");
  Session ui(parent.file("plain") + "/program");
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.boxes()[0].kind, BoxKind::Error);
  EXPECT_EQ(ui.boxes()[0].caption, "EInOutError");
  EXPECT_TRUE(Form2->RadioButton2->Checked());
  EXPECT_TRUE(Form2->RadioButton5->Checked());
  EXPECT_EQ(Form2->Edit1->Text(), R"(C:\Programme\gnuplot\bin)");
  EXPECT_EQ(Form10->Edit1->Text(), "Arial");
  ASSERT_NE(Form15, nullptr);

  // "Save Settings" fails the same way, and the program goes on.
  ui.click(Form2->Button1);
  EXPECT_EQ(ui.errorBoxes().size(), 2u);
  ui.tick(Form2->RadioButton6);
  EXPECT_EQ(ui.errorBoxes().size(), 2u);
}
