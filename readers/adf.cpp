// ADF excitation outputs. The UV reader takes the summary table "All
// SINGLET-SINGLET excitation energies"; the ECD reader takes a rotatory-strength
// table (length or velocity) and pairs its rows, in order, with the energies of
// that summary table.
//
// This file also holds what the ADF, NWChem and Dalton readers share: they
// report their own file errors and go on with their closing steps, and their
// ECD labels show the lowest and highest line of the spectrum.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "platform/errors.h"
#include "readers/parse.h"
#include "readers/reader_core.h"
#include "store/constants.h"

namespace {

using readers::LineSource;
using readers::StateRow;
using readers::StateTable;

constexpr std::string_view energyTable = "All SINGLET-SINGLET excitation energies";
constexpr std::string_view rotatoryTable = "Rotatory strengths R in 10**(-40) esu**2 * cm**2";
constexpr std::string_view lengthNote =
    "(multiply by 1.07827 to obtain reduced rotatory strengths)";
constexpr std::string_view velocityNote = "(using dipole velocity formula for mu)";


// The rows of the energy table end at a line of at most one character.
bool isEnergyRow(const LineSource& source) { return !source.pastEnd() && source.line().size() > 1; }

// A line source that knows the number of its current line (from 1).
class NumberedLines {
 public:
  explicit NumberedLines(const std::string& path) : source_(path) {}
  const std::string& next() {
    ++number_;
    return source_.next();
  }
  void skip(int count) {
    for (int i = 0; i < count; ++i) next();
  }
  // Reads on until line `number` is current, or to the end of the file.
  void advanceTo(long number) {
    while (number_ < number && !source_.eof()) next();
  }
  LineSource& source() { return source_; }
  long number() const { return number_; }

 private:
  LineSource source_;
  long number_ = 0;
};

class AdfEcdRun {
 public:
  AdfEcdRun(const std::string& fileName, StateTable& table, readers::Boxes& boxes)
      : fileName_(fileName), table_(table), boxes_(boxes), lines_(fileName) {}

  void read() {
    LineSource& source = lines_.source();
    while (!source.eof()) {
      lines_.next();
      if (!source.has(rotatoryTable)) continue;
      if (readers::velocityFormalism()) {
        // The velocity table is the second one; its note follows its header.
        do lines_.next();
        while (!source.has(rotatoryTable) && !source.pastEnd());
        lines_.next();
        if (source.has(velocityNote))
          readTable();
        else
          boxes_.tell("No velocity values found");
      }
      if (readers::lengthFormalism()) {
        lines_.next();
        if (source.has(lengthNote))
          readTable();
        else
          boxes_.tell("No length values found");
      }
    }
  }

  int states() const { return states_; }
  // A table paired with its energies was read: the slot is computed.
  bool computed() const { return computed_; }
  // The lines of the last table paired with its energies: a later table
  // replaces an earlier one.
  const std::vector<std::pair<double, double>>& lines() const { return drawnLines_; }

 private:
  // The current line is the note under the header; the rows begin 5 lines on.
  void readTable() {
    LineSource& source = lines_.source();
    lines_.skip(5);
    int count = 0;
    while (!source.pastEnd() && source.line().size() > 3) {
      const double rotatory = readers::toReal(readers::word(source.line(), 2));
      ++count;
      if (StateRow* row = table_.row(count)) row->rotatory = rotatory;
      lines_.next();
    }
    states_ = count;

    long energyTableEnd = 0;
    const int energies = readEnergies(energyTableEnd);
    if (energies != count) {
      // The rows cannot be paired with their energies: nothing of this table
      // is drawn.
      boxes_.tell("Something wrong with the no. of excitations, check results!");
    } else {
      computed_ = true;
      drawnLines_.clear();
      for (int i = 1; i <= StateTable::held(count); ++i) {
        const StateRow& row = table_.at(i);
        drawnLines_.emplace_back(row.wavelength, row.rotatory);
      }
    }
    // Reading goes on after the energy table, but never back: an energy
    // table printed before this header would lead to it again.
    lines_.advanceTo(energyTableEnd);
  }

  // The energies of the first summary table, into the rows of the table in
  // order; returns their count and the number of the line that ends the
  // table (the last line of the file when there is none).
  int readEnergies(long& tableEnd) {
    NumberedLines energies(fileName_);
    LineSource& source = energies.source();
    bool found = false;
    while (!found && !source.eof()) {
      energies.next();
      found = source.has(energyTable);
    }
    int count = 0;
    if (found) {
      energies.skip(4);
      while (isEnergyRow(source)) {
        const double energy = readers::toReal(readers::word(source.line(), 3));
        ++count;
        if (StateRow* row = table_.row(count))
          row->wavelength = readers::wavelengthOfEnergy(energy);
        energies.next();
      }
    }
    tableEnd = energies.number();
    return count;
  }

  const std::string& fileName_;
  StateTable& table_;
  readers::Boxes& boxes_;
  NumberedLines lines_;
  bool computed_ = false;
  std::vector<std::pair<double, double>> drawnLines_;
  int states_ = 0;
};

}  // namespace

namespace {

// The last complete summary table of an ADF output: its lines on the
// spectrum, the count of its states and those off the spectrum; the slot is
// computed when a table was met in the length formalism.
readers::TableReading parseAdfUv(const std::string& fileName) {
  readers::TableReading reading;
  reading.test = readers::RangeTest::Strict;
  readers::Boxes& boxes = reading.boxes;
  readers::LastTable<readers::LineTable> tables;
  readers::readGuarded(boxes, [&] {
    LineSource source(fileName);
    while (!source.eof()) {
      source.next();
      if (!source.has(energyTable)) continue;
      if (readers::velocityFormalism())
        boxes.tell("Reading of Velocity Formalism for ADF-UV is NOT Implemented!");
      if (!readers::lengthFormalism()) continue;
      reading.computed = true;
      readers::LineTable table;
      source.skip(4);
      while (isEnergyRow(source)) {
        const double wavelength =
            readers::wavelengthOfEnergy(readers::toReal(readers::word(source.line(), 3)));
        ++table.states;
        if (wavelength > 0.0 && readers::binOf(wavelength, readers::RangeTest::Strict))
          table.lines.emplace_back(wavelength, readers::toReal(readers::word(source.line(), 4)));
        source.next();
      }
      table.cut = source.pastEnd();
      tables.offer(std::move(table));
    }
  });
  if (const readers::LineTable* table = tables.kept()) {
    reading.lines = table->lines;
    reading.states = table->states;
    reading.offGrid = table->states - static_cast<int>(table->lines.size());
    tables.noteCut(reading.notes);
  }
  return reading;
}

// The ECD reading of an ADF output: the lines of the table that counts, the
// number of states read and whether the slot is computed.
readers::TableReading parseAdfEcd(const std::string& fileName) {
  readers::TableReading reading;
  StateTable table(reading.notes);
  table.clear();
  std::optional<AdfEcdRun> run;
  readers::readGuarded(reading.boxes, [&] {
    run.emplace(fileName, table, reading.boxes);
    run->read();
  });
  // After a file error the count of the tables read so far stands.
  if (run) {
    reading.lines = run->lines();
    reading.states = run->states();
    reading.computed = run->computed();
  }
  return reading;
}

std::string tablesKey(readers::Spectrum spectrum) { return readers::parseKey("ADF", spectrum); }

readers::TableReading parseAdf(const std::string& fileName, readers::Spectrum spectrum) {
  return spectrum == readers::Spectrum::Uv ? parseAdfUv(fileName) : parseAdfEcd(fileName);
}

readers::TableReading readAdf(TForm1& form, const std::string& fileName, readers::Spectrum spectrum) {
  return readers::keptOrParsed(form.LoadReading, tablesKey(spectrum),
                               [&] { return parseAdf(fileName, spectrum); });
}

}  // namespace

void TForm1::ADFUV(const std::string& fileName, int slot) {
  if (slot == 1) SetCaption(ExtractFileName(fileName));
  store.OSC.clearSlot(slot);
  const readers::TableReading parse = readAdf(*this, fileName, readers::Spectrum::Uv);
  readers::enterTable(*this, parse, readers::Spectrum::Uv, slot);
  // The menu is enabled for any slot.
  if (parse.computed) UVspectra1->SetEnabled(true);
  readers::UvEcdClosing closing{readers::Spectrum::Uv};
  closing.pageStepsEverySlot = true;
  readers::finishUvEcd(*this, closing, fileName, slot);
  parse.notes.report(fileName);
}

void TForm1::ADFCD(const std::string& fileName, int slot) {
  if (slot == 1) SetCaption(ExtractFileName(fileName));
  store.ROTS.clearSlot(slot);
  const readers::TableReading parse = readAdf(*this, fileName, readers::Spectrum::Ecd);
  readers::enterTable(*this, parse, readers::Spectrum::Ecd, slot);
  readers::finishEsuEcd(*this, fileName, slot, parse.states);
  parse.notes.report(fileName);
}

void readers::trialAdf(const std::string& fileName, Spectrum spectrum, OutputReading& reading) {
  trialTable(fileName, spectrum, tablesKey(spectrum), [&] { return parseAdf(fileName, spectrum); },
             reading);
}
