// The extract spectra window: the spectra of a folder of output files
// written as bil files into one "spectra" folder.
#pragma once

#include "platform/form.h"

class TForm6 : public Form {
 public:
  TForm6();

  Edit* Edit1;  // the chosen folder
  Button* Button1;
  CheckBox* CheckBox1;  // walk mode: every immediate subfolder, or the folder itself
  Memo* Memo1;          // the log
  Button* Button2;
  Button* Button3;
  Memo* Memo2;  // hidden: lines of the bil file being built
  SelectDirectoryDialog* SelectDirectoryDialog1;

  // Takes the walk mode stored in the settings file.
  void FormCreate();
  void Button1Click();
  void Button2Click();
  void Button3Click();
};

extern TForm6* Form6;
