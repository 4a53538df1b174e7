// The main window's four broadening operations: read the band width and the
// band shape from their controls and broaden one slot. They compute only;
// the caller redraws.
#include <span>

#include "app/Main.h"
#include "display/broadening.h"
#include "platform/numbers.h"
#include "settings/settings.h"

namespace {
template <class Grid>
std::span<double> wavelengthSlot(Grid& grid, int slot) {
  return {grid.slotData(slot), WAVELENGTH_GRID_SIZE};
}

std::span<double> lineColumn(LineGrid& grid, int column, int slot) {
  return {grid.columnData(column, slot), WAVENUMBER_GRID_SIZE};
}
BroadeningProgress progressOn(ProgressBar* bar) {
  return [bar](int position) { bar->SetPosition(position); };
}
}  // namespace

BandShape TForm1::ChosenBandShape() {
  if (Form2 == nullptr) return BandShape::None;
  if (Form2->RadioButton3->Checked()) return BandShape::Gaussian;
  if (Form2->RadioButton4->Checked()) return BandShape::Lorentzian;
  return BandShape::None;
}

void TForm1::CalculateGaussCD(int slot) {
  // A band width that is no number leaves the ECD band as it was.
  const double sigma = StrToFloat(Edit3->Text());
  broadenUvEcd(UvEcdKind::Ecd, wavelengthSlot(store.ROTS, slot), sigma, ChosenBandShape(),
               wavelengthSlot(store.EPS, slot), progressOn(ProgressBar1));
}

void TForm1::CalculateGaussUV(int slot) {
  // The UV band is emptied before the band width is read.
  store.ABSG.clearSlot(slot);
  const double sigma = StrToFloat(Edit3->Text());
  broadenUvEcd(UvEcdKind::Uv, wavelengthSlot(store.OSC, slot), sigma, ChosenBandShape(),
               wavelengthSlot(store.ABSG, slot), progressOn(ProgressBar1));
}

// gamma is taken as any real number: the change handler of its edit and the
// similarity search both hand over real numbers.
void TForm1::CalculateCurveVCD(int slot) {
  const double gamma = StrToFloat(Edit17->Text());
  broadenIrVcd(IrVcdKind::Vcd, lineColumn(store.VCD, 1, slot), lineColumn(store.VCD, 2, slot), gamma,
               lineColumn(store.VCD, 3, slot), progressOn(ProgressBar1));
}

void TForm1::CalculateCurveIR(int slot) {
  const double gamma = StrToFloat(Edit17->Text());
  broadenIrVcd(IrVcdKind::Ir, lineColumn(store.IR, 1, slot), lineColumn(store.IR, 2, slot), gamma,
               lineColumn(store.IR, 3, slot), progressOn(ProgressBar1));
}
