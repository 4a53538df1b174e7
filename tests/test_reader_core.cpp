// The pieces every output reader shares: field models, the strict
// conversion, bins with their range tests, label texts, bounded tables, the
// last complete table, and the store-free parse that the batch extractors
// call.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/testing/session.h"
#include "readers/parse.h"
#include "readers/reader_core.h"

namespace {

using readers::RangeTest;

TEST(ReaderFields, WordsWalksAndColumns) {
  EXPECT_EQ(readers::word("   1   5.0000  -0.25\t7", 3), "-0.25");
  EXPECT_EQ(readers::word("   1   5.0000  -0.25\t7", 4), "7");
  EXPECT_EQ(readers::word("a b", 3), "");
  EXPECT_EQ(readers::word("", 1), "");

  // The drop/take walk: a drop with no blank left deletes nothing, so the
  // eighth field of a seven-field row is the seventh.
  readers::FieldWalk walk("  1  2.5 3 4 5 6 7");
  walk.drop(2);
  EXPECT_EQ(walk.take(), "3");
  walk.drop(4);
  EXPECT_EQ(walk.take(), "7");
  walk.drop();
  EXPECT_EQ(walk.take(), "7");

  // "From column 26 on": the first 25 characters go, the rest is trimmed.
  const std::string marker = " Excitation energy / nm:  ";
  ASSERT_EQ(marker.size(), 26u);
  EXPECT_EQ(readers::fromColumn(marker.substr(0, 25) + "  212.90  ", 26), "212.90");
  EXPECT_EQ(readers::fromColumn("short", 26), "");
  EXPECT_EQ(readers::firstWord("0.5 a.u."), "0.5");
  EXPECT_EQ(readers::after("f=0.0018", "="), "0.0018");
  EXPECT_EQ(readers::withoutBlanks(" 212.90 "), "212.90");
}

TEST(ReaderFields, TheLineSourceEndsEveryLoopAtTheEndOfTheFile) {
  TempFolder folder;
  const std::string path = folder.file("lines.log");
  writeTextFile(path, "one\r\ntwo  \r\nthree");
  readers::LineSource source(path);
  EXPECT_EQ(source.next(), "one");
  EXPECT_EQ(source.next(), "two  ");
  EXPECT_TRUE(source.has("two"));
  EXPECT_EQ(source.next(), "three");
  EXPECT_FALSE(source.pastEnd());
  EXPECT_TRUE(source.eof());
  EXPECT_EQ(source.next(), "");
  EXPECT_TRUE(source.pastEnd());
}

TEST(ReaderNumbers, StrictConversionWithFortranExponents) {
  EXPECT_DOUBLE_EQ(readers::toReal("0.946E-01"), 0.0946);
  EXPECT_DOUBLE_EQ(readers::toReal("1.0D-02"), 0.01);
  EXPECT_DOUBLE_EQ(readers::toReal("-12.5"), -12.5);
  for (const char* bad : {"1,5", "", "velocity", "***"}) {
    EXPECT_THROW(readers::toReal(bad), EConvertError) << bad;
    EXPECT_FALSE(readers::tryReal(bad).has_value()) << bad;
  }
}

TEST(ReaderBins, NearestBinWithHalvesToEvenAndTheThreeRangeTests) {
  struct Case {
    double wavelength;
    RangeTest test;
    std::optional<long> bin;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<Case> cases = {
      {212.25, RangeTest::Inclusive, 2122},
      {212.75, RangeTest::Inclusive, 2128},
      {100.0, RangeTest::Inclusive, 1000},
      {4000.0, RangeTest::Inclusive, 40000},
      {99.9, RangeTest::Inclusive, {}},
      {4000.01, RangeTest::Inclusive, {}},
      {100.0, RangeTest::Strict, {}},
      {4000.0, RangeTest::Strict, {}},
      {100.01, RangeTest::Strict, 1000},
      {99.96, RangeTest::GridOnly, 1000},
      {99.94, RangeTest::GridOnly, {}},
      {1e300, RangeTest::GridOnly, {}},
      {-5.0, RangeTest::GridOnly, {}},
      {nan, RangeTest::GridOnly, {}},
      {readers::wavelengthOfEnergy(5.0), RangeTest::GridOnly, 2479},
      {readers::wavelengthOfEnergy(0.0), RangeTest::GridOnly, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(readers::binOf(c.wavelength, c.test), c.bin) << c.wavelength;
  EXPECT_DOUBLE_EQ(readers::wavelengthOfEnergy(5.0), 247.8964);

  // Two lines in one bin both count; a line without a bin touches nothing.
  auto store = std::make_unique<Store>();
  EXPECT_TRUE(readers::addLine(store->ROTS, 2, 212.24, 1.5, RangeTest::Inclusive));
  EXPECT_TRUE(readers::addLine(store->ROTS, 2, 212.16, 2.0, RangeTest::Inclusive));
  EXPECT_FALSE(readers::addLine(store->ROTS, 2, 50.0, 9.0, RangeTest::GridOnly));
  EXPECT_DOUBLE_EQ(store->ROTS(2122, 2), 3.5);
}

TEST(ReaderLabels, WavelengthsAndBins) {
  EXPECT_EQ(readers::nanometreLabel(212.9), "212.90 nm");
  EXPECT_EQ(readers::nanometreLabel(180.25), "180.25 nm");
  EXPECT_EQ(readers::binLabel(2916), "291.6 nm");
  EXPECT_EQ(readers::binLabel(3000), "300 nm");
}

TEST(ReaderTables, TheStateTableRefusesRowsPastItsEndAndNotesItOnce) {
  readers::LoadNotes notes;
  readers::StateTable table(notes);
  ASSERT_NE(table.row(350), nullptr);
  EXPECT_EQ(table.row(0), nullptr);
  EXPECT_EQ(table.row(351), nullptr);
  EXPECT_EQ(table.row(352), nullptr);
  EXPECT_EQ(readers::StateTable::held(400), 350);
  EXPECT_EQ(readers::StateTable::held(-1), 0);
  notes.note("the optical rotations after the first 100");
  EXPECT_EQ(readers::LoadNotes::message("C:\\data\\mol.log",
                                        {"the states after the first 350 of a table",
                                         "the optical rotations after the first 100"}),
            "Not everything of mol.log was loaded: the states after the first 350 of a table; "
            "the optical rotations after the first 100.");
}

TEST(ReaderTables, TheLastCompleteTableIsKept) {
  struct Table {
    int id;
    bool cut;
    int states = 0;
    int announced = 0;
  };
  readers::LastTable<Table> tables;
  EXPECT_EQ(tables.kept(), nullptr);
  // A cut table counts while no complete one came before it.
  tables.offer({1, true});
  EXPECT_EQ(tables.kept()->id, 1);
  EXPECT_TRUE(tables.endsCut());
  EXPECT_FALSE(tables.earlierKept());
  tables.offer({2, false});
  tables.offer({3, false});
  EXPECT_EQ(tables.kept()->id, 3);
  EXPECT_FALSE(tables.endsCut());
  tables.offer({4, true});
  EXPECT_EQ(tables.kept()->id, 3);
  EXPECT_TRUE(tables.earlierKept());
}

// The parse needs no window and no curve slot: what the readers load, the
// batch extractors get from the same call.
TEST(ReaderParse, TheParseGivesWhatTheReadersLoadWithoutAWindow) {
  const readers::Formalism length{false, true};
  const readers::Formalism velocity{true, false};

  const readers::StateParse gaussian = readers::parseGaussianStates(
      fixture("readers/g16_td_optrot.log"), readers::Spectrum::Ecd, readers::GaussianLayout::G09,
      length);
  ASSERT_TRUE(gaussian.found);
  ASSERT_EQ(gaussian.count, 4);
  ASSERT_EQ(gaussian.states.size(), 4u);
  EXPECT_DOUBLE_EQ(gaussian.states[0].wavelength, 212.90);
  EXPECT_DOUBLE_EQ(gaussian.states[0].rotatory, 10.0);
  EXPECT_DOUBLE_EQ(gaussian.states[3].oscillator, 0.04);
  ASSERT_EQ(gaussian.rotations.size(), 3u);
  EXPECT_DOUBLE_EQ(gaussian.rotations[2].first, 355.0);
  EXPECT_TRUE(gaussian.notes.empty());

  const readers::StateParse gaussianVelocity = readers::parseGaussianStates(
      fixture("readers/g16_td_optrot.log"), readers::Spectrum::Uv, readers::GaussianLayout::G09,
      velocity);
  ASSERT_EQ(gaussianVelocity.states.size(), 4u);
  EXPECT_DOUBLE_EQ(gaussianVelocity.states[0].oscillator, 0.011);
  EXPECT_TRUE(gaussianVelocity.rotations.empty());

  readers::LineParse orca;
  readers::parseOrca(fixture("readers/orca/v41.out"), readers::Spectrum::Ecd,
                     readers::OrcaVersion::FourOrLater, length, orca);
  EXPECT_TRUE(orca.found);
  EXPECT_EQ(orca.refusedTables, 0);
  ASSERT_FALSE(orca.lines.empty());
  readers::LineParse refused;
  readers::parseOrca(fixture("readers/orca/v41.out"), readers::Spectrum::Ecd,
                     readers::OrcaVersion::FourOrLater, velocity, refused);
  EXPECT_EQ(refused.refusedTables, 1);

  const readers::ModeParse modes =
      readers::parseGaussianModes(fixture("readers/g09_freq_vcd.log"), readers::LineList::Ir);
  EXPECT_TRUE(modes.strengthsFound);
  ASSERT_EQ(modes.modes.size(), 5u);
  EXPECT_DOUBLE_EQ(modes.modes[4].wavenumber, 3288.8988);
  EXPECT_DOUBLE_EQ(modes.modes[4].strength, 11.6225);

  const readers::StateParse escf =
      readers::parseTurbomole(fixture("readers/turbomole/escf_rpa.out"),
                              readers::TurbomoleProgram::Escf, readers::Spectrum::Uv, length);
  EXPECT_TRUE(escf.found);
  EXPECT_EQ(escf.count, static_cast<int>(escf.states.size()));
  EXPECT_GT(escf.count, 0);
}

}  // namespace
