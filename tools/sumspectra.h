// The sum-spectra window: the conformer spectra of one molecule summed into
// slot 1 of one spectrum kind, as an arithmetic mean or Boltzmann-weighted.
#pragma once

#include "platform/form.h"
#include "tools/conformer_sum.h"

// The file-count label while no file is chosen.
inline constexpr const char* NoFilesSelectedText = "No Files selected!";

class TForm4 : public Form {
 public:
  TForm4();

  GroupBox* GroupBox1;  // "Method"
  RadioButton* RadioButton1;
  RadioButton* RadioButton2;
  Label* Label2;  // "T in K:"
  Edit* Edit2;    // temperature in kelvin
  Button* Button1;
  Label* Label1;        // number of files chosen
  GroupBox* GroupBox2;  // "Spectra"
  RadioButton* RadioButton3;
  RadioButton* RadioButton4;
  RadioButton* RadioButton5;
  RadioButton* RadioButton6;
  RadioButton* RadioButton7;
  Label* Label3;  // "Heat Directory"
  Edit* Edit1;    // folder of the heat files
  Button* Button4;
  Memo* Memo1;  // log of the Boltzmann sum
  Button* Button2;
  Button* Button3;
  OpenDialog* OpenDialog1;
  SelectDirectoryDialog* SelectDirectoryDialog1;

  void Button1Click();
  void Button4Click();
  void Button2Click();
  void Button3Click();

  // The file-count label for the files Start will sum: "3 Files selected",
  // or "No Files selected!". The Tools menu shows it whenever it opens the
  // window, which keeps the files of the last choice.
  std::string SelectionText() const;

 private:
  SumKind tickedKind() const;
};

extern TForm4* Form4;
