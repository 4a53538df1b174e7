// The extract spectra window: the spectra of a folder of output files
// written as bil files into one "spectra" folder.
#pragma once

#include <exception>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/form.h"
#include "tools/folder_walk.h"
#include "tools/spectra_extraction.h"

// What an extractor found in one output, ready to be logged and written:
// the kinds with their bil files and the notes, or the error that ended it.
struct PreparedExtraction {
  std::vector<ExtractedKind> kinds;
  std::vector<ExtractionNote> notes;
  // Why a file whose table was met gives nothing ("" when it gives something).
  std::string nothingDrawn;
  std::exception_ptr error;
};
PreparedExtraction PrepareExtraction(const std::string& path, SpectraProgram program,
                                     ExtractionFormalism formalism);

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
  void walk(const std::string& DIRECTORY);
  void prepare(const std::vector<WalkFile>& tables, const std::vector<WalkFile>& outputs);
  void readTable(const WalkFile& file);
  void readOutput(const WalkFile& file);
  // The recognition tests on one line of an output; true once an extractor
  // was called.
  bool recognize(const WalkFile& file, std::string_view line);
  // Hands a recognised output to the extractor of its program.
  void extractWith(SpectraProgram program, const WalkFile& file);
  void extract(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2,
               SpectraProgram program);
  // Writes what an extractor found and adds its result lines.
  void saveSpectra(const WalkFile& file, const PreparedExtraction& prepared);

  // Read once per Start: the formalism and the walk mode.
  ExtractionFormalism formalism_ = ExtractionFormalism::Length;
  bool subfolderMode_ = true;
  // bil files written since Start, so none is overwritten in one run.
  WrittenFiles written_;
  // What the walk's threads parsed, by path and program, until it is written.
  std::map<std::pair<std::string, SpectraProgram>, PreparedExtraction> prepared_;
};

extern TForm6* Form6;
