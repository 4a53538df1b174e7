#include "plots/cdplotting.h"

#include <algorithm>
#include <cmath>

#include "app/Main.h"
#include "platform/numbers.h"
#include "plots/uvplotting.h"
#include "settings/settings.h"

TForm10* Form10 = nullptr;

std::string CdRangeText(double maximum) {
  return YRangeText(maximum, /*fromZero=*/false, /*exponentForm=*/false);
}

BarWindow barWindow(int shownStart, int shownEnd, int shift) {
  constexpr int firstWavelength = MINLAMBDA / 10;
  constexpr int lastWavelength = MAXLAMBDA / 10;
  BarWindow window{shownStart - shift, shownEnd - shift};
  if (window.start < firstWavelength) window.start = firstWavelength;
  if (window.end > lastWavelength) window.end = shownEnd;
  window.start = std::min(window.start, lastWavelength);
  window.end = std::min(window.end, lastWavelength);
  return window;
}

double largestBarStrength(std::span<const double> rotatoryStrengths, BarWindow window) {
  const auto at = [&](long bin) { return rotatoryStrengths[static_cast<size_t>(bin - MINLAMBDA)]; };
  double largest = at(10L * window.start);
  for (long bin = 10L * window.start; bin <= 10L * window.end; ++bin)
    largest = std::max(largest, std::abs(at(bin)));
  return largest;
}

TForm10::TForm10()
    : UvEcdGnuplotSettingsForm({.name = "Form10",
                                .caption = "Settings for GnuPlot (CD)",
                                .y1Range = SymmetricY1Range,
                                .y2Range = "[-y2:y2]",
                                .y1AxisLabel = "CD [mdeg]",
                                .y2AxisLabel = "",
                                .checkBox7Caption = "zeroline dotted",
                                .maxima = &Store::CDMAX,
                                .states = &Store::CDACTIVE,
                                .rangeText = CdRangeText}) {
  ShowLayoutValues(CdTextSettings, StoredEdits(), CdFlagSettings, StoredBoxes());
  OnCreate = [this] { FormCreate(); };
  for (Edit* edit : StoredEdits()) edit->OnChange = [this] { Edit1Change(); };
  CheckBox2->OnChange = [this] { CheckBox2Change(); };
  Button1->OnClick = [this] { Button1Click(); };
}

std::array<CheckBox*, 7> TForm10::StoredBoxes() const {
  return {CheckBox1, CheckBox2, CheckBox4, CheckBox5, CheckBox6, CheckBox7, CheckBox8};
}

void TForm10::FormCreate() {
  // The UV window does not exist yet, so the fonts read here are not mirrored
  // into it; it reads its own section right after.
  ReadSection(CdSettingsSection, CdTextSettings, StoredEdits(), CdFlagSettings, StoredBoxes());
}

void TForm10::Button1Click() { TakeCurveTitlesAndClose(&Store::CDTITLE, &TForm1::RedrawUVCD); }

void TForm10::Edit1Change() {
  if (Form11 == nullptr) return;
  const std::array<Edit*, 8> from = StoredEdits();
  const std::array<Edit*, 8> to = Form11->StoredEdits();
  for (size_t i = 0; i < from.size(); ++i) to[i]->SetText(from[i]->Text());
}

void TForm10::CheckBox2Change() {
  if (!CheckBox2->Checked() || Form1 == nullptr) return;
  SecondAxisRangesFromMaxima();
  // With bars drawn the automatic scaling may stay: the bars get their own axis.
  if (!Form1->CheckBox1->Checked()) Form1->CheckBox8->SetChecked(false);
  SecondAxisRangesFromBars();
}

void TForm10::SecondAxisRangesFromBars() {
  if (Form1 == nullptr || !CheckBox2->Checked() || !Form1->CheckBox1->Checked() ||
      CheckBox3->Checked())
    return;
  const Store& store = Form1->store;
  if (store.CDACTIVE[1] != "calc") return;
  // In the wavenumber unit the correction of curve 1 is an x scale factor, not
  // a shift in nm: the bars then keep the shown window.
  const bool wavenumberUnit = Form2 != nullptr && Form2->RadioButton6->Checked();
  const int shift = wavenumberUnit ? 0 : StrToInt(Form1->Edit2->Text());
  const BarWindow window =
      barWindow(StrToInt(Form1->Edit4->Text()), StrToInt(Form1->Edit5->Text()), shift);
  const std::span<const double> strengths(store.ROTS.slotData(1),
                                          static_cast<size_t>(MAXLAMBDA - MINLAMBDA + 1));
  Edit8->SetText(CdRangeText(largestBarStrength(strengths, window)));
  Edit7->SetText(CdRangeText(LargestMaximum(store.CDMAX, store.CDACTIVE, {"exp", "calc"})));
}
