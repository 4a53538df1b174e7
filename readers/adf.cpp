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

#include "app/Main.h"
#include "platform/errors.h"
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
  AdfEcdRun(TForm1& form, const std::string& fileName, int slot, StateTable& table)
      : form_(form), fileName_(fileName), slot_(slot), table_(table), lines_(fileName) {}

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
          readers::tell("No velocity values found");
      }
      if (readers::lengthFormalism()) {
        lines_.next();
        if (source.has(lengthNote))
          readTable();
        else
          readers::tell("No length values found");
      }
    }
  }

  int states() const { return states_; }

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
      readers::tell("Something wrong with the no. of excitations, check results!");
    } else {
      if (slot_ == 1) form_.CDspectra1->SetEnabled(true);
      form_.store.CDACTIVE[slot_] = readers::computed;
      // A later table replaces an earlier one: the last is the result.
      form_.store.ROTS.clearSlot(slot_);
      for (int i = 1; i <= StateTable::held(count); ++i) {
        const StateRow& row = table_.at(i);
        readers::addLine(form_.store.ROTS, slot_, row.wavelength, row.rotatory,
                         readers::RangeTest::GridOnly);
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

  TForm1& form_;
  const std::string& fileName_;
  int slot_;
  StateTable& table_;
  NumberedLines lines_;
  int states_ = 0;
};

}  // namespace

void TForm1::ADFUV(const std::string& fileName, int slot) {
  if (slot == 1) SetCaption(ExtractFileName(fileName));
  store.OSC.clearSlot(slot);
  // An output may print the summary table more than once: the last complete
  // one is the result.
  readers::LastTable<readers::LineTable> tables;
  readers::readGuarded([&] {
    LineSource source(fileName);
    while (!source.eof()) {
      source.next();
      if (!source.has(energyTable)) continue;
      if (readers::velocityFormalism())
        readers::tell("Reading of Velocity Formalism for ADF-UV is NOT Implemented!");
      if (!readers::lengthFormalism()) continue;
      UVspectra1->SetEnabled(true);
      store.UVACTIVE[slot] = readers::computed;
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
  readers::LoadNotes notes;
  if (const readers::LineTable* table = tables.kept()) {
    for (const auto& [wavelength, value] : table->lines)
      readers::addLine(store.OSC, slot, wavelength, value, readers::RangeTest::Strict);
    if (readers::DrawnAccount* account = readers::drawnAccount())
      account->statesOffGrid(&store.OSC, table->states - static_cast<int>(table->lines.size()));
    tables.noteCut(notes);
  }
  readers::UvEcdClosing closing{readers::Spectrum::Uv};
  closing.pageStepsEverySlot = true;
  readers::finishUvEcd(*this, closing, fileName, slot);
  notes.report(fileName);
}

void TForm1::ADFCD(const std::string& fileName, int slot) {
  if (slot == 1) SetCaption(ExtractFileName(fileName));
  readers::LoadNotes notes;
  StateTable table(notes);
  table.clear();
  store.ROTS.clearSlot(slot);
  std::optional<AdfEcdRun> run;
  readers::readGuarded([&] {
    run.emplace(*this, fileName, slot, table);
    run->read();
  });
  // After a file error the count of the tables read so far stands.
  const int states = run ? run->states() : 0;
  readers::finishEsuEcd(*this, fileName, slot, states);
  notes.report(fileName);
}
