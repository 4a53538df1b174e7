// Dalton ABACUS results: the table "Oscillator and Scalar Rotational
// Strengths" under "FINAL RESULTS from ABACUS". A row reads symmetry, mode,
// energy (eV), oscillator strength (velocity, length), rotational strength
// (velocity, length, London); newer versions begin each line with "@",
// which is no field. Dashed lines part the symmetries.
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "readers/parse.h"
#include "readers/reader_core.h"

namespace {

using readers::LineSource;
using readers::Spectrum;
using readers::StateRow;
using readers::StateTable;

constexpr std::string_view resultsStart = "FINAL RESULTS from ABACUS";
constexpr std::string_view strengthsTable = "Oscillator and Scalar Rotational Strengths";
constexpr std::string_view separator = "-----------------";


// Field n of a result line, counted after its "@" prefix when it has one.
std::string_view resultField(std::string_view line, int n) {
  return readers::word(line, readers::word(line, 1) == "@" ? n + 1 : n);
}

// The rows of one table, from the 9th line after its header to a line of
// five characters or fewer; the ECD table holds 350 rows.
readers::LineTable readTable(LineSource& source, int valueField, StateTable* ecdTable) {
  readers::LineTable table;
  source.skip(9);
  for (;;) {
    while (source.has(separator)) source.next();
    if (source.pastEnd() || source.line().size() <= 5) break;
    const double energy = readers::toReal(resultField(source.line(), 3));
    const double value = readers::toReal(resultField(source.line(), valueField));
    ++table.states;
    if (ecdTable == nullptr || ecdTable->row(table.states) != nullptr)
      table.lines.emplace_back(readers::wavelengthOfEnergy(energy), value);
    source.next();
  }
  table.cut = source.pastEnd();
  return table;
}

// The last complete table of the ABACUS results: its lines and its count.
// The slot is computed whatever the file holds.
struct DaltonParse {
  std::vector<std::pair<double, double>> lines;
  int states = 0;
};

DaltonParse parseStrengths(const std::string& fileName, Spectrum spectrum, StateTable& table,
                           readers::LoadNotes& notes) {
  const bool ecd = spectrum == Spectrum::Ecd;
  const bool velocity = readers::velocityFormalism();
  const int valueField = ecd ? (velocity ? 6 : 7) : (velocity ? 4 : 5);
  LineSource source(fileName);
  readers::LastTable<readers::LineTable> tables;
  bool results = false;
  while (!source.eof()) {
    source.next();
    results = results || source.has(resultsStart);
    if (!results || !source.has(strengthsTable)) continue;
    readers::LineTable rows = readTable(source, valueField, ecd ? &table : nullptr);
    tables.offer(std::move(rows));
  }
  const readers::LineTable* kept = tables.kept();
  if (kept == nullptr) return {};
  tables.noteCut(notes);
  return {kept->lines, kept->states};
}

DaltonParse parseDalton(const std::string& fileName, Spectrum spectrum, StateTable& table,
                        readers::LoadNotes& notes, readers::Boxes& boxes) {
  DaltonParse parse;
  readers::readGuarded(boxes, [&] { parse = parseStrengths(fileName, spectrum, table, notes); });
  return parse;
}

int readDalton(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum,
               StateTable& table, readers::LoadNotes& notes) {
  const bool ecd = spectrum == Spectrum::Ecd;
  if (slot == 1) form.SetCaption(ExtractFileName(fileName));
  (ecd ? form.store.ROTS : form.store.OSC).clearSlot(slot);
  if (slot == 1) (ecd ? form.CDspectra1 : form.UVspectra1)->SetEnabled(true);
  (ecd ? form.store.CDACTIVE : form.store.UVACTIVE)[slot] = readers::computed;
  readers::Boxes boxes;
  const DaltonParse parse = parseDalton(fileName, spectrum, table, notes, boxes);
  boxes.show();
  for (const auto& [wavelength, value] : parse.lines)
    readers::addLine(ecd ? form.store.ROTS : form.store.OSC, slot, wavelength, value,
                     readers::RangeTest::GridOnly);
  return parse.states;
}

}  // namespace

void TForm1::DALTONUV(const std::string& fileName, int slot) {
  readers::LoadNotes notes;
  StateTable table(notes);
  readDalton(*this, fileName, slot, Spectrum::Uv, table, notes);
  readers::UvEcdClosing closing{Spectrum::Uv};
  closing.pageStepsEverySlot = true;
  readers::finishUvEcd(*this, closing, fileName, slot);
  notes.report(fileName);
}

void TForm1::DALTONCD(const std::string& fileName, int slot) {
  readers::LoadNotes notes;
  StateTable table(notes);
  table.clear();
  const int states = readDalton(*this, fileName, slot, Spectrum::Ecd, table, notes);
  readers::finishEsuEcd(*this, fileName, slot, states);
  notes.report(fileName);
}

void readers::trialDalton(const std::string& fileName, Spectrum spectrum, OutputReading& reading) {
  LoadNotes notes;
  StateTable table(notes);
  table.clear();
  const DaltonParse parse = parseDalton(fileName, spectrum, table, notes, reading.boxes);
  reading.drawing.lines(spectrum, parse.lines, RangeTest::GridOnly);
  reading.boxes.report(notes, fileName);
}
