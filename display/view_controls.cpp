// The view controls of the main window's four pages: band widths re-broaden,
// corrections, ranges and display boxes redraw, the VCD mirror pair keeps one
// box ticked, and a dropped file is opened like File > Open. A handler whose
// checks fail does nothing and says nothing; the plot keeps its picture.
#include <array>
#include <string>
#include <vector>

#include "app/Main.h"
#include "display/ranges.h"
#include "platform/numbers.h"
#include "plots/cdplotting.h"
#include "plots/uvplotting.h"
#include "settings/settings.h"

namespace {
bool computed(const std::string& state) { return state == "calc"; }

bool positiveReal(const Edit& edit) {
  double value = 0.0;
  return TryStrToFloat(edit.Text(), value) && value > 0.0;
}

bool wholeNumber(const Edit& edit) {
  int value = 0;
  return TryStrToInt(edit.Text(), value);
}

bool realNumber(const Edit& edit) {
  double value = 0.0;
  return TryStrToFloat(edit.Text(), value);
}

// The x correction of UV/ECD curve 1: a shift in whole nm, or in the
// wavenumber unit an x scale factor, which must be above 0.
bool curveOneCorrectionValid(const TForm1& form) {
  if (form.uvEcdUnit() == UvEcdUnit::Wavelength) return wholeNumber(*form.Edit2);
  return positiveReal(*form.Edit2);
}

// The IR/VCD range and the scale factor of curve 1, as both IR/VCD redraw
// entries check them.
bool irVcdViewValid(const TForm1& form) {
  int low = 0;
  int high = 0;
  if (!TryStrToInt(form.Edit8->Text(), low) || !TryStrToInt(form.Edit9->Text(), high)) return false;
  if (!positiveReal(*form.Edit26)) return false;
  return low >= 0 && low <= high;
}

bool allOf(const std::array<Edit*, 4>& edits, bool (*valid)(const Edit&)) {
  for (const Edit* edit : edits)
    if (!valid(*edit)) return false;
  return true;
}

// nint(10^7 / v) as text: the wavelength in nm of a wavenumber in 1/cm.
// None for a text that is no whole number, and for 0, which has no
// wavelength.
bool wavelengthOfWavenumber(const Edit& edit, std::string& nanometres) {
  int wavenumber = 0;
  if (!TryStrToInt(edit.Text(), wavenumber) || wavenumber == 0) return false;
  nanometres = IntToStr(nint(1.0e7 / wavenumber));
  return true;
}
}  // namespace

// ---- UV/ECD page --------------------------------------------------------------

void TForm1::Edit3Change() {
  if (!positiveReal(*Edit3)) return;
  for (int s = 1; s <= 5; ++s) {
    if (computed(store.CDACTIVE[s])) CalculateGaussCD(s);
    if (computed(store.UVACTIVE[s])) CalculateGaussUV(s);
  }
  RedrawUVCD();
}

void TForm1::Edit2Change() {
  RedrawUVCD();
  // Auto-scaled curves have no second y axis in the publication plots; the
  // CD plot keeps it for bars of curve 1.
  if (CheckBox8->Checked() && !CheckBox1->Checked() && Form10 != nullptr) Form10->CheckBox2->SetChecked(false);
  if (CheckBox8->Checked() && Form11 != nullptr) Form11->CheckBox2->SetChecked(false);
  // The computed ORD curve is drawn with the correction of UV/ECD curve 1.
  if (computed(store.ORDACTIVE[1])) Button9->Click();
}

void TForm1::CheckBox1Click() { RedrawUVCD(); }

void TForm1::CheckBox2Click() { RedrawUVCD(); }

void TForm1::Button2Click() {
  int start = 0;
  int end = 0;
  if (!TryStrToInt(Edit4->Text(), start) || !TryStrToInt(Edit5->Text(), end)) return;
  if (!curveOneCorrectionValid(*this)) return;
  if (start <= 0 || start >= end) return;
  RedrawUVCD();
}

void TForm1::Edit12Change() {
  const std::array<Edit*, 4> corrections = {Edit12, Edit13, Edit31, Edit32};
  if (Form2 == nullptr) return;
  if (Form2->RadioButton5->Checked() && allOf(corrections, wholeNumber)) RedrawUVCD();
  if (Form2->RadioButton6->Checked() && allOf(corrections, realNumber)) RedrawUVCD();
}

void TForm1::Button5Click() {
  const std::string correction = Edit2->Text();
  for (Edit* edit : {Edit12, Edit13, Edit31, Edit32}) edit->SetText(correction);
}

void TForm1::Edit35Change() {
  std::string nanometres;
  if (wavelengthOfWavenumber(*Edit35, nanometres)) Edit4->SetText(nanometres);
  if (wavelengthOfWavenumber(*Edit36, nanometres)) Edit5->SetText(nanometres);
  RedrawUVCD();
}

// ---- IR/VCD page --------------------------------------------------------------

void TForm1::Button10Click() {
  if (irVcdViewValid(*this)) RedrawIRVCD();
}

void TForm1::Edit26Change() {
  if (irVcdViewValid(*this)) RedrawIRVCD();
}

void TForm1::Edit27Change() {
  if (allOf({Edit27, Edit28, Edit33, Edit34}, realNumber)) RedrawIRVCD();
}

void TForm1::Button18Click() {
  const std::string factor = Edit26->Text();
  for (Edit* edit : {Edit27, Edit28, Edit33, Edit34}) edit->SetText(factor);
}

void TForm1::Edit17Change() {
  if (!positiveReal(*Edit17)) return;
  for (int s = 1; s <= 5; ++s) {
    if (computed(store.VCDACTIVE[s])) CalculateCurveVCD(s);
    if (computed(store.IRACTIVE[s])) CalculateCurveIR(s);
  }
  RedrawIRVCD();
}

void TForm1::CheckBox6Change() { CheckBox9->SetChecked(!CheckBox6->Checked()); }

void TForm1::CheckBox9Change() { CheckBox6->SetChecked(!CheckBox9->Checked()); }

// ---- HPLC and ORD pages ---------------------------------------------------------

void TForm1::Button8Click() {
  // The chromatograms of one detector lie in slots 1 to n.
  for (SlotFlags* detector : {&store.HPLC_UV, &store.HPLC_CD}) {
    if (!(*detector)[1]) continue;
    int used = 0;
    for (int s = 1; s <= 5; ++s)
      if ((*detector)[s]) ++used;
    DetermineHPLCRange();
    DrawHPLC();
    for (int s = 2; s <= used; ++s) AddHPLC(s);
  }
}

void TForm1::Button9Click() {
  if (!curveOneCorrectionValid(*this) || !wholeNumber(*Edit20) || !wholeNumber(*Edit21)) return;
  if (store.ORDACTIVE[1] == "exp") DrawXYORD();
  if (store.ORDACTIVE[1] == "calc") DrawORD();
  if (store.ORDACTIVE[2] == "exp") AddXYORD(2);
  if (store.ORDACTIVE[2] == "calc") AddORD(2);
}

// ---- The main window -----------------------------------------------------------

void TForm1::FormDropFiles(const std::vector<std::string>& fileNames) {
  if (!fileNames.empty()) Choose(fileNames.front());
}

// A click on the UV/ECD plot does nothing: the mouse selection works with
// press, move and release.
void TForm1::Image1Click() {}

// Kept for the window's handler list; no control runs them.
void TForm1::CheckBox6Click() {}
void TForm1::CheckBox7Click() {}
