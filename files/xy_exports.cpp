// The xy exports: the band of slot 1 as a two-column text file for other
// programs. ECD and UV cover the shown wavelength range in steps of the
// settings' step size; VCD and IR the whole wavenumber grid.
#include <algorithm>
#include <string>

#include "app/Main.h"
#include "display/ranges.h"
#include "files/bilfiles.h"
#include "files/save_flow.h"
#include "platform/dialogs.h"
#include "platform/numbers.h"
#include "settings/settings.h"
#include "store/constants.h"

namespace {

const char* const noCdSpectrumSelected = "No CD-Spectrum selected";
const char* const stepTooSmall = "The step size must be more than 0.05 nm!";
// Between the two columns of the ECD and UV files.
const char* const columnGap = "          ";

// The UV export asks in words of its own.
std::string uvOverwriteQuestion(const std::string& fileName) {
  return "Datei \"" + fileName + "\" Overwrite File?";
}

// The lines of a UV or ECD export: bins from 10 x `firstNm` up to 10 x
// `lastNm` in steps of `step` bins; bins off the grid are left out, so the
// lines are those of the full walk that fall on the grid.
void addWavelengthLines(Memo& buffer, const Grid2<MINLAMBDA, MAXLAMBDA, 5>& band,
                        long long firstBin, double lastBin, long long step, bool mirrored,
                        UvEcdUnit unit) {
  long long bin = firstBin;
  if (bin < MINLAMBDA) bin += (MINLAMBDA - bin + step - 1) / step * step;
  const double end = std::min(lastBin, static_cast<double>(MAXLAMBDA));
  for (; static_cast<double>(bin) <= end; bin += step) {
    const double value = band(static_cast<long>(bin), 1);
    // The number texts carry no comma, so no comma needs turning into a point.
    const std::string x = unit == UvEcdUnit::Wavelength
                              ? FloatToStr(static_cast<double>(bin) / 10.0)
                              : IntToStr(nint(1e8 / static_cast<double>(bin)));
    buffer.Add(x + columnGap + FloatToStrF(mirrored ? -value : value, 6));
  }
}

// The shared walk of the ECD and UV exports; false when the step size is
// refused.
bool collectWavelengthExport(TForm1& form, const Grid2<MINLAMBDA, MAXLAMBDA, 5>& band,
                                    bool mirrored) {
  const long long firstBin = 10LL * StrToInt(form.Edit4->Text());
  const double lastBin = 10.0 * StrToFloat(form.Edit5->Text());
  // A step past the whole grid writes one line at most, however large it is
  // (too large for a whole number of bins, too); one below one bin would
  // never leave the first bin.
  const double stepInBins = 10.0 * StrToFloat(Form2->Edit2->Text());
  const long long step = stepInBins >= MAXLAMBDA ? MAXLAMBDA : stepInBins <= 0.0 ? 0 : nint(stepInBins);
  if (step <= 0) {
    ShowMessage(stepTooSmall);
    return false;
  }
  addWavelengthLines(*form.Memo2, band, firstBin, lastBin, step, mirrored, form.uvEcdUnit());
  return true;
}

}  // namespace

void TForm1::Savexy1Click() {
  PresetSaveDialog(*SaveDialog3, store.CDTITLE[1]);
  Memo2->Clear();
  if (!CheckBox3->Checked() && !CheckBox2->Checked()) {
    ShowMessage(noCdSpectrumSelected);
    return;
  }
  // "normal ECD" wins; "enantiomeric ECD" alone writes the mirror image.
  const bool mirrored = !CheckBox3->Checked();
  if (!collectWavelengthExport(*this, store.EPS, mirrored)) return;
  SaveThroughDialog(*SaveDialog3, *Memo2, {FileNotSavedPlainText});
}

void TForm1::Savexy2Click() {
  PresetSaveDialog(*SaveDialog4, store.UVTITLE[1]);
  Memo2->Clear();
  if (!collectWavelengthExport(*this, store.ABSG, /*mirrored*/ false)) return;
  SaveThroughDialog(*SaveDialog4, *Memo2, {FileNotSavedPlainText, uvOverwriteQuestion});
}

void TForm1::MenuItem6Click() {
  PresetSaveDialog(*SaveDialog8, Caption());
  Memo2->Clear();
  bool mirrored = false;
  if (!ChosenVcdSpectrum(*this, mirrored)) return;
  if (!mirrored)
    Memo2->Add("wavenumber\trotational strength\tgamma = " + Edit17->Text());
  else
    Memo2->Add("wavenumber\trotational strength");
  for (long w = LineGrid::low; w <= LineGrid::high; ++w) {
    const double value = store.VCD(w, 3, 1);
    Memo2->Add(IntToStr(w) + "\t" + FloatToStrE(mirrored ? -value : value, 5));
  }
  SaveThroughDialog(*SaveDialog8, *Memo2, {FileNotSavedText});
}

void TForm1::saveIRxyClick() {
  PresetSaveDialog(*SaveDialog10, Caption());
  Memo2->Clear();
  if (!CheckBox19->Checked()) {
    ShowMessage(NoIrSpectrumSelectedText);
    return;
  }
  Memo2->Add("wavenumber\tIR intensity\tgamma = " + Edit17->Text());
  for (long w = LineGrid::low; w <= LineGrid::high; ++w)
    Memo2->Add(IntToStr(w) + "\t" + FloatToStrF(store.IR(w, 3, 1), 6));
  SaveThroughDialog(*SaveDialog10, *Memo2, {FileNotSavedText});
}
