#include "plots/uvplotting.h"

#include "app/Main.h"

TForm11* Form11 = nullptr;

namespace {
// The layout label of both y axes.
constexpr char AbsorptionAxisLabel[] = "absorption [a.u.]";
}  // namespace

std::string UvRangeText(double maximum) {
  return YRangeText(maximum, /*fromZero=*/true, /*exponentForm=*/false);
}

TForm11::TForm11()
    : UvEcdGnuplotSettingsForm({.name = "Form11",
                                .caption = "Settings for GnuPlot (UV)",
                                .y1Range = "[-1:y1]",
                                .y2Range = "[-1:y2]",
                                .y1AxisLabel = AbsorptionAxisLabel,
                                .y2AxisLabel = AbsorptionAxisLabel,
                                .checkBox7Caption = "convert to eV",
                                .maxima = &Store::UVMAX,
                                .states = &Store::UVACTIVE,
                                .rangeText = UvRangeText}) {
  ShowLayoutValues(UvTextSettings, StoredEdits(), UvFlagSettings, StoredBoxes());
  OnCreate = [this] { FormCreate(); };
  CheckBox2->OnChange = [this] { CheckBox2Change(); };
  CheckBox7->OnChange = [this] { CheckBox7Change(); };
  Button1->OnClick = [this] { Button1Click(); };
}

std::array<CheckBox*, 6> TForm11::StoredBoxes() const {
  return {CheckBox1, CheckBox2, CheckBox4, CheckBox5, CheckBox6, CheckBox8};
}

void TForm11::FormCreate() {
  ReadSection(UvSettingsSection, UvTextSettings, StoredEdits(), UvFlagSettings, StoredBoxes());
}

void TForm11::Button1Click() { TakeCurveTitlesAndClose(&Store::UVTITLE, &TForm1::RedrawUVCD); }

void TForm11::CheckBox2Change() {
  if (!CheckBox2->Checked() || Form1 == nullptr) return;
  SecondAxisRangesFromMaxima();
  // Two y axes leave no room for bars, and each axis keeps its own scale.
  Form1->CheckBox1->SetChecked(false);
  Form1->CheckBox8->SetChecked(false);
}

void TForm11::CheckBox7Change() {
  const bool wavenumberUnit = Form2 != nullptr && Form2->RadioButton6->Checked();
  Edit9->SetText(CheckBox7->Checked() ? "energy [eV]" : UnitAxisLabel(wavenumberUnit));
}
