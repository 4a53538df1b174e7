// The models the pictures are laid out from: what an enhanced text shows and
// how wide it is, which tics and labels gnuplot draws on an axis, and how wide
// the column right of the frame must be.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plots/plot_axis.h"
#include "plots/plot_column.h"
#include "plots/plot_text.h"

TEST(PlotTextModel, EnhancedTextShowsItsCharactersAtTheirSizes) {
  struct Case {
    const char* markup;
    std::vector<ShownRun> runs;  // at a surrounding size of 20
  };
  const std::vector<Case> cases = {
      {"{/Arial=18 conf1", {{"conf1", 18}}},  // a title template without its closing brace
      {"{/Symbol s} = 0.16 eV", {{"s = 0.16 eV", 20}}},
      {"{/Symbol=14 s }{/Arial=14 = 0.16 eV}", {{"s = 0.16 eV", 14}}},
      {"10^{-4}", {{"10", 20}, {"-4", 16}}},
      {"cm^3 A_x", {{"cm", 20}, {"3", 16}, {" A", 20}, {"x", 16}}},
      {"CD [erg \\327 cm^3]", {{"CD [erg \xB7 cm", 20}, {"3", 16}, {"]", 20}}},
      {"a\\{b\\}", {{"a{b}", 20}}},
      {"{/*0.5 half}", {{"half", 10}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.markup);
    const std::vector<ShownRun> runs = ShownRuns(k.markup, 20);
    ASSERT_EQ(runs.size(), k.runs.size());
    for (size_t i = 0; i < runs.size(); ++i) {
      EXPECT_EQ(runs[i].characters, k.runs[i].characters);
      EXPECT_DOUBLE_EQ(runs[i].size, k.runs[i].size);
    }
  }
  // A UTF-8 character is one character wide, however many bytes it takes.
  EXPECT_DOUBLE_EQ(TextWidth(Picture::Eps, "\xC3\xA4", 32), TextWidth(Picture::Eps, "\xC3\xB6", 32));
  EXPECT_LT(TextWidth(Picture::Eps, "\xC3\xA4", 32), TextWidth(Picture::Eps, "aa", 32));
}

// The widths the margins are reckoned from, against what gnuplot draws: a
// digit of the 20-point PNG font is 14.8 pixels wide, gnuplot's margin
// character of the 32-point EPS font 9.6 points.
TEST(PlotTextModel, WidthsOnEachTerminal) {
  EXPECT_NEAR(TextWidth(Picture::Png, "0000000000", 20), 148, 10);
  EXPECT_NEAR(TextWidth(Picture::Png, "{/Arial=40 0000000000}", 20), 296, 20);
  EXPECT_DOUBLE_EQ(CharacterWidth(Picture::Eps, 32), 9.6);
  EXPECT_DOUBLE_EQ(CharacterWidth(Picture::Png, 20), 15);
  EXPECT_EQ(CharactersFor(Picture::Eps, 9.6, 32), 1);
  EXPECT_EQ(CharactersFor(Picture::Eps, 9.7, 32), 2);
  EXPECT_EQ(CharactersFor(Picture::Eps, -3, 32), 0);
  // Raised parts are smaller: "10^{-4}" is narrower than "10-4".
  EXPECT_LT(TextWidth(Picture::Eps, "10^{-4}", 32), TextWidth(Picture::Eps, "10-4", 32));
  EXPECT_DOUBLE_EQ(FontSize("18", 1), 18);
  for (const char* typed : {"", "big", "-4", "0"}) EXPECT_DOUBLE_EQ(FontSize(typed, 14), 14) << typed;
}

TEST(PlotAxisModel, TicsAsGnuplotDrawsThem) {
  // A rounded-up step puts the top tic a hair past the range's end; gnuplot
  // draws it up to a hundredth of a step beyond.
  EXPECT_EQ(AxisTics({0, 138273.69, 69137}), (std::vector<double>{0, 69137, 138274}));
  EXPECT_EQ(AxisTics({0, 100, 50.2}), (std::vector<double>{0, 50.2, 100.4}));
  EXPECT_EQ(AxisTics({0, 100, 50.4}), (std::vector<double>{0, 50.4}));
  EXPECT_EQ(AxisTics({-13.75, 13.75, 7}), (std::vector<double>{-7, 0, 7}));
  // gnuplot's own step, as measured on its renders.
  struct Auto {
    double lower, upper, step;
  };
  for (const Auto& a : {Auto{0, 100, 20}, Auto{-11, 16, 5}, Auto{0, 1.1e6, 2e5}, Auto{0, 3.3, 0.5}}) {
    EXPECT_DOUBLE_EQ(GnuplotAutomaticStep(a.lower, a.upper), a.step) << a.lower << ":" << a.upper;
  }
  EXPECT_TRUE(AxisTics({1, 0, 1}).empty());
  EXPECT_TRUE(AxisTics({0, 1e300 * 1e300, 1}).empty());
  EXPECT_LE(AxisTics({0, 1e9, 1}).size(), 400u);
}

TEST(PlotAxisModel, OneFormPerAxis) {
  struct Case {
    double lower, upper, step;
    TicForm form;
    int decimals;
    std::vector<std::string> labels;
  };
  const std::vector<Case> cases = {
      // gnuplot's own form where all labels share it.
      {-13.75, 13.75, 7, TicForm::Gnuplot, 0, {"-7", "0", "7"}},
      {0, 0.88, 0.44, TicForm::Gnuplot, 0, {"0", "0.44", "0.88"}},
      // "550000" beside "1.1x10^6": plain digits throughout.
      {0, 1.1e6, 550000, TicForm::Fixed, 0, {"0", "550000", "1100000"}},
      // A step below 1E-4 in fixed decimals.
      {-1.66e-4, 1.66e-4, 8.3e-5, TicForm::Fixed, 6, {"-0.000166", "-0.000083", "0.000000", "0.000083", "0.000166"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.upper);
    const AxisModel axis = OneFormAxis(k.lower, k.upper, k.step);
    EXPECT_EQ(axis.form, k.form);
    EXPECT_EQ(axis.decimals, k.decimals);
    std::vector<std::string> labels;
    for (double tic : AxisTics(axis)) labels.push_back(TicLabel(axis, tic));
    EXPECT_EQ(labels, k.labels);
  }
  const AxisModel power = PowerAxis(0, 52994, 26000);
  EXPECT_EQ(TicLabel(power, 26000), "2.6{/Symbol \\327}10^{4}");
  EXPECT_EQ(TicLabel(power, 0), "0");
  EXPECT_EQ(AxisFormatLines(power, "y2").front(), "set format y2 \"%.1t{/Symbol \\327}10^{%L}\"");
  EXPECT_TRUE(AxisFormatLines(OneFormAxis(0, 10, 5), "y").empty());
  // The top tic's label counts: "138274" is wider than "69137".
  EXPECT_GT(WidestTicLabel({0, 138273.69, 69137}, Picture::Eps, 32), WidestTicLabel({0, 100000, 69137}, Picture::Eps, 32));
}

TEST(PlotColumnModel, TheColumnHoldsTheSecondAxisTheKeyAndTheLabels) {
  RightColumn column;
  column.keyTitles = {{"{/Arial=18 conf1", 18}};
  // gnuplot reckons "conf1" at 32 points, five characters of 9.6 points;
  // drawn at 18 it takes three, and one more is kept as room.
  EXPECT_EQ(KeyWidthCorrection(column), -1);
  const int alone = ColumnCharacters(column);
  column.keyTitles.push_back({"{/Arial=18 tm7.6risRKSpbe0TDD1F", 18});
  const int longer = ColumnCharacters(column);
  EXPECT_GT(longer, alone);
  column.secondAxisLabels = 50;
  column.secondAxisTitleSize = 36;
  EXPECT_GT(ColumnCharacters(column), longer);
  EXPECT_GT(LabelOffsetCharacters(column), 2);
  // A label wider than the key widens the column.
  RightColumn labelled = column;
  labelled.labels = {{"a very long label of band width and shift", 32}};
  EXPECT_GT(ColumnCharacters(labelled), ColumnCharacters(column));
  EXPECT_DOUBLE_EQ(KeyRowHeight(column), 1.25 * 16);
}
