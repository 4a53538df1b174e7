#include "plots/uvplotting.h"

#include "app/Main.h"
#include "platform/numbers.h"

TForm11* Form11 = nullptr;

namespace {
// The layout label of both y axes.
constexpr char AbsorptionAxisLabel[] = "absorption [a.u.]";
}  // namespace

std::string UvRangeText(double maximum) {
  const double half = maximum + maximum / 10;
  return "[0:" + FloatToStrF(half, 2) + "]";
}

TForm11::TForm11() : Form("Form11", "Settings for GnuPlot (UV)", {0, 0, 672, 424}) {
  Label1 = addLabel("Label1", "Font(EPS):", {16, 18, 80, 20});
  Edit1 = addEdit("Edit1", UvTextSettings[0].layout, {100, 16, 100, 24});
  Edit12 = addEdit("Edit12", UvTextSettings[1].layout, {208, 16, 44, 24});
  Edit13 = addEdit("Edit13", UvTextSettings[2].layout, {260, 16, 44, 24});
  Edit14 = addEdit("Edit14", UvTextSettings[3].layout, {312, 16, 44, 24});
  Label2 = addLabel("Label2", "Font (PNG):", {16, 50, 80, 20});
  Edit15 = addEdit("Edit15", UvTextSettings[4].layout, {100, 48, 100, 24});
  Edit16 = addEdit("Edit16", UvTextSettings[5].layout, {208, 48, 44, 24});
  Edit17 = addEdit("Edit17", UvTextSettings[6].layout, {260, 48, 44, 24});
  Edit18 = addEdit("Edit18", UvTextSettings[7].layout, {312, 48, 44, 24});

  Label3 = addLabel("Label3", "Curve 1:", {16, 90, 80, 20});
  Edit2 = addEdit("Edit2", "", {100, 88, 320, 24});
  Label4 = addLabel("Label4", "Curve 2:", {16, 120, 80, 20});
  Edit3 = addEdit("Edit3", "", {100, 118, 320, 24});
  Label5 = addLabel("Label5", "Curve 3:", {16, 150, 80, 20});
  Edit4 = addEdit("Edit4", "", {100, 148, 320, 24});
  Label6 = addLabel("Label6", "Curve 4:", {16, 180, 80, 20});
  Edit5 = addEdit("Edit5", "", {100, 178, 320, 24});
  Label7 = addLabel("Label7", "Curve 5:", {16, 210, 80, 20});
  Edit6 = addEdit("Edit6", "", {100, 208, 320, 24});

  Label8 = addLabel("Label8", "y1 range:", {16, 250, 80, 20});
  Edit7 = addEdit("Edit7", "[-1:y1]", {100, 248, 130, 24});
  Label9 = addLabel("Label9", "y2 range:", {240, 250, 70, 20});
  Edit8 = addEdit("Edit8", "[-1:y2]", {312, 248, 108, 24});

  GroupBox1 = addGroup("GroupBox1", "Labels at the axes (GnuPlot notation)", {16, 288, 420, 120});
  Label10 = addLabel("Label10", "x axis:", {12, 26, 70, 20}, GroupBox1);
  Edit9 = addEdit("Edit9", WavelengthAxisLabel, {88, 24, 316, 24}, GroupBox1);
  Label11 = addLabel("Label11", "y1 axis:", {12, 56, 70, 20}, GroupBox1);
  Edit10 = addEdit("Edit10", AbsorptionAxisLabel, {88, 54, 316, 24}, GroupBox1);
  Label12 = addLabel("Label12", "y2 axis:", {12, 86, 70, 20}, GroupBox1);
  Edit11 = addEdit("Edit11", AbsorptionAxisLabel, {88, 84, 316, 24}, GroupBox1);

  CheckBox1 = addCheck("CheckBox1", "squared plot", {452, 16, 204, 20}, nullptr,
                       UvFlagSettings[0].layout);
  CheckBox2 = addCheck("CheckBox2", "use second y axis", {452, 40, 204, 20}, nullptr,
                       UvFlagSettings[1].layout);
  CheckBox3 = addCheck("CheckBox3", "user-defined yranges", {452, 64, 204, 20});
  CheckBox4 = addCheck("CheckBox4", "no band width and shift", {452, 88, 204, 20}, nullptr,
                       UvFlagSettings[2].layout);
  CheckBox5 = addCheck("CheckBox5", "legend inside the plot", {452, 112, 204, 20}, nullptr,
                       UvFlagSettings[3].layout);
  CheckBox6 = addCheck("CheckBox6", "tics inside", {452, 136, 204, 20}, nullptr,
                       UvFlagSettings[4].layout);
  CheckBox7 = addCheck("CheckBox7", "convert to eV", {452, 160, 204, 20});
  CheckBox8 = addCheck("CheckBox8", "transparent png", {452, 184, 204, 20}, nullptr,
                       UvFlagSettings[5].layout);
  Button1 = addButton("Button1", "OK", {556, 380, 100, 28});

  OnCreate = [this] { FormCreate(); };
  CheckBox2->OnChange = [this] { CheckBox2Change(); };
  CheckBox7->OnChange = [this] { CheckBox7Change(); };
  Button1->OnClick = [this] { Button1Click(); };
}

std::array<Edit*, 8> TForm11::StoredEdits() const {
  return {Edit1, Edit12, Edit13, Edit14, Edit15, Edit16, Edit17, Edit18};
}

std::array<CheckBox*, 6> TForm11::StoredBoxes() const {
  return {CheckBox1, CheckBox2, CheckBox4, CheckBox5, CheckBox6, CheckBox8};
}

void TForm11::FormCreate() {
  ReadSection(UvSettingsSection, UvTextSettings, StoredEdits(), UvFlagSettings, StoredBoxes());
}

void TForm11::Button1Click() {
  if (Form1 != nullptr) {
    TakeCurveTitles({Edit2, Edit3, Edit4, Edit5, Edit6}, Form1->store.UVTITLE);
    Form1->RedrawUVCD();
  }
  Close();
}

void TForm11::CheckBox2Change() {
  if (!CheckBox2->Checked() || Form1 == nullptr) return;
  SecondAxisRangesFromMaxima();
  // Two y axes leave no room for bars, and each axis keeps its own scale.
  Form1->CheckBox1->SetChecked(false);
  Form1->CheckBox8->SetChecked(false);
}

void TForm11::CheckBox7Change() {
  Edit9->SetText(CheckBox7->Checked() ? "energy [eV]" : WavelengthAxisLabel);
}

void TForm11::SecondAxisRangesFromMaxima() {
  if (Form1 == nullptr || !CheckBox2->Checked() || CheckBox3->Checked()) return;
  const Store& store = Form1->store;
  Edit7->SetText(UvRangeText(LargestMaximum(store.UVMAX, store.UVACTIVE, {"exp"})));
  Edit8->SetText(UvRangeText(LargestMaximum(store.UVMAX, store.UVACTIVE, {"calc"})));
}
