#include "plots/gnuplot_settings_form.h"

#include <algorithm>

#include "app/Main.h"
#include "platform/numbers.h"
#include "plots/plot_script.h"

std::string YRangeText(double maximum, bool fromZero, bool exponentForm) {
  const double half = maximum + maximum / 10;
  const auto number = [&](double value) {
    return exponentForm ? FloatToStrE(value, 2) : RangeBoundText(value, half, 2);
  };
  std::string text(1, '[');
  text.append(fromZero ? std::string("0") : number(-half)).append(1, ':').append(number(half)).append(1, ']');
  return text;
}

double LargestMaximum(const SlotReals& maxima, const SlotTexts& slotStates,
                      std::initializer_list<std::string_view> states) {
  double largest = 0;
  for (long slot = 1; slot <= 5; ++slot) {
    const bool wanted = std::find(states.begin(), states.end(), slotStates[slot]) != states.end();
    if (wanted && maxima[slot] > largest) largest = maxima[slot];
  }
  return largest;
}

void TakeCurveTitles(const std::array<Edit*, 5>& curveFields, SlotTexts& titles) {
  for (long slot = 1; slot <= 5; ++slot) {
    const std::string& title = curveFields[static_cast<size_t>(slot - 1)]->Text();
    if (!title.empty()) titles[slot] = title;
  }
}

void ShowLayoutValues(std::span<const TextSetting> texts, std::span<Edit* const> edits,
                      std::span<const FlagSetting> flags, std::span<CheckBox* const> boxes) {
  for (size_t i = 0; i < texts.size(); ++i) edits[i]->SetText(texts[i].layout);
  for (size_t i = 0; i < flags.size(); ++i) boxes[i]->SetChecked(flags[i].layout);
}

// ---- All four windows -------------------------------------------------------

GnuplotSettingsForm::GnuplotSettingsForm(const char* name, const char* caption, int height)
    : Form(name, caption, {0, 0, 672, height}) {}

void GnuplotSettingsForm::declareCurveFields(int top) {
  Label3 = addLabel("Label3", "Curve 1:", {16, top, 80, 20});
  Edit2 = addEdit("Edit2", "", {100, top - 2, 320, 24});
  Label4 = addLabel("Label4", "Curve 2:", {16, top + 30, 80, 20});
  Edit3 = addEdit("Edit3", "", {100, top + 28, 320, 24});
  Label5 = addLabel("Label5", "Curve 3:", {16, top + 60, 80, 20});
  Edit4 = addEdit("Edit4", "", {100, top + 58, 320, 24});
  Label6 = addLabel("Label6", "Curve 4:", {16, top + 90, 80, 20});
  Edit5 = addEdit("Edit5", "", {100, top + 88, 320, 24});
  Label7 = addLabel("Label7", "Curve 5:", {16, top + 120, 80, 20});
  Edit6 = addEdit("Edit6", "", {100, top + 118, 320, 24});
}

void GnuplotSettingsForm::declareY1Range(int top, int width, const char* range) {
  Label8 = addLabel("Label8", "y1 range:", {16, top, 80, 20});
  Edit7 = addEdit("Edit7", range, {100, top - 2, width, 24});
}

void GnuplotSettingsForm::declareAxisLabels(int top, int height, const char* xAxisLabel,
                                            const char* y1AxisLabel) {
  GroupBox1 =
      addGroup("GroupBox1", "Labels at the axes (GnuPlot notation)", {16, top, 420, height});
  Label10 = addLabel("Label10", "x axis:", {12, 26, 70, 20}, GroupBox1);
  Edit9 = addEdit("Edit9", xAxisLabel, {88, 24, 316, 24}, GroupBox1);
  Label11 = addLabel("Label11", "y1 axis:", {12, 56, 70, 20}, GroupBox1);
  Edit10 = addEdit("Edit10", y1AxisLabel, {88, 54, 316, 24}, GroupBox1);
}

void GnuplotSettingsForm::declareOkButton(int top) {
  Button1 = addButton("Button1", "OK", {556, top, 100, 28});
}

void GnuplotSettingsForm::TakeCurveTitlesAndClose(SlotTexts Store::*titles,
                                                  void (TForm1::*repaint)()) {
  if (Form1 != nullptr) {
    TakeCurveTitles({Edit2, Edit3, Edit4, Edit5, Edit6}, Form1->store.*titles);
    (Form1->*repaint)();
  }
  Close();
}

// ---- The CD and UV windows --------------------------------------------------

UvEcdGnuplotSettingsForm::UvEcdGnuplotSettingsForm(const Layout& layout)
    : GnuplotSettingsForm(layout.name, layout.caption, 424),
      maxima_(layout.maxima),
      states_(layout.states),
      rangeText_(layout.rangeText) {
  Label1 = addLabel("Label1", "Font(EPS):", {16, 18, 80, 20});
  Edit1 = addEdit("Edit1", "", {100, 16, 100, 24});
  Edit12 = addEdit("Edit12", "", {208, 16, 44, 24});
  Edit13 = addEdit("Edit13", "", {260, 16, 44, 24});
  Edit14 = addEdit("Edit14", "", {312, 16, 44, 24});
  Label2 = addLabel("Label2", "Font (PNG):", {16, 50, 80, 20});
  Edit15 = addEdit("Edit15", "", {100, 48, 100, 24});
  Edit16 = addEdit("Edit16", "", {208, 48, 44, 24});
  Edit17 = addEdit("Edit17", "", {260, 48, 44, 24});
  Edit18 = addEdit("Edit18", "", {312, 48, 44, 24});

  declareCurveFields(90);

  declareY1Range(250, 130, layout.y1Range);
  Label9 = addLabel("Label9", "y2 range:", {240, 250, 70, 20});
  Edit8 = addEdit("Edit8", layout.y2Range, {312, 248, 108, 24});

  declareAxisLabels(288, 120, WavelengthAxisLabel, layout.y1AxisLabel);
  Label12 = addLabel("Label12", "y2 axis:", {12, 86, 70, 20}, GroupBox1);
  Edit11 = addEdit("Edit11", layout.y2AxisLabel, {88, 84, 316, 24}, GroupBox1);

  CheckBox1 = addCheck("CheckBox1", "squared plot", {452, 16, 204, 20});
  CheckBox2 = addCheck("CheckBox2", "use second y axis", {452, 40, 204, 20});
  CheckBox3 = addCheck("CheckBox3", "user-defined yranges", {452, 64, 204, 20});
  CheckBox4 = addCheck("CheckBox4", "no band width and shift", {452, 88, 204, 20});
  CheckBox5 = addCheck("CheckBox5", "legend inside the plot", {452, 112, 204, 20});
  CheckBox6 = addCheck("CheckBox6", "tics inside", {452, 136, 204, 20});
  CheckBox7 = addCheck("CheckBox7", layout.checkBox7Caption, {452, 160, 204, 20});
  CheckBox8 = addCheck("CheckBox8", "transparent png", {452, 184, 204, 20});
  declareOkButton(380);
}

std::array<Edit*, 8> UvEcdGnuplotSettingsForm::StoredEdits() const {
  return {Edit1, Edit12, Edit13, Edit14, Edit15, Edit16, Edit17, Edit18};
}

void UvEcdGnuplotSettingsForm::SecondAxisRangesFromMaxima() {
  if (Form1 == nullptr || !CheckBox2->Checked() || CheckBox3->Checked()) return;
  const Store& store = Form1->store;
  Edit7->SetText(rangeText_(LargestMaximum(store.*maxima_, store.*states_, {"exp"})));
  Edit8->SetText(rangeText_(LargestMaximum(store.*maxima_, store.*states_, {"calc"})));
}

// ---- The VCD and IR windows -------------------------------------------------

IrVcdGnuplotSettingsForm::IrVcdGnuplotSettingsForm(const char* name, const char* caption,
                                                   const char* y1AxisLabel)
    : GnuplotSettingsForm(name, caption, 394) {
  Label1 = addLabel("Label1", "Font(EPS):", {16, 18, 80, 20});
  Edit1 = addEdit("Edit1", "", {100, 16, 100, 24});
  Edit12 = addEdit("Edit12", "", {208, 16, 44, 24});
  Edit14 = addEdit("Edit14", "", {260, 16, 44, 24});

  declareCurveFields(60);
  declareY1Range(220, 200, SymmetricY1Range);
  declareAxisLabels(258, 90, WavenumberAxisLabel, y1AxisLabel);
}

void IrVcdGnuplotSettingsForm::declareOptionsAndOk(int top) {
  CheckBox6 = addCheck("CheckBox6", "tics inside", {452, top, 204, 20});
  CheckBox5 = addCheck("CheckBox5", "format y 'x10^x'", {452, top + 24, 204, 20});
  CheckBox1 = addCheck("CheckBox1", "overlay plot", {452, top + 48, 204, 20});
  CheckBox4 = addCheck("CheckBox4", "no gamma and scaling", {452, top + 72, 204, 20});
  CheckBox3 = addCheck("CheckBox3", "user-defined yranges", {452, top + 96, 204, 20});
  // The VCD and IR openers always write the y1 range.
  CheckBox3->SetEnabled(false);
  declareOkButton(350);
}

std::array<Edit*, 3> IrVcdGnuplotSettingsForm::StoredEdits() const {
  return {Edit1, Edit12, Edit14};
}
