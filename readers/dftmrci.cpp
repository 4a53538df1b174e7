// DFT/MRCI spectrum files (.cd for rotatory, .uv for oscillator strengths).
// A table is the block of energies (eV, from column 8) between the lines
// "DATAX" and "DATAY", followed by one value line per state: the length value
// from column 6, the velocity value from column 17. A file may hold several
// tables; they add up.
#include <string>
#include <vector>

#include "app/Main.h"
#include "readers/reader_core.h"

namespace {

using readers::Spectrum;

constexpr int tableRows = 250;


void readDftMrci(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum) {
  const bool ecd = spectrum == Spectrum::Ecd;
  auto& grid = ecd ? form.store.ROTS : form.store.OSC;
  form.Label4->SetVisible(true);
  form.SetCaption(fileName);
  readers::LoadNotes notes;
  {
    readers::LineSource source(fileName);
    grid.clearSlot(slot);
    const size_t valueColumn = readers::velocityFormalism() ? 17 : 6;
    std::vector<double> wavelengths;
    while (!source.eof()) {
      source.next();
      if (!source.has("DATAX")) continue;
      // Cut files end in the conversion error of the empty line past the end.
      wavelengths.clear();
      int states = 0;
      double first = 0.0, last = 0.0;
      for (source.next(); !source.has("DATAY"); source.next()) {
        const double wavelength =
            readers::wavelengthOfEnergy(readers::toReal(readers::fromColumn(source.line(), 8)));
        ++states;
        if (states == 1) first = wavelength;
        last = wavelength;
        if (states <= tableRows)
          wavelengths.push_back(wavelength);
        else
          notes.note("the states after the first " + std::to_string(tableRows) + " of a table");
      }
      if (slot == 1) {
        readers::showStateCount(form, states);
        form.Label13->SetCaption(states == 0 ? "--" : readers::nanometreLabel(first));
        form.Label15->SetCaption(states == 0 ? "--" : readers::nanometreLabel(last));
      }
      for (int i = 0; i < states; ++i) {
        const std::string& row = source.next();
        const double value =
            readers::toReal(readers::firstWord(readers::fromColumn(row, valueColumn)));
        if (i < tableRows)
          readers::addLine(grid, slot, wavelengths[static_cast<size_t>(i)], value,
                           readers::RangeTest::Inclusive);
      }
    }
  }
  if (slot == 1) (ecd ? form.CDspectra1 : form.UVspectra1)->SetEnabled(true);
  readers::UvEcdClosing closing{spectrum};
  closing.alwaysComputed = true;
  readers::finishUvEcd(form, closing, fileName, slot);
  notes.report(fileName);
}

}  // namespace

void TForm1::CD_DFTMRCI(const std::string& fileName, int slot) {
  readDftMrci(*this, fileName, slot, Spectrum::Ecd);
}

void TForm1::UV_DFTMRCI(const std::string& fileName, int slot) {
  readDftMrci(*this, fileName, slot, Spectrum::Uv);
}
