#include "similarity/similarity.h"

#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "app/Main.h"
#include "platform/numbers.h"
#include "settings/settings.h"
#include "similarity/search.h"
#include "similarity/window_support.h"
#include "store/Store.h"

TForm9* Form9 = nullptr;

TForm9::TForm9() : Form("Form9", "Similarity Factors", {0, 0, 524, 440}) {
  // Two column pairs: shift and wavelength range (nm) on the left, x scale
  // and wavenumber range (1/cm) on the right; the band width under the left.
  Label2 = addLabel("Label2", "From:        (nm)", {112, 12, 92, 16});
  Label3 = addLabel("Label3", "To:", {208, 12, 72, 16});
  Label5 = addLabel("Label5", "From:    (1/cm)     To:", {356, 12, 152, 16});

  Label1 = addLabel("Label1", "shift range:", {16, 36, 90, 16});
  Edit1 = addEdit("Edit1", "-30", {112, 32, 72, 24});
  Edit2 = addEdit("Edit2", "+30", {208, 32, 72, 24});
  Label4 = addLabel("Label4", "scaling:", {296, 36, 56, 16});
  Edit7 = addEdit("Edit7", "0.950", {356, 32, 72, 24});
  Edit8 = addEdit("Edit8", "1.050", {436, 32, 72, 24});

  Label6 = addLabel("Label6", "band width:", {16, 68, 90, 16});
  Edit3 = addEdit("Edit3", "0.1", {112, 64, 72, 24});
  Edit4 = addEdit("Edit4", "0.3", {208, 64, 72, 24});

  Label7 = addLabel("Label7", "energy range:", {16, 100, 90, 16});
  Edit5 = addEdit("Edit5", "200", {112, 96, 72, 24});
  Edit6 = addEdit("Edit6", "400", {208, 96, 72, 24});
  Edit9 = addEdit("Edit9", "50000", {356, 96, 72, 24});
  Edit10 = addEdit("Edit10", "15000", {436, 96, 72, 24});

  Button1 = addButton("Button1", "UV", {16, 132, 90, 28});
  Button3 = addButton("Button3", "ECD", {112, 132, 90, 28});
  Button2 = addButton("Button2", "Close", {418, 132, 90, 28});

  Memo1 = addMemo("Memo1", {16, 172, 492, 252});

  Button1->OnClick = [this] { Button1Click(); };
  Button3->OnClick = [this] { Button3Click(); };
  Button2->OnClick = [this] { Button2Click(); };
}

void TForm9::EnableUnitEdits(bool wavelengthUnit) {
  for (Edit* edit : {Edit1, Edit2, Edit5, Edit6}) edit->SetEnabled(wavelengthUnit);
  for (Edit* edit : {Edit7, Edit8, Edit9, Edit10}) edit->SetEnabled(!wavelengthUnit);
}

void TForm9::CalculateUV(double SIGMA) {
  Store& store = Form1->store;
  CMPUV.assign(UVECD_TRIAL_SIZE, 0.0);
  trialUvBand({store.OSC.slotData(1), UVECD_TRIAL_SIZE}, SIGMA, TForm1::ChosenBandShape(), CMPUV);
}

void TForm9::CalculateCD(double SIGMA) {
  Store& store = Form1->store;
  CMPCD.assign(UVECD_TRIAL_SIZE, 0.0);
  trialCdBand({store.ROTS.slotData(1), UVECD_TRIAL_SIZE}, SIGMA, TForm1::ChosenBandShape(), CMPCD);
}

namespace {

// The pairs of a run, as the unit of the settings window chooses them.
struct UvEcdRunInput {
  UvEcdMode mode = UvEcdMode::Wavelength;
  SearchRanges ranges;
};

EditPair wavelengthRangePair() {
  return {Form9->Edit5, "energy range from (nm)", "200", Form9->Edit6, "energy range to (nm)", "400",
          EditNumber::Whole, 190, "190", 1000, "1000", true, PairRole::Range};
}
EditPair wavenumberRangePair() {
  return {Form9->Edit9, "energy range from (1/cm)", "50000", Form9->Edit10, "energy range to (1/cm)", "15000",
          EditNumber::Whole, 53000, "53000", 5000, "5000", false, PairRole::Range};
}
EditPair shiftPair() {
  return {Form9->Edit1, "shift range from", "-30", Form9->Edit2, "shift range to", "30", EditNumber::Whole, -100,
          "-100", 100, "100", true};
}
EditPair scalePair() {
  return {Form9->Edit7, "scaling from", "0.950", Form9->Edit8, "scaling to", "1.050", EditNumber::Real, 0.7, "0.7",
          1.3, "1.3", true};
}
EditPair sigmaPair() {
  return {Form9->Edit3, "band width from", "0.16", Form9->Edit4, "band width to", "0.16", EditNumber::Real, 0.01,
          "0.01", 0.9, "0.9", true, PairRole::Width};
}

std::optional<UvEcdMode> settingsUnit() {
  if (Form2->RadioButton5->Checked()) return UvEcdMode::Wavelength;
  if (Form2->RadioButton6->Checked()) return UvEcdMode::Wavenumber;
  return std::nullopt;
}

MeasuredPoints measuredUv(Store& store) { return slot2Points(store.EXPUVX, store.EXPUVY, store.UVDATAPTS[2]); }
MeasuredPoints measuredCd(Store& store) { return slot2Points(store.EXPCDX, store.EXPCDY, store.CDDATAPTS[2]); }

bool covered(const MeasuredPoints& points, UvEcdMode mode, int X1, int X2) {
  return mode == UvEcdMode::Wavelength ? !missesWavelengths(points, X1, X2) : !missesWavenumbers(points, X1, X2);
}

void coverageTest(Memo* memo, const MeasuredPoints& points, UvEcdMode mode, int X1, int X2, const char* kind) {
  if (covered(points, mode, X1, X2)) return;
  addCoverageLines(memo, mode == UvEcdMode::Wavelength
                             ? std::string("Experimental ") + kind + " data do not fit to the selected wavelenght range!"
                             : std::string("Experimental ") + kind + " data do not fit to the selected wavenumber range!");
}

// The input checks of both runs: the range pair with the coverage tests, the
// shift or x-scale pair, the band-width pair. None when a pair ends the run.
std::optional<UvEcdRunInput> checkInputs(UvEcdMode mode,
                                         const std::vector<std::pair<MeasuredPoints, const char*>>& coverage) {
  UvEcdRunInput input;
  input.mode = mode;
  const std::optional<PairValues> range =
      checkPair(mode == UvEcdMode::Wavelength ? wavelengthRangePair() : wavenumberRangePair(), Form9->Memo1);
  if (!range) return std::nullopt;
  input.ranges.X1 = static_cast<int>(range->first);
  input.ranges.X2 = static_cast<int>(range->second);
  for (const auto& [points, kind] : coverage) coverageTest(Form9->Memo1, points, mode, input.ranges.X1, input.ranges.X2, kind);
  const std::optional<PairValues> positions =
      checkPair(mode == UvEcdMode::Wavelength ? shiftPair() : scalePair(), Form9->Memo1);
  const std::optional<PairValues> widths = checkPair(sigmaPair(), Form9->Memo1);
  if (!positions || !widths) return std::nullopt;
  input.ranges.positionFrom = positions->first;
  input.ranges.positionTo = positions->second;
  input.ranges.widthFrom = widths->first;
  input.ranges.widthTo = widths->second;
  return input;
}

std::string positionText(UvEcdMode mode, double position) {
  return mode == UvEcdMode::Wavelength ? FloatToStrWhole(position) : similarityNumber(position);
}

// The best setting as the main window's texts will say it, and the values
// read back from those texts, with which the final computation runs.
struct Setting {
  std::string positionText;
  std::string widthText;
  double position;
  double width;
};
Setting settingOf(UvEcdMode mode, double position, double width) {
  Setting setting{positionText(mode, position), similarityNumber(width), 0, 0};
  setting.position = mode == UvEcdMode::Wavelength ? static_cast<double>(StrToInt(setting.positionText))
                                                   : StrToFloat(setting.positionText);
  setting.width = StrToFloat(setting.widthText);
  return setting;
}

// Writes the setting into the main window, whose change handlers re-broaden
// and redraw. Only a setting that gave a factor is written.
void writeBack(const Setting& setting) {
  Form1->Edit2->SetText(setting.positionText);
  Form1->Edit3->SetText(setting.widthText);
}

std::string widthWords(bool spaced) {
  const bool lorentzian = TForm1::ChosenBandShape() == BandShape::Lorentzian;
  return std::string(") was found for ") + (lorentzian ? "gamma =" : "sigma =") + (spaced ? " " : "");
}

// " eV at 5 nm shift" or " eV with an xscale factor of 1.02".
std::string settingWords(UvEcdMode mode, const BestValue& best) {
  return " eV" + (mode == UvEcdMode::Wavelength ? " at " + positionText(mode, best.position) + " nm shift"
                                                : " with an xscale factor of " + positionText(mode, best.position));
}

}  // namespace

// Searches band width and shift (or x scale) on the UV pair, writes the best
// into the main window's edits and scores the ECD pair at that setting.
void TForm9::Button1Click() {
  Store& store = Form1->store;
  Memo1->Clear();
  const bool uvPair = store.UVACTIVE[1] == "calc" && store.UVACTIVE[2] == "exp";
  const bool cdPair = store.CDACTIVE[1] == "calc" && store.CDACTIVE[2] == "exp";
  if (!cdPair) Memo1->Add("Skipping calculation of ECD similarity");
  const std::optional<UvEcdMode> unit = settingsUnit();
  if (!unit) return;
  const UvEcdMode mode = *unit;
  const MeasuredPoints uvPoints = measuredUv(store);
  const MeasuredPoints cdPoints = measuredCd(store);
  std::vector<std::pair<MeasuredPoints, const char*>> coverage{{uvPoints, "UV"}};
  if (cdPair) coverage.push_back({cdPoints, "CD"});
  const std::optional<UvEcdRunInput> checked = checkInputs(mode, coverage);
  if (!checked || !uvPair) return;
  const UvEcdRunInput& input = *checked;
  const int X1 = input.ranges.X1, X2 = input.ranges.X2;

  const std::optional<double> EXPUVMAX = ::EXPUVMAX(uvPoints, mode, X1, X2);
  if (!hasSignal(uvPoints, mode, X1, X2, EXPUVMAX)) {
    Memo1->Add(noSignalLine("UV"));
    return;
  }
  // Said only once there is a factor: a run without one says why instead.
  auto sayUnits = [&] {
    if (*EXPUVMAX < 10) Memo1->Add("Experimental UV is given in relative units, calculated UV will be normalized");
  };

  const UvEcdLines uv{{store.OSC.slotData(1), UVECD_TRIAL_SIZE}, TForm1::ChosenBandShape()};
  Setting setting{};
  const bool search =
      input.ranges.positionTo - input.ranges.positionFrom > 0 || input.ranges.widthTo - input.ranges.widthFrom > 0;
  if (search) {
    const OverlapSearchResult result = searchUv(uv, mode, uvPoints, input.ranges, *EXPUVMAX);
    if (result.outcome != SearchOutcome::Found) {
      Memo1->Add(noValueLine("UV", result.outcome));
      return;
    }
    sayUnits();
    const BestValue& cross = *result.smallestCrossSection;
    const BestValue& factor = *result.bestFactor;
    setting = settingOf(mode, cross.position, cross.width);
    const bool lorentzian = TForm1::ChosenBandShape() == BandShape::Lorentzian;
    Memo1->Add("");
    Memo1->Add("Best Similarity factor (S = " + fixed4(factor.value) + widthWords(true) + similarityNumber(factor.width) +
               settingWords(mode, factor));
    const std::string crossWords = lorentzian ? "Smallest cross section was found for gamma = "
                                              : "Smallest cross section  was found for sigma = ";
    Memo1->Add(crossWords + similarityNumber(cross.width) +
               (mode == UvEcdMode::Wavelength ? " eV at a shift of " + positionText(mode, cross.position) + " nm"
                                              : " eV with an xscale factor of " + positionText(mode, cross.position)));
  } else {
    setting = settingOf(mode, input.ranges.positionFrom, input.ranges.widthFrom);
  }

  CalculateUV(setting.width);
  const FinalOverlap finalUV = finalUv(CMPUV, mode, uvPoints, X1, X2, setting.position, *EXPUVMAX);
  if (finalUV.outcome == SearchOutcome::Found) {
    if (!search) sayUnits();
    writeBack(setting);
  }
  if (finalResultFollows(Memo1, "UV", finalUV.outcome)) {
    Memo1->Add("Similarity factor S (UV-spectrum) = " + fixed4(finalUV.factor));
    Memo1->Add((mode == UvEcdMode::Wavelength ? "Scaling factor for calculated UV = " : "Scaling factor epsilon = ") +
               fixed4(finalUV.displayedScale));
  }

  if (!cdPair) return;
  if (finalUV.outcome != SearchOutcome::Found) {
    Memo1->Add("");
    Memo1->Add(scoresLeftOutLine("CD", "UV"));
    Memo1->Add("");
    return;
  }
  const std::optional<double> EXPCDMAX = ::EXPCDMAX(
      cdPoints, mode == UvEcdMode::Wavelength ? EcdMaximumRule::Wavelength : EcdMaximumRule::WavenumberUvRun, X1, X2);
  Memo1->Add("");
  if (!hasSignal(cdPoints, mode, X1, X2, EXPCDMAX)) {
    Memo1->Add(noSignalLine("CD"));
    return;
  }
  CalculateCD(setting.width);
  const FinalSignSplit finalCD =
      finalEcd(CMPCD, mode, cdPoints, X1, X2, setting.position, *EXPCDMAX);
  if (finalCD.outcome != SearchOutcome::Found) {
    Memo1->Add(noValueLine("CD", finalCD.outcome));
  } else {
    Memo1->Add("Similarity factor S (ECD-spectrum) = " + fixed4(finalCD.S));
    Memo1->Add("Similarity factor S (enantiomeric ECD-spectrum) = " + fixed4(finalCD.mirror));
    Memo1->Add("Delta value: " + fixed4(std::fabs(finalCD.S - finalCD.mirror)));
    Memo1->Add((mode == UvEcdMode::Wavelength ? "Scaling factor (ECD-spectrum) = " : "Scaling factor delta_epsilon = ") +
               fixed4(finalCD.displayedScale));
  }
  Memo1->Add("");
}

// Fine-tunes band width and shift (or x scale) on the ECD pair alone.
void TForm9::Button3Click() {
  Store& store = Form1->store;
  Memo1->Clear();
  Memo1->Add("***    Warning!    ***");
  Memo1->Add("This algorithm intends a finetuning of a preoptimized UV shift only");
  const bool cdPair = store.CDACTIVE[1] == "calc" && store.CDACTIVE[2] == "exp";
  if (!cdPair) Memo1->Add("Skipping calculation of CD similarity");
  const std::optional<UvEcdMode> unit = settingsUnit();
  if (!unit) return;
  const UvEcdMode mode = *unit;
  const MeasuredPoints cdPoints = measuredCd(store);
  const std::optional<UvEcdRunInput> checked = checkInputs(mode, {{cdPoints, "CD"}});
  if (!checked || !cdPair) return;
  const UvEcdRunInput& input = *checked;
  const int X1 = input.ranges.X1, X2 = input.ranges.X2;
  const std::optional<double> EXPCDMAX = ::EXPCDMAX(
      cdPoints, mode == UvEcdMode::Wavelength ? EcdMaximumRule::Wavelength : EcdMaximumRule::WavenumberEcdRun, X1, X2);
  if (!hasSignal(cdPoints, mode, X1, X2, EXPCDMAX)) {
    Memo1->Add(noSignalLine("CD"));
    return;
  }

  const bool trackMirror = Form1->CheckBox2->Checked() && !Form1->CheckBox3->Checked();
  const UvEcdLines cd{{store.ROTS.slotData(1), UVECD_TRIAL_SIZE}, TForm1::ChosenBandShape()};
  const FineTuningResult result = fineTuneEcd(cd, mode, cdPoints, input.ranges, *EXPCDMAX, trackMirror);
  if (result.outcome != SearchOutcome::Found) {
    Memo1->Add(noValueLine("CD", result.outcome));
    return;
  }
  const BestValue& delta = *result.bestDelta;
  const BestValue& factor = *result.bestFactor;
  const Setting setting = settingOf(mode, delta.position, delta.width);
  Memo1->Add("Best Delta (ESI = " + fixed4(delta.value) + widthWords(false) + similarityNumber(delta.width) +
             settingWords(mode, delta));
  Memo1->Add("Best Similarity factor (S = " + fixed4(factor.value) + widthWords(false) +
             similarityNumber(factor.width) + settingWords(mode, factor));

  CalculateCD(setting.width);
  const FinalSignSplit finalCD = finalEcd(CMPCD, mode, cdPoints, X1, X2, setting.position, *EXPCDMAX);
  if (finalCD.outcome == SearchOutcome::Found) writeBack(setting);
  if (!finalResultFollows(Memo1, "CD", finalCD.outcome)) return;
  Memo1->Add("Similarity factor  = " + fixed4(finalCD.S));
  Memo1->Add("Similarity factor Enantiomer  = " + fixed4(finalCD.mirror));
  Memo1->Add("Delta value: " + fixed4(std::fabs(finalCD.S - finalCD.mirror)));
  Memo1->Add("Scaling factor for calculated ECD spectrum: " + fixed4(finalCD.displayedScale));
}

// Hides the window; its texts and results stay.
void TForm9::Button2Click() { Close(); }
