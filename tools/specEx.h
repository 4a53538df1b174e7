// The extract spectra window: the spectra of a folder of output files
// written as bil files into one "spectra" folder.
#pragma once

#include <string>
#include <string_view>

#include "platform/form.h"
#include "tools/folder_walk.h"
#include "tools/spectra_extraction.h"

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

  // The two walks over DIRECTORY (ending with a separator): the sTDA tables
  // ("*.dat") of every visited folder first, then its output files.
  void ScanSubDirs(const std::string& DIRECTORY);
  void ScanDir(const std::string& DIRECTORY);

  // The extractors of one file DIRECTORY + SR + "/" + SR2 (SR empty in
  // folder mode): each reads the file, writes its bil files into the
  // "spectra" folder and adds its result lines to the log.
  void STDA(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2);
  void ORCA(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2);
  void GAUSSIAN03(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2);
  void GAUSSIAN09(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2);
  void ESCF(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2);
  void RICC2(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2);

 private:
  void startWalk(bool subfolders);
  void scanTables(const std::string& DIRECTORY, const std::string& SR);
  void scanOutputs(const std::string& DIRECTORY, const std::string& SR);
  void readTable(const WalkFile& file);
  void readOutput(const WalkFile& file);
  // The recognition tests on one line of an output; true once an extractor
  // was called.
  bool recognize(const WalkFile& file, std::string_view line);
  void extract(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2,
               SpectraProgram program);
  // Writes what an extractor found and adds its result lines.
  void saveSpectra(const WalkFile& file, const ExtractedSpectra& spectra, SpectraProgram program);

  // Read once per Start: the formalism and the walk mode.
  ExtractionFormalism formalism_ = ExtractionFormalism::Length;
  bool subfolderMode_ = true;
  // bil files written since Start, so none is overwritten in one run.
  WrittenFiles written_;
};

extern TForm6* Form6;
