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

// The last complete table of the ABACUS results: its lines and its count,
// entered once the file is read to its end.
void parseStrengths(const std::string& fileName, Spectrum spectrum, StateTable& table,
                    readers::TableReading& reading) {
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
  if (kept == nullptr) return;
  tables.noteCut(reading.notes);
  reading.lines = kept->lines;
  reading.states = kept->states;
}

// The slot is computed whatever the file holds; a file error keeps nothing
// of the tables read before it.
readers::TableReading parseDalton(const std::string& fileName, Spectrum spectrum) {
  readers::TableReading reading;
  reading.computed = true;
  StateTable table(reading.notes);
  table.clear();
  readers::readGuarded(reading.boxes, [&] { parseStrengths(fileName, spectrum, table, reading); });
  return reading;
}

std::string tableKey(Spectrum spectrum) { return readers::parseKey("Dalton", spectrum); }

readers::TableReading readDalton(TForm1& form, const std::string& fileName, int slot,
                                 Spectrum spectrum) {
  const bool ecd = spectrum == Spectrum::Ecd;
  if (slot == 1) form.SetCaption(ExtractFileName(fileName));
  (ecd ? form.store.ROTS : form.store.OSC).clearSlot(slot);
  if (slot == 1) (ecd ? form.CDspectra1 : form.UVspectra1)->SetEnabled(true);
  (ecd ? form.store.CDACTIVE : form.store.UVACTIVE)[slot] = readers::computed;
  readers::TableReading parse = readers::keptOrParsed(
      form.LoadReading, tableKey(spectrum), [&] { return parseDalton(fileName, spectrum); });
  readers::enterTable(form, parse, spectrum, slot);
  return parse;
}

}  // namespace

void TForm1::DALTONUV(const std::string& fileName, int slot) {
  readers::TableReading parse = readDalton(*this, fileName, slot, Spectrum::Uv);
  readers::UvEcdClosing closing{Spectrum::Uv};
  closing.pageStepsEverySlot = true;
  readers::finishUvEcd(*this, closing, fileName, slot);
  parse.notes.report(fileName);
}

void TForm1::DALTONCD(const std::string& fileName, int slot) {
  readers::TableReading parse = readDalton(*this, fileName, slot, Spectrum::Ecd);
  readers::finishEsuEcd(*this, fileName, slot, parse.states);
  parse.notes.report(fileName);
}

void readers::trialDalton(const std::string& fileName, Spectrum spectrum, OutputReading& reading) {
  trialTable(fileName, spectrum, tableKey(spectrum), [&] { return parseDalton(fileName, spectrum); },
             reading);
}
