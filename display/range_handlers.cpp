// The main window's range methods: read the window and the x corrections from
// the edits, measure every slot of one kind and write maxima and scale factors
// back into the store.
#include <array>
#include <span>

#include "app/Main.h"
#include "display/broadening.h"
#include "display/ranges.h"
#include "platform/numbers.h"
#include "settings/settings.h"

namespace {
struct KindSlots {
  SlotTexts& state;
  SlotCounts& count;
  SlotReals& maximum;
  SlotReals& factor;
};

SlotScales scalesOf(const KindSlots& kind) {
  SlotScales scales;
  for (int s = 1; s <= CURVE_SLOTS; ++s) {
    scales.maximum[s - 1] = kind.maximum[s];
    scales.factor[s - 1] = kind.factor[s];
  }
  return scales;
}

void storeScales(const SlotScales& scales, KindSlots& kind) {
  for (int s = 1; s <= CURVE_SLOTS; ++s) {
    kind.maximum[s] = scales.maximum[s - 1];
    kind.factor[s] = scales.factor[s - 1];
  }
}

template <class Grid>
std::span<const double> measured(const Grid& grid, int slot) {
  return {grid.slotData(slot), static_cast<size_t>(Grid::size)};
}
}  // namespace

UvEcdUnit TForm1::uvEcdUnit() const {
  return Form2 != nullptr && Form2->RadioButton6->Checked() && !Form2->RadioButton5->Checked()
             ? UvEcdUnit::Wavenumber
             : UvEcdUnit::Wavelength;
}

void TForm1::determineUvEcdRange(bool ecd) {
  const UvEcdUnit unit = uvEcdUnit();
  RangeWindow window;
  if (unit == UvEcdUnit::Wavelength)
    window = {StrToInt(Edit4->Text()), StrToInt(Edit5->Text())};
  else
    window = {StrToInt(Edit35->Text()), StrToInt(Edit36->Text())};
  KindSlots kind = ecd ? KindSlots{store.CDACTIVE, store.CDDATAPTS, store.CDMAX, store.CDFACTOR}
                       : KindSlots{store.UVACTIVE, store.UVDATAPTS, store.UVMAX, store.UVFACTOR};
  const std::array<Edit*, CURVE_SLOTS> corrections = {Edit2, Edit12, Edit13, Edit31, Edit32};
  std::array<RangeSlot, CURVE_SLOTS> slots;
  for (int s = 1; s <= CURVE_SLOTS; ++s) {
    RangeSlot& slot = slots[s - 1];
    slot.state = slotStateOf(kind.state[s]);
    slot.band = {ecd ? store.EPS.slotData(s) : store.ABSG.slotData(s), WAVELENGTH_GRID_SIZE};
    slot.measuredX = measured(ecd ? store.EXPCDX : store.EXPUVX, s);
    slot.measuredY = measured(ecd ? store.EXPCDY : store.EXPUVY, s);
    slot.measuredCount = kind.count[s];
    // Only computed slots are shifted, so only their corrections are read.
    if (slot.state == SlotState::Calc && slotStateOf(kind.state[1]) != SlotState::Other) {
      if (unit == UvEcdUnit::Wavelength)
        slot.shift = StrToInt(corrections[s - 1]->Text());
      else
        slot.xScale = StrToFloat(corrections[s - 1]->Text());
    }
  }
  SlotScales scales = scalesOf(kind);
  determineRange(ecd ? RangeKind::Ecd : RangeKind::Uv, unit, window, slots, scales);
  storeScales(scales, kind);
}

void TForm1::determineIrVcdRange(bool vcd) {
  const RangeWindow window = {StrToInt(Edit8->Text()), StrToInt(Edit9->Text())};
  KindSlots kind = vcd ? KindSlots{store.VCDACTIVE, store.VCDDATAPTS, store.VCDMAX, store.VCDFACTOR}
                       : KindSlots{store.IRACTIVE, store.IRDATAPTS, store.IRMAX, store.IRFACTOR};
  LineGrid& lines = vcd ? store.VCD : store.IR;
  const std::array<Edit*, CURVE_SLOTS> scaleEdits = {Edit26, Edit27, Edit28, Edit33, Edit34};
  std::array<RangeSlot, CURVE_SLOTS> slots;
  for (int s = 1; s <= CURVE_SLOTS; ++s) {
    RangeSlot& slot = slots[s - 1];
    slot.state = slotStateOf(kind.state[s]);
    slot.band = {lines.columnData(3, s), WAVENUMBER_GRID_SIZE};
    slot.measuredX = measured(vcd ? store.EXPVCDX : store.EXPIRX, s);
    slot.measuredY = measured(vcd ? store.EXPVCDY : store.EXPIRY, s);
    slot.measuredCount = kind.count[s];
    if (slot.state == SlotState::Calc && slotStateOf(kind.state[1]) != SlotState::Other)
      slot.xScale = StrToFloat(scaleEdits[s - 1]->Text());
  }
  SlotScales scales = scalesOf(kind);
  determineRange(vcd ? RangeKind::Vcd : RangeKind::Ir, UvEcdUnit::Wavelength, window, slots, scales);
  storeScales(scales, kind);
}

void TForm1::DetermineCDRange() { determineUvEcdRange(/*ecd*/ true); }

void TForm1::DetermineUVRange() { determineUvEcdRange(/*ecd*/ false); }

void TForm1::DetermineVCDRange() { determineIrVcdRange(/*vcd*/ true); }

void TForm1::DetermineIRRange() { determineIrVcdRange(/*vcd*/ false); }

void TForm1::DetermineHPLCRange() {
  const double x1 = StrToFloat(Edit1->Text());
  const double x2 = StrToFloat(Edit10->Text());
  std::array<HplcTrace, CURVE_SLOTS> traces;
  HplcScales scales;
  for (int s = 1; s <= CURVE_SLOTS; ++s) {
    HplcTrace& trace = traces[s - 1];
    trace.uvDetected = store.HPLC_UV[s];
    trace.cdDetected = store.HPLC_CD[s];
    trace.times = measured(store.HPLCX, s);
    trace.signals = measured(store.HPLCY, s);
    trace.count = store.HPLCDATAPTS[s];
    scales.maximum[s - 1] = store.HPLCMAX[s];
    scales.minimum[s - 1] = store.HPLCMIN[s];
    scales.factor[s - 1] = store.HPLCFACTOR[s];
  }
  determineHplcRange(x1, x2, traces, scales);
  for (int s = 1; s <= CURVE_SLOTS; ++s) {
    store.HPLCMAX[s] = scales.maximum[s - 1];
    store.HPLCMIN[s] = scales.minimum[s - 1];
    store.HPLCFACTOR[s] = scales.factor[s - 1];
  }
}
