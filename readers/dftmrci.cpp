// DFT/MRCI spectrum files (.cd for rotatory, .uv for oscillator strengths).
// A table is the block of energies (eV, from column 8) between the lines
// "DATAX" and "DATAY", followed by one value line per state: the length value
// from column 6, the velocity value from column 17. A file may hold several
// tables; they add up.
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "platform/errors.h"
#include "readers/parse.h"
#include "readers/reader_core.h"

namespace {

using readers::Spectrum;

constexpr int tableRows = 250;


// One table: its count of states, the first and last wavelength, and the
// lines of the values read.
struct DftMrciTable {
  int states = 0;
  double first = 0.0, last = 0.0;
  std::vector<std::pair<double, double>> lines;
};

// Every table of the file, as far as it was read: cut files end in the
// conversion error of the empty line past the end, kept in `failure` with
// the tables read up to it.
struct DftMrciParse {
  std::vector<DftMrciTable> tables;
  readers::LoadNotes notes;
  std::exception_ptr failure;
};

DftMrciParse parseDftMrci(const std::string& fileName) {
  DftMrciParse parse;
  readers::LineSource source(fileName);
  const size_t valueColumn = readers::velocityFormalism() ? 17 : 6;
  try {
    while (!source.eof()) {
      source.next();
      if (!source.has("DATAX")) continue;
      DftMrciTable table;
      std::vector<double> wavelengths;
      for (source.next(); !source.has("DATAY"); source.next()) {
        const double wavelength =
            readers::wavelengthOfEnergy(readers::toReal(readers::fromColumn(source.line(), 8)));
        ++table.states;
        if (table.states == 1) table.first = wavelength;
        table.last = wavelength;
        if (table.states <= tableRows)
          wavelengths.push_back(wavelength);
        else
          parse.notes.note("the states after the first " + std::to_string(tableRows) + " of a table");
      }
      parse.tables.push_back(std::move(table));
      DftMrciTable& read = parse.tables.back();
      for (int i = 0; i < read.states; ++i) {
        const std::string& row = source.next();
        const double value =
            readers::toReal(readers::firstWord(readers::fromColumn(row, valueColumn)));
        if (i < tableRows) read.lines.emplace_back(wavelengths[static_cast<size_t>(i)], value);
      }
    }
  } catch (const EInOutError&) {
    throw;
  } catch (...) {
    parse.failure = std::current_exception();
  }
  return parse;
}

std::string tablesKey(Spectrum spectrum) { return readers::parseKey("DFT/MRCI", spectrum); }

void readDftMrci(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum) {
  const bool ecd = spectrum == Spectrum::Ecd;
  auto& grid = ecd ? form.store.ROTS : form.store.OSC;
  const CalculatingShown calculating(*form.Label4);
  form.SetCaption(fileName);
  const DftMrciParse parse = readers::keptOrParsed(form.LoadReading, tablesKey(spectrum),
                                                   [&] { return parseDftMrci(fileName); });
  grid.clearSlot(slot);
  // Tables add up.
  for (const DftMrciTable& table : parse.tables) {
    if (slot == 1) {
      readers::showStateCount(form, table.states);
      form.Label13->SetCaption(table.states == 0 ? "--" : readers::nanometreLabel(table.first));
      form.Label15->SetCaption(table.states == 0 ? "--" : readers::nanometreLabel(table.last));
    }
    for (const auto& [wavelength, value] : table.lines)
      readers::addLine(grid, slot, wavelength, value, readers::RangeTest::Inclusive);
  }
  if (parse.failure) std::rethrow_exception(parse.failure);
  if (slot == 1) (ecd ? form.CDspectra1 : form.UVspectra1)->SetEnabled(true);
  readers::UvEcdClosing closing{spectrum};
  closing.alwaysComputed = true;
  readers::finishUvEcd(form, closing, fileName, slot);
  parse.notes.report(fileName);
}

}  // namespace

void TForm1::CD_DFTMRCI(const std::string& fileName, int slot) {
  readDftMrci(*this, fileName, slot, Spectrum::Ecd);
}

void TForm1::UV_DFTMRCI(const std::string& fileName, int slot) {
  readDftMrci(*this, fileName, slot, Spectrum::Uv);
}

void readers::trialDftMrci(const std::string& fileName, Spectrum spectrum, OutputReading& reading) {
  DftMrciParse parse;
  try {
    parse = keepParse(reading, tablesKey(spectrum), [&] { return parseDftMrci(fileName); });
  } catch (...) {
    reading.failure = std::current_exception();
    return;
  }
  for (const DftMrciTable& table : parse.tables)
    reading.drawing.lines(spectrum, table.lines, RangeTest::Inclusive);
  if (parse.failure) std::rethrow_exception(parse.failure);
  reading.boxes.report(parse.notes, fileName);
}
