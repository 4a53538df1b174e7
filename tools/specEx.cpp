#include "tools/specEx.h"

#include "platform/ini.h"
#include "settings/settings.h"

TForm6* Form6 = nullptr;

TForm6::TForm6() : Form("Form6", "Extract Spectra", {0, 0, 520, 372}) {
  Edit1 = addEdit("Edit1", "", {16, 16, 360, 24});
  Button1 = addButton("Button1", "Select Dir", {384, 15, 120, 25});
  CheckBox1 = addCheck("CheckBox1", "search in subfolder(s) only", {16, 52, 488, 20}, nullptr, true);
  Memo1 = addMemo("Memo1", {16, 84, 488, 230});
  Memo1->SetLines({"Memo1"});
  Button2 = addButton("Button2", "Start", {16, 328, 100, 28});
  Button3 = addButton("Button3", "Close", {404, 328, 100, 28});
  Memo2 = addMemo("Memo2", {132, 328, 120, 28});
  Memo2->SetLines({"Memo2"});
  Memo2->SetVisible(false);
  SelectDirectoryDialog1 = addSelectDirectoryDialog("SelectDirectoryDialog1");

  OnCreate = [this] { FormCreate(); };
  Button1->OnClick = [this] { Button1Click(); };
  Button2->OnClick = [this] { Button2Click(); };
  Button3->OnClick = [this] { Button3Click(); };
}

void TForm6::FormCreate() {
  // The box has no handler, so taking the stored state fires nothing.
  IniFile settings(SettingsFilePath());
  CheckBox1->SetChecked(settings.ReadBool("ExtractSpectra", "subfolders", CheckBox1->Checked()));
}

// Will fill an empty folder field with the current folder, then let the user
// choose (and create) the folder to walk.
void TForm6::Button1Click() {}

// Will walk the folder (or its subfolders) and write the bil files of every
// output file it recognises.
void TForm6::Button2Click() {}

// Will close the window.
void TForm6::Button3Click() {}
