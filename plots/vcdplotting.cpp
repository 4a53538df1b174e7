#include "plots/vcdplotting.h"

#include "app/Main.h"

TForm13* Form13 = nullptr;

std::string VcdRangeText(double maximum) {
  return YRangeText(maximum, /*fromZero=*/false, /*exponentForm=*/true);
}

TForm13::TForm13()
    : IrVcdGnuplotSettingsForm("Form13", "Settings for GnuPlot (VCD)",
                               R"({/Symbol De} [M^{-1}{/Symbol \327}cm^{-1}])") {
  CheckBox7 = addCheck("CheckBox7", "add zeroline", {452, 16, 204, 20});
  declareOptionsAndOk(40);
  ShowLayoutValues(VcdTextSettings, StoredEdits(), VcdFlagSettings, StoredBoxes());
  OnCreate = [this] { FormCreate(); };
  Button1->OnClick = [this] { Button1Click(); };
}

std::array<CheckBox*, 3> TForm13::StoredBoxes() const { return {CheckBox7, CheckBox6, CheckBox5}; }

void TForm13::FormCreate() {
  // "zeroline" comes first in the file but is taken last.
  const std::array<FlagSetting, 3> readingOrder{VcdFlagSettings[1], VcdFlagSettings[2],
                                                VcdFlagSettings[0]};
  const std::array<CheckBox*, 3> boxes{CheckBox6, CheckBox5, CheckBox7};
  ReadSection(VcdSettingsSection, VcdTextSettings, StoredEdits(), readingOrder, boxes);
}

void TForm13::Button1Click() { TakeCurveTitlesAndClose(&Store::VCDTITLE, &TForm1::RedrawIRVCD); }
