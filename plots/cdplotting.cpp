#include "plots/cdplotting.h"

#include <algorithm>
#include <cmath>

#include "app/Main.h"
#include "platform/numbers.h"
#include "plots/uvplotting.h"
#include "settings/settings.h"

TForm10* Form10 = nullptr;

std::string CdRangeText(double maximum) {
  const double half = maximum + maximum / 10;
  return "[" + FloatToStrF(-half, 2) + ":" + FloatToStrF(half, 2) + "]";
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

void TakeCurveTitles(const std::array<Edit*, 5>& curveFields, SlotTexts& titles) {
  for (long slot = 1; slot <= 5; ++slot) {
    const std::string& title = curveFields[static_cast<size_t>(slot - 1)]->Text();
    if (!title.empty()) titles[slot] = title;
  }
}

TForm10::TForm10() : Form("Form10", "Settings for GnuPlot (CD)", {0, 0, 672, 424}) {
  Label1 = addLabel("Label1", "Font(EPS):", {16, 18, 80, 20});
  Edit1 = addEdit("Edit1", CdTextSettings[0].layout, {100, 16, 100, 24});
  Edit12 = addEdit("Edit12", CdTextSettings[1].layout, {208, 16, 44, 24});
  Edit13 = addEdit("Edit13", CdTextSettings[2].layout, {260, 16, 44, 24});
  Edit14 = addEdit("Edit14", CdTextSettings[3].layout, {312, 16, 44, 24});
  Label2 = addLabel("Label2", "Font (PNG):", {16, 50, 80, 20});
  Edit15 = addEdit("Edit15", CdTextSettings[4].layout, {100, 48, 100, 24});
  Edit16 = addEdit("Edit16", CdTextSettings[5].layout, {208, 48, 44, 24});
  Edit17 = addEdit("Edit17", CdTextSettings[6].layout, {260, 48, 44, 24});
  Edit18 = addEdit("Edit18", CdTextSettings[7].layout, {312, 48, 44, 24});

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
  Edit7 = addEdit("Edit7", "[-y1:y1]", {100, 248, 130, 24});
  Label9 = addLabel("Label9", "y2 range:", {240, 250, 70, 20});
  Edit8 = addEdit("Edit8", "[-y2:y2]", {312, 248, 108, 24});

  GroupBox1 = addGroup("GroupBox1", "Labels at the axes (GnuPlot notation)", {16, 288, 420, 120});
  Label10 = addLabel("Label10", "x axis:", {12, 26, 70, 20}, GroupBox1);
  Edit9 = addEdit("Edit9", WavelengthAxisLabel, {88, 24, 316, 24}, GroupBox1);
  Label11 = addLabel("Label11", "y1 axis:", {12, 56, 70, 20}, GroupBox1);
  Edit10 = addEdit("Edit10", "CD [mdeg]", {88, 54, 316, 24}, GroupBox1);
  Label12 = addLabel("Label12", "y2 axis:", {12, 86, 70, 20}, GroupBox1);
  Edit11 = addEdit("Edit11", "", {88, 84, 316, 24}, GroupBox1);

  CheckBox1 = addCheck("CheckBox1", "squared plot", {452, 16, 204, 20}, nullptr,
                       CdFlagSettings[0].layout);
  CheckBox2 = addCheck("CheckBox2", "use second y axis", {452, 40, 204, 20}, nullptr,
                       CdFlagSettings[1].layout);
  CheckBox3 = addCheck("CheckBox3", "user-defined yranges", {452, 64, 204, 20});
  CheckBox4 = addCheck("CheckBox4", "no band width and shift", {452, 88, 204, 20}, nullptr,
                       CdFlagSettings[2].layout);
  CheckBox5 = addCheck("CheckBox5", "legend inside the plot", {452, 112, 204, 20}, nullptr,
                       CdFlagSettings[3].layout);
  CheckBox6 = addCheck("CheckBox6", "tics inside", {452, 136, 204, 20}, nullptr,
                       CdFlagSettings[4].layout);
  CheckBox7 = addCheck("CheckBox7", "zeroline dotted", {452, 160, 204, 20}, nullptr,
                       CdFlagSettings[5].layout);
  CheckBox8 = addCheck("CheckBox8", "transparent png", {452, 184, 204, 20}, nullptr,
                       CdFlagSettings[6].layout);
  Button1 = addButton("Button1", "OK", {556, 380, 100, 28});

  OnCreate = [this] { FormCreate(); };
  for (Edit* edit : StoredEdits()) edit->OnChange = [this] { Edit1Change(); };
  CheckBox2->OnChange = [this] { CheckBox2Change(); };
  Button1->OnClick = [this] { Button1Click(); };
}

std::array<Edit*, 8> TForm10::StoredEdits() const {
  return {Edit1, Edit12, Edit13, Edit14, Edit15, Edit16, Edit17, Edit18};
}

std::array<CheckBox*, 7> TForm10::StoredBoxes() const {
  return {CheckBox1, CheckBox2, CheckBox4, CheckBox5, CheckBox6, CheckBox7, CheckBox8};
}

void TForm10::FormCreate() {
  // The UV window does not exist yet, so the fonts read here are not mirrored
  // into it; it reads its own section right after.
  ReadSection(CdSettingsSection, CdTextSettings, StoredEdits(), CdFlagSettings, StoredBoxes());
}

void TForm10::Button1Click() {
  if (Form1 != nullptr) {
    TakeCurveTitles({Edit2, Edit3, Edit4, Edit5, Edit6}, Form1->store.CDTITLE);
    Form1->RedrawUVCD();
  }
  Close();
}

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

void TForm10::SecondAxisRangesFromMaxima() {
  if (Form1 == nullptr || !CheckBox2->Checked() || CheckBox3->Checked()) return;
  const Store& store = Form1->store;
  Edit7->SetText(CdRangeText(LargestMaximum(store.CDMAX, store.CDACTIVE, {"exp"})));
  Edit8->SetText(CdRangeText(LargestMaximum(store.CDMAX, store.CDACTIVE, {"calc"})));
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
