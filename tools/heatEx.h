// The heat extraction window: the energies of a folder of output files
// written into one heat file per conformer.
#pragma once

#include <map>
#include <string>

#include "platform/form.h"
#include "tools/folder_walk.h"

struct EnergyTexts;

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

  // The two walks over DIRECTORY (ending with a separator): every immediate
  // subfolder, or the folder itself.
  void ScanSubDirs(const std::string& DIRECTORY);
  void ScanDir(const std::string& DIRECTORY);

  // The readers of one output file DIRECTORY + SR + "/" + SR2 (SR empty in
  // folder mode): each takes the file's energies, writes its heat file and
  // the run's allheats.txt, and adds one result line to the log.
  void GAUSSIAN(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2);
  void MOPAC(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2);
  void ORCA(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2);

  // The archive line joiner of the Gaussian reader: when S holds the
  // separator TRENN, S becomes the text after its last separator followed
  // by S1; otherwise S stays as it is.
  static void ZeileSuchen(std::string& S, const std::string& S1, const std::string& TRENN);
  // Every comma of S becomes a point.
  static void KommaZuPunkt(std::string& S);

 private:
  void walk(const std::string& DIRECTORY, bool subfolders);
  void startRun();
  void writeLists();
  void readOutput(const WalkFile& file);
  // Writes what a reader found and adds the file's result line.
  void saveEnergies(const WalkFile& file, const EnergyTexts& found, bool gibbsRules,
                    bool hartree);

  // Result files written since Start, so none is overwritten in one run.
  WrittenFiles written_;
  // For each result folder, the lines of the run's list (Memo3) up to its
  // last heat file: its allheats.txt.
  std::map<std::string, size_t> listedUpTo_;
};

extern TForm5* Form5;
