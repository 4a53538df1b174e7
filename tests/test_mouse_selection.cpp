// Mouse selection on the UV/ECD and IR/VCD plots: the searches on plain
// arrays, then drags on the plots with their memo lines, ticks, labels and
// g factors, the band drawn and erased, and the releases that find nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "app/Main.h"
#include "display/blank_plot.h"
#include "display/peak_search.h"
#include "platform/testing/session.h"
#include "settings/settings.h"

namespace {

// ---- The searches on plain arrays ------------------------------------------------

TEST(PeakSearch, ComputedBandFindsTheLocalExtremeInsideTheBand) {
  // Index 100 is element 0; a peak at 105, a plateau at 110..112, a dip at 116.
  const std::vector<double> band = {0, 1, 2, 3, 4, 9, 4, 3, 2, 3, 7, 7, 7, 2, 1, 0, -5, 0, 1, 2};
  struct Case {
    long long from, to;
    Extreme kind;
    std::optional<long long> found;
  };
  const std::vector<Case> cases = {
      {101, 108, Extreme::Peak, 105},
      {108, 101, Extreme::Peak, 105},            // either order
      {108, 113, Extreme::Peak, 110},            // a plateau: its first point
      {101, 104, Extreme::Peak, std::nullopt},   // highest at the edge of a rising flank
      {105, 105, Extreme::Peak, 105},            // a click on the extreme itself
      {113, 119, Extreme::Valley, 116},
      {117, 119, Extreme::Valley, std::nullopt},  // lowest at the band's edge, neighbour lower
      {115, 500, Extreme::Peak, std::nullopt},   // end pulled onto the grid: highest on its last bin
      {-40, 101, Extreme::Valley, std::nullopt},  // lowest on the first bin: no neighbour there
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << ".." << c.to);
    EXPECT_EQ(searchComputedBand(band, 100, c.from, c.to, c.kind), c.found);
  }
}

TEST(PeakSearch, MeasuredCurveWalksFromTheShortEndInsideTheData) {
  // Points 1..9, x falling from 308 to 300; a peak at x 305, a plateau at
  // 302..303 and a dip at 301.
  const std::vector<double> x = {308, 307, 306, 305, 304, 303, 302, 301, 300};
  const std::vector<double> y = {0, 1, 2, 8, 3, 5, 5, -1, 0};
  EXPECT_EQ(searchMeasuredCurve(x, y, 9, 304.5, 306.5, Extreme::Peak), 4);
  // The plateau reports the point met first from the short end.
  EXPECT_EQ(searchMeasuredCurve(x, y, 9, 301.5, 303.5, Extreme::Peak), 7);
  EXPECT_EQ(searchMeasuredCurve(x, y, 9, 300.5, 301.5, Extreme::Valley), 8);
  // Nothing inside the band: the point where the walk stops is searched.
  EXPECT_EQ(searchMeasuredCurve(x, y, 9, 304.6, 304.7, Extreme::Peak), 4);
  // The extreme on the first or last stored point has a neighbour outside.
  EXPECT_EQ(searchMeasuredCurve(x, y, 9, 299.0, 300.0, Extreme::Peak), std::nullopt);
  EXPECT_EQ(searchMeasuredCurve(x, y, 9, 307.5, 400.0, Extreme::Valley), std::nullopt);
  // No point at or beyond the band's start.
  EXPECT_EQ(searchMeasuredCurve(x, y, 9, 309.0, 310.0, Extreme::Peak), std::nullopt);
  // A curve that does not fall, and counts beyond the data or below 1.
  const std::vector<double> flat(9, 300.0);
  EXPECT_EQ(searchMeasuredCurve(flat, y, 9, 299.0, 301.0, Extreme::Peak), std::nullopt);
  EXPECT_EQ(searchMeasuredCurve(x, y, 5000, 304.5, 306.5, Extreme::Peak), 4);
  EXPECT_EQ(searchMeasuredCurve(x, y, 0, 304.5, 306.5, Extreme::Peak), std::nullopt);
}

TEST(PeakSearch, CompanionPointOfTheGFactorIsNeitherEndOfTheCurve) {
  const std::vector<double> x = {400, 350, 300, 250, 200};
  EXPECT_EQ(companionPoint(x, 5, 300.0), 3);
  EXPECT_EQ(companionPoint(x, 5, 280.0), 3);  // the first at least as long
  EXPECT_EQ(companionPoint(x, 5, 380.0), std::nullopt);  // point 1
  EXPECT_EQ(companionPoint(x, 5, 150.0), std::nullopt);  // point 5
  EXPECT_EQ(companionPoint(x, 5, 500.0), std::nullopt);  // none
  EXPECT_EQ(companionPoint(std::vector<double>(5, 300.0), 5, 300.0), std::nullopt);
  EXPECT_EQ(gFactor(2.0, 0.0), 0.0);
  EXPECT_EQ(gFactor(-2.0, 4000.0), -0.0005);
}

// ---- Drags on the plots -------------------------------------------------------------

const TextLogEntry* textAt(const Image* image, const std::string& text) {
  for (const TextLogEntry& entry : image->Picture().Canvas().TextLog())
    if (entry.text == text) return &entry;
  return nullptr;
}

int pixelsOf(const Image* image, TColor color) {
  const Bitmap& picture = image->Picture();
  int count = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (picture.Pixel(x, y) == color) ++count;
  return count;
}

class MouseSelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui.act([] { Form1->Initialisierung(); });
  }

  void set(Edit* edit, const std::string& text) {
    ui.act([&] { edit->SetText(text); });
  }

  void useWavenumbers() {
    ui.act([] { Form2->RadioButton6->SetChecked(true); });
  }

  // A blank picture with nothing searched yet: what each test starts from.
  void blankPlots() {
    BlankPlot(*Form1->Image1);
    BlankPlot(*Form1->Image5);
    Form1->Memo1->Clear();
    Form1->Memo4->Clear();
  }

  void drag(Image* image, MouseButton button, int from, int to, int y) {
    ui.mouse(image, Mouse::Down, button, from, y);
    ui.mouse(image, Mouse::Move, button, to, y);
    ui.mouse(image, Mouse::Up, button, to, y);
  }

  // A bump of the UV/ECD grid of slot 1 around `centre` (bins).
  void bump(Grid2<MINLAMBDA, MAXLAMBDA, 5>& grid, int centre, double height) {
    for (int bin = centre - 150; bin <= centre + 150; ++bin)
      grid(bin, 1) = height * std::exp(-std::pow((bin - centre) / 50.0, 2));
  }

  void bump(LineGrid& grid, int centre, double height) {
    for (int row = centre - 100; row <= centre + 100; ++row)
      grid(row, 3, 1) = height * std::exp(-std::pow((row - centre) / 20.0, 2));
  }

  void computedUvEcd() {
    store.CDACTIVE[1] = "calc";
    store.UVACTIVE[1] = "calc";
  }

  std::vector<std::string> memo1() const { return Form1->Memo1->Lines(); }
  std::vector<std::string> memo4() const { return Form1->Memo4->Lines(); }

  Session ui;
  Store& store = ui.store();
};

using Lines = std::vector<std::string>;

TEST_F(MouseSelectionTest, ComputedEcdPeakWithShiftIsReportedAndMarked) {
  set(Form1->Edit2, "5");
  blankPlots();
  computedUvEcd();
  bump(store.EPS, 2345, 2.0);
  ui.tick(Form1->CheckBox7);

  // 150..600 nm over 450 pixels: x 130..140 is 230..240 nm, bins 2250..2350
  // once the shift is taken back.
  drag(Form1->Image1, MouseButton::Left, 130, 140, 400);
  EXPECT_EQ(memo1(), (Lines{"ECD Peak found at 239 nm", "g-factor: 0.000000000"}));
  // The tick stands at 50 + nint(5 + 234.5 - 150) = 140.
  for (int y = 360; y < 370; ++y) EXPECT_EQ(Form1->Image1->Picture().Pixel(140, y), clBlack) << y;
  EXPECT_EQ(Form1->Image1->Picture().Pixel(140, 370), clWhite);
  EXPECT_EQ(Form1->Image1->Picture().Pixel(140, 359), clWhite);
  const TextLogEntry* label = textAt(Form1->Image1, "239");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->x, 144);
  EXPECT_EQ(label->y, 360);
  EXPECT_EQ(pixelsOf(Form1->Image1, clYellow), 0);
  EXPECT_FALSE(store.DRAWING);

  // With a UV band under the peak the g factor is their ratio.
  store.ABSG(2345, 1) = 4000.0;
  drag(Form1->Image1, MouseButton::Left, 130, 140, 700);
  EXPECT_EQ(memo1().back(), "g-factor: 0.000500000");
}

TEST_F(MouseSelectionTest, ComputedValleyAndUvPeakInTheWavelengthUnit) {
  set(Form1->Edit2, "5");
  blankPlots();
  computedUvEcd();
  bump(store.EPS, 3000, -3.0);
  bump(store.ABSG, 2000, 5000.0);
  ui.tick(Form1->CheckBox7);

  drag(Form1->Image1, MouseButton::Right, 190, 210, 500);
  EXPECT_EQ(memo1(), (Lines{"ECD Valley found at:305 nm", "g-factor: 0.000000000"}));
  ASSERT_NE(textAt(Form1->Image1, "305"), nullptr);
  EXPECT_EQ(textAt(Form1->Image1, "305")->x, 209);

  // The UV panel: no g factor, the tick at the top of the plot.
  Form1->Memo1->Clear();
  drag(Form1->Image1, MouseButton::Left, 90, 110, 100);
  EXPECT_EQ(memo1(), (Lines{"UV Peak found at 205 nm"}));
  for (int y = 60; y < 70; ++y) EXPECT_EQ(Form1->Image1->Picture().Pixel(105, y), clBlack) << y;
  ASSERT_NE(textAt(Form1->Image1, "205"), nullptr);
  EXPECT_EQ(textAt(Form1->Image1, "205")->y, 60);
}

TEST_F(MouseSelectionTest, RightButtonOnTheUpperPanelLeavesThePictureAsBefore) {
  blankPlots();
  computedUvEcd();
  bump(store.ABSG, 2000, 5000.0);
  const QImage before = Form1->Image1->Picture().image();

  ui.mouse(Form1->Image1, Mouse::Down, MouseButton::Right, 90, 100);
  ui.mouse(Form1->Image1, Mouse::Move, MouseButton::Right, 100, 100);
  ui.mouse(Form1->Image1, Mouse::Move, MouseButton::Right, 110, 100);
  // The band covers both panels while the button is held.
  EXPECT_EQ(Form1->Image1->Picture().Pixel(100, 400), clYellow);
  EXPECT_EQ(Form1->Image1->Picture().Pixel(100, 60), clYellow);
  EXPECT_EQ(Form1->Image1->Picture().Pixel(100, 760), clWhite);
  ui.mouse(Form1->Image1, Mouse::Up, MouseButton::Right, 110, 100);

  EXPECT_TRUE(Form1->Image1->Picture().image() == before);
  EXPECT_TRUE(memo1().empty());
  EXPECT_FALSE(store.DRAWING);
}

TEST_F(MouseSelectionTest, PlateauAndFlankOfAComputedBand) {
  blankPlots();
  computedUvEcd();
  for (int bin = 2340; bin <= 2350; ++bin) store.EPS(bin, 1) = 5.0;

  drag(Form1->Image1, MouseButton::Left, 125, 150, 400);
  EXPECT_EQ(memo1(), (Lines{"ECD Peak found at 234 nm"}));
  ASSERT_NE(textAt(Form1->Image1, "234"), nullptr);
  EXPECT_EQ(textAt(Form1->Image1, "234")->x, 50 + 84 + 4);

  // A band that ends on the rising flank: its highest bin has a higher
  // neighbour outside the band.
  Form1->Memo1->Clear();
  bump(store.EPS, 2345, 2.0);
  drag(Form1->Image1, MouseButton::Left, 120, 130, 400);
  EXPECT_TRUE(memo1().empty());
}

TEST_F(MouseSelectionTest, ComputedSearchInTheWavenumberUnit) {
  useWavenumbers();
  blankPlots();
  computedUvEcd();
  bump(store.EPS, 2500, 2.0);

  // 50000..15000 1/cm over 450 pixels; x 170..190 is bins 2459..2557.
  drag(Form1->Image1, MouseButton::Left, 170, 190, 400);
  EXPECT_EQ(memo1(), (Lines{"ECD Peak found at 40000 1/cm"}));
  ASSERT_NE(textAt(Form1->Image1, "40000"), nullptr);
  EXPECT_EQ(textAt(Form1->Image1, "40000")->x, 183);

  Form1->Memo1->Clear();
  bump(store.EPS, 2500, -2.0);
  drag(Form1->Image1, MouseButton::Right, 170, 190, 400);
  EXPECT_EQ(memo1(), (Lines{"ECD Valley found at 40000 1/cm"}));
}

TEST_F(MouseSelectionTest, MeasuredEcdPeakWithTheGFactorOfTheMeasuredUv) {
  set(Form1->Edit2, "5");  // measured curves are never shifted
  blankPlots();
  store.CDACTIVE[1] = store.UVACTIVE[1] = "exp";
  store.CDDATAPTS[1] = store.UVDATAPTS[1] = 201;
  for (int i = 1; i <= 201; ++i) {
    const double x = 401 - i;  // 400 nm down to 200 nm
    store.EXPCDX(i, 1) = store.EXPUVX(i, 1) = x;
    store.EXPCDY(i, 1) = 2.0 * std::exp(-std::pow((x - 300.0) / 10.0, 2));
    store.EXPUVY(i, 1) = 1000.0;
  }
  ui.tick(Form1->CheckBox7);

  drag(Form1->Image1, MouseButton::Left, 190, 210, 400);
  EXPECT_EQ(memo1(), (Lines{"ECD Peak found at 300 nm", "g-factor: 0.002000000"}));
  ASSERT_NE(textAt(Form1->Image1, "300"), nullptr);
  EXPECT_EQ(textAt(Form1->Image1, "300")->x, 204);

  // A UV curve of two points offers no point between its ends: the g factor
  // has no value and its line is left out.
  Form1->Memo1->Clear();
  store.UVDATAPTS[1] = 2;
  store.EXPUVX(2, 1) = 200.0;
  drag(Form1->Image1, MouseButton::Left, 190, 210, 400);
  EXPECT_EQ(memo1(), (Lines{"ECD Peak found at 300 nm"}));

  // A plateau reports its shortest wavelength.
  Form1->Memo1->Clear();
  for (int i = 99; i <= 103; ++i) store.EXPCDY(i, 1) = 3.0;  // 302..298 nm
  drag(Form1->Image1, MouseButton::Left, 190, 210, 400);
  EXPECT_EQ(memo1(), (Lines{"ECD Peak found at 298 nm"}));
}

TEST_F(MouseSelectionTest, MixedStatesAndGuardsStartOrFindNothing) {
  blankPlots();
  bump(store.EPS, 2345, 2.0);
  bump(store.ABSG, 2000, 5000.0);
  const QImage before = Form1->Image1->Picture().image();

  // A computed UV curve beside a measured ECD curve: no result on either panel.
  store.UVACTIVE[1] = "calc";
  store.CDACTIVE[1] = "exp";
  drag(Form1->Image1, MouseButton::Left, 125, 145, 400);
  drag(Form1->Image1, MouseButton::Left, 90, 110, 100);
  EXPECT_TRUE(memo1().empty());

  // Presses on the axis ends, or with an empty slot, start no band.
  computedUvEcd();
  for (int x : {50, 500, 20}) {
    SCOPED_TRACE(x);
    ui.mouse(Form1->Image1, Mouse::Down, MouseButton::Left, x, 400);
    EXPECT_FALSE(store.DRAWING);
    ui.mouse(Form1->Image1, Mouse::Move, MouseButton::Left, 140, 400);
    ui.mouse(Form1->Image1, Mouse::Up, MouseButton::Left, 140, 400);
  }
  store.UVACTIVE[1] = "false";
  drag(Form1->Image1, MouseButton::Left, 130, 140, 400);
  EXPECT_TRUE(memo1().empty());
  EXPECT_TRUE(Form1->Image1->Picture().image() == before);
  EXPECT_TRUE(ui.errorBoxes().empty());
}

TEST_F(MouseSelectionTest, BandsBeyondTheGridAndBadEditsNeverReadOutside) {
  // 10..460 nm: the left of the axis lies below the grid's 100 nm.
  set(Form1->Edit4, "10");
  set(Form1->Edit5, "460");
  blankPlots();
  computedUvEcd();
  store.EPS(1000, 1) = 9.0;
  store.EPS(1001, 1) = 8.0;
  drag(Form1->Image1, MouseButton::Left, 51, 70, 400);
  EXPECT_TRUE(memo1().empty());

  // A release far left of the axis pulls the band onto the grid as well:
  // 100 to 160 nm, whose lowest bin is the first after the two set ones.
  ui.mouse(Form1->Image1, Mouse::Down, MouseButton::Right, 200, 400);
  ui.mouse(Form1->Image1, Mouse::Up, MouseButton::Right, -100000, 400);
  EXPECT_EQ(memo1(), (Lines{"ECD Valley found at:100 nm"}));
  EXPECT_TRUE(ui.errorBoxes().empty());

  // An unreadable range: the band is erased and the drag ended before the
  // conversion error reaches the error box.
  const QImage before = Form1->Image1->Picture().image();
  set(Form1->Edit4, "abc");
  drag(Form1->Image1, MouseButton::Left, 100, 140, 400);
  ASSERT_EQ(ui.errorBoxes().size(), 1u);
  EXPECT_EQ(ui.errorBoxes()[0].caption, "EConvertError");
  EXPECT_FALSE(store.DRAWING);
  EXPECT_TRUE(Form1->Image1->Picture().image() == before);
}

TEST(MouseSelectionBeforeReset, ABandOnlyErasesItself) {
  Session fresh;
  // The slot states are still empty texts, which are not "false".
  BlankPlot(*Form1->Image1);
  const QImage before = Form1->Image1->Picture().image();
  fresh.mouse(Form1->Image1, Mouse::Down, MouseButton::Left, 100, 400);
  fresh.mouse(Form1->Image1, Mouse::Move, MouseButton::Left, 150, 400);
  EXPECT_EQ(Form1->Image1->Picture().Pixel(120, 400), clYellow);
  fresh.mouse(Form1->Image1, Mouse::Up, MouseButton::Left, 150, 400);
  EXPECT_TRUE(Form1->Image1->Picture().image() == before);
  EXPECT_TRUE(Form1->Memo1->Lines().empty());
}

// ---- The IR/VCD plot ------------------------------------------------------------------

TEST_F(MouseSelectionTest, ComputedVcdPeakInEitherDirectionWithGFactor) {
  blankPlots();
  store.VCDACTIVE[1] = store.IRACTIVE[1] = "calc";
  bump(store.VCD, 1000, 5.0);
  bump(store.IR, 1000, 500.0);
  ui.tick(Form1->CheckBox10);

  // 500..2000 1/cm over 450 pixels, high wavenumbers at the left: x 340..360
  // is 1033..967 1/cm.
  drag(Form1->Image5, MouseButton::Left, 340, 360, 400);
  const Lines expected = {"VCD Peak found at 1000 1/cm", "g-factor: 0.010000000"};
  EXPECT_EQ(memo4(), expected);
  for (int y = 360; y < 370; ++y) EXPECT_EQ(Form1->Image5->Picture().Pixel(350, y), clBlack) << y;
  ASSERT_NE(textAt(Form1->Image5, "1000"), nullptr);
  EXPECT_EQ(textAt(Form1->Image5, "1000")->x, 354);

  Form1->Memo4->Clear();
  drag(Form1->Image5, MouseButton::Left, 360, 340, 400);
  EXPECT_EQ(memo4(), expected);
  EXPECT_EQ(pixelsOf(Form1->Image5, clYellow), 0);

  Form1->Memo4->Clear();
  bump(store.VCD, 1500, -4.0);
  drag(Form1->Image5, MouseButton::Right, 190, 210, 400);
  EXPECT_EQ(memo4(), (Lines{"VCD Valley found at 1500 1/cm", "g-factor: 0.000000000"}));
  EXPECT_EQ(textAt(Form1->Image5, "1500")->x, 204);
}

TEST_F(MouseSelectionTest, ComputedIrPeakBesideMeasuredVcdAndUnderAScaleFactor) {
  set(Form1->Edit26, "0.97");
  blankPlots();
  store.IRACTIVE[1] = "calc";
  store.VCDACTIVE[1] = "exp";
  bump(store.IR, 1000, 500.0);
  ui.tick(Form1->CheckBox10);

  // 967..1033 1/cm are rows 997..1065 under the factor 0.97; the peak of
  // row 1000 stands at 970 1/cm.
  drag(Form1->Image5, MouseButton::Left, 340, 360, 100);
  EXPECT_EQ(memo4(), (Lines{"IR Peak found at 970 1/cm"}));
  for (int y = 60; y < 70; ++y) EXPECT_EQ(Form1->Image5->Picture().Pixel(359, y), clBlack) << y;
  // The measured VCD curve has no points: its panel reports nothing.
  drag(Form1->Image5, MouseButton::Left, 340, 360, 400);
  EXPECT_EQ(memo4().size(), 1u);
}

TEST_F(MouseSelectionTest, MeasuredVcdPlateauWithTheGFactorOfTheMeasuredIr) {
  blankPlots();
  store.VCDACTIVE[1] = store.IRACTIVE[1] = "exp";
  store.VCDDATAPTS[1] = store.IRDATAPTS[1] = 1501;
  for (int i = 1; i <= 1501; ++i) {
    const double x = 2001 - i;  // 2000 down to 500 1/cm
    store.EXPVCDX(i, 1) = store.EXPIRX(i, 1) = x;
    store.EXPVCDY(i, 1) = (x >= 998 && x <= 1002) ? 3.0 : 0.0;
    store.EXPIRY(i, 1) = 100.0;
  }
  ui.tick(Form1->CheckBox10);

  drag(Form1->Image5, MouseButton::Left, 360, 340, 400);
  EXPECT_EQ(memo4(), (Lines{"VCD Peak found at 998 1/cm", "g-factor: 0.030000000"}));
  ASSERT_NE(textAt(Form1->Image5, "998"), nullptr);
  EXPECT_EQ(textAt(Form1->Image5, "998")->x, 500 - 149 + 4);
}

}  // namespace
