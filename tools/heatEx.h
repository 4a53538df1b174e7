// The heat extraction window: the energies of a folder of output files
// written into one heat file per conformer.
#pragma once

#include "platform/form.h"

class TForm5 : public Form {
 public:
  TForm5();

  Edit* Edit1;  // the chosen folder
  Button* Button1;
  CheckBox* CheckBox1;  // walk mode: every immediate subfolder, or the folder itself
  CheckBox* CheckBox2;  // Gibbs free energies instead of electronic energies
  Memo* Memo1;          // the log
  Button* Button2;
  Button* Button3;
  Memo* Memo2;  // hidden: lines of the heat file being built
  Memo* Memo3;  // hidden: lines of allheats.txt for the whole run
  SelectDirectoryDialog* SelectDirectoryDialog1;

  // Takes the walk mode stored in the settings file.
  void FormCreate();
  void Button1Click();
  void Button2Click();
  void Button3Click();
};

extern TForm5* Form5;
