// Measured spectra (exp.xy files) and chromatograms (cuv, ccd files): the
// line rules of the readers, and what a load does to its slot and to the
// main window.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "files/measured.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/testing/session.h"
#include "plots/cdplotting.h"
#include "store/Store.h"

namespace {

// The readers over lines held in memory, as the text of a file.
TextFileLines linesInMemory(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return TextFileLines(TextInMemory{"", std::move(text)});
}

MeasuredRead ReadMeasuredSpectrum(const std::vector<std::string>& lines, MeasuredKind kind,
                                  std::span<double> xs, std::span<double> ys) {
  TextFileLines file = linesInMemory(lines);
  return ReadMeasuredSpectrum(file, kind, xs, ys);
}

MeasuredRead ReadMeasuredOrd(const std::vector<std::string>& lines, std::span<double> xs,
                             std::span<double> ys) {
  TextFileLines file = linesInMemory(lines);
  return ReadMeasuredOrd(file, xs, ys);
}

MeasuredRead ReadChromatogram(const std::vector<std::string>& lines, std::span<double> times,
                              std::span<double> signals) {
  TextFileLines file = linesInMemory(lines);
  return ReadChromatogram(file, times, signals);
}


using Points = std::vector<std::pair<double, double>>;

// The parse of `lines` into a small slot.
struct Parsed {
  MeasuredRead read;
  Points points;
};
Parsed parse(MeasuredKind kind, const std::vector<std::string>& lines, size_t capacity = 50) {
  std::vector<double> xs(capacity, -1.0), ys(capacity, -1.0);
  Parsed parsed;
  parsed.read = ReadMeasuredSpectrum(lines, kind, xs, ys);
  for (int p = 0; p < parsed.read.points; ++p) parsed.points.emplace_back(xs[p], ys[p]);
  return parsed;
}

const char* kindName(MeasuredKind kind) {
  switch (kind) {
    case MeasuredKind::Ecd: return "ECD";
    case MeasuredKind::Uv: return "UV";
    case MeasuredKind::Vcd: return "VCD";
    case MeasuredKind::Ir: return "IR";
  }
  return "?";
}

// VCD and IR files always begin with a header line; "head" stands for it.
const std::string head = "x\ty";

TEST(MeasuredLines, FieldsSeparatorsAndErrorCounts) {
  struct Case {
    const char* what;
    MeasuredKind kind;
    std::vector<std::string> lines;
    Points points;
    int errors;
  };
  const std::vector<Case> cases = {
      {"commas become points", MeasuredKind::Ecd, {"250,5\t-3,2"}, {{250.5, -3.2}}, 0},
      {"headerless ';' file loses its line 1", MeasuredKind::Ecd,
       {"260,0;9,9", "250,5;-3,2"}, {{250.5, -3.2}}, 0},
      {"a line with \";;\" after the separator line is skipped too", MeasuredKind::Ecd,
       {"TITLE", "XYDATA;", "a;;b", "skipped too", "250;1"}, {{250, 1}}, 0},
      {"';' y field is not trimmed", MeasuredKind::Ecd, {"x;y", "250;1 "}, {{250, 0}}, 1},
      {"bad x keeps the point at x 0", MeasuredKind::Ecd, {"abc\t1.0"}, {{0, 1}}, 1},
      {"UV drops a line whose x is bad", MeasuredKind::Uv, {"abc\t1.0", "300\t2"}, {{300, 2}}, 1},
      {"UV drops x outside 100..4000 without a count", MeasuredKind::Uv,
       {"50\t1", "4000.01\t1", "4000\t2", "100\t3"}, {{4000, 2}, {100, 3}}, 0},
      {"UV y is all text after the first TAB", MeasuredKind::Uv, {"300\t1.0\t2.0"}, {{300, 0}}, 1},
      {"ECD y is the second TAB field", MeasuredKind::Ecd, {"300\t1.0\t2.0"}, {{300, 1}}, 0},
      {"two TABs separate like one", MeasuredKind::Ecd, {"300\t\t1.5"}, {{300, 1.5}}, 0},
      {"blanks only: both fields are the whole line", MeasuredKind::Ecd, {"300 1.5"}, {{0, 0}}, 2},
      {"blanks only in VCD", MeasuredKind::Vcd, {head, "300 1.5"}, {{0, 0}}, 2},
      {"blanks only in IR", MeasuredKind::Ir, {head, "300 1.5"}, {{0, 0}}, 2},
      {"one number is x and y", MeasuredKind::Ecd, {"  42"}, {{42, 42}}, 0},
      {"an empty field is no number", MeasuredKind::Ecd, {"300\t"}, {{300, 0}}, 1},
      {"an empty line ends the data", MeasuredKind::Ecd, {"300\t1", "", "290\t2"}, {{300, 1}}, 0},
      {"an empty first line reads nothing", MeasuredKind::Ecd, {"", "300\t1"}, {}, 0},
      {"headed JASCO VCD takes the third column", MeasuredKind::Vcd,
       {"TITLE", "XYDATA", "1000\t0.1\t0.2"}, {{1000, 0.2}}, 0},
      {"headed JASCO IR takes the second column", MeasuredKind::Ir,
       {"TITLE", "XYDATA", "1000\t0.1\t0.2"}, {{1000, 0.1}}, 0},
      {"headerless VCD never reads line 1", MeasuredKind::Vcd,
       {"1000\t0.1\t0.2", "1100\t0.3\t0.4"}, {{1100, 0.3}}, 0},
      {"headerless IR never reads line 1", MeasuredKind::Ir,
       {"1000\t0.1\t0.2", "1100\t0.3\t0.4"}, {{1100, 0.3}}, 0},
      {"JASCO with ';' finds no TAB for y", MeasuredKind::Ir,
       {"TITLE", "XYDATA;", "skipped", "1000;0.1"}, {{1000, 0}}, 1},
      {"the XYDATA line itself may be line 1", MeasuredKind::Ecd,
       {"TITLE XYDATA", "300\t1"}, {{300, 1}}, 0},
      {"UV header is 18 lines, XYDATA or not", MeasuredKind::Uv,
       {"TITLE", "XYDATA", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15",
        "16", "17", "18", "300\t1"},
       {{300, 1}}, 0},
      {"UV header shorter than 18 lines reads nothing", MeasuredKind::Uv,
       {"TITLE", "XYDATA", "300\t1"}, {}, 0},
  };
  for (const Case& c : cases) {
    const Parsed parsed = parse(c.kind, c.lines);
    EXPECT_EQ(parsed.points, c.points) << kindName(c.kind) << ": " << c.what;
    EXPECT_EQ(parsed.read.errors, c.errors) << kindName(c.kind) << ": " << c.what;
  }
}

TEST(MeasuredLines, AFullSlotStopsReadingTheFile) {
  std::string text;
  for (int k = 0; k < 7; ++k) text += std::to_string(300 - k) + "\t1\n";
  std::vector<double> xs(5, 0.0), ys(5, 0.0);
  for (MeasuredKind kind : {MeasuredKind::Ecd, MeasuredKind::Uv}) {
    TextFileLines file(TextInMemory{"long.cd.exp.xy", text});
    const MeasuredRead read = ReadMeasuredSpectrum(file, kind, xs, ys);
    EXPECT_EQ(read.points, 5);
    EXPECT_TRUE(read.full);
    EXPECT_EQ(xs.back(), 296.0);
    EXPECT_EQ(file.lineNumber(), 6) << "the line after the fifth point is the last one read";
  }
  TextFileLines ord(TextInMemory{"long.or.exp.xy", text});
  EXPECT_TRUE(ReadMeasuredOrd(ord, xs, ys).full);
  EXPECT_EQ(ord.lineNumber(), 6);
  TextFileLines trace(TextInMemory{"long.cuv", "Time\tValue\n" + text});
  EXPECT_TRUE(ReadChromatogram(trace, xs, ys).full);
  EXPECT_EQ(trace.lineNumber(), 7);
}

TEST(MeasuredLines, AStrictConversionNamesTheFileAndLine) {
  std::vector<double> xs(10), ys(10);
  struct Case {
    std::function<void()> read;
    std::string message;
  };
  TextFileLines ord(TextInMemory{"/data/x.or.exp.xy", "500\t10\n\n400\tabc\n"});
  TextFileLines trace(TextInMemory{"/data/x.ccd", "Time;Value\n0.5;1\n0,7;1.2.3\n"});
  for (const Case& c : std::vector<Case>{
           {[&] { ReadMeasuredOrd(ord, xs, ys); }, "\"abc\" is an invalid float (x.or.exp.xy, line 3)"},
           {[&] { ReadChromatogram(trace, xs, ys); },
            "\"1.2.3\" is an invalid float (x.ccd, line 3)"}}) {
    try {
      c.read();
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.Message(), c.message);
    }
  }
}

TEST(MeasuredLines, AHeadedFileWithoutXydataReadsNothing) {
  for (MeasuredKind kind : {MeasuredKind::Ecd, MeasuredKind::Vcd, MeasuredKind::Ir}) {
    const Parsed parsed = parse(kind, {"TITLE", "300\t1", "290\t2"});
    EXPECT_TRUE(parsed.read.noDataMarker) << kindName(kind);
    EXPECT_TRUE(parsed.points.empty()) << kindName(kind);
  }
}

TEST(MeasuredLines, RisingFilesAreStoredDescending) {
  struct Case {
    std::vector<double> xs;
    std::vector<double> expected;
  };
  for (const Case& c : std::vector<Case>{{{200, 300, 400}, {400, 300, 200}},
                                         {{400, 300, 200}, {400, 300, 200}},
                                         {{200, 400, 300, 250}, {250, 300, 400, 200}},
                                         {{300, 300}, {300, 300}},
                                         {{5}, {5}}}) {
    std::vector<double> xs = c.xs, ys = c.xs;
    StoreDescending(xs, ys, static_cast<int>(xs.size()));
    EXPECT_EQ(xs, c.expected);
    EXPECT_EQ(ys, c.expected) << "y moves with its x";
  }
}

TEST(MeasuredLines, OrdReadsOnOverEmptyLinesAndConvertsStrictly) {
  std::vector<double> xs(10), ys(10);
  const MeasuredRead read = ReadMeasuredOrd({"500\t10", "", "400\t2,5", "450\t30"}, xs, ys);
  EXPECT_EQ(read.points, 3);
  EXPECT_EQ((std::vector<double>{xs[0], xs[1], xs[2]}), (std::vector<double>{500, 400, 450}));
  EXPECT_EQ(ys[1], 2.5);
  EXPECT_THROW(ReadMeasuredOrd({"500\t10", "400\tabc"}, xs, ys), EConvertError);
}

TEST(MeasuredLines, ChromatogramSeparatorsComeFromLine1) {
  struct Case {
    std::vector<std::string> lines;
    Points points;
  };
  const std::vector<Case> cases = {
      {{"Time\tValue", "0,5\t12", "1\t1,5"}, {{0.5, 12}, {1, 1.5}}},
      {{"Time;Value", "0,5;12"}, {{0.5, 12}}},
      {{"Retention", "0.5,12", "1.5,1,5"}, {{0.5, 12}, {1.5, 1.5}}},
      {{"Time\tValue", "", "12", "1\t2"}, {{1, 2}}},  // short lines are skipped
  };
  for (const Case& c : cases) {
    std::vector<double> times(10), signals(10);
    const MeasuredRead read = ReadChromatogram(c.lines, times, signals);
    Points points;
    for (int p = 0; p < read.points; ++p) points.emplace_back(times[p], signals[p]);
    EXPECT_EQ(points, c.points) << c.lines[0];
  }
  std::vector<double> times(10), signals(10);
  EXPECT_THROW(ReadChromatogram({"Time\tValue", "1\tpeak"}, times, signals), EConvertError);
}

// ---- Loads through the main window ------------------------------------------------

class MeasuredLoads : public ::testing::Test {
 protected:
  Session ui;
  TempFolder temp;

  void open(const std::string& path) {
    ui.willChooseFile(path);
    ASSERT_TRUE(ui.menu(Form1->Open1));
  }
  void openHplc(const std::string& path) {
    ui.willChooseFile(path);
    ASSERT_TRUE(ui.menu(Form1->OpenHPLC1));
  }
  Store& store() { return ui.store(); }
  std::vector<double> cdX(int slot) {
    std::vector<double> xs;
    for (int p = 1; p <= store().CDDATAPTS[slot]; ++p) xs.push_back(store().EXPCDX(p, slot));
    return xs;
  }
};

TEST_F(MeasuredLoads, EcdIntoSlot1StoresDescendingAndSetsTheMainWindow) {
  open(fixture("measured/rising.cd.exp.xy"));
  EXPECT_EQ(store().CDACTIVE[1], "exp");
  EXPECT_EQ(store().CDTITLE[1], "rising.cd.exp.xy");
  EXPECT_EQ(Form1->Caption(), "rising.cd.exp.xy");
  EXPECT_EQ(cdX(1), (std::vector<double>{400, 350, 300, 250, 200}));
  EXPECT_EQ(store().EXPCDY(1, 1), 5.0);
  EXPECT_EQ(store().EXPCDX(6, 1), 0.0) << "points past the count are cleared";
  EXPECT_TRUE(ui.boxes().empty());

  EXPECT_TRUE(Form1->CDspectra1->Enabled());
  EXPECT_TRUE(Form1->N2ndSpectrum1->Enabled());
  EXPECT_TRUE(Form1->AddUVSpectrum1->Enabled());
  for (Control* off : std::vector<Control*>{Form1->CheckBox1, Form1->CheckBox2, Form1->CheckBox3,
                                            Form1->CheckBox5, Form1->Edit2, Form1->Edit3,
                                            Form1->SaveCD1, Form1->Savexy1})
    EXPECT_FALSE(off->Enabled()) << off->Name();
  EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet1);

  open(fixture("measured/falling.cd.exp.xy"));
  EXPECT_EQ(cdX(1), (std::vector<double>{400, 350, 300, 250, 200}));
}

TEST_F(MeasuredLoads, CommasAndTheSemicolonFile) {
  open(fixture("measured/comma.cd.exp.xy"));
  EXPECT_EQ(cdX(1), (std::vector<double>{250.5, 240.0}));
  EXPECT_DOUBLE_EQ(store().EXPCDY(1, 1), -3.2);
  open(fixture("measured/semicolon.cd.exp.xy"));
  EXPECT_EQ(cdX(1), (std::vector<double>{250.5, 240.0})) << "line 1 is skipped";
}

TEST_F(MeasuredLoads, BadFieldsShowOneBoxWithTheirCount) {
  open(fixture("measured/errors.cd.exp.xy"));
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().text, "3 Error(s) occured, please check the file!");
  EXPECT_EQ(store().CDDATAPTS[1], 4);
  EXPECT_EQ(store().CDACTIVE[1], "exp");
}

TEST_F(MeasuredLoads, TooManyPointsLoadWhatFitsWithOneMessage) {
  const std::string path = temp.file("long.cd.exp.xy");
  std::string text;
  for (int k = 0; k < MeasuredSpectrumCapacity + 3; ++k)
    text += std::to_string(20000 - k) + "\t1\n";
  writeTextFile(path, text);
  open(path);
  EXPECT_EQ(store().CDDATAPTS[1], MeasuredSpectrumCapacity);
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().text, MeasuredFullMessage("long.cd.exp.xy", MeasuredSpectrumCapacity));
  EXPECT_NE(ui.lastBox().text.find("long.cd.exp.xy"), std::string::npos);
}

TEST_F(MeasuredLoads, AHeadedFileWithoutXydataIsAnEmptyMeasuredSlot) {
  open(fixture("measured/no-marker.cd.exp.xy"));
  EXPECT_EQ(store().CDACTIVE[1], "exp");
  EXPECT_EQ(store().CDDATAPTS[1], 0);
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().text, NoDataMarkerMessage("no-marker.cd.exp.xy"));
}

// A file from which no point was read (every line outside the reader's
// range, or no data line) says so once, naming the file; the slot is the
// empty measured curve it was before.
TEST_F(MeasuredLoads, AFileThatGivesNoPointSaysSoOnce) {
  struct Case {
    std::string name;
    std::string text;
    std::string* state;
  };
  const std::vector<Case> cases = {
      {"far.uv.exp.xy", std::string(17, '\n') + "50\t1\n4000.5\t2\n20\t3\n", &store().UVACTIVE[1]},
      {"empty.cd.exp.xy", "", &store().CDACTIVE[1]},
      {"blank.ir.exp.xy", "\n\n", &store().IRACTIVE[1]},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui.clearBoxes();
    writeTextFile(temp.file(c.name), c.text);
    open(temp.file(c.name));
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.lastBox().text, c.name + ": no point read from the file, the curve is empty.");
    EXPECT_EQ(*c.state, "exp");
  }
}

TEST_F(MeasuredLoads, EcdHeaderSetsTheCdAxisTitles) {
  open(fixture("measured/molar.cd.exp.xy"));
  EXPECT_EQ(Form10->Edit10->Text(), "{/Symbol De} [M^{-1}{/Symbol \\327}cm^{-1}]");
  EXPECT_EQ(cdX(1), (std::vector<double>{300, 290}));
  open(fixture("measured/molar-then-mdeg.cd.exp.xy"));
  EXPECT_EQ(Form10->Edit10->Text(), "CD[mdeg]") << "the last matching header line wins";
}

TEST_F(MeasuredLoads, AMeasuredCurveBesideAComputedOneMovesTheTitleToY2) {
  open(fixture("measured/mol.cd.bil"));
  ui.act([&] { Form10->Edit10->SetText("computed title"); });
  ui.act([&] { Form1->CDXY(fixture("measured/rising.cd.exp.xy"), 2); });
  EXPECT_EQ(Form10->Edit11->Text(), "computed title");
  EXPECT_EQ(Form10->Edit10->Text(), "CD[mdeg]");
  EXPECT_EQ(store().CDACTIVE[1], "calc") << "slot 1 stays";
  EXPECT_EQ(store().CDACTIVE[2], "exp");

  // Beside a measured main curve the titles stay.
  open(fixture("measured/falling.cd.exp.xy"));
  ui.act([&] { Form10->Edit10->SetText("y1"); });
  ui.act([&] { Form10->Edit11->SetText("y2"); });
  ui.act([&] { Form1->CDXY(fixture("measured/rising.cd.exp.xy"), 2); });
  EXPECT_EQ(Form10->Edit10->Text(), "y1");
  EXPECT_EQ(Form10->Edit11->Text(), "y2");
}

TEST_F(MeasuredLoads, UvSkipsItsEighteenHeaderLines) {
  open(fixture("measured/header18.uv.exp.xy"));
  EXPECT_EQ(store().UVACTIVE[1], "exp");
  ASSERT_EQ(store().UVDATAPTS[1], 3);
  EXPECT_EQ(store().EXPUVX(1, 1), 350.0);
  EXPECT_EQ(store().EXPUVY(3, 1), 1.2);
  EXPECT_TRUE(Form1->UVspectra1->Enabled());
  EXPECT_TRUE(Form1->AddCDspectrum1->Enabled());
  EXPECT_FALSE(Form1->SaveUV1->Enabled());
  EXPECT_FALSE(Form1->Savexy2->Enabled());
}

TEST_F(MeasuredLoads, JascoColumnsOfVcdAndIr) {
  open(fixture("measured/jasco.vc.exp.xy"));
  ASSERT_EQ(store().VCDDATAPTS[1], 2);
  EXPECT_EQ(store().EXPVCDX(1, 1), 1100.0) << "stored descending";
  EXPECT_EQ(store().EXPVCDY(1, 1), 0.4);
  EXPECT_EQ(store().EXPVCDY(2, 1), 0.2);
  EXPECT_FALSE(Form1->MenuItem6->Enabled());
  EXPECT_TRUE(Form1->Edit17->Enabled());
  EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet5);

  open(fixture("measured/jasco.ir.exp.xy"));
  ASSERT_EQ(store().IRDATAPTS[1], 2);
  EXPECT_EQ(store().EXPIRY(1, 1), 0.3);
  EXPECT_FALSE(Form1->CheckBox17->Enabled());
  EXPECT_TRUE(Form1->AddVCDSpectrum->Enabled());

  open(fixture("measured/plain.vc.exp.xy"));
  ASSERT_EQ(store().VCDDATAPTS[1], 1);
  EXPECT_EQ(store().EXPVCDY(1, 1), 0.3);
  open(fixture("measured/plain.ir.exp.xy"));
  ASSERT_EQ(store().IRDATAPTS[1], 1);
  EXPECT_EQ(store().EXPIRY(1, 1), 0.3);
}

TEST_F(MeasuredLoads, OrdKeepsTheFileOrder) {
  open(fixture("measured/gap.or.exp.xy"));
  EXPECT_EQ(store().ORDACTIVE[1], "exp");
  ASSERT_EQ(store().ORDDATAPTS[1], 3);
  EXPECT_EQ(store().EXPORDX(1, 1), 500.0);
  EXPECT_EQ(store().EXPORDX(2, 1), 400.0);
  EXPECT_EQ(store().EXPORDY(3, 1), 30.0);
  EXPECT_FALSE(Form1->CheckBox11->Enabled());
  EXPECT_TRUE(Form1->N2ndSpectrum1->Enabled());
  EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet4);
}

TEST_F(MeasuredLoads, OrdWithABadNumberEndsInTheErrorBoxAndKeepsTheSlot) {
  open(fixture("measured/gap.or.exp.xy"));
  ui.act([&] { Form1->ORDXY(fixture("measured/bad.or.exp.xy"), 1); });
  ASSERT_EQ(ui.errorBoxes().size(), 1u);
  EXPECT_EQ(ui.errorBoxes()[0].caption, "EConvertError");
  EXPECT_EQ(ui.errorBoxes()[0].text, "\"abc\" is an invalid float (bad.or.exp.xy, line 2)");
  EXPECT_EQ(store().ORDTITLE[1], "gap.or.exp.xy");
  EXPECT_EQ(store().ORDDATAPTS[1], 3);
  EXPECT_EQ(store().EXPORDX(1, 1), 500.0);
  EXPECT_EQ(store().EXPORDX(3, 1), 0.0) << "points were cleared before the read";
}

TEST_F(MeasuredLoads, ChromatogramIntoSlot1SetsTheTimeWindow) {
  openHplc(fixture("measured/tab.cuv"));
  EXPECT_TRUE(store().HPLC_UV[1]);
  EXPECT_FALSE(store().HPLC_CD[1]);
  ASSERT_EQ(store().HPLCDATAPTS[1], 3);
  EXPECT_EQ(store().HPLCX(1, 1), 0.5);
  EXPECT_EQ(store().HPLCY(1, 1), 12.0);
  EXPECT_EQ(Form1->Edit1->Text(), "0.5");
  EXPECT_EQ(Form1->Edit10->Text(), "2.5");
  EXPECT_EQ(Form1->Caption(), fixture("measured/tab.cuv"));
  EXPECT_EQ(store().HPLCTITLE[1], "tab.cuv");
  EXPECT_TRUE(Form1->Button15->Enabled());
  EXPECT_FALSE(Form1->Edit4->Enabled());
  EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet3);

  openHplc(fixture("measured/comma.cuv"));
  EXPECT_EQ(Form1->Edit1->Text(), "0.5");
  EXPECT_EQ(Form1->Edit10->Text(), "1.5");
}

TEST_F(MeasuredLoads, AChromatogramReaderClearsTheOtherFlagOfItsSlot) {
  openHplc(fixture("measured/tab.cuv"));
  ui.act([&] { Form1->HPLCUV(fixture("measured/comma.cuv"), 2); });
  ui.act([&] { Form1->HPLCCD(fixture("measured/trace.ccd"), 2); });
  EXPECT_TRUE(store().HPLC_CD[2]);
  EXPECT_FALSE(store().HPLC_UV[2]);
  EXPECT_EQ(store().HPLCDATAPTS[2], 2);
  EXPECT_EQ(Form1->Edit1->Text(), "0.5") << "only slot 1 sets the time window";
  EXPECT_EQ(Form1->Caption(), fixture("measured/trace.ccd")) << "every slot sets the caption";
  EXPECT_TRUE(store().HPLC_UV[1]);
}

}  // namespace
