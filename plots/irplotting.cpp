#include "plots/irplotting.h"

#include "app/Main.h"

TForm15* Form15 = nullptr;

std::string IrRangeText(double maximum) {
  return YRangeText(maximum, /*fromZero=*/true, /*exponentForm=*/true);
}

TForm15::TForm15()
    : IrVcdGnuplotSettingsForm("Form15", "Settings for GnuPlot (IR)", "{/Symbol e} ") {
  declareOptionsAndOk(16);
  ShowLayoutValues(IrTextSettings, StoredEdits(), IrFlagSettings, StoredBoxes());
  OnCreate = [this] { FormCreate(); };
  Button1->OnClick = [this] { Button1Click(); };
}

std::array<CheckBox*, 2> TForm15::StoredBoxes() const { return {CheckBox6, CheckBox5}; }

void TForm15::FormCreate() {
  ReadSection(IrSettingsSection, IrTextSettings, StoredEdits(), IrFlagSettings, StoredBoxes());
}

void TForm15::Button1Click() { TakeCurveTitlesAndClose(&Store::IRTITLE, &TForm1::RedrawIRVCD); }
