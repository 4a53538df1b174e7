// sTDA and sTD-DFT spectrum tables: after the line "DATXY" every line is a
// state: number, energy (eV), f(length), f(velocity), R(length), R(velocity).
#include <string>

#include "app/Main.h"
#include "readers/parse.h"
#include "readers/reader_core.h"

namespace {

using readers::Spectrum;
using readers::LineSource;


std::string tableKey(Spectrum spectrum) { return readers::parseKey("sTDA", spectrum); }

readers::LineParse parseTable(const std::string& fileName, Spectrum spectrum) {
  return readers::parseStda(fileName, spectrum, readers::chosenFormalism());
}

void readStdaTable(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum) {
  const CalculatingShown calculating(*form.Label4);
  form.SetCaption(fileName);
  auto& grid = spectrum == Spectrum::Ecd ? form.store.ROTS : form.store.OSC;
  grid.clearSlot(slot);
  const readers::LineParse parse = readers::keptOrParsed(
      form.LoadReading, tableKey(spectrum), [&] { return parseTable(fileName, spectrum); });
  // Degenerate states share a bin: both count. Energies without a bin on
  // the grid are left out.
  for (const auto& [wavelength, value] : parse.lines)
    readers::addLine(grid, slot, wavelength, value, readers::RangeTest::GridOnly);
  readers::UvEcdClosing closing{spectrum};
  closing.alwaysComputed = true;
  closing.titleEveryLoad = true;
  closing.disableIrVcdEdits = false;
  closing.kindMenuAndAddItem = true;
  closing.redrawAlways = true;
  readers::finishUvEcd(form, closing, fileName, slot);
}

}  // namespace

readers::LineParse readers::parseStda(const std::string& fileName, Spectrum spectrum,
                                      Formalism formalism) {
  const bool ecd = spectrum == Spectrum::Ecd;
  const int valueField = ecd ? (formalism.velocity ? 6 : 5) : (formalism.velocity ? 4 : 3);
  LineParse parse;
  LineSource source(fileName);
  while (!source.eof() && !source.has("DATXY")) source.next();
  parse.found = source.has("DATXY");
  while (!source.eof()) {
    const std::string& row = source.next();
    const double energy = toReal(word(row, 2));
    parse.lines.emplace_back(wavelengthOfEnergy(energy), toReal(word(row, valueField)));
    ++parse.count;
  }
  return parse;
}

void readers::trialStda(const std::string& fileName, Spectrum spectrum, OutputReading& reading) {
  try {
    const LineParse parse =
        keepParse(reading, tableKey(spectrum), [&] { return parseTable(fileName, spectrum); });
    reading.drawing.lines(spectrum, parse.lines, RangeTest::GridOnly);
  } catch (...) {
    reading.failure = std::current_exception();
  }
}

void TForm1::STDA_CD(const std::string& fileName, int slot) {
  readStdaTable(*this, fileName, slot, Spectrum::Ecd);
}

void TForm1::STDA_UV(const std::string& fileName, int slot) {
  readStdaTable(*this, fileName, slot, Spectrum::Uv);
}
