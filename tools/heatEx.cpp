#include "tools/heatEx.h"

#include "platform/ini.h"
#include "settings/settings.h"

TForm5* Form5 = nullptr;

TForm5::TForm5() : Form("Form5", "Heat Extraction", {0, 0, 520, 396}) {
  Edit1 = addEdit("Edit1", "", {16, 16, 360, 24});
  Button1 = addButton("Button1", "Select Dir", {384, 15, 120, 25});
  CheckBox1 = addCheck("CheckBox1", "search in subfolder(s) only", {16, 52, 488, 20}, nullptr, true);
  CheckBox2 = addCheck("CheckBox2", "extract Gibbs free energy (Gaussian09/16 and ORCA 4.x only)",
                       {16, 76, 488, 20});
  Memo1 = addMemo("Memo1", {16, 108, 488, 230});
  Button2 = addButton("Button2", "Start", {16, 352, 100, 28});
  Button3 = addButton("Button3", "Close", {404, 352, 100, 28});
  Memo2 = addMemo("Memo2", {132, 352, 120, 28});
  Memo2->SetVisible(false);
  Memo3 = addMemo("Memo3", {268, 352, 120, 28});
  Memo3->SetVisible(false);
  SelectDirectoryDialog1 = addSelectDirectoryDialog("SelectDirectoryDialog1");

  OnCreate = [this] { FormCreate(); };
  Button1->OnClick = [this] { Button1Click(); };
  Button2->OnClick = [this] { Button2Click(); };
  Button3->OnClick = [this] { Button3Click(); };
}

void TForm5::FormCreate() {
  // The box has no handler, so taking the stored state fires nothing.
  IniFile settings(SettingsFilePath());
  CheckBox1->SetChecked(settings.ReadBool("ExtractHeat", "subfolders", CheckBox1->Checked()));
}

// Will fill an empty folder field with the current folder, then let the user
// choose (and create) the folder to walk.
void TForm5::Button1Click() {}

// Will walk the folder (or its subfolders) and write a heat file for every
// output file that holds an energy.
void TForm5::Button2Click() {}

// Will close the window.
void TForm5::Button3Click() {}
