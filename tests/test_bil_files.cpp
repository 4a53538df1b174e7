// The file dispatcher, the five bil readers and writers, and the save flow
// they share.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Main.h"
#include "files/bilfiles.h"
#include "files/save_flow.h"
#include "platform/application.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/testing/file_checks.h"
#include "platform/testing/session.h"
#include "settings/settings.h"
#include "tests/reader_test_support.h"
#include "store/Store.h"

namespace {

const std::string cdHeader =
    "Orvanix bil-file (length formalism) wavelength (nm)       rotational strength "
    "(10**-40 esu**2-cm**2)";
const std::string vcdHeader =
    "Orvanix bil-file VCD (wavenumber (cm**-1)   rotational strength (10**-44 esu**2-cm**2))";
const std::string irHeader =
    "Orvanix bil-file (wavenumber (cm**-1)           dipole strength (10**-40 esu**2-cm**2))";

std::string crlf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The bins of a slot whose value is not 0, as (bin, value).
std::vector<std::pair<long, double>> filledBins(const Grid2<MINLAMBDA, MAXLAMBDA, 5>& grid,
                                                int slot) {
  std::vector<std::pair<long, double>> filled;
  for (long bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin)
    if (grid(bin, slot) != 0.0) filled.emplace_back(bin, grid(bin, slot));
  return filled;
}

class BilFiles : public ::testing::Test {
 protected:
  Session ui;
  TempFolder temp;

  void open(const std::string& path) {
    ui.willChooseFile(path);
    ASSERT_TRUE(ui.menu(Form1->Open1));
  }
  // Saves through a writer's menu item into `name` of the temporary folder.
  std::string save(MenuItem* item, const std::string& name) {
    const std::string path = temp.file(name);
    ui.willChooseFile(path);
    EXPECT_TRUE(ui.menu(item));
    return path;
  }
  Store& store() { return ui.store(); }
};

// ---- Plain parsing ---------------------------------------------------------------

TEST(BilFormat, BinsRoundHalvesToEvenAndStayOnTheGrid) {
  struct Case {
    double wavelength;
    std::optional<long> bin;
  };
  for (const Case& c : std::vector<Case>{{245.25, 2452},
                                         {245.75, 2458},
                                         {245.3, 2453},
                                         {100.0, 1000},
                                         {4000.0, 40000},
                                         {99.9, std::nullopt},
                                         {4000.1, std::nullopt},
                                         {-5.0, std::nullopt},
                                         {1e300, std::nullopt}})
    EXPECT_EQ(WavelengthBin(c.wavelength), c.bin) << c.wavelength;
}

TEST(BilFormat, LinesSplitAtTheFirstTabAndConvertStrictly) {
  EXPECT_EQ(SplitBilLine(" 245.3 \t -12.5\r").x, "245.3");
  EXPECT_EQ(SplitBilLine(" 245.3 \t -12.5\r").y, "-12.5");
  // Without a TAB the whole line is both fields.
  EXPECT_EQ(SplitBilLine(" 7.5 ").x, "7.5");
  EXPECT_EQ(SplitBilLine(" 7.5 ").y, "7.5");
  // Only the first TAB splits.
  EXPECT_THROW(ParseBilLine("1.0\t2.0\t3.0"), EConvertError);
  EXPECT_THROW(ParseBilLine("250,5\t1.0"), EConvertError);
  EXPECT_THROW(ParseBilLine(""), EConvertError);
  EXPECT_DOUBLE_EQ(ParseBilLine("1e2\t-3.5E-1").y, -0.35);
}

TEST(BilFormat, WritersUseFixedTextsAndSkipEmptyEntries) {
  std::vector<double> bins(MAXLAMBDA - MINLAMBDA + 1, 0.0);
  bins[2453 - MINLAMBDA] = -12.3456784;
  bins[40000 - MINLAMBDA] = 12345.6789012;  // ten significant digits at most
  EXPECT_EQ(WavelengthBilLines(bins, false),
            (std::vector<std::string>{"245.3\t-12.345678", "4000.0\t12345.678900"}));
  EXPECT_EQ(WavelengthBilLines(bins, true),
            (std::vector<std::string>{"245.3\t12.345678", "4000.0\t-12345.678900"}));

  // A row counts when its wavenumber or its strength is not 0; negated zero
  // strength has no sign.
  const std::vector<double> wavenumbers = {1000.5, 0.0, 1500.0, 0.0};
  const std::vector<double> strengths = {-12.5, 0.0, 0.0, 2.0};
  EXPECT_EQ(LineListBilLines(wavenumbers, strengths, true),
            (std::vector<std::string>{"1000.50\t12.500000", "1500.00\t0.000000",
                                      "0.00\t-2.000000"}));
  EXPECT_EQ(PointBilLines(std::vector<double>{589.3, 365.0}, std::vector<double>{-45.5, 120.25},
                          1, false),
            (std::vector<std::string>{"589.3\t-45.500000"}));
}

// ---- The dispatcher ------------------------------------------------------------

// Every file holds a bil body and no program banner: a bil ending loads it
// into its kind's slot 1; a name the dispatcher takes for an output file
// (the detectors find no banner) loads nothing and says so; a name of no
// kind the program opens changes nothing and says so.
TEST_F(BilFiles, DispatchGoesByTheLastCharactersOfTheName) {
  const std::string content = crlf({cdHeader, "250.0\t1.0"});
  enum class Route { Bil, Output, Unknown };
  struct Case {
    std::string name;
    Route route;
    const char* loadedKind;  // the bil kind whose slot 1 becomes "calc", or null
  };
  const std::vector<Case> cases = {
      {"mol.cd.bil", Route::Bil, "ECD"},        {"mol.uv.bil", Route::Bil, "UV"},
      {"mol.or.bil", Route::Bil, "ORD"},        {"mol.vc.bil", Route::Bil, "VCD"},
      {"mol.ir.bil", Route::Bil, "IR"},         {"x.bil", Route::Unknown, nullptr},
      {"bil", Route::Unknown, nullptr},         {"mol.CD.bil", Route::Unknown, nullptr},
      {"mol.cd.bil.txt", Route::Unknown, nullptr}, {"catalog", Route::Output, nullptr},
      {"mol.LOG", Route::Output, nullptr},      {"mol.OUT", Route::Output, nullptr},
      {"mol.Log", Route::Unknown, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = temp.file(c.name);
    writeTextFile(path, content);
    const std::string titleBefore = Application::Title();
    const std::vector<std::string> statesBefore = {store().CDACTIVE[1], store().UVACTIVE[1],
                                                   store().ORDACTIVE[1], store().VCDACTIVE[1],
                                                   store().IRACTIVE[1]};
    ui.clearBoxes();
    open(path);
    const std::vector<std::string> states = {store().CDACTIVE[1], store().UVACTIVE[1],
                                             store().ORDACTIVE[1], store().VCDACTIVE[1],
                                             store().IRACTIVE[1]};
    if (c.route == Route::Unknown) {
      ASSERT_EQ(ui.boxes().size(), 1u);
      EXPECT_TRUE(startsWith(ui.lastBox().text, unknownKindStart(path))) << ui.lastBox().text;
      EXPECT_EQ(Application::Title(), titleBefore);
      EXPECT_EQ(states, statesBefore);
      continue;
    }
    if (c.route == Route::Output) {
      // An output that draws nothing changes nothing either; its box says why.
      EXPECT_EQ(ui.boxes().size(), 1u);
      EXPECT_EQ(Application::Title(), titleBefore);
      EXPECT_EQ(states, statesBefore);
      continue;
    }
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_EQ(Application::Title(), path);
    const std::string kind = c.loadedKind == nullptr ? "" : c.loadedKind;
    EXPECT_EQ(states, (std::vector<std::string>{kind == "ECD" ? "calc" : "false",
                                                kind == "UV" ? "calc" : "false",
                                                kind == "ORD" ? "calc" : "false",
                                                kind == "VCD" ? "calc" : "false",
                                                kind == "IR" ? "calc" : "false"}));
  }
}

TEST_F(BilFiles, EveryOpenStartsFromAResetStore) {
  open(fixture("bil/rounding.cd.bil"));
  ASSERT_TRUE(Form1->CDspectra1->Enabled());
  open(fixture("bil/mol.ir.bil"));
  EXPECT_EQ(store().CDACTIVE[1], "false");
  EXPECT_EQ(store().CDTITLE[1], "");
  EXPECT_FALSE(Form1->CDspectra1->Enabled());
  EXPECT_EQ(store().IRACTIVE[1], "calc");
}

// ---- Readers -----------------------------------------------------------------

TEST_F(BilFiles, HeadedCdBilAssignsEachLineToTheBinOfItsWavelength) {
  const std::string path = fixture("bil/rounding.cd.bil");
  open(path);
  EXPECT_EQ(filledBins(store().ROTS, 1),
            (std::vector<std::pair<long, double>>{
                {2452, 1.5}, {2458, -2.5}, {2500, 4.0}, {3000, 1.23456789}}));
  EXPECT_EQ(store().CDACTIVE[1], "calc");
  EXPECT_EQ(store().CDTITLE[1], "rounding.cd.bil");
  EXPECT_EQ(Form1->Caption(), path);
  EXPECT_FALSE(Form1->Label4->Visible());  // "Calculating" ends with the load
  EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet1);
  EXPECT_TRUE(Form1->CDspectra1->Enabled());
  EXPECT_TRUE(Form1->N2ndSpectrum1->Enabled());
  EXPECT_TRUE(Form1->AddUVSpectrum1->Enabled());
  EXPECT_FALSE(Form1->UVspectra1->Enabled());
  EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(BilFiles, HeaderlessCdBilIsAColumnFrom150nmAndClearsTheSlotFirst) {
  open(fixture("bil/rounding.cd.bil"));
  open(fixture("bil/headerless.cd.bil"));
  EXPECT_EQ(filledBins(store().ROTS, 1),
            (std::vector<std::pair<long, double>>{{1500, 1.0}, {1501, 2.0}, {1502, 3.0}}));
  EXPECT_EQ(store().CDACTIVE[1], "calc");

  open(fixture("bil/header-only.cd.bil"));
  EXPECT_TRUE(filledBins(store().ROTS, 1).empty());
  EXPECT_EQ(store().CDACTIVE[1], "calc");
}

TEST_F(BilFiles, UvBilHeadedAndHeaderless) {
  const std::string path = fixture("bil/headed.uv.bil");
  open(path);
  EXPECT_EQ(filledBins(store().OSC, 1),
            (std::vector<std::pair<long, double>>{{2000, 0.25}, {3006, 0.125}}));
  EXPECT_EQ(store().UVACTIVE[1], "calc");
  EXPECT_EQ(store().UVTITLE[1], "headed.uv.bil");
  EXPECT_EQ(Form1->Caption(), path);
  EXPECT_FALSE(Form1->Label4->Visible());  // "Calculating" ends with the load
  EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet1);
  EXPECT_TRUE(Form1->UVspectra1->Enabled());
  EXPECT_TRUE(Form1->N2ndSpectrum1->Enabled());
  EXPECT_TRUE(Form1->AddCDspectrum1->Enabled());
  EXPECT_FALSE(Form1->CDspectra1->Enabled());

  open(fixture("bil/headerless.uv.bil"));
  EXPECT_EQ(filledBins(store().OSC, 1),
            (std::vector<std::pair<long, double>>{{1500, 0.5}, {1501, 0.75}}));
}

TEST_F(BilFiles, OrBilHeadedAndHeaderless) {
  open(fixture("bil/mol.or.bil"));
  EXPECT_EQ(store().ORDDATAPTS[1], 2);
  EXPECT_DOUBLE_EQ(store().ORDCALCX(1, 1), 589.3);
  EXPECT_DOUBLE_EQ(store().ORDCALCY(1, 1), -45.5);
  EXPECT_DOUBLE_EQ(store().ORDCALCX(2, 1), 365.0);
  EXPECT_DOUBLE_EQ(store().ORDCALCY(2, 1), 120.25);
  EXPECT_EQ(store().ORDACTIVE[1], "calc");
  EXPECT_EQ(store().ORDTITLE[1], "mol.or.bil");
  // The caption takes the name only; the ORD menu waits for optical
  // rotations read from an output.
  EXPECT_EQ(Form1->Caption(), "mol.or.bil");
  EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet4);
  EXPECT_TRUE(Form1->N2ndSpectrum1->Enabled());
  EXPECT_FALSE(Form1->ORD1->Enabled());
  EXPECT_FALSE(Form1->Label4->Visible());

  open(fixture("bil/headerless.or.bil"));
  EXPECT_EQ(store().ORDDATAPTS[1], 0);
  EXPECT_EQ(store().ORDCALCX(1, 1), 0.0);
  EXPECT_EQ(store().ORDCALCY(2, 1), 0.0);
  EXPECT_EQ(store().ORDACTIVE[1], "calc");
}

TEST_F(BilFiles, VcAndIrBilFillTheLineListFromRowZero) {
  struct Case {
    std::string headed, headerless;
    LineGrid Store::*grid;
    SlotTexts Store::*state;
    MenuItem* TForm1::*menu;
    MenuItem* TForm1::*addItem;
    std::vector<std::pair<double, double>> rows;
  };
  const std::vector<Case> cases = {
      {"mol.vc.bil", "headerless.vc.bil", &Store::VCD, &Store::VCDACTIVE, &TForm1::VCDspectra,
       &TForm1::AddIrSpectrum, {{1000.5, -12.5}, {1500.25, 0.0}, {1700.0, 3.25}}},
      {"mol.ir.bil", "headerless.ir.bil", &Store::IR, &Store::IRACTIVE, &TForm1::IRSpectra,
       &TForm1::AddVCDSpectrum, {{1000.5, 120.0}, {1650.25, 45.5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.headed);
    const std::string path = fixture("bil/" + c.headed);
    open(path);
    const LineGrid& grid = store().*c.grid;
    for (size_t row = 0; row < c.rows.size(); ++row) {
      EXPECT_DOUBLE_EQ(grid(static_cast<long>(row), 1, 1), c.rows[row].first);
      EXPECT_DOUBLE_EQ(grid(static_cast<long>(row), 2, 1), c.rows[row].second);
    }
    EXPECT_EQ(grid(static_cast<long>(c.rows.size()), 1, 1), 0.0);
    EXPECT_EQ((store().*c.state)[1], "calc");
    EXPECT_EQ(Form1->Caption(), path);
    EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet5);
    EXPECT_TRUE((Form1->*c.menu)->Enabled());
    EXPECT_TRUE((Form1->*c.addItem)->Enabled());
    EXPECT_TRUE(Form1->N2ndSpectrum1->Enabled());
    EXPECT_FALSE(Form1->Edit2->Enabled());
    EXPECT_FALSE(Form1->Edit3->Enabled());
    EXPECT_FALSE(Form1->Label4->Visible());

    // Without the marker nothing is read, and the earlier rows are gone.
    open(fixture("bil/" + c.headerless));
    EXPECT_EQ(grid(0, 1, 1), 0.0);
    EXPECT_EQ(grid(0, 2, 1), 0.0);
    EXPECT_EQ((store().*c.state)[1], "calc");
  }
}

TEST_F(BilFiles, ComparisonSlotsSetTheCaptionOnlyWhereTheReaderSaysSo) {
  open(fixture("bil/rounding.cd.bil"));
  const std::string uv = fixture("bil/headed.uv.bil");
  ui.act([&] { Form1->UvBilFile(uv, 2); });
  EXPECT_EQ(Form1->Caption(), uv);  // cd.bil and uv.bil: for every slot
  EXPECT_EQ(store().UVACTIVE[2], "calc");
  EXPECT_DOUBLE_EQ(store().OSC(2000, 2), 0.25);
  EXPECT_TRUE(Form1->UVspectra1->Enabled());  // whatever the slot
  EXPECT_FALSE(Form1->AddCDspectrum1->Enabled());

  ui.act([] { Form1->VcdBilFile(fixture("bil/mol.vc.bil"), 2); });
  ui.act([] { Form1->BilOrdFile(fixture("bil/mol.or.bil"), 2); });
  EXPECT_EQ(Form1->Caption(), uv);  // vc.bil, ir.bil, or.bil: slot 1 only
  EXPECT_EQ(store().VCDACTIVE[2], "calc");
  EXPECT_FALSE(Form1->VCDspectra->Enabled());
  EXPECT_TRUE(Form1->Edit2->Enabled());
  EXPECT_EQ(store().ORDDATAPTS[2], 2);
  EXPECT_TRUE(ui.errorBoxes().empty());
}

TEST_F(BilFiles, AConversionErrorEndsTheReadAndLeavesTheSlotUnmarked) {
  const std::string path = fixture("bil/comma.cd.bil");
  open(path);
  ASSERT_EQ(ui.errorBoxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().caption, "EConvertError");
  EXPECT_EQ(ui.lastBox().text, "\"250,5\" is an invalid float (comma.cd.bil, line 3)");
  // The line before the error is in, the line after it is not.
  EXPECT_EQ(filledBins(store().ROTS, 1), (std::vector<std::pair<long, double>>{{2450, 1.0}}));
  EXPECT_EQ(store().CDACTIVE[1], "false");
  EXPECT_EQ(store().CDTITLE[1], "");
  EXPECT_FALSE(Form1->CDspectra1->Enabled());
  EXPECT_EQ(Form1->Caption(), path);
}

TEST_F(BilFiles, AMissingFileEndsInTheInputOutputError) {
  open(temp.file("gone.cd.bil"));
  ASSERT_EQ(ui.errorBoxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().caption, "EInOutError");
  EXPECT_EQ(store().CDACTIVE[1], "false");
}

// ---- Lines the arrays have no room for ----------------------------------------

TEST_F(BilFiles, HeadedWavelengthsOffTheGridAreSkippedWithOneMessage) {
  open(fixture("bil/range.cd.bil"));
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().kind, BoxKind::Message);
  EXPECT_EQ(ui.lastBox().text,
            "range.cd.bil: 3 line(s) could not be loaded (outside the spectrum range).");
  EXPECT_EQ(filledBins(store().ROTS, 1),
            (std::vector<std::pair<long, double>>{{1000, 5.0}, {2450, 2.0}, {40000, 4.0}}));
  EXPECT_EQ(store().CDACTIVE[1], "calc");
  EXPECT_TRUE(Form1->CDspectra1->Enabled());
}

TEST_F(BilFiles, ReadsStopWhereTheArraysEndWithOneMessage) {
  struct Case {
    std::string name;
    std::string header;  // empty: headerless
    int lines;           // body lines written
    int notLoaded;
  };
  const std::vector<Case> cases = {
      {"long.cd.bil", "", 38501 + 2, 2},   // bins 1500 to 40000, then two more
      {"long.uv.bil", "", 38501 + 1, 1},
      {"long.or.bil", "Orvanix bil-file", 100 + 3, 3},
      {"long.vc.bil", vcdHeader, 4001 + 2, 2},
      {"long.ir.bil", irHeader, 4001 + 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines;
    if (!c.header.empty()) lines.push_back(c.header);
    // Headerless: zeros keep the broadening quick; the last bin that fits
    // (line 38501, bin 40000) holds a value.
    for (int k = 1; k <= c.lines; ++k)
      lines.push_back(c.header.empty() ? (k == 38501 ? "1.5" : "0")
                                       : std::to_string(k) + "\t2.5");
    const std::string path = temp.file(c.name);
    writeTextFile(path, crlf(lines));
    ui.clearBoxes();
    open(path);
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.lastBox().text, c.name + ": " + std::to_string(c.notLoaded) +
                                     " line(s) could not be loaded (outside the spectrum range).");
    if (c.name == "long.cd.bil") {
      EXPECT_EQ(filledBins(store().ROTS, 1), (std::vector<std::pair<long, double>>{{40000, 1.5}}));
      EXPECT_EQ(store().CDACTIVE[1], "calc");
    }
  }
  // The last reader's slot holds every row it had room for.
  EXPECT_DOUBLE_EQ(store().IR(4000, 1, 1), 4001.0);
  EXPECT_EQ(store().IRACTIVE[1], "calc");
}

TEST_F(BilFiles, FullArraysAreLoadedCompletely) {
  std::vector<std::string> lines = {"Orvanix bil-file"};
  for (int k = 1; k <= 100; ++k) lines.push_back(std::to_string(k) + "\t1.0");
  const std::string path = temp.file("full.or.bil");
  writeTextFile(path, crlf(lines));
  open(path);
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_EQ(store().ORDDATAPTS[1], 100);
  EXPECT_DOUBLE_EQ(store().ORDCALCX(100, 1), 100.0);
}

// ---- Writers and the save flow ---------------------------------------------------

TEST_F(BilFiles, CdBilRoundTripKeepsTheLineSpectrumToSixDecimals) {
  open(fixture("bil/rounding.cd.bil"));
  const std::string path = save(Form1->SaveCD1, "copy.cd.bil");
  EXPECT_EQ(ui.lastBox().text, "File saved!");
  EXPECT_EQ(ui.dialogs().back().name, "SaveDialog1");
  EXPECT_EQ(ui.dialogs().back().presetFileName, "rounding.cd");
  EXPECT_EQ(readTextFile(path), crlf({cdHeader, "245.2\t1.500000", "245.8\t-2.500000",
                                      "250.0\t4.000000", "300.0\t1.234568"}));
  open(path);
  EXPECT_EQ(filledBins(store().ROTS, 1),
            (std::vector<std::pair<long, double>>{
                {2452, 1.5}, {2458, -2.5}, {2500, 4.0}, {3000, 1.234568}}));
}

TEST_F(BilFiles, CdBilWriterFollowsTheEcdBoxesAndTheFormalism) {
  open(fixture("bil/headerless.cd.bil"));
  const std::vector<std::string> asComputed = {"150.0\t1.000000", "150.1\t2.000000",
                                               "150.2\t3.000000"};
  const std::vector<std::string> negated = {"150.0\t-1.000000", "150.1\t-2.000000",
                                            "150.2\t-3.000000"};
  auto expected = [&](const std::string& header, const std::vector<std::string>& body) {
    std::vector<std::string> lines = {header};
    lines.insert(lines.end(), body.begin(), body.end());
    return crlf(lines);
  };
  ui.tick(Form1->CheckBox2);  // both ticked: as computed
  EXPECT_EQ(readTextFile(save(Form1->SaveCD1, "both.cd.bil")), expected(cdHeader, asComputed));
  ui.untick(Form1->CheckBox3);  // mirror image only
  EXPECT_EQ(readTextFile(save(Form1->SaveCD1, "mirror.cd.bil")), expected(cdHeader, negated));

  ui.act([] { Form2->RadioButton1->SetChecked(true); });  // velocity formalism
  EXPECT_EQ(readTextFile(save(Form1->SaveCD1, "velocity.cd.bil")),
            expected("Orvanix bil-file (velocity formalism) wavelength (nm)       rotational "
                     "strength (10**-40 esu**2-cm**2)",
                     negated));
}

TEST_F(BilFiles, UvOrVcAndIrWritersWriteSlotOne) {
  open(fixture("bil/headed.uv.bil"));
  EXPECT_EQ(readTextFile(save(Form1->SaveUV1, "copy.uv.bil")),
            crlf({"Orvanix bil-file (length formalism) wavelength (nm)       oscillator strength",
                  "200.0\t0.250000", "300.6\t0.125000"}));
  EXPECT_EQ(ui.dialogs().back().name, "SaveDialog2");

  open(fixture("bil/mol.or.bil"));
  ui.act([] { Form1->ORD1->SetEnabled(true); });  // as optical rotations from an output do
  EXPECT_EQ(readTextFile(save(Form1->Saveorbil1, "copy.or.bil")),
            crlf({"Orvanix bil-file", "589.3\t-45.500000", "365.0\t120.250000"}));
  EXPECT_EQ(ui.dialogs().back().presetFileName, "mol.or");
  ui.tick(Form1->CheckBox12);
  ui.untick(Form1->CheckBox11);
  EXPECT_EQ(readTextFile(save(Form1->Saveorbil1, "mirror.or.bil")),
            crlf({"Orvanix bil-file", "589.3\t45.500000", "365.0\t-120.250000"}));

  open(fixture("bil/mol.vc.bil"));
  // A row of strength 0 is kept while its wavenumber is not 0.
  EXPECT_EQ(readTextFile(save(Form1->MenuItem4, "copy.vc.bil")),
            crlf({vcdHeader, "1000.50\t-12.500000", "1500.25\t0.000000", "1700.00\t3.250000"}));
  EXPECT_EQ(ui.dialogs().back().name, "SaveDialog7");
  ui.tick(Form1->CheckBox9);
  if (Form1->CheckBox6->Checked()) ui.untick(Form1->CheckBox6);
  EXPECT_EQ(readTextFile(save(Form1->MenuItem4, "mirror.vc.bil")),
            crlf({vcdHeader, "1000.50\t12.500000", "1500.25\t0.000000", "1700.00\t-3.250000"}));

  open(fixture("bil/mol.ir.bil"));
  EXPECT_EQ(readTextFile(save(Form1->saveIRBIL, "copy.ir.bil")),
            crlf({irHeader, "1000.50\t120.000000", "1650.25\t45.500000"}));
  EXPECT_EQ(ui.dialogs().back().name, "SaveDialog9");
}

TEST_F(BilFiles, WritersRefuseWithoutASelectedSpectrumBeforeAnyDialog) {
  open(fixture("bil/rounding.cd.bil"));
  const size_t dialogsBefore = ui.dialogs().size();
  ui.untick(Form1->CheckBox3);
  ui.act([] { Form1->SaveCD1Click(); });
  EXPECT_EQ(ui.lastBox().text, "No CD spectrum selected");

  ui.untick(Form1->CheckBox11);
  ui.act([] { Form1->Saveorbil1Click(); });
  EXPECT_EQ(ui.lastBox().text, "No spectrum selected");

  ui.untick(Form1->CheckBox19);
  ui.act([] { Form1->saveIRBILClick(); });
  EXPECT_EQ(ui.lastBox().text, "No IR spectrum selected");

  // Neither VCD box ticked, a state the view controls never leave: reached
  // with the boxes' handlers held back.
  for (CheckBox* box : {Form1->CheckBox6, Form1->CheckBox9}) {
    Notify change = box->OnChange, click = box->OnClick;
    box->OnChange = box->OnClick = nullptr;
    box->SetChecked(false);
    box->OnChange = change;
    box->OnClick = click;
  }
  ui.act([] { Form1->MenuItem4Click(); });
  EXPECT_EQ(ui.lastBox().text, "No VCD spectrum selected");

  EXPECT_EQ(ui.dialogs().size(), dialogsBefore);
  EXPECT_TRUE(Form1->Memo2->Lines().empty());
  EXPECT_TRUE(ui.errorBoxes().empty());
}

TEST_F(BilFiles, CancelledDialogsShowTheirWritersWording) {
  struct Case {
    MenuItem* TForm1::*item;
    std::string message;
  };
  const std::vector<Case> cases = {
      {&TForm1::SaveCD1, "File not saved!"},   {&TForm1::SaveUV1, "File not saved"},
      {&TForm1::Saveorbil1, "File not saved!"}, {&TForm1::MenuItem4, "File not saved!"},
      {&TForm1::saveIRBIL, "File not saved!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((Form1->*c.item)->Name());
    ui.willCancel();
    ui.act([&] { (Form1->*c.item)->Click(); });
    EXPECT_EQ(ui.lastBox().kind, BoxKind::Message);
    EXPECT_EQ(ui.lastBox().text, c.message);
  }
}

TEST_F(BilFiles, AnExistingFileIsReplacedOnlyAfterYes) {
  open(fixture("bil/headerless.cd.bil"));
  const std::string path = temp.file("old.cd.bil");
  writeTextFile(path, "old\r\n");

  ui.willChooseFile(path);
  ui.willAnswer(Answer::No);
  ui.menu(Form1->SaveCD1);
  const std::vector<Box>& boxes = ui.boxes();
  ASSERT_GE(boxes.size(), 2u);
  const Box question = boxes[boxes.size() - 2];
  EXPECT_EQ(question.kind, BoxKind::Question);
  EXPECT_EQ(question.caption, " ");
  EXPECT_EQ(question.text, "Overwrite File \"old.cd.bil\"?");
  EXPECT_EQ(ui.lastBox().text, "File not saved!");
  EXPECT_EQ(readTextFile(path), "old\r\n");

  ui.willChooseFile(path);
  ui.willAnswer(Answer::Yes);
  ui.menu(Form1->SaveCD1);
  EXPECT_EQ(ui.lastBox().text, "File saved!");
  EXPECT_EQ(readTextFile(path).substr(0, cdHeader.size()), cdHeader);

  // The same refusal after a uv.bil dialog, whose cancel wording differs
  // (its "all files" filter keeps the name as typed).
  ui.willChooseFile(path, 2);
  ui.willAnswer(Answer::No);
  ui.act([] { Form1->SaveUV1Click(); });
  EXPECT_EQ(ui.lastBox().text, "File not saved!");
}

TEST_F(BilFiles, ANameWithoutTheFiltersEndingGetsIt) {
  open(fixture("measured/mol.cd.bil"));
  struct Case {
    MenuItem* TForm1::*item;
    const char* typed;
    int filter;  // the dialog keeps the filter chosen last
    const char* written;
  };
  for (const Case& c : std::vector<Case>{
           {&TForm1::SaveCD1, "plain", 1, "plain.cd.bil"},
           // The preset drops the last four characters of the caption.
           {&TForm1::SaveCD1, "mol.cd", 0, "mol.cd.bil"},
           {&TForm1::SaveCD1, "given.cd.bil", 1, "given.cd.bil"},
           {&TForm1::SaveCD1, "as-uv", 2, "as-uv.uv.bil"},
           {&TForm1::SaveCD1, "typed.txt", 3, "typed.txt"},
           {&TForm1::Savexy1, "curve", 0, "curve.cd.xy"},
       }) {
    SCOPED_TRACE(c.typed);
    ui.willChooseFile(temp.file(c.typed), c.filter);
    ui.menu(Form1->*c.item);
    EXPECT_EQ(ui.lastBox().text, "File saved!");
    EXPECT_TRUE(FileExists(temp.file(c.written)));
  }
  EXPECT_EQ(folderNames(temp.path()),
            (std::vector<std::string>{"as-uv.uv.bil", "curve.cd.xy", "given.cd.bil", "mol.cd.bil",
                                      "plain.cd.bil", "typed.txt"}));

  // The name with its ending is the one the overwrite question asks about.
  ui.willChooseFile(temp.file("plain"), 1);
  ui.willAnswer(Answer::No);
  ui.menu(Form1->SaveCD1);
  EXPECT_EQ(ui.boxes()[ui.boxes().size() - 2].text, "Overwrite File \"plain.cd.bil\"?");

  // The file written opens again.
  open(temp.file("plain.cd.bil"));
  EXPECT_EQ(store().ROTS(2500, 1), 10.0);
}

TEST_F(BilFiles, DialogsStartInTheFolderOfTheFileLastOpened) {
  TempFolder first, second;
  writeTextFile(first.file("a.cd.bil"), readTextFile(fixture("measured/mol.cd.bil")));
  writeTextFile(second.file("b.cd.bil"), readTextFile(fixture("measured/mol.cd.bil")));
  open(first.file("a.cd.bil"));
  ui.willChooseFile(second.file("b.cd.bil"));
  ui.menu(Form1->BilFile1);
  EXPECT_EQ(ui.dialogs().back().startFolder, first.path() + "/") << "the Compare dialog";
  ui.willCancel();
  ui.menu(Form1->SaveCD1);
  EXPECT_EQ(ui.dialogs().back().startFolder, second.path() + "/") << "the file compared came last";

  // A dropped file counts as opened.
  ui.drop(Form1, {first.file("a.cd.bil")});
  ui.willCancel();
  ui.menu(Form1->SaveCD1);
  EXPECT_EQ(ui.dialogs().back().startFolder, first.path() + "/");
}

TEST_F(BilFiles, AnUnwritableTargetEndsInTheErrorBoxWithoutFileSaved) {
  open(fixture("bil/headerless.cd.bil"));
  save(Form1->SaveCD1, "no-such-folder/x.cd.bil");
  ASSERT_EQ(ui.errorBoxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().caption, "EInOutError");
  for (const Box& box : ui.boxes()) EXPECT_NE(box.text, "File saved!");
}

TEST_F(BilFiles, AFailedWriteLeavesTheOldFileByteForByte) {
  open(fixture("bil/headerless.cd.bil"));
  const std::string path = temp.file("old.cd.bil");
  const std::string old = "Orvanix bil-file\r\n245.3\t-12.345678\r\n";
  writeTextFile(path, old);
  {
    const FileSizeLimit diskFull(20);
    ui.willChooseFile(path);
    ui.willAnswer(Answer::Yes);
    ui.menu(Form1->SaveCD1);
  }
  ASSERT_EQ(ui.errorBoxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().caption, "EInOutError");
  for (const Box& box : ui.boxes()) EXPECT_NE(box.text, "File saved!");
  EXPECT_EQ(readTextFile(path), old);
  EXPECT_EQ(folderNames(temp.path()), std::vector<std::string>{"old.cd.bil"});
}

TEST(SaveFlow, PresetIsTheNameWithoutFolderLessFourCharacters) {
  EXPECT_EQ(SavePresetName(R"(C:\data\mol7.cd.bil)"), "mol7.cd");
  EXPECT_EQ(SavePresetName("/home/a/b/mol.vc.bil"), "mol.vc");
  EXPECT_EQ(SavePresetName("mol.or.bil"), "mol.or");
  EXPECT_EQ(SavePresetName("abcd"), "");
  EXPECT_EQ(SavePresetName(""), "");
}

}  // namespace
