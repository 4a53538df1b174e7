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

namespace {
// The CD and UV windows: titles, then, unless the ranges are the user's, the
// y1 range from the two-curve factor before the page's ranges are taken
// again, then the second axis.
void fillUvEcdWindow(TForm1& form, UvEcdGnuplotSettingsForm& window, const SlotTexts& titles,
                     const SlotTexts& active, const SlotReals& maxima, SlotReals& factors,
                     std::string (*rangeText)(double), void (TForm1::*determineRange)()) {
  showTitles(window, titles);
  if (!window.CheckBox3->Checked()) {
    twoCurveFactor(form, active, maxima, factors);
    window.Edit7->SetText(rangeText(maxima[1] * factors[1]));
    (form.*determineRange)();
  }
  window.SecondAxisRangesFromMaxima();
}
}  // namespace

void TForm1::Button4Click() {
  fillUvEcdWindow(*this, *Form10, store.CDTITLE, store.CDACTIVE, store.CDMAX, store.CDFACTOR,
                  CdRangeText, &TForm1::DetermineCDRange);
  Form10->SecondAxisRangesFromBars();
  Form10->ShowModal();
}

void TForm1::Button6Click() {
  fillUvEcdWindow(*this, *Form11, store.UVTITLE, store.UVACTIVE, store.UVMAX, store.UVFACTOR,
                  UvRangeText, &TForm1::DetermineUVRange);
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
