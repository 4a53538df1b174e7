#include "plots/irplotting.h"

#include "app/Main.h"
#include "platform/numbers.h"
#include "plots/cdplotting.h"

TForm15* Form15 = nullptr;

std::string IrRangeText(double maximum) {
  const double half = maximum + maximum / 10;
  return "[0:" + FloatToStrE(half, 2) + "]";
}

TForm15::TForm15() : Form("Form15", "Settings for GnuPlot (IR)", {0, 0, 672, 394}) {
  Label1 = addLabel("Label1", "Font(EPS):", {16, 18, 80, 20});
  Edit1 = addEdit("Edit1", IrTextSettings[0].layout, {100, 16, 100, 24});
  Edit12 = addEdit("Edit12", IrTextSettings[1].layout, {208, 16, 44, 24});
  Edit14 = addEdit("Edit14", IrTextSettings[2].layout, {260, 16, 44, 24});

  Label3 = addLabel("Label3", "Curve 1:", {16, 60, 80, 20});
  Edit2 = addEdit("Edit2", "", {100, 58, 320, 24});
  Label4 = addLabel("Label4", "Curve 2:", {16, 90, 80, 20});
  Edit3 = addEdit("Edit3", "", {100, 88, 320, 24});
  Label5 = addLabel("Label5", "Curve 3:", {16, 120, 80, 20});
  Edit4 = addEdit("Edit4", "", {100, 118, 320, 24});
  Label6 = addLabel("Label6", "Curve 4:", {16, 150, 80, 20});
  Edit5 = addEdit("Edit5", "", {100, 148, 320, 24});
  Label7 = addLabel("Label7", "Curve 5:", {16, 180, 80, 20});
  Edit6 = addEdit("Edit6", "", {100, 178, 320, 24});

  Label8 = addLabel("Label8", "y1 range:", {16, 220, 80, 20});
  Edit7 = addEdit("Edit7", "[-y1:y1]", {100, 218, 200, 24});

  GroupBox1 = addGroup("GroupBox1", "Labels at the axes (GnuPlot notation)", {16, 258, 420, 90});
  Label10 = addLabel("Label10", "x axis:", {12, 26, 70, 20}, GroupBox1);
  Edit9 = addEdit("Edit9", WavenumberAxisLabel, {88, 24, 316, 24}, GroupBox1);
  Label11 = addLabel("Label11", "y1 axis:", {12, 56, 70, 20}, GroupBox1);
  Edit10 = addEdit("Edit10", "{/Symbol e} ", {88, 54, 316, 24}, GroupBox1);

  CheckBox6 = addCheck("CheckBox6", "tics inside", {452, 16, 204, 20}, nullptr,
                       IrFlagSettings[0].layout);
  CheckBox5 = addCheck("CheckBox5", "format y 'x10^x'", {452, 40, 204, 20}, nullptr,
                       IrFlagSettings[1].layout);
  CheckBox1 = addCheck("CheckBox1", "overlay plot", {452, 64, 204, 20});
  CheckBox4 = addCheck("CheckBox4", "no gamma and scaling", {452, 88, 204, 20});
  CheckBox3 = addCheck("CheckBox3", "user-defined yranges", {452, 112, 204, 20});
  // The IR opener always writes the y1 range.
  CheckBox3->SetEnabled(false);
  Button1 = addButton("Button1", "OK", {556, 350, 100, 28});

  OnCreate = [this] { FormCreate(); };
  Button1->OnClick = [this] { Button1Click(); };
}

std::array<Edit*, 3> TForm15::StoredEdits() const { return {Edit1, Edit12, Edit14}; }

std::array<CheckBox*, 2> TForm15::StoredBoxes() const { return {CheckBox6, CheckBox5}; }

void TForm15::FormCreate() {
  ReadSection(IrSettingsSection, IrTextSettings, StoredEdits(), IrFlagSettings, StoredBoxes());
}

void TForm15::Button1Click() {
  if (Form1 != nullptr) {
    TakeCurveTitles({Edit2, Edit3, Edit4, Edit5, Edit6}, Form1->store.IRTITLE);
    Form1->RedrawIRVCD();
  }
  Close();
}
