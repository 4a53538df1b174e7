#include "similarity/similarityvcd.h"

#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "app/Main.h"
#include "platform/numbers.h"
#include "similarity/search.h"
#include "similarity/window_support.h"
#include "store/Store.h"

TForm12* Form12 = nullptr;

// IR/VCD always works in wavenumbers with an x scale factor, so every edit
// stays enabled.
TForm12::TForm12() : Form("Form12", "Similarity Factors", {0, 0, 420, 440}) {
  Label1 = addLabel("Label1", "From:", {112, 12, 72, 16});
  Label2 = addLabel("Label2", "To:", {208, 12, 72, 16});

  Label3 = addLabel("Label3", "scaling:", {16, 36, 90, 16});
  Edit1 = addEdit("Edit1", "0.9", {112, 32, 72, 24});
  Edit2 = addEdit("Edit2", "1.1", {208, 32, 72, 24});

  Label4 = addLabel("Label4", "band width:", {16, 68, 90, 16});
  Edit3 = addEdit("Edit3", "2", {112, 64, 72, 24});
  Edit4 = addEdit("Edit4", "10", {208, 64, 72, 24});

  Label5 = addLabel("Label5", "wavenumber:", {16, 100, 90, 16});
  Edit5 = addEdit("Edit5", "500", {112, 96, 72, 24});
  Edit6 = addEdit("Edit6", "2000", {208, 96, 72, 24});

  Button1 = addButton("Button1", "IR", {16, 132, 90, 28});
  Button3 = addButton("Button3", "VCD", {112, 132, 90, 28});
  Button2 = addButton("Button2", "Close", {314, 132, 90, 28});

  Memo1 = addMemo("Memo1", {16, 172, 388, 252});

  Button1->OnClick = [this] { Button1Click(); };
  Button3->OnClick = [this] { Button3Click(); };
  Button2->OnClick = [this] { Button2Click(); };
}

void TForm12::CalculateIR(double GAMMA) {
  Store& store = Form1->store;
  CMPIR.assign(IRVCD_TRIAL_SIZE, 0.0);
  trialIrBand({store.IR.columnData(1, 1), IRVCD_TRIAL_SIZE}, {store.IR.columnData(2, 1), IRVCD_TRIAL_SIZE}, GAMMA,
              CMPIR);
}

void TForm12::CalculateVCD(double GAMMA) {
  Store& store = Form1->store;
  CMPVCD.assign(IRVCD_TRIAL_SIZE, 0.0);
  trialVcdBand({store.VCD.columnData(1, 1), IRVCD_TRIAL_SIZE}, {store.VCD.columnData(2, 1), IRVCD_TRIAL_SIZE}, GAMMA,
               CMPVCD);
}

namespace {

// The input checks of both runs: the range pair with the coverage tests, the
// x-scale pair, the band-width pair. None when a pair ends the run.
std::optional<SearchRanges> checkInputs(const std::vector<std::pair<MeasuredPoints, const char*>>& coverage) {
  SearchRanges ranges;
  const std::optional<PairValues> range =
      checkPair({Form12->Edit5, "wavenumber from", "500", Form12->Edit6, "wavenumber to", "2000", EditNumber::Whole, 1,
                 "1", 4000, "4000", true, PairRole::Range},
                Form12->Memo1);
  if (!range) return std::nullopt;
  ranges.X1 = static_cast<int>(range->first);
  ranges.X2 = static_cast<int>(range->second);
  for (const auto& [points, message] : coverage)
    if (missesWavelengths(points, ranges.X1, ranges.X2)) addCoverageLines(Form12->Memo1, message);
  const std::optional<PairValues> scales =
      checkPair({Form12->Edit1, "scaling from", "0.9", Form12->Edit2, "scaling to", "1.1", EditNumber::Real, 0.1, "0.1",
                 2.0, "2.0", true},
                Form12->Memo1);
  const std::optional<PairValues> widths =
      checkPair({Form12->Edit3, "band width from", "2", Form12->Edit4, "band width to", "10", EditNumber::Whole, 1, "1",
                 50, "50", true, PairRole::Width},
                Form12->Memo1);
  if (!scales || !widths) return std::nullopt;
  ranges.positionFrom = scales->first;
  ranges.positionTo = scales->second;
  ranges.widthFrom = widths->first;
  ranges.widthTo = widths->second;
  return ranges;
}

constexpr const char* IR_COVERAGE = "Experimental IR data do not fit to the selected wavenumbers!";
constexpr const char* VCD_COVERAGE = "Experimental VCD data do not fit to the selected wavenumbers!";

MeasuredPoints measuredIr(Store& store) { return slot2Points(store.EXPIRX, store.EXPIRY, store.IRDATAPTS[2]); }
MeasuredPoints measuredVcd(Store& store) { return slot2Points(store.EXPVCDX, store.EXPVCDY, store.VCDDATAPTS[2]); }

IrVcdLines slot1Lines(LineGrid& grid) {
  return {{grid.columnData(1, 1), IRVCD_TRIAL_SIZE}, {grid.columnData(2, 1), IRVCD_TRIAL_SIZE}};
}

// The best setting as the main window's texts will say it, and the values
// read back from those texts, with which the final computation runs.
struct Setting {
  std::string scaleText;
  std::string gammaText;
  double xScale;
  double gamma;
};
Setting settingOf(double xScale, double gamma) {
  Setting setting{similarityNumber(xScale), similarityNumber(gamma), 0, 0};
  setting.xScale = StrToFloat(setting.scaleText);
  setting.gamma = StrToFloat(setting.gammaText);
  return setting;
}

// Writes the setting into the main window, whose change handlers redraw and
// re-broaden. Only a setting that gave a factor is written.
void writeBack(const Setting& setting) {
  Form1->Edit26->SetText(setting.scaleText);
  Form1->Edit17->SetText(setting.gammaText);
}

void normalisationLines(Memo* memo, const FinalSignSplit& vcd) {
  if (!vcd.normalised) return;
  memo->Add("");
  memo->Add("Large difference between experimental and calculated VCD");
  memo->Add("Normalizing calculated VCD");
}

}  // namespace

// Searches band width and x scale on the IR pair, writes the best into the
// main window's edits and scores the VCD pair at that setting.
void TForm12::Button1Click() {
  Store& store = Form1->store;
  Memo1->Clear();
  const bool irPair = store.IRACTIVE[1] == "calc" && store.IRACTIVE[2] == "exp";
  const bool vcdPair = store.VCDACTIVE[1] == "calc" && store.VCDACTIVE[2] == "exp";
  if (!vcdPair) Memo1->Add("Skipping calculation of VCD similarity");
  const MeasuredPoints irPoints = measuredIr(store);
  const MeasuredPoints vcdPoints = measuredVcd(store);
  std::vector<std::pair<MeasuredPoints, const char*>> coverage{{irPoints, IR_COVERAGE}};
  if (vcdPair) coverage.push_back({vcdPoints, VCD_COVERAGE});
  const std::optional<SearchRanges> checked = checkInputs(coverage);
  if (!checked || !irPair) return;
  const SearchRanges& ranges = *checked;
  const int X1 = ranges.X1, X2 = ranges.X2;

  const std::optional<double> EXPIRMAX = ::EXPIRMAX(irPoints, X1, X2);
  if (!hasSignal(irPoints, X1, X2, EXPIRMAX)) {
    Memo1->Add(noSignalLine("IR"));
    return;
  }
  // Said only once there is a factor: a run without one says why instead.
  auto sayUnits = [&] {
    if (!(*EXPIRMAX < 10)) return;
    Memo1->Add("Only small absolute values found in experimental IR");
    Memo1->Add("Normalizing calculated IR");
  };

  Setting setting{};
  const bool search = ranges.positionTo - ranges.positionFrom > 0 || ranges.widthTo - ranges.widthFrom > 0;
  if (search) {
    const OverlapSearchResult result = searchIr(slot1Lines(store.IR), irPoints, ranges, *EXPIRMAX);
    if (result.outcome != SearchOutcome::Found) {
      Memo1->Add(noValueLine("IR", result.outcome));
      return;
    }
    sayUnits();
    const BestValue& cross = *result.smallestCrossSection;
    const BestValue& factor = *result.bestFactor;
    setting = settingOf(cross.position, cross.width);
    Memo1->Add("");
    Memo1->Add("Best Similarity factor (S = " + fixed4(factor.value) + ") was found for gamma = " +
               similarityNumber(factor.width) + " cm**-1 at a scaling factor of " + similarityNumber(factor.position));
    Memo1->Add("Smallest cross section was found for gamma = " + similarityNumber(cross.width) +
               " cm**-1 at a a scaling factor of " + similarityNumber(cross.position));
  } else {
    setting = settingOf(ranges.positionFrom, ranges.widthFrom);
  }

  CalculateIR(setting.gamma);
  const FinalOverlap finalIR = finalIr(CMPIR, irPoints, X1, X2, setting.xScale, *EXPIRMAX);
  if (finalIR.outcome == SearchOutcome::Found) {
    if (!search) sayUnits();
    writeBack(setting);
  }
  if (finalResultFollows(Memo1, "IR", finalIR.outcome)) {
    Memo1->Add("Similarity factor S (IR-spectrum) = " + fixed4(finalIR.factor));
    Memo1->Add("Scaling factor for calculated IR = " + fixed4(finalIR.displayedScale));
  }

  if (!vcdPair) return;
  if (finalIR.outcome != SearchOutcome::Found) {
    Memo1->Add("");
    Memo1->Add(scoresLeftOutLine("VCD", "IR"));
    Memo1->Add("");
    return;
  }
  const std::optional<double> EXPVCDMAX = ::EXPVCDMAX(vcdPoints, X1, X2);
  if (!hasSignal(vcdPoints, X1, X2, EXPVCDMAX)) {
    Memo1->Add("");
    Memo1->Add(noSignalLine("VCD"));
    return;
  }
  CalculateVCD(setting.gamma);
  const FinalSignSplit finalVCD = finalVcd(CMPVCD, vcdPoints, X1, X2, setting.xScale, *EXPVCDMAX);
  normalisationLines(Memo1, finalVCD);
  if (finalResultFollows(Memo1, "VCD", finalVCD.outcome)) {
    Memo1->Add("Similarity factor S (VCD-spectrum) = " + fixed4(finalVCD.S));
    Memo1->Add("Similarity factor S (enantiomeric VCD-spectrum) = " + fixed4(finalVCD.mirror));
    Memo1->Add("Delta value: " + fixed4(std::fabs(finalVCD.S - finalVCD.mirror)));
    Memo1->Add("Scaling factor (VCD-spectrum) = " + FloatToStrFixed(finalVCD.displayedScale, 12, 8));
  }
  Memo1->Add("");
}

// Fine-tunes band width and x scale on the VCD pair alone.
void TForm12::Button3Click() {
  Store& store = Form1->store;
  Memo1->Clear();
  Memo1->Add("***    Warning!  ***");
  Memo1->Add("This algorithm intends a finetuning of a preoptimized scaling factor only");
  const bool vcdPair = store.VCDACTIVE[1] == "calc" && store.VCDACTIVE[2] == "exp";
  if (!vcdPair) Memo1->Add("Skipping calculation of VCD similarity");
  const MeasuredPoints vcdPoints = measuredVcd(store);
  const std::optional<SearchRanges> checked = checkInputs({{vcdPoints, VCD_COVERAGE}});
  if (!checked || !vcdPair) return;
  const SearchRanges& ranges = *checked;
  const int X1 = ranges.X1, X2 = ranges.X2;
  const std::optional<double> EXPVCDMAX = ::EXPVCDMAX(vcdPoints, X1, X2);
  if (!hasSignal(vcdPoints, X1, X2, EXPVCDMAX)) {
    Memo1->Add(noSignalLine("VCD"));
    return;
  }

  const bool trackMirror = Form1->CheckBox9->Checked() && !Form1->CheckBox6->Checked();
  const FineTuningResult result = fineTuneVcd(slot1Lines(store.VCD), vcdPoints, ranges, *EXPVCDMAX, trackMirror);
  if (result.outcome != SearchOutcome::Found) {
    Memo1->Add(noValueLine("VCD", result.outcome));
    return;
  }
  const BestValue& delta = *result.bestDelta;
  const BestValue& factor = *result.bestFactor;
  const Setting setting = settingOf(delta.position, delta.width);
  Memo1->Add("Best Delta (ESI = " + fixed4(delta.value) + ") was found for gamma =" + similarityNumber(delta.width) +
             " cm**-1 at a scaling factor of " + similarityNumber(delta.position));
  Memo1->Add("Best Similarity factor (S = " + fixed4(factor.value) + ") was found for gamma =" +
             similarityNumber(factor.width) + " cm**-1 at a scaling factor of " + similarityNumber(factor.position));

  CalculateVCD(setting.gamma);
  const FinalSignSplit finalVCD = finalVcd(CMPVCD, vcdPoints, X1, X2, setting.xScale, *EXPVCDMAX);
  if (finalVCD.outcome == SearchOutcome::Found) writeBack(setting);
  normalisationLines(Memo1, finalVCD);
  if (!finalResultFollows(Memo1, "VCD", finalVCD.outcome)) return;
  Memo1->Add("Similarity factor  = " + fixed4(finalVCD.S));
  Memo1->Add("Similarity factor Enantiomer  = " + fixed4(finalVCD.mirror));
  Memo1->Add("Delta value: " + fixed4(std::fabs(finalVCD.S - finalVCD.mirror)));
  Memo1->Add("Scaling factor for calculated VCD spectrum: " + FloatToStrFixed(finalVCD.displayedScale, 12, 10));
}

// Hides the window; its texts and results stay.
void TForm12::Button2Click() { Close(); }
