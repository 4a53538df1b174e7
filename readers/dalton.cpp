// Dalton ABACUS results: the table "Oscillator and Scalar Rotational
// Strengths" under "FINAL RESULTS from ABACUS". A row reads symmetry, mode,
// energy (eV), oscillator strength (velocity, length), rotational strength
// (velocity, length, London); newer versions begin each line with "@",
// which is no field. Dashed lines part the symmetries.
#include <functional>
#include <string>
#include <string_view>

#include "app/Main.h"
#include "readers/reader_core.h"
#include "settings/settings.h"

namespace {

using readers::LineSource;
using readers::Spectrum;
using readers::StateRow;
using readers::StateTable;

constexpr std::string_view resultsStart = "FINAL RESULTS from ABACUS";
constexpr std::string_view strengthsTable = "Oscillator and Scalar Rotational Strengths";
constexpr std::string_view separator = "-----------------";

bool velocityFormalism() { return Form2 != nullptr && Form2->RadioButton1->Checked(); }

// Field n of a result line, counted after its "@" prefix when it has one.
std::string_view resultField(std::string_view line, int n) {
  return readers::word(line, readers::word(line, 1) == "@" ? n + 1 : n);
}

// Reads the table into the slot (UV) or the table (ECD), counting its rows
// in `states`.
void readStrengths(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum,
                   StateTable& table, int& states) {
  const bool ecd = spectrum == Spectrum::Ecd;
  LineSource source(fileName);
  while (!source.has(resultsStart) && !source.eof()) source.next();
  while (!source.has(strengthsTable) && !source.eof()) source.next();
  if (slot == 1) (ecd ? form.CDspectra1 : form.UVspectra1)->SetEnabled(true);
  (ecd ? form.store.CDACTIVE : form.store.UVACTIVE)[slot] = readers::computed;

  const int valueField = ecd ? (velocityFormalism() ? 6 : 7) : (velocityFormalism() ? 4 : 5);
  source.skip(9);
  for (;;) {
    while (source.has(separator)) source.next();
    if (source.pastEnd() || source.line().size() <= 5) break;
    const double energy = readers::toReal(resultField(source.line(), 3));
    const double value = readers::toReal(resultField(source.line(), valueField));
    const double wavelength = readers::wavelengthOfEnergy(energy);
    ++states;
    if (!ecd) {
      readers::addLine(form.store.OSC, slot, wavelength, value, readers::RangeTest::GridOnly);
    } else if (StateRow* row = table.row(states)) {
      row->wavelength = wavelength;
      row->rotatory = value;
    }
    source.next();
  }
  if (ecd) {
    for (int i = 1; i <= StateTable::held(states); ++i) {
      const StateRow& row = table.at(i);
      readers::addLine(form.store.ROTS, slot, row.wavelength, row.rotatory,
                       readers::RangeTest::GridOnly);
    }
  }
}

int readDalton(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum,
               StateTable& table) {
  if (slot == 1) form.SetCaption(ExtractFileName(fileName));
  (spectrum == Spectrum::Ecd ? form.store.ROTS : form.store.OSC).clearSlot(slot);
  int states = 0;
  readers::readGuarded([&] { readStrengths(form, fileName, slot, spectrum, table, states); });
  return states;
}

}  // namespace

void TForm1::DALTONUV(const std::string& fileName, int slot) {
  readers::LoadNotes notes;
  StateTable table(notes);
  readDalton(*this, fileName, slot, Spectrum::Uv, table);
  readers::UvEcdClosing closing{Spectrum::Uv};
  closing.pageStepsEverySlot = true;
  readers::finishUvEcd(*this, closing, fileName, slot);
}

void TForm1::DALTONCD(const std::string& fileName, int slot) {
  readers::LoadNotes notes;
  StateTable table(notes);
  table.clear();
  const int states = readDalton(*this, fileName, slot, Spectrum::Ecd, table);
  readers::finishEsuEcd(*this, fileName, slot, states);
  notes.report(fileName);
}
