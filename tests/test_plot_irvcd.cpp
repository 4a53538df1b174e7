// The IR/VCD page: labels of computed and measured panels, the exponent of the
// measured VCD title, curve positions, the mirror image and the memo.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Main.h"
#include "display/plot_geometry.h"
#include "platform/testing/session.h"
#include "tests/plot_test_support.h"

namespace {

std::vector<TextLogEntry> entriesAtRow(const Image& image, int y) {
  std::vector<TextLogEntry> texts;
  for (const TextLogEntry& e : image.Picture().Canvas().TextLog())
    if (e.y == y) texts.push_back(e);
  return texts;
}

class IrVcdPlot : public ::testing::Test {
 protected:
  Session ui;
  Store& store() { return ui.store(); }
  Image& image() { return *Form1->Image5; }
  void SetUp() override { ASSERT_TRUE(ui.menu(Form1->New1)); }

  // A computed band with one peak of the given height at a wavenumber.
  void computedBand(bool vcd, int slot, int wavenumber, double height) {
    LineGrid& grid = vcd ? store().VCD : store().IR;
    grid(wavenumber, 3, slot) = height;
    (vcd ? store().VCDACTIVE : store().IRACTIVE)[slot] = "calc";
    (vcd ? store().VCDTITLE : store().IRTITLE)[slot] = (vcd ? "vcd" : "ir") + std::to_string(slot);
  }
  void measured(bool vcd, int slot, const std::vector<std::pair<double, double>>& points) {
    auto& xs = vcd ? store().EXPVCDX : store().EXPIRX;
    auto& ys = vcd ? store().EXPVCDY : store().EXPIRY;
    for (size_t i = 0; i < points.size(); ++i) {
      xs(static_cast<long>(i) + 1, slot) = points[i].first;
      ys(static_cast<long>(i) + 1, slot) = points[i].second;
    }
    (vcd ? store().VCDDATAPTS : store().IRDATAPTS)[slot] = static_cast<int>(points.size());
    (vcd ? store().VCDACTIVE : store().IRACTIVE)[slot] = "exp";
    (vcd ? store().VCDTITLE : store().IRTITLE)[slot] = "measured" + std::to_string(slot);
  }
  void redraw() {
    ui.act([] { Form1->RedrawIRVCD(); });
  }
};

TEST_F(IrVcdPlot, ComputedPanelsLabelTheWindowFromRightToLeft) {
  computedBand(true, 1, 1000, 0.002);
  computedBand(false, 1, 1000, 300);
  redraw();
  EXPECT_TRUE(ui.boxes().empty());
  for (int row : {767, 317}) {
    SCOPED_TRACE(row);
    const auto labels = entriesAtRow(image(), row);
    ASSERT_EQ(labels.size(), 11u);
    for (int k = 0; k <= 10; ++k) {
      EXPECT_EQ(labels[static_cast<size_t>(k)].text, std::to_string(500 + 150 * k));
      EXPECT_EQ(labels[static_cast<size_t>(k)].x, 492 - 45 * k);
    }
  }
  // VCD maximum 0.002: full scale 0.0022, labels x 10^4.
  for (const auto& [text, y] : std::vector<std::pair<std::string, int>>{
           {"22", 353}, {"11", 453}, {"0", 553}, {"-11", 653}, {"-22", 753}})
    EXPECT_TRUE(hasText(image(), text, 20, y)) << text;
  EXPECT_TRUE(hasText(image(), "x10", 23, 417));
  EXPECT_TRUE(hasText(image(), "4", 40, 412));
  EXPECT_EQ(Form1->Edit16->Text(), "22.00");
  EXPECT_EQ(Form1->Edit11->Text(), "-22.00");
  // IR: absolute labels of 1.1 x 300, the epsilon title in Symbol.
  EXPECT_TRUE(hasText(image(), "330", 20, 53));
  EXPECT_TRUE(hasText(image(), "165", 20, 153));
  EXPECT_EQ(Form1->Edit30->Text(), "330.00");
  const auto symbol = std::find_if(image().Picture().Canvas().TextLog().begin(),
                                   image().Picture().Canvas().TextLog().end(),
                                   [](const TextLogEntry& e) { return e.text == "e"; });
  ASSERT_NE(symbol, image().Picture().Canvas().TextLog().end());
  EXPECT_EQ(symbol->fontName, "Symbol");
  EXPECT_EQ(symbol->fontSize, 12);
  EXPECT_EQ(symbol->x, 2);
  EXPECT_EQ(symbol->y, 12);
  // The peak at 1000 1/cm, the 500th drawn index: x = 500 - nint(500 x 0.3) = 350.
  EXPECT_EQ(topmost(image(), 350, 361, 559, clRed), 560 - 182);
  EXPECT_EQ(topmost(image(), 350, 61, 259, clRed), 260 - 182);
  EXPECT_EQ(Form1->Memo4->Lines(),
            (std::vector<std::string>{"scaling factors (rotational strength):", "Curve 1: 1.00000",
                                      "scaling factors (epsilon):", "Curve 1: 1.00000"}));
}

TEST_F(IrVcdPlot, MeasuredPanelsLabelBothEndsOfTheWindow) {
  measured(true, 1, {{1900, 0.001}, {1200, 0.002}, {600, 0.001}});
  measured(false, 1, {{2000, 10}, {1000, 50}, {500, 10}});
  redraw();
  const std::vector<std::string> expected = {"500", "667", "833", "1000", "1167",
                                             "1333", "1500", "1667", "1833", "2000"};
  for (int row : {767, 317}) {
    SCOPED_TRACE(row);
    const auto labels = entriesAtRow(image(), row);
    ASSERT_EQ(labels.size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k) {
      EXPECT_EQ(labels[k].text, expected[k]);
      EXPECT_EQ(labels[k].x, 492 - 50 * static_cast<int>(k));
    }
  }
  // Points at both window ends are drawn: the IR curve reaches x = 50 and 500.
  EXPECT_EQ(image().Picture().Pixel(51, 260 - 36), clRed);
  // The IR peak of 50 at 1000 1/cm: x = 50 + nint(1000 x 0.3) = 350.
  EXPECT_EQ(topmost(image(), 350, 61, 259, clRed), 260 - 182);
}

TEST_F(IrVcdPlot, MeasuredVcdTitleTakesTheExponentOfItsFullScale) {
  struct Case {
    double maximum;
    const char* exponent;  // "" for none
    const char* top;       // label at (20, 353)
    const char* edit;
  };
  const Case cases[] = {
      {0.00005, "6", "55", "55.00"}, {0.0005, "5", "55", "55.00"}, {0.002, "4", "22", "22.00"},
      {0.05, "3", "55", "55.00"},    {0.5, "2", "55", "55.00"},    {5, "1", "55", "55.00"},
      {20, "", "22", "22.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.maximum);
    measured(true, 1, {{1900, 0.1 * c.maximum}, {1200, c.maximum}, {600, -0.1 * c.maximum}});
    redraw();
    EXPECT_TRUE(hasText(image(), c.top, 20, 353));
    EXPECT_EQ(Form1->Edit16->Text(), c.edit);
    EXPECT_EQ(Form1->Edit11->Text(), std::string("-") + c.edit);
    if (*c.exponent != '\0') {
      EXPECT_TRUE(hasText(image(), "x10   / [M     cm    ]", 23, 417));
      EXPECT_TRUE(hasText(image(), c.exponent, 41, 412));
      EXPECT_TRUE(hasText(image(), "-1", 72, 412));
      EXPECT_TRUE(hasText(image(), "-1", 100, 412));
    } else {
      EXPECT_TRUE(hasText(image(), "/ [M     cm     ]", 23, 417));
      EXPECT_TRUE(hasText(image(), "-1", 45, 412));
      EXPECT_TRUE(hasText(image(), "-1", 74, 412));
    }
  }
}

TEST_F(IrVcdPlot, ScaleFactorPicksTheDrawnIndices) {
  const auto points = irVcdComputedPoints(500, 2000, 0.97);
  ASSERT_EQ(points.size(), 2061u - 516u + 1u);
  EXPECT_EQ(points.front().index, 516);
  EXPECT_EQ(points.back().index, 2061);
  EXPECT_EQ(points.front().x, 500);
  EXPECT_EQ(points.back().x, 50);  // the 1546th: nint(1499.62) = 1500 from X1
  EXPECT_TRUE(irVcdComputedPoints(-1, 2000, 1.0).empty());  // X1 below 0: no computed curve
  EXPECT_TRUE(irVcdComputedPoints(2000, 2000, 1.0).empty());
  EXPECT_TRUE(irVcdComputedPoints(2000, 500, 1.0).empty());

  // Through the painter: index 2061 lands at the left end, 515 is not drawn.
  computedBand(true, 1, 2061, 0.002);
  computedBand(true, 1, 515, -0.002);
  ui.act([] { Form1->Edit26->SetText("0.97"); });
  redraw();
  // It is the end of the curve's last line, whose end pixel stays unpainted.
  EXPECT_EQ(topmost(image(), 50, 361, 559, clRed), 560 - 182 + 1);
  for (int x = 495; x <= 500; ++x) EXPECT_EQ(topmost(image(), x, 562, 759, clRed), -1) << x;
}

TEST_F(IrVcdPlot, MirroredVcdAndComparisonSlots) {
  computedBand(true, 1, 1000, 0.002);
  computedBand(true, 2, 1500, 0.004);
  measured(true, 3, {{1900, 0.001}, {1200, 0.003}, {600, 0.001}});
  ui.act([] {
    Form1->CheckBox6->SetChecked(false);
    Form1->CheckBox9->SetChecked(true);
  });
  redraw();
  // Only the mirror image of slot 1, at its own maximum below the zero line.
  EXPECT_EQ(topmost(image(), 350, 361, 559, clRed), -1);
  EXPECT_EQ(image().Picture().Pixel(350, 560 + 182), clBlue);
  EXPECT_EQ(image().Picture().Pixel(540, 520), clBlue);
  EXPECT_EQ(image().Picture().Pixel(540, 500), clRed);
  EXPECT_TRUE(hasText(image(), "Enantiomer", 553, 514));
  // Percent mode with three slots; slot 2 black and slot 3 green, each to its own maximum.
  EXPECT_TRUE(hasText(image(), "in %", 23, 417));
  EXPECT_TRUE(hasText(image(), "-100", 20, 753));
  EXPECT_EQ(topmost(image(), 200, 361, 559, clBlack), 560 - 182);  // 1500 1/cm
  EXPECT_EQ(image().Picture().Pixel(540, 576 + 28), clBlack);
  EXPECT_EQ(image().Picture().Pixel(540, 576 + 42), clGreen);
  EXPECT_TRUE(hasText(image(), "measured3", 553, 570 + 42));
  EXPECT_EQ(topmost(image(), 290, 361, 559, clGreen), 560 - 182);  // 1200 1/cm
  EXPECT_EQ(Form1->Memo4->Lines(),
            (std::vector<std::string>{"scaling factors (rotational strength):", "Curve 1: 2.00000",
                                      "Curve 2: 1.00000", "Curve 3: 1.33333"}));
}

TEST_F(IrVcdPlot, OnlyIrKeepsTheVcdPanelBlankAndTheMemoShort) {
  computedBand(false, 1, 1000, 300);
  redraw();
  redraw();
  EXPECT_EQ(Form1->Memo4->Lines(), (std::vector<std::string>{"scaling factors (epsilon):", "Curve 1: 1.00000"}));
  for (int y = 340; y < 799; ++y) ASSERT_EQ(image().Picture().Pixel(300, y), clWhite) << y;
}

TEST_F(IrVcdPlot, FailedCheckAndDegenerateWindows) {
  computedBand(true, 1, 1000, 0.002);
  redraw();
  ASSERT_EQ(Form1->Edit16->Text(), "22.00");
  ui.act([] { Form1->Edit26->SetText("x"); });
  redraw();
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_TRUE(image().Picture().Canvas().TextLog().empty());
  EXPECT_EQ(Form1->Memo4->Count(), 2);  // the memo keeps its lines
  ui.act([] {
    Form1->Edit26->SetText("1.0");
    Form1->Edit9->SetText("500");  // no width
  });
  redraw();
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_TRUE(hasText(image(), "Wavenumber in 1/cm", 460, 780));
  ui.act([] { Form1->Edit9->SetText("400"); });  // reversed
  redraw();
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_TRUE(image().Picture().Canvas().TextLog().empty());
  // A full scale of 0: frame without a curve.
  ui.act([] { Form1->Edit9->SetText("2000"); });
  store().VCD(1000, 3, 1) = 0;
  redraw();
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_TRUE(hasText(image(), "0", 20, 553));
}

}  // namespace
