// sTDA and sTD-DFT spectrum tables: after the line "DATXY" every line is a
// state: number, energy (eV), f(length), f(velocity), R(length), R(velocity).
#include <string>

#include "app/Main.h"
#include "readers/reader_core.h"

namespace {

using readers::Spectrum;


void readStdaTable(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum) {
  form.Label4->SetVisible(true);
  form.SetCaption(fileName);
  const bool ecd = spectrum == Spectrum::Ecd;
  auto& grid = ecd ? form.store.ROTS : form.store.OSC;
  {
    readers::LineSource source(fileName);
    grid.clearSlot(slot);
    while (!source.eof() && !source.has("DATXY")) source.next();
    const int valueField = ecd ? (readers::velocityFormalism() ? 6 : 5) : (readers::velocityFormalism() ? 4 : 3);
    while (!source.eof()) {
      const std::string& row = source.next();
      const double energy = readers::toReal(readers::word(row, 2));
      const double value = readers::toReal(readers::word(row, valueField));
      // Degenerate states share a bin: both count. Energies without a bin on
      // the grid are left out.
      readers::addLine(grid, slot, readers::wavelengthOfEnergy(energy), value,
                       readers::RangeTest::GridOnly);
    }
  }
  readers::UvEcdClosing closing{spectrum};
  closing.alwaysComputed = true;
  closing.titleEveryLoad = true;
  closing.disableIrVcdEdits = false;
  closing.kindMenuAndAddItem = true;
  closing.redrawAlways = true;
  readers::finishUvEcd(form, closing, fileName, slot);
}

}  // namespace

void TForm1::STDA_CD(const std::string& fileName, int slot) {
  readStdaTable(*this, fileName, slot, Spectrum::Ecd);
}

void TForm1::STDA_UV(const std::string& fileName, int slot) {
  readStdaTable(*this, fileName, slot, Spectrum::Uv);
}
