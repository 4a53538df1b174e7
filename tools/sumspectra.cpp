#include "tools/sumspectra.h"

TForm4* Form4 = nullptr;

TForm4::TForm4() : Form("Form4", "sum spectra", {0, 0, 488, 428}) {
  GroupBox1 = addGroup("GroupBox1", "Method", {16, 12, 200, 76});
  RadioButton1 = addRadio("RadioButton1", "arithmetic", {12, 20, 170, 20}, GroupBox1);
  RadioButton2 = addRadio("RadioButton2", "Boltzmann", {12, 46, 170, 20}, GroupBox1, true);

  Label2 = addLabel("Label2", "T in K:", {232, 24, 60, 16});
  Edit2 = addEdit("Edit2", "298.0", {296, 20, 80, 24});
  Button1 = addButton("Button1", "Select Files", {232, 56, 110, 25});
  Label1 = addLabel("Label1", NoFilesSelectedText, {352, 60, 120, 16});

  GroupBox2 = addGroup("GroupBox2", "Spectra", {16, 96, 456, 52});
  RadioButton3 = addRadio("RadioButton3", "CD", {12, 22, 70, 20}, GroupBox2, true);
  RadioButton4 = addRadio("RadioButton4", "UV", {92, 22, 70, 20}, GroupBox2);
  RadioButton5 = addRadio("RadioButton5", "ORD", {172, 22, 70, 20}, GroupBox2);
  RadioButton6 = addRadio("RadioButton6", "VCD", {252, 22, 70, 20}, GroupBox2);
  RadioButton7 = addRadio("RadioButton7", "IR", {332, 22, 70, 20}, GroupBox2);

  Label3 = addLabel("Label3", "Heat Directory", {16, 160, 120, 16});
  Edit1 = addEdit("Edit1", "", {16, 180, 340, 24});
  Button4 = addButton("Button4", "Select Dir", {364, 179, 108, 25});

  Memo1 = addMemo("Memo1", {16, 216, 456, 160});

  Button2 = addButton("Button2", "Start", {16, 388, 100, 28});
  Button3 = addButton("Button3", "Close", {372, 388, 100, 28});

  OpenDialog1 = addOpenDialog("OpenDialog1");
  OpenDialog1->Filters = {{"all files", "*.*"},
                          {"CD Bil files", "*.cd.bil"},
                          {"UV Bil files", "*.uv.bil"},
                          {"VCD Bil files", "*.vc.bil"},
                          {"IR Bil files", "*.ir.bil"},
                          {"Bil-Files", "*.bil"}};
  OpenDialog1->MultiSelect = true;
  SelectDirectoryDialog1 = addSelectDirectoryDialog("SelectDirectoryDialog1");

  Button1->OnClick = [this] { Button1Click(); };
  Button4->OnClick = [this] { Button4Click(); };
  Button2->OnClick = [this] { Button2Click(); };
  Button3->OnClick = [this] { Button3Click(); };
}

// Will run the open dialog for the conformers' bil files and show their number.
void TForm4::Button1Click() {}

// Will propose the parent of the first file's folder and let the user choose
// the folder of the heat files.
void TForm4::Button4Click() {}

// Will sum the chosen files into slot 1 of the ticked kind, broaden and redraw.
void TForm4::Button2Click() {}

// Will close the window.
void TForm4::Button3Click() {}
