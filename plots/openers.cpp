// The "Settings" buttons of the main window: each fills its gnuplot settings
// window with the curve titles and the y range of the page, then shows it.
#include <array>

#include "app/Main.h"
#include "plots/cdplotting.h"
#include "plots/irplotting.h"
#include "plots/uvecd_export.h"
#include "plots/uvplotting.h"
#include "plots/vcdplotting.h"

namespace {

void showTitles(const GnuplotSettingsForm& window, const SlotTexts& titles) {
  const std::array<Edit*, 5> fields{window.Edit2, window.Edit3, window.Edit4, window.Edit5, window.Edit6};
  for (long s = 1; s <= 5; ++s) fields[static_cast<size_t>(s - 1)]->SetText(titles[s]);
}

// A computed curve 1 beside one measured curve is shown at the measured
// curve's height: the range the window proposes follows that factor.
void twoCurveFactor(const TForm1& form, const SlotTexts& active, const SlotReals& maxima,
                    SlotReals& factors) {
  if (active[1] != "calc" || form.CheckBox16->Checked() || !form.CheckBox8->Checked()) return;
  const long second = SecondSlotInUse(active);
  if (active[second] == "exp") ScaleCurveOneTo(second, maxima, factors);
}

}  // namespace

void TForm1::Button4Click() {
  showTitles(*Form10, store.CDTITLE);
  if (!Form10->CheckBox3->Checked()) {
    twoCurveFactor(*this, store.CDACTIVE, store.CDMAX, store.CDFACTOR);
    Form10->Edit7->SetText(CdRangeText(store.CDMAX[1] * store.CDFACTOR[1]));
    DetermineCDRange();
  }
  Form10->SecondAxisRangesFromMaxima();
  Form10->SecondAxisRangesFromBars();
  Form10->ShowModal();
}

void TForm1::Button6Click() {
  showTitles(*Form11, store.UVTITLE);
  if (!Form11->CheckBox3->Checked()) {
    twoCurveFactor(*this, store.UVACTIVE, store.UVMAX, store.UVFACTOR);
    Form11->Edit7->SetText(UvRangeText(store.UVMAX[1] * store.UVFACTOR[1]));
    DetermineUVRange();
  }
  Form11->SecondAxisRangesFromMaxima();
  Form11->ShowModal();
}

void TForm1::Button16Click() {
  showTitles(*Form13, store.VCDTITLE);
  if (!Form13->CheckBox3->Checked())
    Form13->Edit7->SetText(VcdRangeText(store.VCDMAX[1] * store.VCDFACTOR[1]));
  Form13->ShowModal();
}

void TForm1::Button19Click() {
  showTitles(*Form15, store.IRTITLE);
  Form15->Edit7->SetText(IrRangeText(store.IRMAX[1]));
  Form15->ShowModal();
}
